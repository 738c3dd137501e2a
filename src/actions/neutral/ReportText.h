// Building the result report: one paragraph per entry, each a line of the
// report name, the target path and the result word, followed by a blank line.
#pragma once
#include <cstddef>

#include "core/neutral/HeapText.h"

// Appends `name`, " ", `path`, " ", `word` and "\r\n\r\n" to the report in
// `*text`, which holds `*length` characters in `*capacity` bytes (none, 0 and
// 0 before the first line). When the room runs out the text moves to an
// allocation twice the size it needs, so that a report of many lines takes
// time in proportion to its length, not to its length times its lines. No
// part is shortened; an absent part reads as empty. False when out of
// memory, and the report is then as it was.
bool AppendReportParagraph(HeapText* text, std::size_t* length, std::size_t* capacity, const char* name,
                           const char* path, const char* word);
