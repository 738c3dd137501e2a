// The comma splitter over arbitrary bytes: every field must be non-empty,
// hold no comma, lie inside the text, and the fields joined with single
// commas must equal the text with its comma runs squeezed and trimmed. The
// lenient integer reading rides along: it must never read past the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "script/neutral/FieldSplitter.h"
#include "core/neutral/LenientInteger.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.c_str();  // the splitter sees zero-terminated text

    std::string squeezed;
    for (char c : text) {
        if (c == ',' && (squeezed.empty() || squeezed.back() == ',')) continue;
        squeezed += c;
    }
    if (!squeezed.empty() && squeezed.back() == ',') squeezed.pop_back();

    std::string joined;
    FieldSplitter splitter(text.c_str());
    const char* begin = nullptr;
    std::size_t length = 0;
    while (splitter.NextSpan(&begin, &length)) {
        if (length == 0) std::abort();
        if (begin < text.c_str() || begin + length > text.c_str() + text.size()) std::abort();
        if (std::memchr(begin, ',', length)) std::abort();
        if (!joined.empty()) joined += ',';
        joined.append(begin, length);
    }
    if (joined != squeezed) std::abort();

    HeapText fields[3];
    int count = SplitFields(text.c_str(), fields, 3);
    for (int i = 0; i < 3; ++i)
        if ((i < count) != static_cast<bool>(fields[i])) std::abort();

    (void)ParseLenientInteger(text.c_str());
    return 0;
}
