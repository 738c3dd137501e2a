// Taking apart the shell commands that Windows registers for mail and web
// addresses ("C:\Mail\mail.exe" /compose "%1").
#pragma once
#include "core/neutral/HeapText.h"

enum class CommandPart { Program, Arguments };

// The program or the argument part of `command`, as a new text. The program
// is the command's first token after any leading blanks: when that token
// begins with `quote`, the text up to the next `quote` (or to the end when
// the quote is never closed); otherwise the text up to the next blank. The
// arguments are whatever follows the program, leading blanks skipped, quotes
// and all. A command of blanks only has no program; a program with nothing
// after it has no arguments.
HeapText SplitShellCommand(const char* command, char quote, CommandPart part);

// `text` with its first `marker` replaced by `replacement`, the text before
// and after the marker kept. Without a marker `text` comes back as it was
// (the same buffer), so the caller owns exactly one text either way.
HeapText SubstituteArgument(HeapText text, const char* marker, const char* replacement);
