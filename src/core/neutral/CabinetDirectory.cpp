#include "core/neutral/CabinetDirectory.h"

#include <cstdint>

#include "core/neutral/LittleEndian.h"

namespace {

constexpr std::size_t kHeaderSize = 36;
constexpr std::size_t kFilesOffsetAt = 16;  // coffFiles
constexpr std::size_t kFileCountAt = 28;    // cFiles
constexpr std::size_t kEntryFixedSize = 16;  // a file entry before its name, from cbFile

}  // namespace

bool ForEachCabinetFile(const unsigned char* data, std::size_t size, CabinetFileVisitor visit, void* context) {
    if (!data || size < kHeaderSize) return false;
    if (data[0] != 'M' || data[1] != 'S' || data[2] != 'C' || data[3] != 'F') return false;
    std::size_t at = ReadLittleEndian32(data + kFilesOffsetAt);
    unsigned count = ReadLittleEndian16(data + kFileCountAt);
    for (unsigned i = 0; i < count; ++i) {
        if (at > size || size - at < kEntryFixedSize) return false;
        const unsigned char* name = data + at + kEntryFixedSize;
        std::size_t room = size - at - kEntryFixedSize;
        std::size_t length = 0;
        while (length < room && name[length] != 0) ++length;
        if (length == room) return false;  // unterminated
        visit(reinterpret_cast<const char*>(name), length, ReadLittleEndian32(data + at), context);
        at += kEntryFixedSize + length + 1;
    }
    return true;
}

bool IsPlainFileName(const char* name, std::size_t length) {
    if (!name || length == 0) return false;
    if (length == 1 && name[0] == '.') return false;
    if (length == 2 && name[0] == '.' && name[1] == '.') return false;
    for (std::size_t i = 0; i < length; ++i)
        if (name[i] == '\\' || name[i] == '/' || name[i] == ':' || name[i] == '*' || name[i] == '?' || name[i] == 0)
            return false;
    return true;
}
