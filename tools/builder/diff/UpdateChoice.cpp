#include "diff/UpdateChoice.h"

#include <zlib.h>

#include <new>

#include "diff/IniKeyChanges.h"
#include "diff/neutral/BinaryDeltaEncoder.h"

namespace {

// Every payload file costs a directory record in the cabinet (16 bytes and
// its name) and its script keys (CRC, NewCRC) besides its data; the key
// lines of an INI entry cost only their script text and a count.
constexpr std::size_t kPayloadFileOverhead = 50;
constexpr std::size_t kIniEntryOverhead = 8;

}  // namespace

std::string XorDelta(const std::string& oldBytes, const std::string& newBytes) {
    std::string delta = newBytes;
    std::size_t common = oldBytes.size() < newBytes.size() ? oldBytes.size() : newBytes.size();
    for (std::size_t i = 0; i < common; ++i) delta[i] = static_cast<char>(delta[i] ^ oldBytes[i]);
    return delta;
}

std::size_t CompressedSize(const std::string& data) {
    if (data.empty()) return 0;
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
                  static_cast<uLong>(data.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        return data.size();
    return size;
}

UpdateChoice ChooseUpdate(const std::string& oldBytes, const std::string& newBytes, const UpdateRules& rules) {
    UpdateChoice best;
    best.way = UpdateWay::XorDelta;
    best.payload = XorDelta(oldBytes, newBytes);
    best.cost = CompressedSize(best.payload) + kPayloadFileOverhead;

    // A delta that moves data: smaller whenever bytes were inserted, removed
    // or moved, where the XOR delta is as large as the rest of the file.
    // When memory runs out (a very large file in the 32-bit builder), the
    // other ways still stand.
    std::vector<uint8_t> out;
    bool encoded = false;
    if (rules.binaryDelta) {
        try {
            std::vector<uint8_t> old(oldBytes.begin(), oldBytes.end()), now(newBytes.begin(), newBytes.end());
            encoded = EncodeBinaryDelta(old, now, out);
        } catch (const std::bad_alloc&) {
            encoded = false;
        }
    }
    if (encoded) {
        std::string payload(out.begin(), out.end());
        std::size_t cost = CompressedSize(payload) + kPayloadFileOverhead;
        if (cost < best.cost) {
            best.way = UpdateWay::BinaryDelta;
            best.payload = payload;
            best.cost = cost;
        }
    }
    if (!rules.delayed) {
        std::size_t whole = CompressedSize(newBytes) + kPayloadFileOverhead;
        if (whole < best.cost) {
            best.way = UpdateWay::WholeFile;
            best.payload = newBytes;
            best.cost = whole;
        }
    }
    std::vector<std::string> lines;
    if (rules.iniKeys && !rules.delayed && IniKeyChanges(oldBytes, newBytes, lines)) {
        // The key lines travel inside Setup.ini, compressed with it.
        std::string script;
        for (const std::string& line : lines) script += "INIKey=" + line + "\r\n";
        std::size_t cost = CompressedSize(script) + kIniEntryOverhead;
        if (cost <= best.cost) {
            best.way = UpdateWay::IniKeys;
            best.payload.clear();
            best.lines = lines;
            best.cost = cost;
        }
    }
    return best;
}

const char* UpdateWayName(UpdateWay way) {
    switch (way) {
    case UpdateWay::XorDelta: return "XOR delta";
    case UpdateWay::BinaryDelta: return "binary delta";
    case UpdateWay::WholeFile: return "whole file";
    case UpdateWay::IniKeys: return "INI keys";
    }
    return "?";
}
