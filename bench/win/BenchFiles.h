// Helpers of the Windows benchmarks: a clock, big files written in small
// pieces (so that making them does not raise the process' peak memory), and
// the peak memory figures of the process.
#pragma once
#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline double Seconds() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

inline std::string BenchFolder() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "zuli-bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Writes `size` pseudo-random bytes (seeded) a megabyte at a time.
inline bool WriteBigFile(const std::string& path, uint64_t size, uint32_t seed) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::vector<unsigned char> chunk(1u << 20);
    for (uint64_t done = 0; done < size; done += chunk.size()) {
        for (auto& b : chunk) {
            seed = seed * 1664525u + 1013904223u;
            b = static_cast<unsigned char>(seed >> 24);
        }
        DWORD n = static_cast<DWORD>(size - done < chunk.size() ? size - done : chunk.size());
        DWORD put = 0;
        WriteFile(h, chunk.data(), n, &put, nullptr);
    }
    CloseHandle(h);
    return true;
}

// Reads a file through once so that it sits in the cache.
inline void WarmFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<unsigned char> chunk(1u << 20);
    DWORD got = 0;
    while (ReadFile(h, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) && got) {
    }
    CloseHandle(h);
}

struct PeakMemory {
    uint64_t workingSet;
    uint64_t pagefile;
};

inline PeakMemory Peaks() {
    PROCESS_MEMORY_COUNTERS c = {};
    c.cb = sizeof c;
    GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
    return {c.PeakWorkingSetSize, c.PeakPagefileUsage};
}

// `size` bytes of noise, the same for the same seed.
inline std::vector<unsigned char> Bytes(std::size_t size, uint32_t seed) {
    std::vector<unsigned char> out(size);
    for (auto& b : out) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<unsigned char>(seed >> 24);
    }
    return out;
}

inline double MiB(uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }
