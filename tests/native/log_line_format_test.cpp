// Log lines of any length, formatted without a line buffer: run under
// AddressSanitizer, a write past the digits of a number fails the test.
#include "core/neutral/LogLineFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Pieces;

void Collect(const char* text, std::size_t length) { Pieces.emplace_back(text, length); }

std::string Format(const char* format, ...) {
    Pieces.clear();
    va_list arguments;
    va_start(arguments, format);
    FormatLogLine(Collect, format, arguments);
    va_end(arguments);
    std::string line;
    for (const std::string& piece : Pieces) line += piece;
    return line;
}

TEST(LogLineFormat, ConversionsReadAsWsprintfWritesThem) {
    struct Case {
        std::string line;
        const char* expected;
    } cases[] = {
        {Format("plain"), "plain\r\n"},
        {Format(""), "\r\n"},
        {Format("Check %u: %s: %s", 3u, "C:\\App\\core.dll", "passed"), "Check 3: C:\\App\\core.dll: passed\r\n"},
        {Format("%s %04u-%02u-%02u %02u:%02u:%02u", "Started", 2026u, 1u, 9u, 0u, 5u, 59u),
         "Started 2026-01-09 00:05:59\r\n"},
        {Format("CRC found %08X, expected %08X", 0xBEEFu, 0xFFFFFFFFu), "CRC found 0000BEEF, expected FFFFFFFF\r\n"},
        {Format("0x%X 0x%x %lu", 0xABCDu, 0xABCDu, 4294967295u), "0xABCD 0xabcd 4294967295\r\n"},
        {Format("Exit code: %d\r\n", 3010), "Exit code: 3010\r\n\r\n"},
        {Format("%d|%d|%05d|%5d|%d", -87, 0, -42, -42, -2147483647 - 1), "-87|0|-0042|  -42|-2147483648\r\n"},
        {Format("100%% %s", "done"), "100% done\r\n"},
        {Format("%s|%s", static_cast<const char*>(nullptr), ""), "(null)|\r\n"},
        {Format("width %099u", 7u), "width 000000000000007\r\n"},  // at most 15 characters
        {Format("%099d", -1), "-000000000000001\r\n"},  // and the sign before zeros
        {Format("trailing %"), "trailing \r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.line, c.expected);
}

TEST(LogLineFormat, ALongArgumentIsWrittenWholeAsOnePiece) {
    const std::string value(5000, 'b');
    const std::string line = Format("Registry AddReg %d: HKCU,Key,Value,1,%s: %s", 7, value.c_str(), "done");
    EXPECT_EQ(line, "Registry AddReg 7: HKCU,Key,Value,1," + value + ": done\r\n");
    EXPECT_NE(std::find(Pieces.begin(), Pieces.end(), value), Pieces.end()) << "handed on, not copied";
}

TEST(LogLineFormat, LongTextBetweenConversionsAndTheOldLimitAreKept) {
    // Lengths around the 1,024 characters lines were once cut at.
    for (std::size_t length : {std::size_t{1021}, std::size_t{1022}, std::size_t{1023}, std::size_t{1024},
                               std::size_t{1025}, std::size_t{5000}}) {
        const std::string value(length, 'v');
        EXPECT_EQ(Format("%s%u", value.c_str(), 12345u), value + "12345\r\n") << length;
        std::string format(length, 'f');
        format += "%08X";
        EXPECT_EQ(Format(format.c_str(), 0x1234u), std::string(length, 'f') + "00001234\r\n") << length;
    }
}

}  // namespace
