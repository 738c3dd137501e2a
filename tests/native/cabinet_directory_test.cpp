#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/neutral/CabinetDirectory.h"

namespace {

void Put16(std::string& s, unsigned v) { s += char(v & 0xFF), s += char(v >> 8 & 0xFF); }
void Put32(std::string& s, uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

// Header, one folder entry and the file table (no data blocks: the reader
// never looks at them).
std::string CabinetHeader(const std::vector<std::string>& names, const std::vector<uint32_t>& sizes = {}) {
    std::string s = "MSCF";
    Put32(s, 0), Put32(s, 0), Put32(s, 0), Put32(s, 44), Put32(s, 0);
    s += char(3), s += char(1);
    Put16(s, 1), Put16(s, static_cast<unsigned>(names.size())), Put16(s, 0), Put16(s, 0), Put16(s, 0);
    Put32(s, 0), Put16(s, 0), Put16(s, 0);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        Put32(s, i < sizes.size() ? sizes[i] : 1), Put32(s, 0), Put16(s, 0), Put16(s, 0), Put16(s, 0), Put16(s, 0x20);
        s += name;
        s += '\0';
    }
    return s;
}

using Listing = std::vector<std::pair<std::string, uint32_t>>;

Listing Files(const std::string& cabinet, bool* ok) {
    Listing files;
    *ok = ForEachCabinetFile(
        reinterpret_cast<const unsigned char*>(cabinet.data()), cabinet.size(),
        [](const char* name, std::size_t length, uint32_t size, void* context) {
            static_cast<Listing*>(context)->emplace_back(std::string(name, length), size);
        },
        &files);
    return files;
}

std::vector<std::string> Names(const std::string& cabinet, bool* ok) {
    std::vector<std::string> names;
    for (const auto& file : Files(cabinet, ok)) names.push_back(file.first);
    return names;
}

}  // namespace

TEST(CabinetDirectory, VisitsEveryStoredName) {
    std::vector<std::string> stored = {"Setup.ini", "Proc1", "Proc2", "wait.ani", "Uninstaller.exe"};
    bool ok = false;
    EXPECT_EQ(Names(CabinetHeader(stored), &ok), stored);
    EXPECT_TRUE(ok);
}

TEST(CabinetDirectory, HandsOutEachFilesUnpackedSize) {
    bool ok = false;
    Listing expected = {{"Setup.ini", 120}, {"Proc1", 0}, {"Setup.img", 0x01020304}};
    EXPECT_EQ(Files(CabinetHeader({"Setup.ini", "Proc1", "Setup.img"}, {120, 0, 0x01020304}), &ok), expected);
    EXPECT_TRUE(ok);
}

TEST(CabinetDirectory, RejectsDataThatIsNoWholeFileTable) {
    std::string good = CabinetHeader({"Setup.ini", "Proc1"});
    struct Case {
        const char* what;
        std::string data;
        std::size_t visited;
    } cases[] = {
        {"empty", "", 0},
        {"short header", good.substr(0, 20), 0},
        {"wrong signature", "MSCX" + good.substr(4), 0},
        {"second name cut", good.substr(0, good.size() - 3), 1},
        {"second entry cut before its name", good.substr(0, good.size() - 6 - 10), 1},
        {"file table beyond the end", good.substr(0, 44), 0},
    };
    for (const Case& c : cases) {
        bool ok = true;
        EXPECT_EQ(Names(c.data, &ok).size(), c.visited) << c.what;
        EXPECT_FALSE(ok) << c.what;
    }
}

TEST(CabinetDirectory, PlainNamesStayInTheirFolder) {
    struct Case {
        std::string name;
        bool plain;
    } cases[] = {{"Setup.ini", true}, {"Proc12", true}, {"a..b", true}, {"", false}, {".", false},
                 {"..", false}, {"sub\\x", false}, {"../x", false}, {"C:x", false}, {"*.*", false}, {"Proc?", false}, {std::string("a\0b", 3), false}};
    for (const Case& c : cases) EXPECT_EQ(IsPlainFileName(c.name.data(), c.name.size()), c.plain) << c.name;
}
