// zuli_delta_encode OLD NEW OUT: the builder's binary delta encoder as a
// native command, so that the benchmark can time it and read its peak
// memory as a process of its own, exactly as it does for bsdiff.
#include <cstdio>
#include <vector>

#include "BinaryDeltaEncoder.h"

namespace {

bool ReadAll(const char* path, std::vector<uint8_t>& bytes) {
    std::FILE* in = std::fopen(path, "rb");
    if (!in) return false;
    bool ok = std::fseek(in, 0, SEEK_END) == 0;
    const long size = std::ftell(in);
    ok = ok && size >= 0 && std::fseek(in, 0, SEEK_SET) == 0;
    if (ok) bytes.resize(static_cast<std::size_t>(size));
    ok = ok && std::fread(bytes.data(), 1, bytes.size(), in) == bytes.size();
    std::fclose(in);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: zuli_delta_encode OLD NEW OUT\n");
        return 2;
    }
    std::vector<uint8_t> old, now, delta;
    if (!ReadAll(argv[1], old) || !ReadAll(argv[2], now)) {
        std::fprintf(stderr, "zuli_delta_encode: cannot read the input files\n");
        return 1;
    }
    if (!EncodeBinaryDelta(old, now, delta)) {
        std::fprintf(stderr, "zuli_delta_encode: cannot encode (file too large or out of memory)\n");
        return 1;
    }
    std::FILE* out = std::fopen(argv[3], "wb");
    if (!out) return 1;
    const bool written = std::fwrite(delta.data(), 1, delta.size(), out) == delta.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
