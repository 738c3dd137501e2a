// zulibuild diff: the script it writes for each option, its choice between
// key writes and a delta for changed INI files, and its refusals, which
// name what is wrong and leave no project behind.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace {

std::string Builder() { return std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe"; }
std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string Value(const std::string& ini, const std::string& section, const std::string& key) {
    char value[1024] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, ini.c_str());
    return value;
}

// The script section of the entry for `relative`, "" when none names it.
std::string EntryFor(const std::string& script, const std::string& relative) {
    int count = static_cast<int>(GetPrivateProfileIntA("Setup", "ProcCount", 0, script.c_str()));
    for (int n = 2; n <= count; ++n) {  // entry 1 finds the folder
        std::string section = "Proc" + std::to_string(n), file = Value(script, section, "File");
        std::string sub = Value(script, section, "Sub");
        if ((sub.empty() ? file : sub + "\\" + file) == relative) return section;
    }
    return std::string();
}

// An old and a new folder: a changed program library, a changed text, an
// added and a removed file.
class DiffCommand : public ::testing::Test {
protected:
    DiffCommand() : work_("diff command") {
        CreateDirectoryA((work_ / "old").c_str(), nullptr);
        CreateDirectoryA((work_ / "new").c_str(), nullptr);
        CreateDirectoryA((work_ / "old\\bin").c_str(), nullptr);
        CreateDirectoryA((work_ / "new\\bin").c_str(), nullptr);
        WriteTestFile(work_ / "old\\bin\\engine.dll", std::string(3000, 'a') + "version 1");
        WriteTestFile(work_ / "new\\bin\\engine.dll", std::string(3000, 'a') + "version 2");
        WriteTestFile(work_ / "old\\notes.txt", "notes of version 1");
        WriteTestFile(work_ / "new\\notes.txt", "notes of version 2");
        WriteTestFile(work_ / "new\\added.txt", "new");
        WriteTestFile(work_ / "old\\removed.txt", "old");
    }

    // Runs diff into a fresh project folder; the exit code.
    int Diff(const std::string& options) {
        return RunCaptured(Quoted(Builder()) + " diff " + Quoted(work_ / "old") + " " + Quoted(work_ / "new") + " " +
                               Quoted(Project()) + " " + options,
                           output_);
    }
    std::string Project() const { return work_ / "project"; }
    std::string Script() const { return Project() + "\\Setup.ini"; }

    ScratchFolder work_;
    std::string output_;
};

}  // namespace

TEST_F(DiffCommand, DefaultsAskForTheFolderAndDelayProgramFiles) {
    ASSERT_EQ(Diff(""), 0) << output_;
    EXPECT_EQ(Value(Script(), "Proc1", "Dir"), "Ask");
    EXPECT_EQ(Value(Script(), "Proc1", "Act"), "7") << "entry 1 checks that the installed folder is there";
    EXPECT_EQ(Value(Script(), "Proc1", "File"), "notes.txt") << "known by a file both versions have at the top";
    EXPECT_EQ(Value(Script(), "Proc1", "Sub"), "");
    std::string engine = EntryFor(Script(), "bin\\engine.dll"), notes = EntryFor(Script(), "notes.txt");
    ASSERT_FALSE(engine.empty());
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(Value(Script(), engine, "Act"), "2");
    EXPECT_EQ(Value(Script(), engine, "Dir"), "Pre");
    EXPECT_EQ(Value(Script(), engine, "Delay"), "1") << ".dll files are replaced at restart";
    const std::string newNotes = "notes of version 2";
    uint32_t crc = static_cast<uint32_t>(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(newNotes.data()), static_cast<uInt>(newNotes.size())));
    EXPECT_EQ(Value(Script(), notes, "NewCRC"), std::to_string(static_cast<int32_t>(crc)))
        << "the new file's CRC, as a signed decimal";
    EXPECT_EQ(Value(Script(), notes, "Delay"), "");
    EXPECT_EQ(Value(Script(), notes, "CANTDIFF"), "") << "skippable unless --required says otherwise";
    EXPECT_EQ(Value(Script(), EntryFor(Script(), "added.txt"), "Act"), "1");
    EXPECT_EQ(Value(Script(), EntryFor(Script(), "removed.txt"), "Act"), "4");
    EXPECT_NE(output_.find("1 added, 1 removed"), std::string::npos) << output_;
    EXPECT_NE(output_.find("2 changed"), std::string::npos) << output_;
    // The manifest packs the script, every payload file and the images.
    std::string files = Value(Project() + "\\patch.ini", "Cabinet", "Files");
    for (const char* name : {"Setup.ini", "Setup.img", "Zuli.img"}) EXPECT_NE(files.find(name), std::string::npos) << files;
    EXPECT_NE(files.find(EntryFor(Script(), "added.txt")), std::string::npos) << files;
    EXPECT_EQ(Value(Project() + "\\patch.ini", "Texts", "1"), "new Update") << "the title from NEW's folder name";
    // The support address is offered as a comment: read as a key, it would
    // name a placeholder text in the patch's check error box.
    EXPECT_EQ(Value(Project() + "\\patch.ini", "Texts", "SupportAddress"), "");
    EXPECT_NE(ReadTestFile(Project() + "\\patch.ini").find("\r\n; SupportAddress="), std::string::npos);
}

