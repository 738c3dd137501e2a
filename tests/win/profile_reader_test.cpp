// The profile reader against real profile files under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/ProfileReader.h"
#include "support/TestFiles.h"

namespace {

class ProfileReaderTest : public ::testing::Test {
protected:
    ProfileReaderTest() : scratch_("profile") {}

    // A reader bound to a fresh file with `content`, section `section`.
    ProfileReader Bound(const std::string& name, const std::string& content, const char* section) {
        WriteTestFile(scratch_ / name, content);
        ProfileReader reader;
        reader.SetFile((scratch_ / name).c_str());
        reader.SetSection(section);
        return reader;
    }

    static std::string Shown(const HeapText& text) { return text ? "\"" + std::string(text.get()) + "\"" : "none"; }

    ScratchFolder scratch_;
};

TEST_F(ProfileReaderTest, MissingAndEmptyReadAlike) {
    ProfileReader reader = Bound("Setup.ini", "[Proc1]\r\nSub=\r\nCRC=\r\nAct=3\r\n", "Proc1");
    const char* keys[] = {"Sub", "CRC", "NoSuchKey"};
    for (const char* key : keys) {
        EXPECT_EQ(Shown(reader.ReadValue(key)), "none") << "key " << key;
        EXPECT_EQ(reader.ReadInteger(key), 0) << "key " << key;
        EXPECT_FALSE(reader.ReadFlag(key)) << "key " << key;
    }
    EXPECT_EQ(reader.ReadInteger("Act"), 3);

    // A missing section or a missing file reads as none as well.
    reader.SetSection("Proc2");
    EXPECT_EQ(Shown(reader.ReadValue("Act")), "none");
    reader.SetFile((scratch_ / "absent.ini").c_str());
    reader.SetSection("Proc1");
    EXPECT_EQ(Shown(reader.ReadValue("Act")), "none");
    EXPECT_EQ(reader.ReadInteger("Act"), 0);
}

TEST_F(ProfileReaderTest, LongValuesComeBackWhole) {
    // Around each step of the growing read buffer (512 bytes a step).
    const size_t lengths[] = {1, 510, 511, 512, 513, 600, 1023, 1024, 1535, 1536, 5000};
    std::string content = "[Setup]\r\n";
    for (size_t length : lengths) {
        std::string value(length, 'a');
        for (size_t i = 0; i < length; ++i) value[i] = static_cast<char>('a' + (i * 7 + length) % 26);
        content += "K" + std::to_string(length) + "=" + value + "\r\n";
    }
    ProfileReader reader = Bound("long.ini", content, "Setup");
    for (size_t length : lengths) {
        std::string expected(length, 'a');
        for (size_t i = 0; i < length; ++i) expected[i] = static_cast<char>('a' + (i * 7 + length) % 26);
        HeapText value = reader.ReadValue(("K" + std::to_string(length)).c_str());
        ASSERT_TRUE(value) << "value of " << length << " characters read as none";
        EXPECT_EQ(std::string(value.get()), expected) << "value of " << length << " characters came back as "
                                                      << strlen(value.get()) << " characters";
    }
}

TEST_F(ProfileReaderTest, SectionAndKeyNamesMatchWithoutCase) {
    ProfileReader reader = Bound("case.ini", "[Proc1]\r\nFile=About.bmp\r\nDIR=Win\r\n", "PROC1");
    struct Case {
        const char* key;
        const char* expected;
    } cases[] = {{"FILE", "About.bmp"}, {"File", "About.bmp"}, {"file", "About.bmp"}, {"Dir", "Win"}, {"dir", "Win"}};
    for (const Case& c : cases) {
        HeapText value = reader.ReadValue(c.key);
        EXPECT_EQ(Shown(value), "\"" + std::string(c.expected) + "\"") << "key " << c.key;
    }
}

TEST_F(ProfileReaderTest, IntegersReadLenientlyWithWrapAround) {
    // Quotes keep blanks that the profile functions would otherwise trim.
    struct Case {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"\"   12abc\"", 12},     {"  12 apples", 12}, {"+7", 7},           {"-7", -7},
        {"abc", 0},               {"-", 0},            {"4294967295", -1}, {"-819288238", -819288238},
        {"3475679058", -819288238}, {"2147483648", INT32_MIN}, {"0x10", 0}, {"1e3", 1},
    };
    std::string content = "[Proc1]\r\n";
    int index = 0;
    for (const Case& c : cases) content += "N" + std::to_string(index++) + "=" + c.text + "\r\n";
    ProfileReader reader = Bound("numbers.ini", content, "Proc1");
    index = 0;
    for (const Case& c : cases) {
        int32_t got = reader.ReadInteger(("N" + std::to_string(index++)).c_str());
        EXPECT_EQ(got, c.expected) << "value " << c.text << ": expected " << c.expected << ", got " << got;
    }
}

