// Entry paths and report paragraphs: joining beyond the platform's limit,
// marking a slot, the skip test and the report line, on arbitrary texts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "actions/neutral/ReportText.h"
#include "script/neutral/PathText.h"
#include "script/neutral/SkipMark.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // Two texts split at the first zero byte (none when there is none).
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\0');
    const std::string base = input.substr(0, cut);
    const std::string part = cut == std::string::npos ? std::string() : input.substr(cut + 1);
    const char* partText = cut == std::string::npos ? nullptr : part.c_str();

    HeapText joined = JoinPathText(base.c_str(), partText);
    if (!joined) return 0;
    const std::size_t length = std::strlen(joined.get());
    // The join always ends with the part, less the leading backslashes that
    // the platform's join drops too (a UNC part keeps them and stands alone).
    if (partText) {
        std::string kept = part.substr(0, part.find('\0'));
        if (kept.compare(0, 2, "\\\\") != 0) kept.erase(0, kept.find_first_not_of('\\'));
        if (kept.size() > length || std::strcmp(joined.get() + length - kept.size(), kept.c_str()) != 0)
            __builtin_trap();
    }

    // A slot of the joined path's size plus the mark always takes the mark.
    HeapText slot = AllocText(length + kSkipMarkLength + 1);
    if (!slot) return 0;
    std::memcpy(slot.get(), joined.get(), length);
    if (!AppendSkipMark(slot.get(), length + kSkipMarkLength + 1)) __builtin_trap();
    if (!HasSkipMark(slot.get())) __builtin_trap();
    if (AppendSkipMark(slot.get(), length + kSkipMarkLength + 1)) __builtin_trap();  // full now
    if (IsReachablePath(slot.get()) != (length + kSkipMarkLength <= kLongestPath)) __builtin_trap();

    HeapText report;
    std::size_t reportLength = 0, reportCapacity = 0;
    if (AppendReportParagraph(&report, &reportLength, &reportCapacity, base.c_str(), slot.get(), partText)) {
        const std::size_t once = reportLength;
        if (std::strlen(report.get()) != once) __builtin_trap();
        if (AppendReportParagraph(&report, &reportLength, &reportCapacity, base.c_str(), slot.get(), partText) &&
            (reportLength != 2 * once || std::strlen(report.get()) != reportLength || reportCapacity <= reportLength))
            __builtin_trap();
    }
    return 0;
}
