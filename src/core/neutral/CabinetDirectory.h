// Reading the file table stored in a Microsoft Cabinet header: the names and
// sizes of the files a cabinet unpacks, so that the unpacked files can be
// checked against it and exactly those files removed again.
#pragma once
#include <cstddef>
#include <cstdint>

// Called once per stored file with its name (not terminated), the name's
// length and the file's unpacked size in bytes.
using CabinetFileVisitor = void (*)(const char* name, std::size_t length, uint32_t fileSize, void* context);

// Visits every file entry of the cabinet in `data` (`size` bytes). False,
// with nothing or only the entries before the fault visited, when the data is
// not a cabinet or its file table runs past the end.
bool ForEachCabinetFile(const unsigned char* data, std::size_t size, CabinetFileVisitor visit, void* context);

// True when `name` is a plain file name that stays in the folder it is
// joined to and names one file: not empty, no folder part, no drive, not "."
// or "..", no wildcard.
bool IsPlainFileName(const char* name, std::size_t length);
