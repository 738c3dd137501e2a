#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/neutral/RegistryLine.h"

namespace {

std::string TextOrNone(const char* text) { return text ? std::string("\"") + text + "\"" : "(none)"; }

std::vector<unsigned char> DataOf(const RegistryLine& line) {
    if (!line.Data) return {};
    return std::vector<unsigned char>(line.Data.get(), line.Data.get() + line.Size);
}

}  // namespace

TEST(RegistryLine, SplitsCommonFields) {
    RegistryLine line;
    ASSERT_EQ(ParseRegistryLine("HKCU,Software\\Zuli\\Sub,Version,1,4,1.2", RegistryAdd, line), 1);
    EXPECT_STREQ(line.Hive.get(), "HKCU");
    EXPECT_STREQ(line.Subkey.get(), "Software\\Zuli\\Sub");
    EXPECT_STREQ(line.ValueName.get(), "Version");
    EXPECT_EQ(line.Type, 1u);
    EXPECT_EQ(line.Size, 4u);
    EXPECT_EQ(DataOf(line), (std::vector<unsigned char>{'1', '.', '2', 0}));
}

TEST(RegistryLine, RunsOfCommasSeparateOnce) {
    RegistryLine line;
    ASSERT_EQ(ParseRegistryLine(",,HKLM,,,Soft,Name,,4,,,4,,7,,", RegistryAdd, line), 1);
    EXPECT_STREQ(line.Hive.get(), "HKLM");
    EXPECT_STREQ(line.Subkey.get(), "Soft");
    EXPECT_STREQ(line.ValueName.get(), "Name");
    EXPECT_EQ(DataOf(line), (std::vector<unsigned char>{7, 0, 0, 0}));
}

TEST(RegistryLine, QuoteTokenMeansNoValueName) {
    struct Case {
        const char* text;
        const char* expectedName;  // null: none
    } cases[] = {
        {"HKCU,Key,\"\",1,2,x", nullptr},
        {"HKCU,Key,\"\"\",1,2,x", "\"\"\""},  // three quotes is a name
        {"HKCU,Key,\",1,2,x", "\""},
        {"HKCU,Key,a\"\",1,2,x", "a\"\""},
    };
    for (const Case& c : cases) {
        RegistryLine line;
        ASSERT_EQ(ParseRegistryLine(c.text, RegistryAdd, line), 1) << c.text;
        EXPECT_EQ(TextOrNone(line.ValueName.get()), TextOrNone(c.expectedName)) << c.text;
    }
}

TEST(RegistryLine, AddDataByType) {
    struct Case {
        const char* text;
        uint32_t size;
        std::vector<unsigned char> data;
    } cases[] = {
        {"HKCU,K,V,1,4,abc", 4, {'a', 'b', 'c', 0}},       // text with its terminator
        {"HKCU,K,V,2,5,%OS%", 5, {'%', 'O', 'S', '%', 0}},
        {"HKCU,K,V,1,2,abc", 2, {'a', 'b'}},               // shorter size: no over-read
        {"HKCU,K,V,3,3,1,2,255", 3, {0x01, 0x02, 0xFF}},
        {"HKCU,K,V,3,2,256,-1", 2, {0x00, 0xFF}},          // modulo 256
        {"HKCU,K,V,3,2,1,2,3", 2, {0x01, 0x02}},           // extra fields are not read
        {"HKCU,K,V,3,0", 0, {}},
        {"HKCU,K,V,4,4,1", 4, {0x01, 0x00, 0x00, 0x00}},
        {"HKCU,K,V,5,4,1", 4, {0x01, 0x00, 0x00, 0x00}},   // no byte swap for type 5
        {"HKCU,K,V,4,4,-2", 4, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"HKCU,K,V,4,4,4294967295", 4, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"HKCU,K,V,4,4,305419896", 4, {0x78, 0x56, 0x34, 0x12}},
        {"HKCU,K,V,4,4, 12abc", 4, {12, 0, 0, 0}},         // lenient number
        {"HKCU,K,V,0,0", 0, {}},                            // other types read no data
        {"HKCU,K,V,7,0,ignored", 0, {}},
    };
    for (const Case& c : cases) {
        RegistryLine line;
        ASSERT_EQ(ParseRegistryLine(c.text, RegistryAdd, line), 1) << c.text;
        EXPECT_EQ(line.Size, c.size) << c.text;
        EXPECT_EQ(DataOf(line), c.data) << c.text;
    }
}

