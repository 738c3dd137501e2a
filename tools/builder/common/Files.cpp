#include "common/Files.h"

#include <windows.h>

#include <fstream>
#include <sstream>

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return !in.bad();
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2] = {};
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n && n < sizeof full ? std::string(full) : path;
}
