// Bytes the Windows-side tests build payloads and fixtures from.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

// `value` as four little-endian bytes.
inline std::string Le32(uint32_t value) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) out[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// The XOR delta from `a` to `b`: bytes of `b` beyond `a` stay as they are.
inline std::string XorOf(const std::string& a, const std::string& b) {
    std::string out = b;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) out[i] = static_cast<char>(a[i] ^ b[i]);
    return out;
}

// A byte-pattern payload with one record that writes `bytes` at `offset`.
inline std::string WriteAtOffsetPatch(uint32_t offset, const std::string& bytes) {
    return Le32(1) + Le32(0) + Le32(3) + Le32(4) + Le32(offset) + Le32(static_cast<uint32_t>(bytes.size())) + bytes;
}

// Program-like content: records whose numbers shift between versions.
inline std::string CodeLike(std::size_t n, uint32_t seed) {
    std::string s;
    while (s.size() < n) {
        seed = seed * 1664525u + 1013904223u;
        s += "\x8B\x45";
        s += static_cast<char>(seed >> 29);
        s += "\xE8";
        s += static_cast<char>(seed >> 16);
        s += static_cast<char>(seed >> 24);
        s += std::string(2, '\0');
    }
    s.resize(n);
    return s;
}

// Whether writing `size` bytes into a new file at `path` goes through (the
// file is removed again).
inline bool CanWrite(const std::string& path, DWORD size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes(size, 'y');
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), size, &written, nullptr);
    CloseHandle(file);
    DeleteFileA(path.c_str());
    return ok && written == size;
}
