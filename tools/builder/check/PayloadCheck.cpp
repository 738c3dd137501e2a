#include "check/PayloadCheck.h"

#include "actions/neutral/BinaryDelta.h"
#include "core/neutral/LittleEndian.h"
#include "wizard/neutral/BitmapLayout.h"

namespace {

constexpr std::size_t kHeaderBytes = 8;
constexpr std::size_t kOffsetBytes = 4;

bool IsBinaryDelta(const std::string& payload) {
    BinaryDeltaHeader header{};
    return payload.size() >= kBinaryDeltaHeaderSize && payload.size() <= 0xFFFFFFFFu &&
           ReadBinaryDeltaHeader(reinterpret_cast<const unsigned char*>(payload.data()),
                                 static_cast<uint32_t>(payload.size()), &header);
}

}  // namespace

void CheckXorDeltaPayload(const std::string& payload, const std::string& where, Findings& findings) {
    if (IsBinaryDelta(payload))
        findings.Mistake(where, "this is a binary delta (it starts with ZBD1 and its header fits), but Act 2 "
                                "applies an XOR delta: use Act 8");
}

void CheckBinaryDeltaPayload(const std::string& payload, const std::string& where, Findings& findings) {
    if (!IsBinaryDelta(payload))
        findings.Mistake(where, "not a binary delta: it must start with ZBD1 and a header whose stream sizes add "
                                "up to the payload's " + std::to_string(payload.size()) + " bytes");
}

void CheckBytePatchPayload(const std::string& payload, const std::string& where, Findings& findings) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(payload.data());
    std::size_t size = payload.size();
    if (size < kHeaderBytes) {
        findings.Mistake(where, "the byte-pattern payload has " + std::to_string(size) +
                                    " bytes, less than its 8-byte header (record count and reserved word)");
        return;
    }
    uint32_t count = ReadLittleEndian32(bytes);
    std::size_t at = kHeaderBytes;
    for (uint32_t n = 1; n <= count; ++n) {
        std::string record = "record " + std::to_string(n) + " of " + std::to_string(count);
        // Type, pattern length, pattern, replacement length, replacement.
        if (size - at < 8) {
            findings.Mistake(where, record + " starts at byte " + std::to_string(at) +
                                        " and runs past the end of the payload (" + std::to_string(size) + " bytes)");
            return;
        }
        uint32_t type = ReadLittleEndian32(bytes + at);
        uint32_t patternLength = ReadLittleEndian32(bytes + at + 4);
        if (patternLength > size - at - 8 || size - at - 8 - patternLength < 4) {
            findings.Mistake(where, record + ": its pattern of " + std::to_string(patternLength) +
                                        " bytes runs past the end of the payload (" + std::to_string(size) +
                                        " bytes)");
            return;
        }
        std::size_t replacementAt = at + 8 + patternLength;
        uint32_t replacementLength = ReadLittleEndian32(bytes + replacementAt);
        if (replacementLength > size - replacementAt - 4) {
            findings.Mistake(where, record + ": its replacement of " + std::to_string(replacementLength) +
                                        " bytes runs past the end of the payload (" + std::to_string(size) +
                                        " bytes)");
            return;
        }
        if ((type == 1 || type == 2) && patternLength == 0)
            findings.Mistake(where, record + " (type " + std::to_string(type) +
                                        ") has an empty pattern, which matches nothing");
        if (type == 3 && patternLength < kOffsetBytes)
            findings.Mistake(where, record + " (type 3, write at offset) has a pattern of " +
                                        std::to_string(patternLength) +
                                        " bytes: its first 4 bytes must hold the offset");
        at = replacementAt + 4 + replacementLength;
    }
}

void CheckSideImage(const std::string* image, const std::string& name, const std::string& origin,
                    const std::string& role, Findings& findings) {
    if (!image) {
        findings.Warning(origin, "\"" + name + "\" is missing: " + role);
        return;
    }
    SideImageLayout layout{};
    if (!MeasureSideImage(reinterpret_cast<const unsigned char*>(image->data()), image->size(), &layout))
        findings.Warning(origin, "\"" + name + "\" is not a bitmap the wizard can draw (an uncompressed Windows "
                                 "bitmap of 1 to 32 bits per pixel, whole): " + role);
}
