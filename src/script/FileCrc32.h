// CRC-32 (IEEE 802.3) of a whole file.
#pragma once
#include <cstdint>

// 0 when the file cannot be opened.
uint32_t FileCrc32(const char* path);
