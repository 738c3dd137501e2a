// Reading the file names stored in a Microsoft Cabinet header, so that the
// files a cabinet is about to unpack can be cleared out of the way first.
#pragma once
#include <cstddef>

// Called once per stored file with its name (not terminated) and length.
using CabinetNameVisitor = void (*)(const char* name, std::size_t length, void* context);

// Visits the name of every file entry of the cabinet in `data` (`size`
// bytes). False, with nothing or only the entries before the fault visited,
// when the data is not a cabinet or its file table runs past the end.
bool ForEachCabinetFileName(const unsigned char* data, std::size_t size, CabinetNameVisitor visit, void* context);

// True when `name` is a plain file name that stays in the folder it is
// joined to: not empty, no folder part, no drive, not "." or "..".
bool IsPlainFileName(const char* name, std::size_t length);