TEST_F(DiffCommand, OptionsSetTheFolderTheRequiredEntriesTheDelayAndTheRegistryLines) {
    WriteTestFile(work_ / "lines.txt", "; values the new version reads\r\n"
                                       "HKCU,Software\\Example,Version,1,4,1.1\r\n\r\n"
                                       "HKCU,Software\\Example,Build,4,4,12\r\n");
    ASSERT_EQ(Diff("--dir \"C:\\Program Files\\Example\" --required *.dll --delay .txt --addreg " +
                   Quoted("@" + (work_ / "lines.txt")) + " --delreg \"HKCU,Software\\Example,Old\" --name \"Example 2\""),
              0)
        << output_;
    EXPECT_EQ(Value(Script(), "Proc1", "Dir"), "C:\\Program Files\\Example");
    std::string engine = EntryFor(Script(), "bin\\engine.dll"), notes = EntryFor(Script(), "notes.txt");
    EXPECT_EQ(Value(Script(), engine, "CANTMISS"), "1");
    EXPECT_EQ(Value(Script(), engine, "CANTDIFF"), "1");
    EXPECT_EQ(Value(Script(), notes, "CANTDIFF"), "");
    EXPECT_EQ(Value(Script(), engine, "Delay"), "") << "--delay replaces the default list";
    EXPECT_EQ(Value(Script(), notes, "Delay"), "1");
    EXPECT_EQ(Value(Script(), notes, "Act"), "2") << "a delayed file keeps its delta";
    EXPECT_EQ(Value(Script(), "Setup", "AddReg"), "2");
    EXPECT_EQ(Value(Script(), "AddReg", "1"), "HKCU,Software\\Example,Version,1,4,1.1");
    EXPECT_EQ(Value(Script(), "AddReg", "2"), "HKCU,Software\\Example,Build,4,4,12");
    EXPECT_EQ(Value(Script(), "Setup", "DelReg"), "1");
    EXPECT_EQ(Value(Script(), "DelReg", "1"), "HKCU,Software\\Example,Old");
    EXPECT_EQ(Value(Project() + "\\patch.ini", "Texts", "1"), "Example 2");

    ScratchFolder registryProject("diff reg");
    std::string second = registryProject / "project";
    ASSERT_EQ(RunCaptured(Quoted(Builder()) + " diff " + Quoted(work_ / "old") + " " + Quoted(work_ / "new") + " " +
                              Quoted(second) + " --dir Reg --regkey \"HKLM,SOFTWARE\\Acme\\App,InstallDir\"",
                          output_),
              0)
        << output_;
    EXPECT_EQ(Value(second + "\\Setup.ini", "Proc1", "Dir"), "Reg");
    EXPECT_EQ(Value(second + "\\Setup.ini", "Proc1", "RegKey"), "HKLM,SOFTWARE\\Acme\\App,InstallDir");
}

