// Runs without the wizard (/quiet, /passive): the pages' work with the
// patch's option defaults, and no question to anybody.
#pragma once

// The check, the processing pass with its registry sections and the
// restart decision; returns the exit code. Ends the session (working folder
// removed) like the wizard's end does.
int RunUnattended();
// The folder question when nobody can be asked: /dir= is the answer. 1 with
// the folder in the folder box, 0 (ErrorText set) without /dir=.
int AnswerFolderQuestionUnattended();
