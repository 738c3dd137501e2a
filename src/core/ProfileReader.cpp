#include "core/ProfileReader.h"

#include <windows.h>

#include "core/neutral/LenientInteger.h"

namespace {

constexpr DWORD kReadStep = 512;

}  // namespace

void ProfileReader::Clear() {
    file_.reset();
    section_.reset();
}

void ProfileReader::SetFile(const char* path) {
    file_ = CopyText(path);
}

void ProfileReader::SetSection(const char* name) {
    section_ = CopyText(name);
}

HeapText ProfileReader::CopyFilePath() const {
    return CopyText(file_.get());
}

HeapText ProfileReader::CopySectionName() const {
    return CopyText(section_.get());
}

HeapText ProfileReader::ReadValue(const char* key) const {
    // Without a file the platform would read WIN.INI, and without a section
    // or key it would list names instead of reading a value.
    if (!file_ || !section_ || !key) return HeapText();
    for (DWORD size = kReadStep;; size += kReadStep) {
        HeapText buffer = AllocText(size);
        if (!buffer) return HeapText();
        DWORD length = GetPrivateProfileStringA(section_.get(), key, "", buffer.get(), size, file_.get());
        if (length == size - 1) continue;  // cut short: try again with more room
        if (length == 0) return HeapText();
        return buffer;
    }
}

int32_t ProfileReader::ReadInteger(const char* key) const {
    HeapText text = ReadValue(key);
    return ParseLenientInteger(text.get());
}

bool ProfileReader::ReadFlag(const char* key) const {
    return ReadValue(key) != nullptr;
}

int ProfileReader::WriteValue(const char* key, const char* value) const {
    // A profile call without a file name writes WIN.INI; never do that.
    if (!file_) return 0;
    return WritePrivateProfileStringA(section_.get(), key, value, file_.get()) ? 1 : 0;
}
