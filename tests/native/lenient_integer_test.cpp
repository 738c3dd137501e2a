#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/neutral/LenientInteger.h"

TEST(ParseLenientInteger, ReadsScriptNumbersLikeTheRuntimeLibrary) {
    struct Case {
        const char* text;
        int32_t expected;
    } cases[] = {
        {nullptr, 0},
        {"", 0},
        {"0", 0},
        {"12", 12},
        {"  12abc", 12},            // leading blanks and trailing letters
        {" \t\n\v\f\r12", 12},      // every kind of blank
        {"+7", 7},
        {"-7", -7},
        {"abc", 0},                 // no digits
        {"-", 0},
        {"+", 0},
        {"- 5", 0},                 // no blanks between sign and digits
        {"+-5", 0},                 // one sign only
        {"12 34", 12},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"2147483648", INT32_MIN},  // wraps
        {"-2147483648", INT32_MIN},
        {"4294967295", -1},
        {"4294967296", 0},
        {"4294967297", 1},
        {"-4294967295", 1},
        {"-819288238", -819288238},
        {"3475679058", -819288238},  // the same 32 bits unsigned
        {"99999999999999999999", static_cast<int32_t>(0x630FFFFFu)},  // 10^20 - 1 mod 2^32
        {"\xA6\x5C" "5", 0},          // a double-byte character is not a digit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseLenientInteger(c.text), c.expected) << "text \"" << (c.text ? c.text : "(none)") << "\"";
    }
}

TEST(ParseLenientInteger, SignedAndUnsignedFormsOfEveryHighBitValueAgree) {
    // Every value at or above 2^31 written unsigned reads as its signed form.
    const uint32_t samples[] = {0x80000000u, 0x80000001u, 0xCF2A6E52u, 0xFFFFFFFEu, 0xFFFFFFFFu};
    for (uint32_t bits : samples) {
        std::string unsignedText = std::to_string(bits);
        std::string signedText = std::to_string(static_cast<int32_t>(bits));
        EXPECT_EQ(ParseLenientInteger(unsignedText.c_str()), ParseLenientInteger(signedText.c_str()))
            << unsignedText << " versus " << signedText;
        EXPECT_EQ(static_cast<uint32_t>(ParseLenientInteger(unsignedText.c_str())), bits) << unsignedText;
    }
}
