// Building the result report: one paragraph per entry, each a line of the
// report name, the target path and the result word, followed by a blank line.
#pragma once
#include "core/neutral/HeapText.h"

// A new text: `previous` (none for the first line), then `name`, " ", `path`,
// " ", `word` and "\r\n\r\n". No part is shortened; an absent part reads as
// empty. None when out of memory.
HeapText AppendReportParagraph(const char* previous, const char* name, const char* path, const char* word);
