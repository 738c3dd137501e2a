// The folder question in the middle of the verification pass: the folder
// page is put back on screen and a nested message loop runs until the user
// presses Next (1) or Back (0, ErrorText set).
#pragma once

int AskForFolder();
