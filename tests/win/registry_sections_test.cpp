// The registry sections run against a key the test owns:
// HKEY_CURRENT_USER\Software\ZuliTest\Sections, removed before and after.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "actions/RegistryOperations.h"
#include "actions/RegistrySections.h"
#include "core/RunState.h"
#include "support/TestFiles.h"

namespace {

const char kBase[] = "Software\\ZuliTest\\Sections";

using Bytes = std::vector<unsigned char>;

std::string Under(const std::string& relative) { return std::string(kBase) + "\\" + relative; }

std::string Hex(const Bytes& bytes) {
    std::string text;
    char cell[4];
    for (unsigned char b : bytes) {
        wsprintfA(cell, "%02X ", b);
        text += cell;
    }
    return text.empty() ? "(empty)" : text;
}

bool KeyExists(const std::string& relative) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Under(relative).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void CreateKey(const std::string& relative) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Under(relative).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS)
        << relative;
    RegCloseKey(key);
}

void SetText(const std::string& relative, const char* name, const char* text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Under(relative).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
    RegCloseKey(key);
}

void SetNumber(const std::string& relative, const char* name, DWORD number) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Under(relative).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);
}

// The value's type and raw bytes, read through the wide interface so that
// text comes back exactly as stored (with or without its terminator).
struct StoredValue {
    bool present = false;
    DWORD type = 0;
    Bytes data;
};

StoredValue ReadStored(const std::string& relative, const char* name) {
    StoredValue value;
    const std::string path = Under(relative);
    std::wstring wideKey(path.begin(), path.end());
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wideKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
    std::wstring wideName = name ? std::wstring(name, name + lstrlenA(name)) : std::wstring();
    const wchar_t* valueName = name ? wideName.c_str() : nullptr;
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.present = RegQueryValueExW(key, valueName, nullptr, &value.type, size ? value.data.data() : nullptr,
                                         &size) == ERROR_SUCCESS;
        value.data.resize(size);
    }
    RegCloseKey(key);
    return value;
}

std::string ReadText(const std::string& relative, const char* name) {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Under(relative).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "(no key)";
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string(text) : "(no value)";
}

bool ValueExists(const std::string& relative, const char* name) { return ReadStored(relative, name).present; }

// UTF-16LE bytes of an ASCII text, with its terminator when asked.
Bytes WideBytes(const char* text, bool terminated) {
    Bytes bytes;
    for (const char* p = text; *p; ++p) {
        bytes.push_back(static_cast<unsigned char>(*p));
        bytes.push_back(0);
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

class RegistrySections : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kBase);
        CreateKey("");
        RunState.Registry = RegistryAccessor();
    }
    void TearDown() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kBase);
        RunState.ScriptReader.Clear();
        RunState.Registry = RegistryAccessor();
    }

    // Binds ScriptReader to a script of its own for each test, so that no
    // profile cache can mix up two scripts written within one second.
    void WriteScript(const std::string& text) {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string path = scratch_ / (std::string(info->name()) + "-" + std::to_string(++scripts_) + ".ini");
        WriteTestFile(path, text);
        RunState.ScriptReader.SetFile(path.c_str());
    }

    // "[section]" and lines 1..n of a registry section.
    static std::string Section(const char* name, const std::vector<std::string>& lines) {
        std::string text = std::string("[") + name + "]\r\n";
        for (std::size_t i = 0; i < lines.size(); ++i) text += std::to_string(i + 1) + "=" + lines[i] + "\r\n";
        return text;
    }

    static std::string CurrentSection() {
        HeapText section = RunState.ScriptReader.CopySectionName();
        return section ? section.get() : "(none)";
    }

    ScratchFolder scratch_{"registry-sections"};
    int scripts_ = 0;
};

}  // namespace

TEST_F(RegistrySections, CountBelowOneReadsNoLine) {
    WriteScript(Section("AddReg", {"HKCU," + Under("Zero") + ",V,4,4,1"}) +
                Section("DelReg", {"HKCU," + Under("Keep") + ",\"\""}));
    CreateKey("Keep");
    for (int count : {0, -1}) {
        EXPECT_EQ(RunRegistrySection(count, RegistryAdd), 1) << "count " << count;
        EXPECT_EQ(RunRegistrySection(count, RegistryDelete), 1) << "count " << count;
    }
    EXPECT_FALSE(KeyExists("Zero")) << "a count of 0 must not read line 1";
    EXPECT_TRUE(KeyExists("Keep")) << "a count of 0 must not read line 1";
    EXPECT_EQ(CurrentSection(), "DelReg") << "the reader stays on the section last run";
}

