// Log lines of any length, formatted through one small buffer: run under
// AddressSanitizer, a write past that buffer fails the test.
#include "core/neutral/LogLineFormat.h"

#include <gtest/gtest.h>

#include <cstdio>
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
        {Format("%c%c 100%%", 'o', 'k'), "ok 100%\r\n"},
        {Format("%s|%s", static_cast<const char*>(nullptr), ""), "(null)|\r\n"},
        {Format("width %099u", 7u), "width 0000000000000007\r\n"},  // at most 16 characters
        {Format("%099d", -1), "-000000000000001\r\n"},
        {Format("trailing %"), "trailing \r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.line, c.expected);
}

TEST(LogLineFormat, ALongArgumentIsWrittenWhole) {
    const std::string value(5000, 'b');
    const std::string line = Format("Registry AddReg %d: HKCU,Key,Value,1,%s: %s", 7, value.c_str(), "done");
    EXPECT_EQ(line, "Registry AddReg 7: HKCU,Key,Value,1," + value + ": done\r\n");
    for (const std::string& piece : Pieces)
        if (piece != value) {
            EXPECT_LE(piece.size(), kLogLineBufferSize);
        }
}

TEST(LogLineFormat, PiecesAroundTheBufferSizeAreNeitherLostNorCut) {
    // Text before the argument fills the buffer partly; arguments of every
    // length near what is left, and near the whole buffer, follow.
    for (std::size_t before : {std::size_t{0}, std::size_t{1}, kLogLineBufferSize - 3, kLogLineBufferSize - 1,
                               kLogLineBufferSize, kLogLineBufferSize + 1}) {
        const std::string head(before, 'h');
        for (std::size_t length = kLogLineBufferSize - 4; length <= kLogLineBufferSize + 4; ++length) {
            const std::string value(length, 'v');
            const std::string line = Format("%s%s%u", head.c_str(), value.c_str(), 12345u);
            EXPECT_EQ(line, head + value + "12345\r\n") << before << "+" << length;
        }
        std::string format(before, 'f');
        format += "%08X";
        EXPECT_EQ(Format(format.c_str(), 0x1234u), std::string(before, 'f') + "00001234\r\n") << before;
    }
}

TEST(LogLineFormat, AShortLineGoesOutInOnePiece) {
    Format("Check %u: %s: %s", 1u, "C:\\App\\a.dll", "skipped");
    EXPECT_EQ(Pieces.size(), 1u);
}

}  // namespace