TEST_F(DiffCommand, WrongUsageIsRefusedByNameAndWritesNothing) {
    struct Case {
        const char* options;
        const char* message;
    };
    const Case cases[] = {
        {"--dir Reg", "--dir Reg needs --regkey"},
        {"--dir Reg --regkey \"hklm,SOFTWARE\\Acme,Dir\"", "\"hklm\" is not a hive"},
        {"--regkey \"HKLM,SOFTWARE\\Acme,Dir\"", "--regkey is only used with --dir Reg"},
        {"--dir me", "\"me\" is neither a directory token nor a full folder path"},
        {"--dir Apps\\Example", "\"Apps\\Example\" is neither a directory token nor a full folder path"},
        {"--dir Pre", "cannot name the installed folder"},
        {"--addreg \"HKCU,Software\\Example,Version,1,9,1.1\"", "is not a registry line the patch can carry out"},
        {"--addreg @missing-lines.txt", "cannot read"},
        {"--renreg \"HKCU,Software\\Example\"", "is not a registry line"},
        {"--template no-such-folder", "is not a folder"},
        {"--colour blue", "unknown option --colour"},
        {"--name", "--name needs a value"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Diff(c.options), 2) << c.options;
        EXPECT_NE(output_.find(c.message), std::string::npos) << c.options << " gave:\n" << output_;
        EXPECT_FALSE(FileExists(Project())) << c.options << " left a project";
    }
}

TEST_F(DiffCommand, ExistingProjectAndNothingToPatchAreRefused) {
    CreateDirectoryA(Project().c_str(), nullptr);
    WriteTestFile(Project() + "\\mine.txt", "an author's file");
    EXPECT_EQ(Diff(""), 1);
    EXPECT_NE(output_.find("exists and is not an empty folder"), std::string::npos) << output_;
    EXPECT_EQ(ReadTestFile(Project() + "\\mine.txt"), "an author's file");
    EXPECT_FALSE(FileExists(Project() + "\\Setup.ini"));

    ScratchFolder same("diff same");
    CreateDirectoryA((same / "a").c_str(), nullptr);
    CreateDirectoryA((same / "b").c_str(), nullptr);
    WriteTestFile(same / "a\\file.txt", "same");
    WriteTestFile(same / "b\\file.txt", "same");
    EXPECT_EQ(RunCaptured(Quoted(Builder()) + " diff " + Quoted(same / "a") + " " + Quoted(same / "b") + " " +
                              Quoted(same / "project"),
                          output_),
              1);
    EXPECT_NE(output_.find("nothing to patch"), std::string::npos) << output_;
    EXPECT_FALSE(FileExists(same / "project"));
    EXPECT_FALSE(FileExists(same / "project.partial"));

    // Nothing in common at the top: nothing would tell the installed folder.
    WriteTestFile(same / "b\\file.txt", "changed");
    CreateDirectoryA((same / "a\\sub").c_str(), nullptr);
    MoveFileA((same / "a\\file.txt").c_str(), (same / "a\\sub\\file.txt").c_str());
    EXPECT_EQ(RunCaptured(Quoted(Builder()) + " diff " + Quoted(same / "a") + " " + Quoted(same / "b") + " " +
                              Quoted(same / "project"),
                          output_),
              1);
    EXPECT_NE(output_.find("no file or folder in common at their top level"), std::string::npos) << output_;
    EXPECT_FALSE(FileExists(same / "project"));
}