TEST(RegistryLine, FailsRatherThanGuessOrReadPastData) {
    struct Case {
        const char* text;
        int kind;
        const char* why;
    } cases[] = {
        {nullptr, RegistryAdd, "no line at all"},
        {"", RegistryDelete, "empty line"},
        {"HKCU,Key", RegistryDelete, "delete needs a value name field"},
        {"HKCU,Key,V,1", RegistryAdd, "add without size"},
        {"HKCU,Key,V,1,4", RegistryAdd, "text type without its data field"},
        {"HKCU,Key,V,1,5,abc", RegistryAdd, "text size above length plus terminator"},
        {"HKCU,Key,V,2,100,abc", RegistryAdd, "expand text size above length plus terminator"},
        {"HKCU,Key,V,3,3,1,2", RegistryAdd, "binary with fewer fields than its size"},
        {"HKCU,Key,V,3,-1,1,2", RegistryAdd, "binary size that wraps to 4 GB"},
        {"HKCU,Key,V,4,4", RegistryAdd, "number without its data field"},
        {"HKCU,Key,V,4,8,1", RegistryAdd, "number size above four bytes"},
        {"HKCU,Key,V,7,4,abc", RegistryAdd, "size for a type that reads no data"},
        {"HKCU,Key,V,1,0", RegistryRename, "rename without new name"},
        {"HKCU,Key,V", RegistryRename, "rename without type"},
        {"HKCU,Key,V,3,1,New", RegistryRename, "rename of type 3"},
        {"HKCU,Key,V,4,4,New", RegistryRename, "rename of type 4"},
        {"HKCU,Key,V,1,0,New", 4, "unknown kind"},
    };
    for (const Case& c : cases) {
        RegistryLine line;
        EXPECT_EQ(ParseRegistryLine(c.text, c.kind, line), 0) << c.why << ": " << TextOrNone(c.text);
    }
}

TEST(RegistryLine, DeleteNeedsOnlyThreeFields) {
    RegistryLine line;
    ASSERT_EQ(ParseRegistryLine("HKCU,A\\B,\"\"", RegistryDelete, line), 1);
    EXPECT_STREQ(line.Subkey.get(), "A\\B");
    EXPECT_EQ(line.ValueName, nullptr);
    EXPECT_EQ(line.Type, 0u);  // missing numbers read as 0
    EXPECT_EQ(line.Size, 0u);
    ASSERT_EQ(ParseRegistryLine("HKCU,A\\B,Name,1,2,ignored", RegistryDelete, line), 1);
    EXPECT_STREQ(line.ValueName.get(), "Name");
}

TEST(RegistryLine, RenameTakesDataFieldAsNewNameWhateverTheSize) {
    struct Case {
        const char* text;
        const char* name;
        const char* newName;
    } cases[] = {
        {"HKCU,A\\C,\"\",1,0,B", nullptr, "B"},
        {"HKCU,A,Old,2,999,New", "Old", "New"},
        {"HKCU,A,Old,1,-5,New,extra", "Old", "New"},
    };
    for (const Case& c : cases) {
        RegistryLine line;
        ASSERT_EQ(ParseRegistryLine(c.text, RegistryRename, line), 1) << c.text;
        EXPECT_EQ(TextOrNone(line.ValueName.get()), TextOrNone(c.name)) << c.text;
        EXPECT_EQ(TextOrNone(line.NewName.get()), TextOrNone(c.newName)) << c.text;
    }
}

TEST(RegistryLine, HiveTokenIsKeptAsWritten) {
    RegistryLine line;
    ASSERT_EQ(ParseRegistryLine("hkcu,K,V,4,4,1", RegistryAdd, line), 1);
    EXPECT_STREQ(line.Hive.get(), "hkcu");  // the accessor decides it is not a hive
}
