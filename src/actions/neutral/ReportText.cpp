#include "actions/neutral/ReportText.h"

#include <cstring>

namespace {

std::size_t LengthOf(const char* text) { return text ? std::strlen(text) : 0; }

char* Put(char* out, const char* text, std::size_t length) {
    if (length) std::memcpy(out, text, length);
    return out + length;
}

}  // namespace

HeapText AppendReportParagraph(const char* previous, const char* name, const char* path, const char* word) {
    static const char kLineEnd[] = "\r\n\r\n";
    const std::size_t previousLength = LengthOf(previous);
    const std::size_t nameLength = LengthOf(name);
    const std::size_t pathLength = LengthOf(path);
    const std::size_t wordLength = LengthOf(word);
    const std::size_t total = previousLength + nameLength + 1 + pathLength + 1 + wordLength + 4;
    HeapText text = AllocText(total + 1);
    if (!text) return text;
    char* out = text.get();
    out = Put(out, previous, previousLength);
    out = Put(out, name, nameLength);
    *out++ = ' ';
    out = Put(out, path, pathLength);
    *out++ = ' ';
    out = Put(out, word, wordLength);
    out = Put(out, kLineEnd, 4);
    *out = '\0';
    return text;
}
