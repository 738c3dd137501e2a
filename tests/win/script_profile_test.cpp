// The builder reads the patch script in one pass with its own reader; it
// must give every key the value the platform's profile functions (through
// which the runtime reads the script) give it, on scripts written carelessly.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "check/neutral/ScriptProfile.h"
#include "support/TestFiles.h"

namespace {

std::string ProfileValue(const std::string& path, const std::string& section, const std::string& key) {
    char buffer[4096] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, path.c_str());
    return buffer;
}

}  // namespace

TEST(ScriptProfile, ReadsEveryKeyAsTheProfileFunctionsDo) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::pair<std::string, std::string>> lookups;  // section, key
    } cases[] = {
        {"names without case, blanks around them",
         "[Proc1]\r\n  FILE = a b.txt  \r\nact=2\r\n[ proc2 ]\r\nDir=Win\r\n",
         {{"proc1", "File"}, {"PROC1", "Act"}, {"Proc2", "dir"}, {"Proc1", "Dir"}}},
        {"the first of two equal keys", "[A]\r\nx=1\r\nX=2\r\n", {{"A", "x"}}},
        {"a section given twice", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n[a]\r\nx=3\r\nz=4\r\n",
         {{"A", "x"}, {"A", "z"}, {"B", "y"}}},
        {"quotes around values",
         "[Q]\r\nd=\"two words \"\r\ns='single'\r\nhalf=\"open\r\nin=a \"b\" c\r\nempty=\"\"\r\nmixed=\"x'\r\n",
         {{"Q", "d"}, {"Q", "s"}, {"Q", "half"}, {"Q", "in"}, {"Q", "empty"}, {"Q", "mixed"}}},
        {"empty values, keys without '=' and comments",
         "[E]\r\nempty=\r\nbare\r\n;comment=1\r\nafter=yes\r\n",
         {{"E", "empty"}, {"E", "bare"}, {"E", "after"}, {"E", "missing"}}},
        {"lines ending in LF only, text after the bracket", "[L] junk\nk=v\n[M]\nk=w\n", {{"L", "k"}, {"M", "k"}}},
        {"a value holding '='", "[R]\r\n1=HKCU,Key,Name,1,4,a=b\r\n", {{"R", "1"}}},
        {"keys before the first section", "stray=1\r\n[S]\r\nk=2\r\n", {{"S", "k"}, {"", "stray"}}},
    };
    ScratchFolder folder("script profile");
    int n = 0;
    for (const Case& c : cases) {
        std::string path = folder / ("script" + std::to_string(++n) + ".ini");
        WriteTestFile(path, c.text);
        ScriptProfile profile;
        ASSERT_TRUE(profile.Load(path)) << c.what;
        for (const auto& lookup : c.lookups)
            EXPECT_EQ(profile.Value(lookup.first, lookup.second), ProfileValue(path, lookup.first, lookup.second))
                << c.what << ": [" << lookup.first << "] " << lookup.second;
    }
}