// A changed INI file becomes key writes only when the profile writer then
// makes exactly the new file of it, and when that is smaller than a delta.
TEST(DiffIniKeys, KeyWritesOnlyWhereTheyGiveTheNewFileExactly) {
    std::string keys;
    for (int i = 0; i < 60; ++i) keys += "Option" + std::to_string(i) + "=value number " + std::to_string(i) + "\r\n";
    const std::string old = "[Main]\r\nVersion=1.0\r\n" + keys + "[View]\r\nZoom=100\r\nGone=1\r\n";
    struct Case {
        const char* what;
        std::string newText;
        const char* options;
        bool keyWrites;
    };
    const Case cases[] = {
        {"value changed, key added at the end, key removed", "[Main]\r\nVersion=1.10\r\n" + keys + "Added=yes\r\n[View]\r\nZoom=125\r\n", "", true},
        {"the same, keys writes turned off", "[Main]\r\nVersion=1.10\r\n" + keys + "[View]\r\nZoom=100\r\nGone=1\r\n", "--no-ini-keys", false},
        {"a blank line", "[Main]\r\nVersion=1.10\r\n" + keys + "\r\n[View]\r\nZoom=100\r\nGone=1\r\n", "", false},
        {"a new section", "[Main]\r\nVersion=1.10\r\n" + keys + "[View]\r\nZoom=100\r\nGone=1\r\n[New]\r\nA=1\r\n", "", false},
        {"a key added before others", "[Main]\r\nFirst=1\r\nVersion=1.10\r\n" + keys + "[View]\r\nZoom=100\r\nGone=1\r\n", "", false},
        {"a value with a comma", "[Main]\r\nVersion=1,10\r\n" + keys + "[View]\r\nZoom=100\r\nGone=1\r\n", "", false},
        {"blanks around the equals sign", "[Main]\r\nVersion = 1.10\r\n" + keys + "[View]\r\nZoom=100\r\nGone=1\r\n", "", false},
    };
    for (const Case& c : cases) {
        ScratchFolder work("diff ini");
        CreateDirectoryA((work / "old").c_str(), nullptr);
        CreateDirectoryA((work / "new").c_str(), nullptr);
        WriteTestFile(work / "old\\app.ini", old);
        WriteTestFile(work / "new\\app.ini", c.newText);
        std::string output;
        ASSERT_EQ(RunCaptured(Quoted(Builder()) + " diff " + Quoted(work / "old") + " " + Quoted(work / "new") + " " +
                                  Quoted(work / "project") + " " + c.options,
                              output),
                  0)
            << c.what << "\n" << output;
        std::string script = work / "project\\Setup.ini";
        if (!c.keyWrites) {
            EXPECT_NE(Value(script, "Proc2", "Act"), "5") << c.what << ": a delta or the whole file";
            continue;
        }
        EXPECT_EQ(Value(script, "Proc2", "Act"), "5") << c.what;
        EXPECT_EQ(Value(script, "Proc2", "Count"), "4") << c.what;
        EXPECT_EQ(Value(script, "Proc2", "INIKey1"), "Main,Version,1.10") << c.what;
        EXPECT_EQ(Value(script, "Proc2", "INIKey2"), "Main,Added,yes") << c.what;
        EXPECT_EQ(Value(script, "Proc2", "INIKey3"), "View,Zoom,125") << c.what;
        EXPECT_EQ(Value(script, "Proc2", "INIKey4"), "View,Gone") << c.what << ": a removed key is deleted";
    }
}

// A template gives the texts, settings and extra files; its own script and
// payload files are never used, and its [Cabinet] list is replaced.
TEST_F(DiffCommand, TemplateKeepsTheAuthorsManifestAndFilesAndReplacesTheScript) {
    std::string source = work_ / "template\\";
    CreateDirectoryA(source.c_str(), nullptr);
    CreateDirectoryA((source + "texts").c_str(), nullptr);
    WriteTestFile(source + "patch.ini", "[Texts]\r\n201=@texts\\intro.txt\r\n3201=All done.\r\n"
                                        "[Cursors]\r\nLink=hand.cur\r\n"
                                        "[Cabinet]\r\nFiles=Setup.ini,Proc1,hand.cur\r\n");
    WriteTestFile(source + "texts\\intro.txt", "Welcome to the example update.");
    WriteTestFile(source + "hand.cur", std::string(326, 'c'));
    WriteTestFile(source + "Setup.ini", "[Setup]\r\nProcCount=1\r\n");
    WriteTestFile(source + "Proc1", "a stale payload");

    ASSERT_EQ(Diff("--template " + Quoted(work_ / "template") + " --name \"Example 2\""), 0) << output_;
    std::string manifest = Project() + "\\patch.ini";
    EXPECT_EQ(Value(manifest, "Texts", "201"), "@texts\\intro.txt");
    EXPECT_EQ(Value(manifest, "Texts", "3201"), "All done.");
    EXPECT_EQ(Value(manifest, "Texts", "1"), "Example 2") << "a template without a title gets --name";
    EXPECT_EQ(Value(manifest, "Cursors", "Link"), "hand.cur");
    EXPECT_NE(Value(manifest, "Settings", "PageTable"), "") << "missing sections come from the defaults";
    std::string files = Value(manifest, "Cabinet", "Files");
    EXPECT_EQ(files.find("Proc1"), std::string::npos) << files;
    EXPECT_NE(files.find("hand.cur"), std::string::npos) << files;
    EXPECT_NE(files.find(EntryFor(Script(), "notes.txt")), std::string::npos) << files;
    EXPECT_EQ(ReadTestFile(Project() + "\\texts\\intro.txt"), "Welcome to the example update.");
    EXPECT_FALSE(FileExists(Project() + "\\Proc1")) << "the template's payload is not copied";
    EXPECT_NE(Value(Script(), "Setup", "ProcCount"), "1") << "the script is made anew";

    std::string check;
    EXPECT_EQ(RunCaptured(Quoted(Builder()) + " check " + Quoted(Project()), check), 0) << check;
}