TEST_F(RegistrySections, FailingLineTurnsResultToZeroWithoutUndoingOthers) {
    const std::string good1 = "HKCU," + Under("Add") + ",First,1,6,first";
    const std::string good3 = "HKCU," + Under("Add") + ",Third,1,6,third";
    const std::string tooLongKey(300, 'k');
    struct Case {
        std::string failing;
        const char* why;
    } cases[] = {
        {"HKCU," + Under("Add") + ",Second,1", "fewer fields than an add line needs"},
        {"HKCU," + Under("Add") + ",Second,3,3,1,2", "type 3 with fewer data fields than its size"},
        {"HKCU," + Under("Add") + ",Second,1,50,short", "text size beyond the text and its terminator"},
        {"HKCU," + Under("Add") + "\\" + tooLongKey + ",Second,1,2,x", "key name the registry refuses"},
    };
    for (const Case& c : cases) {
        SHDeleteKeyA(HKEY_CURRENT_USER, Under("Add").c_str());
        WriteScript(Section("AddReg", {good1, c.failing, good3}));
        EXPECT_EQ(RunRegistrySection(2, RegistryAdd), 0) << c.why;
        EXPECT_EQ(ReadText("Add", "First"), "first") << c.why << ": the first line stays written";
        EXPECT_FALSE(ValueExists("Add", "Second")) << c.why << ": a failed line writes nothing";
        EXPECT_FALSE(ValueExists("Add", "Third")) << c.why << ": line 3 is beyond the count";

        EXPECT_EQ(RunRegistrySection(3, RegistryAdd), 0) << c.why;
        EXPECT_EQ(ReadText("Add", "Third"), "third") << c.why << ": lines after a failure still run";
    }
}

TEST_F(RegistrySections, AddStoresDataByType) {
    struct Case {
        const char* line;  // after "HKCU,<key>,"
        const char* name;
        DWORD type;
        Bytes stored;
    } cases[] = {
        {"Number,4,4,1", "Number", REG_DWORD, {0x01, 0x00, 0x00, 0x00}},
        {"BigEnd,5,4,1", "BigEnd", REG_DWORD_BIG_ENDIAN, {0x01, 0x00, 0x00, 0x00}},
        {"Negative,4,4,-2", "Negative", REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"Binary,3,3,1,2,255", "Binary", REG_BINARY, {0x01, 0x02, 0xFF}},
        {"Wrapped,3,2,256,257", "Wrapped", REG_BINARY, {0x00, 0x01}},
        {"Text,1,6,hello", "Text", REG_SZ, WideBytes("hello", true)},
        {"Expand,2,6,%TMP%", "Expand", REG_EXPAND_SZ, WideBytes("%TMP%", true)},
        {"Cut,1,3,hello", "Cut", REG_SZ, WideBytes("hel", false)},
        {"\"\",1,8,default", nullptr, REG_SZ, WideBytes("default", true)},
        {"Empty,0,0", "Empty", REG_NONE, {}},
    };
    std::vector<std::string> lines;
    for (const Case& c : cases) lines.push_back("HKCU," + Under("Types") + "," + c.line);
    WriteScript(Section("AddReg", lines));
    EXPECT_EQ(RunRegistrySection(static_cast<int>(lines.size()), RegistryAdd), 1);
    for (const Case& c : cases) {
        StoredValue value = ReadStored("Types", c.name);
        ASSERT_TRUE(value.present) << c.line;
        EXPECT_EQ(value.type, c.type) << c.line;
        EXPECT_EQ(Hex(value.data), Hex(c.stored)) << c.line;
    }
}

TEST_F(RegistrySections, AddOverwritesAndCreatesKeysOnTheWay) {
    SetText("Over", "V", "old");
    WriteScript(Section("AddReg", {"HKCU," + Under("Over") + ",V,1,4,new",
                                   "HKCU," + Under("Deep\\Er\\Est") + ",V,4,4,7"}));
    EXPECT_EQ(RunRegistrySection(2, RegistryAdd), 1);
    EXPECT_EQ(ReadText("Over", "V"), "new");
    EXPECT_EQ(Hex(ReadStored("Deep\\Er\\Est", "V").data), Hex({7, 0, 0, 0}));
}