TEST_F(ProfileReaderTest, FlagsAreSetByAnyText) {
    ProfileReader reader =
        Bound("flags.ini", "[Proc1]\r\nCANTDIFF=0\r\nCANTMISS=no\r\nDONTChk=0\r\nEmpty=\r\n", "Proc1");
    EXPECT_TRUE(reader.ReadFlag("CANTDIFF")) << "a flag of \"0\" counts as set";
    EXPECT_TRUE(reader.ReadFlag("CANTMISS"));
    EXPECT_FALSE(reader.ReadFlag("Empty"));
    EXPECT_FALSE(reader.ReadFlag("Absent"));
    EXPECT_EQ(reader.ReadInteger("DONTChk"), 0) << "an integer of \"0\" does not";
}

TEST_F(ProfileReaderTest, SaveRetargetWriteRestore) {
    ProfileReader reader = Bound("Setup.ini", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFILE=viewer.dll\r\n", "Proc1");
    std::string wininit = scratch_ / "WININIT.INI";

    HeapText savedFile = reader.CopyFilePath();
    HeapText savedSection = reader.CopySectionName();
    ASSERT_TRUE(savedFile);
    ASSERT_TRUE(savedSection);
    reader.SetFile(wininit.c_str());
    reader.SetSection("rename");
    EXPECT_EQ(reader.WriteValue("C:\\Target.dll", "C:\\Temp.tmp"), 1);
    reader.SetFile(savedFile.get());
    reader.SetSection(savedSection.get());
    // The reader keeps copies of its own: releasing the saved ones changes nothing.
    savedFile.reset();
    savedSection.reset();

    EXPECT_EQ(Shown(reader.ReadValue("FILE")), "\"viewer.dll\"");
    EXPECT_EQ(Shown(reader.CopySectionName()), "\"Proc1\"");
    EXPECT_EQ(Shown(reader.CopyFilePath()), "\"" + (scratch_ / "Setup.ini") + "\"");
    char written[64] = {};
    GetPrivateProfileStringA("rename", "C:\\Target.dll", "", written, sizeof written, wininit.c_str());
    EXPECT_STREQ(written, "C:\\Temp.tmp") << "the write went to the other file";
    EXPECT_EQ(Shown(reader.ReadValue("C:\\Target.dll")), "none") << "and not into the script";
}

TEST_F(ProfileReaderTest, WritesPassNoneThroughAndAreSeenAtOnce) {
    ProfileReader reader = Bound("target.ini", "[Options]\r\nColour=red\r\nSize=3\r\n[Other]\r\nKeep=1\r\n", "Options");
    EXPECT_EQ(reader.WriteValue("Colour", "blue"), 1);
    EXPECT_EQ(Shown(reader.ReadValue("Colour")), "\"blue\"") << "nothing is cached";

    EXPECT_EQ(reader.WriteValue("Colour", nullptr), 1);
    EXPECT_EQ(Shown(reader.ReadValue("Colour")), "none") << "a none value removes the key";
    EXPECT_EQ(ReadTestFile(scratch_ / "target.ini").find("Colour"), std::string::npos);
    EXPECT_EQ(reader.ReadInteger("Size"), 3) << "other keys stay";

    // Another writer's change is seen by the next read.
    WritePrivateProfileStringA("Options", "Size", "9", (scratch_ / "target.ini").c_str());
    EXPECT_EQ(reader.ReadInteger("Size"), 9);

    EXPECT_EQ(reader.WriteValue(nullptr, nullptr), 1);
    EXPECT_EQ(Shown(reader.ReadValue("Size")), "none") << "a none key removes the whole section";
    reader.SetSection("Other");
    EXPECT_EQ(reader.ReadInteger("Keep"), 1) << "other sections stay";
}

TEST_F(ProfileReaderTest, UnboundReaderNeitherReadsNorWrites) {
    ProfileReader reader;
    EXPECT_FALSE(reader.CopyFilePath());
    EXPECT_FALSE(reader.CopySectionName());
    EXPECT_EQ(Shown(reader.ReadValue("Act")), "none");
    // A section but no file: the platform would fall back to WIN.INI.
    reader.SetSection("ZuliProfileReaderTest");
    EXPECT_EQ(reader.WriteValue("Written", "1"), 0);
    char probe[16] = {};
    GetPrivateProfileStringA("ZuliProfileReaderTest", "Written", "", probe, sizeof probe, "win.ini");
    EXPECT_STREQ(probe, "") << "WIN.INI was written";
    EXPECT_EQ(Shown(reader.ReadValue("Written")), "none");

    reader = Bound("bound.ini", "[S]\r\nA=1\r\n", "S");
    EXPECT_EQ(reader.ReadInteger("A"), 1);
    reader.Clear();
    EXPECT_FALSE(reader.CopyFilePath());
    EXPECT_FALSE(reader.CopySectionName());
    EXPECT_EQ(reader.ReadInteger("A"), 0);
}

}  // namespace