// A new project is one transaction: diff writes Transaction=1, and the patch
// built from the project carries resource 25 = 1.
TEST_F(DiffCommand, NewProjectChangesAllOrNothing) {
    ASSERT_EQ(Diff(""), 0) << output_;
    EXPECT_EQ(Value(Project() + "\\patch.ini", "Settings", "Transaction"), "1");
    EXPECT_EQ(output_.find("Transaction key"), std::string::npos) << "no note without a template:\n" << output_;

    std::string patch = work_ / "patch.exe", build;
    ASSERT_EQ(RunCaptured(Quoted(Builder()) + " " + Quoted(ExecutableFolder() + "resource_dump.exe") + " " +
                              Quoted(Project()) + " " + Quoted(patch),
                          build),
              0)
        << build;
    EXPECT_NE(build.find("changes all or nothing"), std::string::npos) << build;
    HMODULE module = LoadLibraryExA(patch.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(25), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    std::string stored = found ? std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                                             SizeofResource(module, found))
                               : std::string("(absent)");
    FreeLibrary(module);
    EXPECT_EQ(stored, std::string(1, '\1'));
}

// A template's [Settings] is the author's: kept as written, with no
// Transaction put in; when it leaves the key out, diff says so. A template
// without [Settings] gets the defaults, the transaction with them.
TEST_F(DiffCommand, TemplateSettingsAreKeptAndALeftOutTransactionIsNoted) {
    struct Case {
        const char* what;
        const char* settings;  // the template's [Settings] lines; null: no section
        const char* transaction;
        bool noted;
    };
    const std::string settings = "PageTable=1,1,0,0,1,1,1,1,1,1,0,1,1,0\r\nOptionDefaults=0,0,0\r\nStartGate=1\r\n";
    const std::string withZero = settings + "transaction=0\r\n";
    const Case cases[] = {
        {"no [Settings]", nullptr, "1", false},
        {"[Settings] without the key", settings.c_str(), "", true},
        {"[Settings] with Transaction=0", withZero.c_str(), "0", false},
    };
    for (const Case& c : cases) {
        ScratchFolder work("diff template settings");
        CreateDirectoryA((work / "template").c_str(), nullptr);
        std::string manifest = c.settings ? std::string("[Settings]\r\n") + c.settings : std::string();
        WriteTestFile(work / "template\\patch.ini", manifest + "[Texts]\r\n1=Example\r\n");
        std::string project = work / "project";
        ASSERT_EQ(RunCaptured(Quoted(Builder()) + " diff " + Quoted(work_ / "old") + " " + Quoted(work_ / "new") + " " +
                                  Quoted(project) + " --template " + Quoted(work / "template"),
                              output_),
                  0)
            << c.what << ":\n" << output_;
        EXPECT_EQ(Value(project + "\\patch.ini", "Settings", "Transaction"), c.transaction) << c.what;
        EXPECT_EQ(output_.find("the template's [Settings] has no Transaction key") != std::string::npos, c.noted)
            << c.what << ":\n" << output_;
        std::string check;
        EXPECT_EQ(RunCaptured(Quoted(Builder()) + " check " + Quoted(project), check), 0) << c.what << ":\n" << check;
    }
}
