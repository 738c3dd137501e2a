#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/neutral/FieldSplitter.h"

namespace {

std::vector<std::string> AllFields(const char* text) {
    std::vector<std::string> fields;
    FieldSplitter splitter(text);
    while (HeapText field = splitter.Next()) fields.emplace_back(field.get());
    return fields;
}

std::string Joined(const std::vector<std::string>& fields) {
    std::string out;
    for (const std::string& f : fields) out += "[" + f + "]";
    return out;
}

}  // namespace

TEST(FieldSplitter, RunsOfCommasAreOneSeparator) {
    struct Case {
        const char* text;
        std::vector<std::string> expected;
    } cases[] = {
        {nullptr, {}},
        {"", {}},
        {",", {}},
        {",,,", {}},
        {"a", {"a"}},
        {"a,b,c", {"a", "b", "c"}},
        {"a,,b", {"a", "b"}},                 // no empty field between
        {",a,b,", {"a", "b"}},                // commas at the ends separate nothing
        {",,,a,,,,b,,,", {"a", "b"}},
        {"HKLM,SOFTWARE\\Example\\Viewer,Install Path", {"HKLM", "SOFTWARE\\Example\\Viewer", "Install Path"}},
        {"HKCU,Software\\X,\"\"", {"HKCU", "Software\\X", "\"\""}},  // quotes are kept as they are
        {" a , b ", {" a ", " b "}},          // blanks belong to the fields
        {"\xA5\x5C,\xB3\x5C\\x", {"\xA5\x5C", "\xB3\x5C\\x"}},  // double-byte text with 0x5C trail bytes
    };
    for (const Case& c : cases) {
        std::vector<std::string> got = AllFields(c.text);
        EXPECT_EQ(got, c.expected) << "text \"" << (c.text ? c.text : "(none)") << "\": expected " << Joined(c.expected)
                                   << ", got " << Joined(got);
    }
}

TEST(FieldSplitter, SpansPointIntoTheTextAndEndOnceUsedUp) {
    const char* text = "ab,,cde";
    FieldSplitter splitter(text);
    const char* begin = nullptr;
    std::size_t length = 0;
    ASSERT_TRUE(splitter.NextSpan(&begin, &length));
    EXPECT_EQ(begin, text);
    EXPECT_EQ(length, 2u);
    ASSERT_TRUE(splitter.NextSpan(&begin, &length));
    EXPECT_EQ(begin, text + 4);
    EXPECT_EQ(length, 3u);
    EXPECT_FALSE(splitter.NextSpan(&begin, &length));
    EXPECT_FALSE(splitter.NextSpan(&begin, &length)) << "a used-up splitter must stay used up";
    EXPECT_FALSE(splitter.Next());
}

TEST(SplitFields, FillsTheFirstFieldsAndIgnoresTheRest) {
    struct Case {
        const char* text;
        int expectedCount;
        const char* expected[3];  // null for a none slot
    } cases[] = {
        {"HKLM,Software\\A,Path", 3, {"HKLM", "Software\\A", "Path"}},
        {"HKLM,Software\\A,Path,extra,more", 3, {"HKLM", "Software\\A", "Path"}},  // after the third comma: ignored
        {"HKLM,Software\\A", 2, {"HKLM", "Software\\A", nullptr}},                  // no value name: default value
        {"HKLM,,,Software\\A,,", 2, {"HKLM", "Software\\A", nullptr}},
        {"HKLM", 1, {"HKLM", nullptr, nullptr}},
        {"", 0, {nullptr, nullptr, nullptr}},
        {nullptr, 0, {nullptr, nullptr, nullptr}},
    };
    for (const Case& c : cases) {
        HeapText fields[3] = {CopyText("stale"), CopyText("stale"), CopyText("stale")};
        int count = SplitFields(c.text, fields, 3);
        const char* shown = c.text ? c.text : "(none)";
        EXPECT_EQ(count, c.expectedCount) << "text \"" << shown << "\"";
        for (int i = 0; i < 3; ++i) {
            if (c.expected[i]) {
                ASSERT_TRUE(fields[i]) << "text \"" << shown << "\": field " << i << " missing";
                EXPECT_STREQ(fields[i].get(), c.expected[i]) << "text \"" << shown << "\": field " << i;
            } else {
                EXPECT_FALSE(fields[i]) << "text \"" << shown << "\": field " << i << " should be none, got \""
                                        << fields[i].get() << "\"";
            }
        }
    }
}
