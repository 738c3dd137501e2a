#include "UpdateChoice.h"

#include <zlib.h>

#include "IniKeyChanges.h"

namespace {

// Every payload file costs a directory record in the cabinet and a few
// script keys besides its data; the key lines of an INI entry cost only
// their script text.
constexpr std::size_t kPayloadFileOverhead = 40;

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
        std::size_t script = 16;  // "Count=n" and the entry's other keys
        for (std::size_t i = 0; i < lines.size(); ++i) script += lines[i].size() + 12;
        if (script < best.cost) {
            best.way = UpdateWay::IniKeys;
            best.payload.clear();
            best.lines = lines;
            best.cost = script;
        }
    }
    return best;
}

const char* UpdateWayName(UpdateWay way) {
    switch (way) {
    case UpdateWay::XorDelta: return "XOR delta";
    case UpdateWay::WholeFile: return "whole file";
    case UpdateWay::IniKeys: return "INI keys";
    }
    return "?";
}
