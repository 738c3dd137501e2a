// Taking apart the shell commands that Windows registers for mail and web
// addresses ("C:\Mail\mail.exe" /compose "%1").
#pragma once
#include "core/neutral/HeapText.h"

enum class CommandPart { Program, Arguments };

// The program or the argument part of `command`, as a new text. When the
// command holds two or more `quote` characters, the program is the text
// strictly between the first and the last of them and the arguments are what
// follows the last one (usually beginning with a blank). Otherwise the
// command is split into words at blanks: the program is the first word, the
// arguments the second; a missing word gives none.
HeapText SplitShellCommand(const char* command, char quote, CommandPart part);

// `text` up to the first `marker`, followed by `replacement`; whatever
// followed the marker is dropped. Without a marker `text` comes back as it
// was (the same buffer), so the caller owns exactly one text either way.
HeapText SubstituteArgument(HeapText text, const char* marker, const char* replacement);
