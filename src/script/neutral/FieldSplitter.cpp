#include "script/neutral/FieldSplitter.h"

#include <cstring>

bool FieldSplitter::NextSpan(const char** begin, std::size_t* length) {
    if (!next_) return false;
    while (*next_ == ',') ++next_;
    if (!*next_) {
        next_ = nullptr;
        return false;
    }
    const char* start = next_;
    while (*next_ && *next_ != ',') ++next_;
    *begin = start;
    *length = static_cast<std::size_t>(next_ - start);
    return true;
}

HeapText FieldSplitter::Next() {
    const char* begin = nullptr;
    std::size_t length = 0;
    if (!NextSpan(&begin, &length)) return HeapText();
    HeapText field = AllocText(length + 1);
    if (field) std::memcpy(field.get(), begin, length);
    return field;
}

int SplitFields(const char* text, HeapText* fields, int maxFields) {
    FieldSplitter splitter(text);
    int filled = 0;
    for (int i = 0; i < maxFields; ++i) fields[i].reset();
    while (filled < maxFields && (fields[filled] = splitter.Next())) ++filled;
    return filled;
}
