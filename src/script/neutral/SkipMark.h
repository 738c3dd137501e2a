// The mark that the verification pass puts at the end of an entry's target
// path when the entry is to be left alone, and the size of the path slots that
// carry it.
#pragma once
#include <cstddef>

#include "script/ScriptKeys.h"  // kSkipMark; plain constants, no platform header

constexpr std::size_t kSkipMarkLength = sizeof kSkipMark - 1;

// The longest path the ANSI file functions can reach, in characters.
constexpr std::size_t kLongestPath = 260;
// True when `path` has at most kLongestPath characters. A longer path cannot
// be reached through the ANSI file functions, so it names no file: it is
// treated as missing, and never shortened to something that might exist.
bool IsReachablePath(const char* path);

// A slot holds the longest path, the mark and the terminator.
constexpr std::size_t kEntryPathSlotSize = kLongestPath + kSkipMarkLength + 1;

// Appends the mark to the text in `slot` when it fits within `slotSize` bytes
// (terminator included); false, and the slot unchanged, when it does not.
bool AppendSkipMark(char* slot, std::size_t slotSize);

// True when either of the last two characters of `path` is '*'. This is the
// processing pass's test, so a path ending in a single '*' counts as marked.
bool HasSkipMark(const char* path);