TEST_F(RegistrySections, UnknownHiveTokenKeepsThePreviousRoot) {
    WriteScript(Section("AddReg", {"HKCU," + Under("Hive") + ",First,4,4,1",
                                   "XXXX," + Under("Hive") + ",Second,4,4,2",
                                   "hkcu," + Under("Hive") + ",Third,4,4,3"}));
    EXPECT_EQ(RunRegistrySection(3, RegistryAdd), 1);
    EXPECT_EQ(Hex(ReadStored("Hive", "Second").data), Hex({2, 0, 0, 0})) << "written under HKCU, the previous root";
    EXPECT_EQ(Hex(ReadStored("Hive", "Third").data), Hex({3, 0, 0, 0})) << "tokens compare with case";
    EXPECT_EQ(RunState.Registry.Root(), HKEY_CURRENT_USER);
}

TEST_F(RegistrySections, UnknownHiveTokenBeforeAnyRootFails) {
    WriteScript(Section("AddReg", {"XXXX," + Under("NoRoot") + ",V,4,4,1"}));
    EXPECT_EQ(RunRegistrySection(1, RegistryAdd), 0);
    EXPECT_FALSE(KeyExists("NoRoot"));
    EXPECT_EQ(RunState.Registry.Root(), nullptr);
}

TEST_F(RegistrySections, DeleteTakesTheValueOrWithQuotesTheKey) {
    SetText("Del\\Values", "Drop", "x");
    SetText("Del\\Values", "Stay", "y");
    SetText("Del\\Gone", "Inside", "z");
    SetText("Del\\AlsoGone", "Inside", "z");
    // The last line ends in the quote token, which the profile reader must
    // not take for quotes around the whole value.
    WriteScript(Section("DelReg", {"HKCU," + Under("Del\\Values") + ",Drop",
                                   "HKCU," + Under("Del\\Gone") + ",\"\",0,0",
                                   "HKCU," + Under("Del\\AlsoGone") + ",\"\""}));
    EXPECT_EQ(RunRegistrySection(3, RegistryDelete), 1);
    EXPECT_FALSE(KeyExists("Del\\AlsoGone"));
    EXPECT_FALSE(ValueExists("Del\\Values", "Drop"));
    EXPECT_EQ(ReadText("Del\\Values", "Stay"), "y") << "only the named value goes";
    EXPECT_FALSE(KeyExists("Del\\Gone")) << "\"\" deletes the key itself";
    EXPECT_TRUE(KeyExists("Del")) << "the parent stays";
}

TEST_F(RegistrySections, DeleteOfWhatIsNotThereFails) {
    SetText("Del", "Stay", "y");
    struct Case {
        std::string line;
        const char* why;
    } cases[] = {
        {"HKCU," + Under("Del") + ",Missing", "missing value"},
        {"HKCU," + Under("Del\\Missing") + ",\"\"", "missing key"},
        {"HKCU," + Under("Missing") + ",Stay", "value of a missing key"},
        {"HKCU," + Under("Del"), "line without value name field"},
    };
    for (const Case& c : cases) {
        WriteScript(Section("DelReg", {c.line}));
        EXPECT_EQ(RunRegistrySection(1, RegistryDelete), 0) << c.why;
    }
    EXPECT_EQ(ReadText("Del", "Stay"), "y");
}

