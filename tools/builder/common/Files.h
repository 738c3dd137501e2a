// Whole files and full paths, as every command of the builder uses them.
#pragma once
#include <string>

// Reads a whole file; false when it cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// The full path of `path` as the system resolves it; `path` itself when the
// system cannot.
std::string FullPath(const std::string& path);
