#include "actions/neutral/ReportText.h"

#include <cstdlib>
#include <cstring>

namespace {

std::size_t LengthOf(const char* text) { return text ? std::strlen(text) : 0; }

char* Put(char* out, const char* text, std::size_t length) {
    if (length) std::memcpy(out, text, length);
    return out + length;
}

}  // namespace

bool AppendReportParagraph(HeapText* text, std::size_t* length, std::size_t* capacity, const char* name,
                           const char* path, const char* word) {
    static const char kLineEnd[] = "\r\n\r\n";
    const std::size_t nameLength = LengthOf(name);
    const std::size_t pathLength = LengthOf(path);
    const std::size_t wordLength = LengthOf(word);
    const std::size_t needed = *length + nameLength + 1 + pathLength + 1 + wordLength + 4 + 1;
    if (needed > *capacity) {
        const std::size_t grown = needed * 2;
        char* moved = static_cast<char*>(std::realloc(text->get(), grown));
        if (!moved) return false;
        (void)text->release();
        text->reset(moved);
        *capacity = grown;
    }
    char* out = text->get() + *length;
    out = Put(out, name, nameLength);
    *out++ = ' ';
    out = Put(out, path, pathLength);
    *out++ = ' ';
    out = Put(out, word, wordLength);
    out = Put(out, kLineEnd, 4);
    *out = '\0';
    *length = static_cast<std::size_t>(out - text->get());
    return true;
}
