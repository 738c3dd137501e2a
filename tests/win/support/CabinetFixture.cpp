#include "support/CabinetFixture.h"

#include <cstdint>

namespace {

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void Patch32(std::string& out, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

constexpr std::size_t kHeaderSize = 36;
constexpr std::size_t kFolderSize = 8;
constexpr std::size_t kBlockLimit = 32768;  // largest uncompressed data block

}  // namespace

std::string MakeStoredCabinet(const std::vector<std::pair<std::string, std::string>>& files) {
    std::string stream;
    for (const auto& file : files) stream += file.second;
    std::size_t blocks = stream.empty() ? 0 : (stream.size() + kBlockLimit - 1) / kBlockLimit;

    std::string cab = "MSCF";
    Put32(cab, 0);
    Put32(cab, 0);  // cbCabinet, patched at the end
    Put32(cab, 0);
    Put32(cab, kHeaderSize + kFolderSize);  // coffFiles
    Put32(cab, 0);
    cab += static_cast<char>(3);  // version 1.3
    cab += static_cast<char>(1);
    Put16(cab, 1);                  // folders
    Put16(cab, static_cast<unsigned>(files.size()));
    Put16(cab, 0);                  // flags
    Put16(cab, 0x2A2A);             // set id
    Put16(cab, 0);                  // cabinet number

    std::size_t folderAt = cab.size();
    Put32(cab, 0);  // coffCabStart, patched below
    Put16(cab, static_cast<unsigned>(blocks));
    Put16(cab, 0);  // no compression

    uint32_t offset = 0;
    for (const auto& file : files) {
        Put32(cab, static_cast<uint32_t>(file.second.size()));
        Put32(cab, offset);
        Put16(cab, 0);                                 // folder 0
        Put16(cab, ((2020 - 1980) << 9) | (1 << 5) | 1);  // 2020-01-01
        Put16(cab, 12 << 11);                           // 12:00:00
        Put16(cab, 0x20);                               // archive
        cab += file.first;
        cab += '\0';
        offset += static_cast<uint32_t>(file.second.size());
    }
    Patch32(cab, folderAt, static_cast<uint32_t>(cab.size()));
    for (std::size_t at = 0; at < stream.size(); at += kBlockLimit) {
        std::size_t n = stream.size() - at < kBlockLimit ? stream.size() - at : kBlockLimit;
        Put32(cab, 0);  // no checksum
        Put16(cab, static_cast<unsigned>(n));
        Put16(cab, static_cast<unsigned>(n));
        cab.append(stream, at, n);
    }
    Patch32(cab, 8, static_cast<uint32_t>(cab.size()));
    return cab;
}

unsigned CabinetSizeField(const std::string& cabinet) {
    if (cabinet.size() < 12) return 0;
    unsigned value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(cabinet[8 + i]);
    return value;
}