TEST_F(RegistrySections, RenameValueCopiesThenDeletes) {
    SetText("Ren", "Old", "text");
    SetNumber("Ren", "OldNumber", 0x12345678);
    SetText("Ren", "Taken", "overwritten");
    SetText("Ren", "Same", "kept");
    WriteScript(Section("RenReg", {"HKCU," + Under("Ren") + ",Old,1,0,New",
                                   "HKCU," + Under("Ren") + ",OldNumber,2,99,Taken",
                                   "HKCU," + Under("Ren") + ",Same,1,0,SAME"}));
    EXPECT_EQ(RunRegistrySection(3, RegistryRename), 1);
    EXPECT_FALSE(ValueExists("Ren", "Old"));
    EXPECT_EQ(ReadText("Ren", "New"), "text");
    EXPECT_FALSE(ValueExists("Ren", "OldNumber"));
    StoredValue taken = ReadStored("Ren", "Taken");
    EXPECT_EQ(taken.type, static_cast<DWORD>(REG_DWORD)) << "the value keeps its own type";
    EXPECT_EQ(Hex(taken.data), Hex({0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(ReadText("Ren", "Same"), "kept") << "renaming to its own name must not delete the value";
}

TEST_F(RegistrySections, RenameThatCannotBeCarriedOutChangesNothing) {
    SetText("Ren", "Old", "text");
    struct Case {
        std::string line;
        const char* why;
    } cases[] = {
        {"HKCU," + Under("Ren") + ",Missing,1,0,New", "no such value"},
        {"HKCU," + Under("Ren") + ",Old,3,1,New", "type 3 carries no new name"},
        {"HKCU," + Under("Ren") + ",Old,4,4,New", "type 4 carries no new name"},
        {"HKCU," + Under("Ren") + ",Old,1,0", "no new name field"},
        {"HKCU," + Under("Missing") + ",Old,1,0,New", "no such key"},
    };
    for (const Case& c : cases) {
        WriteScript(Section("RenReg", {c.line}));
        EXPECT_EQ(RunRegistrySection(1, RegistryRename), 0) << c.why;
        EXPECT_EQ(ReadText("Ren", "Old"), "text") << c.why;
        EXPECT_FALSE(ValueExists("Ren", "New")) << c.why;
    }
}

TEST_F(RegistrySections, RenameKeyMovesValuesAndSubkeys) {
    SetText("A\\C", nullptr, "default");
    SetText("A\\C", "Text", "t");
    SetNumber("A\\C", "Number", 42);
    SetText("A\\C\\D", "Inner", "i");
    SetNumber("A\\C\\D\\E", "Deepest", 5);
    CreateKey("A\\C\\F");
    SetText("A", "Parent", "p");

    WriteScript(Section("RenReg", {"HKCU," + Under("A\\C") + ",\"\",1,0,B"}));
    EXPECT_EQ(RunRegistrySection(1, RegistryRename), 1);

    EXPECT_FALSE(KeyExists("A\\C")) << "the source goes";
    EXPECT_EQ(ReadText("A\\B", nullptr), "default");
    EXPECT_EQ(ReadText("A\\B", "Text"), "t");
    EXPECT_EQ(Hex(ReadStored("A\\B", "Number").data), Hex({42, 0, 0, 0}));
    EXPECT_EQ(ReadText("A\\B\\D", "Inner"), "i");
    EXPECT_EQ(Hex(ReadStored("A\\B\\D\\E", "Deepest").data), Hex({5, 0, 0, 0}));
    EXPECT_TRUE(KeyExists("A\\B\\F")) << "an empty subkey moves too";
    EXPECT_EQ(ReadText("A", "Parent"), "p") << "the parent is untouched";
}

TEST_F(RegistrySections, RenameKeyMergesOntoAnExistingSibling) {
    SetText("A\\C", "Shared", "from C");
    SetText("A\\C", "OnlyC", "c");
    SetText("A\\C\\Both", "FromC", "c");
    SetText("A\\B", "Shared", "from B");
    SetText("A\\B", "OnlyB", "b");
    SetText("A\\B\\Both", "FromB", "b");
    SetText("A\\B\\OnlyInB", "V", "b");

    WriteScript(Section("RenReg", {"HKCU," + Under("A\\C") + ",\"\",1,0,B"}));
    EXPECT_EQ(RunRegistrySection(1, RegistryRename), 1);

    EXPECT_FALSE(KeyExists("A\\C"));
    EXPECT_EQ(ReadText("A\\B", "Shared"), "from C") << "same-named values are overwritten";
    EXPECT_EQ(ReadText("A\\B", "OnlyC"), "c");
    EXPECT_EQ(ReadText("A\\B", "OnlyB"), "b") << "the destination's own values stay";
    EXPECT_EQ(ReadText("A\\B\\Both", "FromC"), "c") << "same-named subkeys merge";
    EXPECT_EQ(ReadText("A\\B\\Both", "FromB"), "b");
    EXPECT_EQ(ReadText("A\\B\\OnlyInB", "V"), "b");
}

// Key names may hold "/" and ":" (MIME types under a content-type database):
// only the backslash separates keys, so neither the subkeys of a move nor the
// sibling of a rename are cut at them.
TEST_F(RegistrySections, NamesWithSlashesAndColonsStayWhole) {
    SetText("Types\\text/xml", "Extension", ".xml");
    SetText("Types\\application/xml", "Extension", ".xsd");
    SetText("Types\\urn:a/b", "Kind", "urn");
    SetText("Mime/Old", "V", "old");

    WriteScript(Section("RenReg", {"HKCU," + Under("Types") + ",\"\",1,0,Content Types",
                                   "HKCU," + Under("Mime/Old") + ",\"\",1,0,Mime/New"}));
    EXPECT_EQ(RunRegistrySection(2, RegistryRename), 1);

    EXPECT_FALSE(KeyExists("Types"));
    EXPECT_EQ(ReadText("Content Types\\text/xml", "Extension"), ".xml");
    EXPECT_EQ(ReadText("Content Types\\application/xml", "Extension"), ".xsd");
    EXPECT_EQ(ReadText("Content Types\\urn:a/b", "Kind"), "urn");
    EXPECT_FALSE(KeyExists("Content Types\\xml")) << "a subkey was cut at its slash";
    EXPECT_FALSE(KeyExists("Mime/Old"));
    EXPECT_EQ(ReadText("Mime/New", "V"), "old") << "the sibling of a name with a slash is beside it";
}

TEST_F(RegistrySections, KeyDirectlyUnderTheRootMovesToATopLevelSibling) {
    // The sibling of a key without a parent path is the new name alone.
    const char* source = "ZuliTestTopLevelSource";
    const char* destination = "ZuliTestTopLevelMoved";
    SHDeleteKeyA(HKEY_CURRENT_USER, source);
    SHDeleteKeyA(HKEY_CURRENT_USER, destination);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, source, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "V", 0, REG_SZ, reinterpret_cast<const BYTE*>("top"), 4);
    RegCloseKey(key);

    WriteScript(Section("RenReg", {std::string("HKCU,") + source + ",\"\",1,0," + destination}));
    EXPECT_EQ(RunRegistrySection(1, RegistryRename), 1);

    char text[16] = {};
    DWORD size = sizeof text;
    EXPECT_EQ(SHGetValueA(HKEY_CURRENT_USER, destination, "V", nullptr, text, &size), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_STREQ(text, "top");
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, source, 0, KEY_READ, &key), ERROR_SUCCESS);
    SHDeleteKeyA(HKEY_CURRENT_USER, source);
    SHDeleteKeyA(HKEY_CURRENT_USER, destination);
}

TEST_F(RegistrySections, MoveIntoItselfOrBelowIsRefused) {
    SetText("A\\C", "V", "kept");
    SetText("A\\C\\D", "W", "kept too");
    RunState.Registry.SetRoot("HKCU");
    struct Case {
        std::string destination;
        const char* why;
    } cases[] = {
        {Under("A\\C"), "onto itself"},
        {Under("a\\c"), "onto itself, other case"},
        {Under("A\\C\\X"), "below itself"},
        {Under("A\\C\\D\\X"), "below a subkey of itself"},
        {Under("A\\c\\X"), "below itself, other case"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveRegistryKey("HKCU", Under("A\\C").c_str(), c.destination.c_str()), 0) << c.why;
        EXPECT_EQ(MoveRegistryKey("HKCU", (Under("A\\C") + "\\").c_str(), c.destination.c_str()), 0)
            << c.why << ", source with a trailing backslash";
        EXPECT_EQ(ReadText("A\\C", "V"), "kept") << c.why;
        EXPECT_EQ(ReadText("A\\C\\D", "W"), "kept too") << c.why;
        EXPECT_FALSE(KeyExists("A\\C\\X")) << c.why;
        EXPECT_FALSE(KeyExists("A\\C\\D\\X")) << c.why;
    }
    EXPECT_EQ(MoveRegistryKey("HKCU", "", Under("A\\B").c_str()), 0) << "an empty source is the root itself";

    // A name that merely starts like the source is a sibling, not a child.
    EXPECT_EQ(MoveRegistryKey("HKCU", Under("A\\C").c_str(), Under("A\\CC").c_str()), 1);
    EXPECT_EQ(ReadText("A\\CC\\D", "W"), "kept too");

    WriteScript(Section("RenReg", {"HKCU," + Under("A\\CC") + ",\"\",1,0,CC"}));
    EXPECT_EQ(RunRegistrySection(1, RegistryRename), 0) << "a rename line onto the same name";
    EXPECT_EQ(ReadText("A\\CC", "V"), "kept");
}

TEST_F(RegistrySections, MoveFailsWithoutLosingTheSource) {
    SetText("A\\C", "V", "kept");
    struct Case {
        std::string source;
        std::string destination;
        const char* why;
    } cases[] = {
        {Under("A\\Missing"), Under("A\\B"), "source missing"},
        {Under("A\\C"), Under("A\\NoParent\\B"), "destination's parent missing"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveRegistryKey("HKCU", c.source.c_str(), c.destination.c_str()), 0) << c.why;
        EXPECT_EQ(ReadText("A\\C", "V"), "kept") << c.why;
        EXPECT_FALSE(KeyExists("A\\B")) << c.why;
        EXPECT_FALSE(KeyExists("A\\NoParent")) << c.why << ": the parent is not created";
    }
}

// A value whose name does not fit the name buffer cannot be copied; taking
// that for the end of the values would delete the source with the value
// still in it.
TEST_F(RegistrySections, MoveStopsAtAValueItCannotReadAndKeepsTheSource) {
    const std::string longName(1100, 'n');
    SetText("A\\C", longName.c_str(), "long");
    SetText("A\\C", "V", "kept");
    SetText("A\\C\\D", "W", "kept too");
    EXPECT_EQ(MoveRegistryKey("HKCU", Under("A\\C").c_str(), Under("A\\B").c_str()), 0);
    EXPECT_EQ(ReadText("A\\C", longName.c_str()), "long") << "the value that could not be moved is gone";
    EXPECT_EQ(ReadText("A\\C", "V"), "kept");
    EXPECT_EQ(ReadText("A\\C\\D", "W"), "kept too");

    WriteScript(Section("RenReg", {"HKCU," + Under("A\\C") + ",\"\",1,0,B"}));
    EXPECT_EQ(RunRegistrySection(1, RegistryRename), 0) << "the line fails";
    EXPECT_EQ(ReadText("A\\C", longName.c_str()), "long");
}

TEST_F(RegistrySections, MoveFollowsNestingOnlyToItsBound) {
    // A chain just within the bound moves; one level more stops the move
    // before anything is deleted, so the source stays whole.
    auto chain = [](const char* top, int levels) {
        std::string path = top;
        for (int i = 1; i < levels; ++i) path += "\\k";
        return path;
    };
    const int bound = 4;
    std::string within = chain("A\\In", bound);
    SetNumber(within, "Bottom", 1);
    std::string beyond = chain("A\\Over", bound + 1);
    SetNumber(beyond, "Bottom", 2);

    EXPECT_EQ(MoveRegistryKeyBounded("HKCU", Under("A\\In").c_str(), Under("A\\InMoved").c_str(), bound), 1);
    EXPECT_EQ(Hex(ReadStored(chain("A\\InMoved", bound), "Bottom").data), Hex({1, 0, 0, 0}));
    EXPECT_FALSE(KeyExists("A\\In"));

    EXPECT_EQ(MoveRegistryKeyBounded("HKCU", Under("A\\Over").c_str(), Under("A\\OverMoved").c_str(), bound), 0);
    EXPECT_EQ(Hex(ReadStored(beyond, "Bottom").data), Hex({2, 0, 0, 0}));

    EXPECT_EQ(MoveRegistryKey("HKCU", Under("A\\Over").c_str(), Under("A\\OverMoved").c_str()), 1)
        << "the shipped bound allows what the registry itself nests";
    EXPECT_EQ(Hex(ReadStored(chain("A\\OverMoved", bound + 1), "Bottom").data), Hex({2, 0, 0, 0}));
}

// The moved key is only read and then deleted: a key that may be read and
// deleted but not changed moves all the same.
TEST(RegistryMove, AKeyThatMayOnlyBeReadAndDeletedMoves) {
    const char* const kSource = "Software\\ZuliTest\\MoveReadOnly";
    const char* const kDestination = "Software\\ZuliTest\\MovedReadOnly";
    SHDeleteKeyA(HKEY_CURRENT_USER, kDestination);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSource, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char text[] = "kept";
    RegSetValueExA(key, "Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    const bool restricted = SetKeyAccessList(key, kReadOnlyKeyAccess);
    RegCloseKey(key);
    ASSERT_TRUE(restricted);

    EXPECT_EQ(MoveRegistryKey("HKCU", kSource, kDestination), 1);
    char read[16] = {};
    DWORD size = sizeof read;
    EXPECT_EQ(SHGetValueA(HKEY_CURRENT_USER, kDestination, "Value", nullptr, read, &size), ERROR_SUCCESS);
    EXPECT_STREQ(read, "kept");
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSource, 0, KEY_READ, &key), ERROR_SUCCESS) << "the source is gone";
    SHDeleteKeyA(HKEY_CURRENT_USER, kSource);
    SHDeleteKeyA(HKEY_CURRENT_USER, kDestination);
}
