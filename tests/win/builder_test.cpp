// zulibuild: bad input is refused with a message that names what is wrong
// and leaves no output; a built patch carries every resource as given, the
// sealed credits unreadable in the file and restored by the runtime's code.
// The patch script is read as the runtime will read it: each mistake is named
// by section and key, and doubtful settings are warned about.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/neutral/CabinetDirectory.h"
#include "core/neutral/CreditSeal.h"
#include "support/CabinetFixture.h"
#include "support/PayloadBytes.h"
#include "support/TestFiles.h"

namespace {

std::string Builder() { return std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe"; }
// A test child stands in for the runtime: it dumps its resources.
std::string DumpRuntime() { return ExecutableFolder() + "resource_dump.exe"; }

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

// The texts every patch must give, with a distinct text for each.
std::map<unsigned, std::string> RequiredTexts() {
    std::map<unsigned, std::string> texts;
    const unsigned ids[] = {1,    113,  114,  115,  116,  117,  200,  201,  202,  203,  204,  205,  206,  207,
                            208,  209,  210,  211,  212,  213,  214,  215,  216,  217,  220,  221,  223,  224,
                            230,  231,  232,  233,  235,  240,  241,  242,  243,  244,  245,  246,  247,  248,
                            249,  250,  251,  260,  261,  262,  263,  264,  265,  267,  268,  269,  270,  1200,
                            1201, 1202, 1203, 1204, 1250, 3000, 3001, 3002, 3003, 3004, 3005, 3006, 3007, 3008,
                            3100, 3101, 3102, 3200, 3201, 3202, 3203, 3204, 3205};
    for (unsigned id : ids) texts[id] = "Text number " + std::to_string(id);
    texts[245] = "Author Name In Clear";
    texts[262] = "Maker Name In Clear";
    return texts;
}

// One entry that adds its payload to the Windows folder.
const char kGoodScript[] = "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a.txt\r\nAct=1\r\nDir=Win\r\n";

// A 1 x 1 bitmap of 24 bits per pixel: file header, information header and
// one pixel row padded to 4 bytes.
std::string SmallBitmap() {
    std::string info = Le32(40) + Le32(1) + Le32(1) + std::string("\1\0\x18\0", 4) + Le32(0) + Le32(4) + Le32(0) +
                       Le32(0) + Le32(0) + Le32(0);
    std::string pixels("\xFF\0\0\0", 4);
    return "BM" + Le32(14 + 40 + 4) + Le32(0) + Le32(14 + 40) + info + pixels;
}

// A byte-pattern record: type, pattern length, pattern, replacement length,
// replacement.
std::string Record(uint32_t type, const std::string& pattern, const std::string& replacement) {
    return Le32(type) + Le32(static_cast<uint32_t>(pattern.size())) + pattern +
           Le32(static_cast<uint32_t>(replacement.size())) + replacement;
}

// A patch project in a scratch folder; sections are written in order, and a
// test changes or drops lines before writing.
struct Project {
    ScratchFolder folder{"builder project"};
    std::map<unsigned, std::string> texts = RequiredTexts();
    std::vector<std::string> settings = {"PageTable=1,1,1,1,1,1,1,1,1,1,1,1,1,0", "OptionDefaults=1,0,1",
                                         "StartGate=1"};
    std::vector<std::string> font = {"Face=Tahoma", "Size=9"};
    std::vector<std::string> cabinet = {"Files=Setup.ini,payload\\Proc1,Setup.img,Zuli.img"};
    std::vector<std::string> moreTexts;  // more lines of [Texts], after the numbered ones
    std::vector<std::string> extra;  // more lines at the end

    Project() {
        WriteTestFile(folder / "Setup.ini", kGoodScript);
        CreateDirectoryA((folder / "payload").c_str(), nullptr);
        WriteTestFile(folder / "payload\\Proc1", std::string("\0\1\2 delta", 9));
        WriteTestFile(folder / "agreement.txt", "Line one\r\nLine two");
        WriteTestFile(folder / "Setup.img", SmallBitmap());
        WriteTestFile(folder / "Zuli.img", SmallBitmap());
    }

    void Write() const {
        std::string ini = "; test project\r\n[Settings]\r\n";
        for (const std::string& line : settings) ini += line + "\r\n";
        ini += "[Font]\r\n";
        for (const std::string& line : font) ini += line + "\r\n";
        ini += "[Cabinet]\r\n";
        for (const std::string& line : cabinet) ini += line + "\r\n";
        ini += "[Texts]\r\n";
        for (const auto& text : texts) ini += std::to_string(text.first) + "=" + text.second + "\r\n";
        for (const std::string& line : moreTexts) ini += line + "\r\n";
        for (const std::string& line : extra) ini += line + "\r\n";
        WriteTestFile(folder / "patch.ini", ini);
    }
};

struct Build {
    int exitCode;
    std::string output;
};

Build RunBuilder(const std::string& runtime, std::string project, const std::string& output) {
    // A quoted argument must not end in a backslash, which would escape the quote.
    if (!project.empty() && project.back() == '\\') project.pop_back();
    Build build;
    build.exitCode = RunCaptured(Quoted(Builder()) + " " + Quoted(runtime) + " " + Quoted(project) + " " +
                                     Quoted(output),
                                 build.output);
    return build;
}

std::string Terminated(const std::string& text) { return text + std::string(1, '\0'); }

BOOL CALLBACK CollectResourceId(HMODULE, LPCSTR, LPSTR name, LONG_PTR context) {
    reinterpret_cast<std::vector<unsigned>*>(context)->push_back(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR context) {
    reinterpret_cast<std::vector<WORD>*>(context)->push_back(language);
    return TRUE;
}

// The program with a certificate table entry in its header and the table's
// bytes at its end, as a signing tool leaves it.
std::string WithCertificateTable(std::string image) {
    uint32_t pe = static_cast<unsigned char>(image[0x3C]) | static_cast<unsigned char>(image[0x3D]) << 8;
    std::size_t optional = pe + 24;
    bool plus = static_cast<unsigned char>(image[optional]) == 0x0B && image[optional + 1] == 0x02;
    std::size_t entry = optional + (plus ? 112 : 96) + 4 * 8;
    std::string table = Le32(16) + std::string("\0\2\2\0", 4) + std::string(8, 'C');
    image.replace(entry, 8, Le32(static_cast<uint32_t>(image.size())) + Le32(static_cast<uint32_t>(table.size())));
    return image + table;
}

}  // namespace

TEST(Builder, RefusesBadInputNamingWhatIsWrongAndWritesNothing) {
    ASSERT_TRUE(FileExists(Builder())) << Builder();
    struct Case {
        const char* what;
        void (*spoil)(Project&, std::string& runtime);
        std::vector<std::string> messageParts;
    } cases[] = {
        {"a required text missing", [](Project& p, std::string&) { p.texts.erase(245); },
         {"patch.ini", "resource 245", "missing"}},
        {"the font size missing", [](Project& p, std::string&) { p.font = {"Face=Tahoma"}; },
         {"resource 1001", "[Font] Size"}},
        {"the start gate missing", [](Project& p, std::string&) { p.settings.pop_back(); },
         {"resource 100", "[Settings] StartGate"}},
        {"page table without slot 0",
         [](Project& p, std::string&) { p.settings[0] = "PageTable=0,1,1,1,1,1,1,1,1,1,1,1,1,0"; },
         {"PageTable", "0 and 12"}},
        {"page table without slot 12",
         [](Project& p, std::string&) { p.settings[0] = "PageTable=1,1,1,1,1,1,1,1,1,1,1,1,0,1"; },
         {"PageTable", "0 and 12"}},
        {"page table too short", [](Project& p, std::string&) { p.settings[0] = "PageTable=1,1,1"; },
         {"PageTable", "14 values"}},
        {"a missing payload file",
         [](Project& p, std::string&) { p.cabinet = {"Files=Setup.ini,payload\\Proc1,Proc2"}; },
         {"[Cabinet]", "Files", "Proc2", "missing"}},
        {"a missing text file", [](Project& p, std::string&) { p.texts[205] = "@nowhere.txt"; },
         {"[Texts] 205", "nowhere.txt"}},
        {"an unknown text number", [](Project& p, std::string&) { p.texts[999] = "stray"; },
         {"[Texts] 999", "not the number of a text resource"}},
        {"a cursor that is not packed", [](Project& p, std::string&) { p.extra = {"[Cursors]", "Busy=wait.ani"}; },
         {"resource 271", "wait.ani"}},
        {"a ready cabinet cut short",
         [](Project& p, std::string&) {
             std::string cab = MakeStoredCabinet({{"Setup.ini", "[Setup]"}});
             WriteTestFile(p.folder / "ready.cab", cab.substr(0, cab.size() - 4));
             p.cabinet = {"Ready=ready.cab"};
         },
         {"ready.cab", "cut short"}},
        {"an unreadable runtime", [](Project& p, std::string& runtime) { runtime = p.folder / "absent.exe"; },
         {"cannot read the runtime", "absent.exe"}},
        {"a runtime that is no program",
         [](Project& p, std::string& runtime) { runtime = p.folder / "Setup.ini"; },
         {"not a Windows program", "Setup.ini"}},
        {"a byte list with a trailing comma",
         [](Project& p, std::string&) { p.settings[1] = "OptionDefaults=1,0,1,"; },
         {"[Settings] OptionDefaults", "byte values"}},
        {"the page table given as [Data], around its checks",
         [](Project& p, std::string&) { p.extra = {"[Data]", "10=0,1,1,1,1,1,1,1,1,1,1,1,0,0"}; },
         {"[Data] 10", "[Settings] PageTable"}},
        {"the option defaults given as [Data]",
         [](Project& p, std::string&) { p.extra = {"[Data]", "20=1,1,1"}; },
         {"[Data] 20", "[Settings] OptionDefaults"}},
        {"an author text missing while the author page is shown",
         [](Project& p, std::string&) { p.texts.erase(250); },
         {"resource 250", "page 10", "PageTable"}},
        {"no patch title", [](Project& p, std::string&) { p.texts.erase(1); }, {"resource 1 ", "[Texts] 1"}},
        {"a runtime that is already a built patch",
         [](Project& p, std::string& runtime) {
             p.Write();
             runtime = p.folder / "earlier.exe";
             RunBuilder(DumpRuntime(), p.folder.Path(), runtime);
         },
         {"earlier.exe", "already carries patch resources", "bare runtime"}},
        {"a signed runtime",
         [](Project& p, std::string& runtime) {
             runtime = p.folder / "signed.exe";
             WriteTestFile(runtime, WithCertificateTable(ReadTestFile(DumpRuntime())));
         },
         {"signed.exe", "is signed", "sign the built patch as the last step"}},
    };
    for (const Case& c : cases) {
        Project project;
        std::string runtime = DumpRuntime();
        c.spoil(project, runtime);
        project.Write();
        std::string output = project.folder / "out\\patch.exe";
        CreateDirectoryA((project.folder / "out").c_str(), nullptr);
        Build build = RunBuilder(runtime, project.folder.Path(), output);
        EXPECT_EQ(build.exitCode, 1) << c.what << ":\n" << build.output;
        for (const std::string& part : c.messageParts)
            EXPECT_NE(build.output.find(part), std::string::npos)
                << c.what << ": expected \"" << part << "\" in the message, got:\n" << build.output;
        EXPECT_FALSE(FileExists(output)) << c.what << ": an output file was left";
        EXPECT_FALSE(FileExists(output + ".partial")) << c.what << ": a partial file was left";
    }
}

TEST(Builder, FailedBuildKeepsAnEarlierOutput) {
    Project project;
    project.texts.erase(1);
    project.Write();
    std::string output = project.folder / "patch.exe";
    WriteTestFile(output, "earlier build");
    Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
    EXPECT_EQ(build.exitCode, 1) << build.output;
    EXPECT_EQ(ReadTestFile(output), "earlier build");
}

TEST(Builder, ReplacingAnOutputLeavesEveryOtherFileBesideItAlone) {
    Project project;
    project.Write();
    const std::string out = project.folder / "out";
    CreateDirectoryA(out.c_str(), nullptr);
    const std::string output = out + "\\patch.exe";
    WriteTestFile(output, "earlier build");
    // Files of the author's whose names a fixed scratch name could take.
    WriteTestFile(output + ".partial", "the author's notes");
    WriteTestFile(output + ".tmp", "more notes");
    Build build = RunBuilder(DumpRuntime(), project.folder / "patch.ini", output);
    ASSERT_EQ(build.exitCode, 0) << build.output;
    EXPECT_EQ(ReadTestFile(output).compare(0, 2, "MZ"), 0) << "the output was not replaced by the patch";
    EXPECT_EQ(ReadTestFile(output + ".partial"), "the author's notes");
    EXPECT_EQ(ReadTestFile(output + ".tmp"), "more notes");
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((out + "\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        if (found.cFileName[0] != '.') names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"patch.exe", "patch.exe.partial", "patch.exe.tmp"}))
        << "a scratch file was left beside the output";
}

TEST(Builder, BuiltPatchReadsBackByteForByte) {
    Project project;
    project.texts[205] = "@agreement.txt";
    project.texts[201] = "Two\\nlines";
    project.texts[112] = "\"  OK  \"";
    project.extra = {"[Cursors]", "Link=link.cur", "[Data]", "111=0x34,18"};
    project.cabinet = {"Files=Setup.ini,payload\\Proc1,link.cur"};
    WriteTestFile(project.folder / "link.cur", "cursor bytes");
    project.Write();
    std::string output = project.folder / "patch.exe";
    Build build = RunBuilder(DumpRuntime(), project.folder / "patch.ini", output);
    ASSERT_EQ(build.exitCode, 0) << build.output;
    EXPECT_FALSE(FileExists(output + ".partial"));

    // What each resource must hold, in plain form.
    std::map<unsigned, std::string> expected;
    for (const auto& text : project.texts) expected[text.first] = Terminated(text.second);
    expected[205] = Terminated("Line one\r\nLine two");
    expected[201] = Terminated("Two\r\nlines");
    expected[112] = Terminated("  OK  ");
    expected[278] = Terminated("link.cur");
    expected[1000] = Terminated("Tahoma");
    expected[1001] = std::string("\x09\x00", 2);
    expected[10] = std::string("\1\1\1\1\1\1\1\1\1\1\1\1\1\0", 14);
    expected[20] = std::string("\1\0\1", 3);
    expected[100] = std::string("\1", 1);
    expected[111] = std::string("\x34\x12", 2);
    std::vector<SealedItem> items;
    for (unsigned id : kSealedResourceIds)
        items.push_back({id, reinterpret_cast<const unsigned char*>(expected[id].data()), expected[id].size()});
    unsigned char seal[kSealSize];
    StoreSeal(ComputeCreditSeal(items.data(), items.size()), seal);
    expected[30] = std::string(reinterpret_cast<const char*>(seal), kSealSize);

    // Every resource is RT_RCDATA and language neutral; the sealed ones do not
    // show their texts in the file.
    HMODULE patch = LoadLibraryExA(output.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(patch, nullptr);
    for (const auto& resource : expected)
        EXPECT_NE(FindResourceExA(patch, MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(resource.first),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)),
                  nullptr)
            << "resource " << resource.first << " is not a language-neutral RT_RCDATA item";
    FreeLibrary(patch);
    std::string file = ReadTestFile(output);
    for (const char* credit : {"Author Name In Clear", "Maker Name In Clear", "Text number 264"})
        EXPECT_EQ(file.find(credit), std::string::npos) << "\"" << credit << "\" stands in the clear";
    EXPECT_NE(file.find("Text number 202"), std::string::npos) << "an unsealed text should be plain";

    // The patch restores the sealed credits with the runtime's code and
    // dumps everything it reads.
    ScratchFolder dump("builder dump");
    ASSERT_EQ(RunProgram(Quoted(output), dump.Path()), 0);
    EXPECT_EQ(ReadTestFile(dump / "restored.txt"), "1");
    for (const auto& resource : expected)
        EXPECT_EQ(ReadTestFile(dump / (std::to_string(resource.first) + ".bin")), resource.second)
            << "resource " << resource.first;

    // The cabinet: as long as its size field says, holding the files under
    // their stored names.
    std::string cabinet = ReadTestFile(dump / "2000.bin");
    ASSERT_GE(cabinet.size(), 36u);
    EXPECT_EQ(cabinet.substr(0, 4), "MSCF");
    EXPECT_EQ(CabinetSizeField(cabinet), cabinet.size());
    std::vector<std::string> names;
    EXPECT_TRUE(ForEachCabinetFile(
        reinterpret_cast<const unsigned char*>(cabinet.data()), cabinet.size(),
        [](const char* name, std::size_t length, uint32_t, void* context) {
            static_cast<std::vector<std::string>*>(context)->emplace_back(name, length);
        },
        &names));
    EXPECT_EQ(names, (std::vector<std::string>{"Setup.ini", "Proc1", "link.cur"}));
    // Nothing else: optional resources left out stay absent.
    EXPECT_FALSE(FileExists(dump / "271.bin"));
}

TEST(Builder, ReadyCabinetIsStoredAsLongAsItsSizeField) {
    Project project;
    std::string cabinet = MakeStoredCabinet({{"Setup.ini", "[Setup]"}, {"Proc1", "x"}});
    WriteTestFile(project.folder / "ready.cab", cabinet + "TRAILING JUNK");
    project.cabinet = {"Ready=ready.cab"};
    project.Write();
    std::string output = project.folder / "patch.exe";
    Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
    ASSERT_EQ(build.exitCode, 0) << build.output;
    ScratchFolder dump("ready dump");
    ASSERT_EQ(RunProgram(Quoted(output), dump.Path()), 0);
    EXPECT_EQ(ReadTestFile(dump / "2000.bin"), cabinet);
}

// One row per script mistake: the build fails, names the section and key
// (and the payload or cabinet where it matters) and writes nothing.
TEST(Builder, RefusesScriptMistakesNamingSectionAndKey) {
    const std::string entry = "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a.txt\r\nDir=Win\r\n";
    const std::string addReg = "[Setup]\r\nAddReg=1\r\n[AddReg]\r\n1=";
    const std::string patchHeader = Le32(1) + Le32(0);
    struct Case {
        const char* what;
        std::string script;
        std::string proc1;                 // payload of entry 1 (packed as payload\Proc1)
        std::vector<std::string> cabinet;  // empty: the project's usual Files line
        std::vector<std::string> messageParts;
    } cases[] = {
        {"an entry section up to ProcCount missing", "[Setup]\r\nProcCount=3\r\n[Proc1]\r\nFile=a\r\nAct=4\r\nDir=Win\r\n",
         "", {}, {"[Setup] ProcCount", "[Proc2] to [Proc3] are missing"}},
        {"a run entry whose payload is not packed", entry + "Act=0\r\n", "", {"Files=Setup.ini,Setup.img,Zuli.img"},
         {"[Proc1] Act", "\"Proc1\"", "[Cabinet] Files does not carry it"}},
        {"an XOR delta whose payload is not in the ready cabinet", entry + "Act=2\r\nCRC=-5\r\n", "",
         {"Ready=ready.cab"}, {"[Proc1] Act", "ready.cab", "does not carry it"}},
        {"an action code out of range", entry + "Act=12\r\n", "", {}, {"[Proc1] Act", "\"12\" is not an action code"}},
        {"a negative action code", entry + "Act=-1\r\n", "", {}, {"[Proc1] Act", "\"-1\" is not an action code"}},
        {"an action code that is no number", entry + "Act=two\r\n", "", {}, {"[Proc1] Act", "\"two\""}},
        {"a number key holding text", entry + "Act=1\r\nDelay=yes\r\n", "", {},
         {"[Proc1] Delay", "\"yes\" is not a number"}},
        {"a CRC written in hexadecimal", entry + "Act=2\r\nCRC=1\r\nNewCRC=0x1F\r\n", "delta", {},
         {"[Proc1] NewCRC", "\"0x1F\" is not a number", "read it as 0"}},
        {"a file action without FILE", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nAct=4\r\nDir=Win\r\n", "", {},
         {"[Proc1] FILE", "missing"}},
        {"an entry without Dir", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a\r\nAct=4\r\n", "", {},
         {"[Proc1] Dir", "missing"}},
        {"a directory token in the wrong case", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a\r\nAct=4\r\nDir=win\r\n",
         "", {}, {"[Proc1] Dir", "did you mean Win?"}},
        {"a Dir that is neither token nor folder",
         "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a\r\nAct=4\r\nDir=Program\r\n", "", {},
         {"[Proc1] Dir", "\"Program\" is neither a directory token", "nor a full folder path"}},
        {"Dir=Reg without RegKey", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a\r\nAct=4\r\nDir=Reg\r\n", "", {},
         {"[Proc1] RegKey", "missing"}},
        {"a RegKey with too few fields",
         "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a\r\nAct=4\r\nDir=Reg\r\nRegKey=HKLM\r\n", "", {},
         {"[Proc1] RegKey", "too few fields"}},
        {"a RegKey with an unknown hive",
         "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a\r\nAct=4\r\nDir=Reg\r\nRegKey=hklm,Software\\App,Path\r\n", "", {},
         {"[Proc1] RegKey", "\"hklm\" is not a hive token"}},
        {"an XOR delta without CRC", entry + "Act=2\r\n", "delta", {}, {"[Proc1] CRC", "missing"}},
        {"an XOR-delta payload that is a binary delta", entry + "Act=2\r\nCRC=1\r\n",
         "ZBD1" + Le32(0) + Le32(0) + Le32(0) + Le32(0) + Le32(0) + Le32(0) + Le32(0), {},
         {"[Proc1] payload \"Proc1\"", "binary delta", "use Act 8"}},
        {"a binary-delta payload without its header", entry + "Act=8\r\nCRC=1\r\n", "ZBD1 cut short", {},
         {"[Proc1] payload \"Proc1\"", "not a binary delta"}},
        {"a byte patch without CRC or DONTChk", entry + "Act=3\r\n", patchHeader + Record(1, "ab", "cd"), {},
         {"[Proc1] CRC", "missing"}},
        {"a byte-pattern payload shorter than its header", entry + "Act=3\r\nDONTChk=1\r\n", "abc", {},
         {"[Proc1] payload \"Proc1\"", "8-byte header"}},
        {"a byte-pattern record beyond the payload's end", entry + "Act=3\r\nDONTChk=1\r\n",
         Le32(2) + Le32(0) + Record(1, "ab", "cd"), {}, {"[Proc1] payload", "record 2 of 2", "past the end"}},
        {"a byte-pattern replacement beyond the payload's end", entry + "Act=3\r\nCRC=1\r\n",
         patchHeader + Record(1, "ab", "cd").substr(0, 15), {}, {"[Proc1] payload", "record 1 of 1", "replacement"}},
        {"an empty pattern", entry + "Act=3\r\nCRC=1\r\n", patchHeader + Record(2, "", "x"), {},
         {"[Proc1] payload", "record 1 of 1", "empty pattern"}},
        {"a write-at-offset record with a 2-byte pattern", entry + "Act=3\r\nCRC=1\r\n",
         patchHeader + Record(3, std::string("\x01\x00", 2), "x"), {}, {"[Proc1] payload", "type 3", "2 bytes"}},
        {"a malformed byte-pattern payload in a ready cabinet", entry + "Act=3\r\nCRC=1\r\n",
         patchHeader + Record(1, "", "x"), {"Ready=ready.cab"}, {"ready.cab", "[Proc1] payload", "empty pattern"}},
        {"an INI entry with fewer lines than Count", entry + "Act=5\r\nCount=2\r\nINIKey1=Main,Version,2\r\n", "", {},
         {"[Proc1] INIKey2", "missing"}},
        {"a rename without NewName", entry + "Act=6\r\n", "", {}, {"[Proc1] NewName", "missing"}},
        {"a registry line up to the count missing", "[Setup]\r\nAddReg=2\r\n[AddReg]\r\n1=HKCU,Software\\A,V,4,4,1\r\n",
         "", {}, {"[AddReg] 2", "missing"}},
        {"a registry line with too few fields", addReg + "HKCU,Software\\A\r\n", "", {},
         {"[AddReg] 1", "too few fields"}},
        {"a registry line with an unknown hive", addReg + "HKEY_CURRENT_USER,Software\\A,V,1,2,a\r\n", "", {},
         {"[AddReg] 1", "\"HKEY_CURRENT_USER\" is not a hive token"}},
        {"a registry line with an unknown type", addReg + "HKCU,Software\\A,V,7,1,a\r\n", "", {},
         {"[AddReg] 1", "\"7\" is not a value type"}},
        {"a text value whose size leaves out the terminator", addReg + "HKCU,Software\\A,V,1,3,abc\r\n", "", {},
         {"[AddReg] 1", "size 3", "plus 1"}},
        {"a binary value with fewer bytes than its size", addReg + "HKCU,Software\\A,V,3,3,1,2\r\n", "", {},
         {"[AddReg] 1", "size 3", "2 byte values"}},
        {"a number value whose size is not 4", addReg + "HKCU,Software\\A,V,4,2,7\r\n", "", {},
         {"[AddReg] 1", "size 2", "4"}},
        {"a delete line with too few fields", "[Setup]\r\nDelReg=1\r\n[DelReg]\r\n1=HKCU,Software\\A\r\n", "", {},
         {"[DelReg] 1", "too few fields"}},
        {"a rename line of a number type", "[Setup]\r\nRenReg=1\r\n[RenReg]\r\n1=HKCU,Software\\A,Old,4,4,New\r\n", "",
         {}, {"[RenReg] 1", "type 1"}},
        {"a ready cabinet without the script", "", "", {"Ready=ready.cab"}, {"ready.cab", "\"Setup.ini\" is missing"}},
        {"two mistakes, both named", "[Setup]\r\nProcCount=2\r\n[Proc1]\r\nFile=a\r\nDir=Win\r\nAct=12\r\n"
         "[Proc2]\r\nFile=b\r\nAct=4\r\n", "", {}, {"[Proc1] Act", "[Proc2] Dir", "2 mistakes found"}},
    };
    for (const Case& c : cases) {
        Project project;
        WriteTestFile(project.folder / "Setup.ini", c.script);
        if (!c.proc1.empty()) WriteTestFile(project.folder / "payload\\Proc1", c.proc1);
        if (!c.cabinet.empty()) project.cabinet = c.cabinet;
        if (!c.cabinet.empty() && c.cabinet[0] == "Ready=ready.cab") {
            std::vector<std::pair<std::string, std::string>> files = {{"Zuli.img", SmallBitmap()}};
            if (!c.script.empty()) files.push_back({"Setup.ini", c.script});
            if (!c.proc1.empty()) files.push_back({"Proc1", c.proc1});
            WriteTestFile(project.folder / "ready.cab", MakeStoredCabinet(files));
        }
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
        EXPECT_EQ(build.exitCode, 1) << c.what << ":\n" << build.output;
        for (const std::string& part : c.messageParts)
            EXPECT_NE(build.output.find(part), std::string::npos)
                << c.what << ": expected \"" << part << "\" in the message, got:\n" << build.output;
        EXPECT_NE(build.output.find("Setup.ini"), std::string::npos) << c.what << ": the script is not named";
        EXPECT_FALSE(FileExists(output)) << c.what << ": an output file was left";
        EXPECT_FALSE(FileExists(output + ".partial")) << c.what << ": a partial file was left";

        // "check" finds the same mistake without building.
        Build check;
        check.exitCode = RunCaptured(Quoted(Builder()) + " check " + Quoted(project.folder / "patch.ini"), check.output);
        EXPECT_EQ(check.exitCode, 1) << c.what << " (check):\n" << check.output;
        EXPECT_NE(check.output.find(c.messageParts[0]), std::string::npos) << c.what << " (check):\n" << check.output;
    }
}

// One row per warning: the build goes on, prints the warning and writes the
// patch. A project without doubtful settings builds without a warning.
TEST(Builder, WarnsAboutDoubtfulSettingsAndBuilds) {
    {
        Project clean;
        clean.Write();
        Build build = RunBuilder(DumpRuntime(), clean.folder.Path(), clean.folder / "patch.exe");
        ASSERT_EQ(build.exitCode, 0) << build.output;
        EXPECT_EQ(build.output.find("warning"), std::string::npos) << build.output;
    }
    struct Case {
        const char* what;
        void (*change)(Project&);
        std::vector<std::string> messageParts;
    } cases[] = {
        {"both work pages off",
         [](Project& p) { p.settings[0] = "PageTable=1,1,1,1,1,1,0,0,1,1,1,1,1,0"; },
         {"[Settings] PageTable", "(6)", "(7) are both off"}},
        {"a page-table slot of 2", [](Project& p) { p.settings[0] = "PageTable=1,1,1,1,1,1,1,1,2,1,1,1,1,0"; },
         {"[Settings] PageTable", "slot 8 is 2", "0 or 1"}},
        {"an option default of 2", [](Project& p) { p.settings[1] = "OptionDefaults=1,2,0"; },
         {"[Settings] OptionDefaults", "value 1 is 2", "unticked"}},
        {"a backup whose box starts unticked",
         [](Project& p) {
             p.settings[1] = "OptionDefaults=0,0,1";
             p.extra = {"[Backup]", "Enabled=1"};
         },
         {"[Settings] OptionDefaults", "[Backup] Enabled=1", "starts unticked", "every unattended run"}},
        {"no Setup.img", [](Project& p) { p.cabinet = {"Files=Setup.ini,payload\\Proc1,Zuli.img"}; },
         {"\"Setup.img\" is missing", "brand image"}},
        {"a Zuli.img that is no bitmap", [](Project& p) { WriteTestFile(p.folder / "Zuli.img", "GIF89a"); },
         {"\"Zuli.img\" is not a bitmap the wizard can draw"}},
        {"a Setup.img cut short",
         [](Project& p) { WriteTestFile(p.folder / "Setup.img", SmallBitmap().substr(0, 56)); },
         {"\"Setup.img\" is not a bitmap"}},
        {"an entry section past ProcCount",
         [](Project& p) {
             WriteTestFile(p.folder / "Setup.ini", std::string(kGoodScript) + "[Proc2]\r\nFile=b\r\nAct=4\r\nDir=Win\r\n");
         },
         {"[Proc2]", "ProcCount in [Setup] is 1", "never checked"}},
        {"registry lines with a count of 0",
         [](Project& p) {
             WriteTestFile(p.folder / "Setup.ini", std::string(kGoodScript) + "[AddReg]\r\n1=HKCU,Software\\A,V,4,4,1\r\n");
         },
         {"[AddReg]", "AddReg in [Setup] is 0", "never applied"}},
    };
    for (const Case& c : cases) {
        Project project;
        c.change(project);
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
        EXPECT_EQ(build.exitCode, 0) << c.what << ":\n" << build.output;
        EXPECT_TRUE(FileExists(output)) << c.what << ": no patch was written";
        EXPECT_NE(build.output.find("warning: "), std::string::npos) << c.what << ":\n" << build.output;
        for (const std::string& part : c.messageParts)
            EXPECT_NE(build.output.find(part), std::string::npos)
                << c.what << ": expected \"" << part << "\" in the warning, got:\n" << build.output;
    }
}

TEST(Builder, CheckCommandWritesNothingAndPassesAGoodProject) {
    Project project;
    project.Write();
    Build check;
    check.exitCode = RunCaptured(Quoted(Builder()) + " check " + Quoted(project.folder / "patch.ini"), check.output);
    EXPECT_EQ(check.exitCode, 0) << check.output;
    EXPECT_NE(check.output.find("no mistakes found"), std::string::npos) << check.output;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((project.folder / "*.exe*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "check wrote " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

// Numbers with a leading 0 are decimal; texts left out come from the
// defaults with the patch's title; the author's own texts may be left out
// when their page is off.
TEST(Builder, DecimalNumbersAndDefaultTexts) {
    Project project;
    std::map<unsigned, std::string> texts = {{1, "Acme Viewer 2.1 Update"}};
    project.texts = texts;
    project.font = {"Face=Tahoma", "Size=010"};
    project.settings[0] = "PageTable=1,1,1,1,1,1,1,1,1,1,0,1,1,0";
    project.Write();
    std::string output = project.folder / "patch.exe";
    Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
    ASSERT_EQ(build.exitCode, 0) << build.output;
    ScratchFolder dump("defaults dump");
    ASSERT_EQ(RunProgram(Quoted(output), dump.Path()), 0);
    EXPECT_EQ(ReadTestFile(dump / "restored.txt"), "1");
    EXPECT_EQ(ReadTestFile(dump / "1001.bin"), std::string("\x0A\x00", 2));
    EXPECT_EQ(ReadTestFile(dump / "114.bin"), Terminated("&Next >"));
    EXPECT_NE(ReadTestFile(dump / "201.bin").find("Welcome to Acme Viewer 2.1 Update."), std::string::npos)
        << ReadTestFile(dump / "201.bin");
    EXPECT_EQ(ReadTestFile(dump / "1202.bin"), Terminated("Missing file: "));
    EXPECT_EQ(ReadTestFile(dump / "262.bin"), Terminated("Zuli"));
    // The transaction's report words travel in every patch, whether or not it
    // turns the transaction on.
    EXPECT_EQ(ReadTestFile(dump / "3103.bin"), Terminated("rolled back"));
    EXPECT_EQ(ReadTestFile(dump / "3104.bin"), Terminated("at restart"));
    EXPECT_EQ(ReadTestFile(dump / "3105.bin"),
              Terminated("Nothing was changed: every change the update made was undone."));
    for (unsigned author : {245u, 246u, 247u, 250u})
        EXPECT_EQ(ReadTestFile(dump / (std::to_string(author) + ".bin")), Terminated(""))
            << "author text " << author << " with the author page off";
    // No placeholder is left in any text.
    for (unsigned id = 113; id <= 3205; ++id) {
        std::string text = ReadTestFile(dump / (std::to_string(id) + ".bin"));
        EXPECT_EQ(text.find("{title}"), std::string::npos) << "resource " << id << ": " << text;
    }
}

// [Version] becomes the version resource and [Icon] replaces the icon group
// 105 and its images: built from the real runtime, whose own version
// resource and icon images must all be gone.
TEST(Builder, VersionResourceAndIcon) {
    const std::string runtime = std::string(ZULI_DIST_DIR_WINE) + "/zulirt.exe";
    ASSERT_TRUE(FileExists(runtime)) << runtime;
    Project project;
    project.extra = {"[Version]", "ProductName=Acme Viewer", "CompanyName=Acme Ltd", "FileVersion=2.1.0.7",
                     "LegalCopyright=(c) Acme", "[Icon]", "File=app.ico"};
    std::string image16 = std::string(40, 'a') + std::string(64, 'b'), image32 = std::string(40, 'c') + "dd";
    std::string icon = std::string("\0\0\1\0\2\0", 6);
    icon += std::string("\x10\x10\0\0\1\0\x20\0", 8) + Le32(static_cast<uint32_t>(image16.size())) + Le32(6 + 32);
    icon += std::string("\x20\x20\0\0\1\0\x20\0", 8) + Le32(static_cast<uint32_t>(image32.size())) +
            Le32(static_cast<uint32_t>(6 + 32 + image16.size()));
    icon += image16 + image32;
    WriteTestFile(project.folder / "app.ico", icon);
    project.Write();
    std::string output = project.folder / "patch.exe";
    Build build = RunBuilder(runtime, project.folder.Path(), output);
    ASSERT_EQ(build.exitCode, 0) << build.output;

    HMODULE patch = LoadLibraryExA(output.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(patch, nullptr);
    auto resource = [&](LPCSTR type, unsigned id) {
        HRSRC found = FindResourceA(patch, MAKEINTRESOURCEA(id), type);
        if (!found) return std::string();
        return std::string(static_cast<const char*>(LockResource(LoadResource(patch, found))),
                           SizeofResource(patch, found));
    };
    auto names = [&](LPCSTR type) {
        std::vector<unsigned> ids;
        EnumResourceNamesA(patch, type, CollectResourceId, reinterpret_cast<LONG_PTR>(&ids));
        return ids;
    };
    auto wide = [](const std::string& text) {
        std::string bytes;
        for (char c : text) bytes += c, bytes += '\0';
        return bytes;
    };
    EXPECT_EQ(names(MAKEINTRESOURCEA(16)), std::vector<unsigned>{1}) << "one version resource";
    std::vector<WORD> languages;
    EnumResourceLanguagesA(patch, MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(languages, std::vector<WORD>{0x409}) << "the version resource in one language only";
    std::string version = resource(MAKEINTRESOURCEA(16), 1);
    for (const char* text : {"ProductName", "Acme Viewer", "Acme Ltd", "2.1.0.7", "(c) Acme"})
        EXPECT_NE(version.find(wide(text)), std::string::npos) << text;
    std::size_t fixed = version.find(Le32(0xFEEF04BD));
    ASSERT_NE(fixed, std::string::npos);
    EXPECT_EQ(version.substr(fixed + 8, 8), Le32(0x00020001) + Le32(0x00000007)) << "fixed file version";
    EXPECT_EQ(version.find(wide("Zuli patch runtime")), std::string::npos) << "the runtime's version resource stayed";

    std::string group = resource(MAKEINTRESOURCEA(14), 105);
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ(group.substr(0, 6), icon.substr(0, 6));
    unsigned first = static_cast<unsigned char>(group[6 + 12]), second = static_cast<unsigned char>(group[6 + 14 + 12]);
    EXPECT_EQ(resource(MAKEINTRESOURCEA(3), first), image16);
    EXPECT_EQ(resource(MAKEINTRESOURCEA(3), second), image32);
    EXPECT_EQ(names(MAKEINTRESOURCEA(3)), (std::vector<unsigned>{first, second})) << "an old icon image stayed";
    EXPECT_EQ(names(MAKEINTRESOURCEA(14)), std::vector<unsigned>{105});
    FreeLibrary(patch);
}

// A ready cabinet compressed by the system's cabinet library (the one a
// built patch carries) is unpacked and checked like the files of "Files":
// its script, payload and images are found, and no scratch file is left.
TEST(Builder, CompressedReadyCabinetIsUnpackedAndChecked) {
    Project first;
    first.Write();
    std::string built = first.folder / "first.exe";
    ASSERT_EQ(RunBuilder(DumpRuntime(), first.folder.Path(), built).exitCode, 0);
    ScratchFolder dump("compressed dump");
    ASSERT_EQ(RunProgram(Quoted(built), dump.Path()), 0);
    std::string cabinet = ReadTestFile(dump / "2000.bin");
    ASSERT_FALSE(cabinet.empty());

    // The builder runs with a temporary folder of its own, where nothing of
    // its own ("zck" scratch folders and cabinet files) may be left.
    ScratchFolder temp("builder temp");
    auto leftOver = [&] {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((temp / "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do
            if (std::string(found.cFileName).rfind("zuli-test-", 0) != 0 && found.cFileName[0] != '.')
                names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    };
    std::string tempPath = temp.Path();
    SetEnvironmentVariableA("TMP", tempPath.c_str());
    SetEnvironmentVariableA("TEMP", tempPath.c_str());

    Project second;
    second.cabinet = {"Ready=ready.cab"};
    WriteTestFile(second.folder / "ready.cab", cabinet);
    second.Write();
    Build good = RunBuilder(DumpRuntime(), second.folder.Path(), second.folder / "second.exe");
    EXPECT_EQ(good.exitCode, 0) << good.output;
    EXPECT_EQ(good.output.find("warning"), std::string::npos) << "the images were not found:\n" << good.output;

    // The same cabinet with the entry's payload renamed away: the mistake is
    // found inside it.
    std::string renamed = cabinet;
    std::size_t name = renamed.find(std::string("Proc1\0", 6));
    ASSERT_NE(name, std::string::npos);
    renamed[name + 4] = '9';
    WriteTestFile(second.folder / "ready.cab", renamed);
    Build bad = RunBuilder(DumpRuntime(), second.folder.Path(), second.folder / "third.exe");
    EXPECT_EQ(bad.exitCode, 1) << bad.output;
    EXPECT_NE(bad.output.find("[Proc1] Act"), std::string::npos) << bad.output;
    EXPECT_NE(bad.output.find("does not carry it"), std::string::npos) << bad.output;
    EXPECT_EQ(leftOver(), std::vector<std::string>{}) << "the unpacked cabinet was left behind";
    SetEnvironmentVariableA("TMP", nullptr);
    SetEnvironmentVariableA("TEMP", nullptr);
}

// [Settings] ExecutionLevel goes into the patch's application manifest; the
// rest of the runtime's manifest stays as it is.
TEST(Builder, ExecutionLevelGoesIntoTheManifest) {
    const std::string runtime = std::string(ZULI_DIST_DIR_WINE) + "/zulirt.exe";
    ASSERT_TRUE(FileExists(runtime)) << runtime;
    std::string original = ProgramManifest(runtime);
    ASSERT_NE(original.find("level=\"highestAvailable\""), std::string::npos) << original;

    struct Case {
        const char* line;  // none: the key left out
        const char* level;
    } cases[] = {{nullptr, "highestAvailable"},
                 {"ExecutionLevel=asInvoker", "asInvoker"},
                 {"ExecutionLevel=highestAvailable", "highestAvailable"},
                 {"executionlevel=REQUIREADMINISTRATOR", "requireAdministrator"}};
    for (const Case& c : cases) {
        Project project;
        if (c.line) project.settings.push_back(c.line);
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(runtime, project.folder.Path(), output);
        ASSERT_EQ(build.exitCode, 0) << build.output;
        std::string manifest = ProgramManifest(output);
        std::string expected = original;
        std::size_t at = expected.find("highestAvailable");
        expected.replace(at, 16, c.level);
        EXPECT_EQ(manifest, expected) << (c.line ? c.line : "no ExecutionLevel");
    }

    // A level the system does not know, or a runtime without a manifest to
    // set it in, stops the build.
    struct Refused {
        const char* what;
        std::string runtime;
        const char* line;
        std::vector<std::string> messageParts;
    } refused[] = {
        {"an unknown level", runtime, "ExecutionLevel=admin",
         {"[Settings] ExecutionLevel", "asInvoker, highestAvailable or requireAdministrator"}},
        {"a runtime without a manifest", DumpRuntime(), "ExecutionLevel=asInvoker",
         {"ExecutionLevel", "resource_dump.exe", "no application manifest"}},
    };
    for (const Refused& c : refused) {
        Project project;
        project.settings.push_back(c.line);
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(c.runtime, project.folder.Path(), output);
        EXPECT_EQ(build.exitCode, 1) << c.what << ":\n" << build.output;
        for (const std::string& part : c.messageParts)
            EXPECT_NE(build.output.find(part), std::string::npos)
                << c.what << ": expected \"" << part << "\" in the message, got:\n" << build.output;
        EXPECT_FALSE(FileExists(output)) << c.what;
    }
}

// [Settings] Transaction is stored as resource 25, one byte the runtime
// reads as on (1) or off (0); left out, the patch carries no resource 25 and
// changes entry by entry as patches always have. The build's last line says
// which kind of patch it wrote.
TEST(Builder, TransactionSettingIsStoredAsOneByte) {
    struct Case {
        const char* line;      // none: the key left out
        const char* resource;  // none: no resource 25
        const char* summary;
    } cases[] = {
        {nullptr, nullptr, "changes entry by entry"},
        {"Transaction=1", "\1", "changes all or nothing (Transaction=1)"},
        {"transaction=0", "\0", "changes entry by entry"},
        {"TRANSACTION=1", "\1", "changes all or nothing (Transaction=1)"},
    };
    for (const Case& c : cases) {
        const char* what = c.line ? c.line : "no Transaction key";
        Project project;
        if (c.line) project.settings.push_back(c.line);
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
        ASSERT_EQ(build.exitCode, 0) << what << ":\n" << build.output;
        EXPECT_NE(build.output.find(c.summary), std::string::npos) << what << ":\n" << build.output;
        HMODULE patch = LoadLibraryExA(output.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(patch, nullptr) << what;
        HRSRC found = FindResourceExA(patch, MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(25),
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
        std::string stored = found ? std::string(static_cast<const char*>(LockResource(LoadResource(patch, found))),
                                                 SizeofResource(patch, found))
                                   : std::string("(absent)");
        FreeLibrary(patch);
        EXPECT_EQ(stored, c.resource ? std::string(c.resource, 1) : std::string("(absent)")) << what;
    }

    // Any other value would leave the patch without the transaction while
    // its author believes it on: refused, naming the key.
    struct Refused {
        const char* what;
        std::vector<std::string> settings;  // more [Settings] lines
        std::vector<std::string> extra;
        std::vector<std::string> messageParts;
    } refused[] = {
        {"a 2", {"Transaction=2"}, {}, {"[Settings] Transaction", "expected 0", "or 1"}},
        {"a word", {"Transaction=yes"}, {}, {"[Settings] Transaction", "expected 0", "or 1"}},
        {"an empty value", {"Transaction="}, {}, {"[Settings] Transaction", "expected 0", "or 1"}},
        {"a byte list", {"Transaction=1,1"}, {}, {"[Settings] Transaction", "expected 0", "or 1"}},
        {"hexadecimal", {"Transaction=0x1"}, {}, {"[Settings] Transaction", "expected 0", "or 1"}},
        {"given twice", {"Transaction=1", "transaction=1"}, {}, {"[Settings] transaction", "given twice"}},
        {"given as [Data], around its check", {}, {"[Data]", "25=1"}, {"[Data] 25", "[Settings] Transaction"}},
        {"an unknown key", {"Transactions=1"}, {}, {"[Settings] Transactions", "unknown key", "Transaction)"}},
    };
    for (const Refused& c : refused) {
        Project project;
        for (const std::string& line : c.settings) project.settings.push_back(line);
        project.extra = c.extra;
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
        EXPECT_EQ(build.exitCode, 1) << c.what << ":\n" << build.output;
        for (const std::string& part : c.messageParts)
            EXPECT_NE(build.output.find(part), std::string::npos)
                << c.what << ": expected \"" << part << "\" in the message, got:\n" << build.output;
        EXPECT_FALSE(FileExists(output)) << c.what;
    }
}

namespace {

// Resource `id` of the built patch at `path`, or "(absent)".
std::string StoredResource(const std::string& path, unsigned id) {
    HMODULE patch = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!patch) return "(no patch)";
    HRSRC found = FindResourceExA(patch, MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    std::string stored = found ? std::string(static_cast<const char*>(LockResource(LoadResource(patch, found))),
                                             SizeofResource(patch, found))
                               : std::string("(absent)");
    FreeLibrary(patch);
    return stored;
}

}  // namespace

// [Backup] Enabled=1 marks the patch (resource 26, one byte 1), so that the
// runtime goes on only once the companion has made its backup, and makes it
// one transaction (resource 25 = 1), stated in the build's last line. A
// Transaction=0 beside it would quietly contradict that: refused.
TEST(Builder, BackupMarksThePatchAndMakesItOneTransaction) {
    struct Case {
        const char* what;
        std::vector<std::string> settings;  // more [Settings] lines
        std::vector<std::string> backup;    // lines of [Backup]; none: no section
        const char* transaction;            // resource 25; none: absent
        const char* mark;                   // resource 26; none: absent
        const char* summary;
    } cases[] = {
        {"no [Backup]", {}, {}, nullptr, nullptr, "changes entry by entry"},
        {"Enabled=0", {}, {"Enabled=0"}, nullptr, nullptr, "changes entry by entry"},
        {"Enabled=1", {}, {"Enabled=1"}, "\1", "\1", "all or nothing, with the backup companion"},
        {"Enabled=1 and Transaction=1", {"Transaction=1"}, {"Enabled=1", "Folder=Acme Backups"}, "\1", "\1",
         "all or nothing, with the backup companion"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Project project;
        for (const std::string& line : c.settings) project.settings.push_back(line);
        if (!c.backup.empty()) project.extra.push_back("[Backup]");
        for (const std::string& line : c.backup) project.extra.push_back(line);
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
        ASSERT_EQ(build.exitCode, 0) << build.output;
        EXPECT_EQ(build.output.find("warning"), std::string::npos) << "the backup box starts ticked:\n" << build.output;
        EXPECT_NE(build.output.find(c.summary), std::string::npos) << build.output;
        EXPECT_EQ(StoredResource(output, 25), c.transaction ? std::string(c.transaction, 1) : "(absent)");
        EXPECT_EQ(StoredResource(output, 26), c.mark ? std::string(c.mark, 1) : "(absent)");
    }

    struct Refused {
        const char* what;
        std::vector<std::string> settings;
        std::vector<std::string> extra;
        std::vector<std::string> messageParts;
    } refused[] = {
        {"Transaction=0 beside Enabled=1", {"Transaction=0"}, {"[Backup]", "Enabled=1"},
         {"[Settings] Transaction", "Transaction=0 cannot go with [Backup] Enabled=1", "all or nothing"}},
        {"the mark given as [Data]", {}, {"[Data]", "26=1"}, {"[Data] 26", "[Backup] Enabled"}},
        {"an Enabled of 2", {}, {"[Backup]", "Enabled=2"}, {"[Backup] Enabled", "expected 0 or 1"}},
        {"an unknown key", {}, {"[Backup]", "Enable=1"}, {"[Backup] Enable", "unknown key (Enabled, Folder)"}},
    };
    for (const Refused& c : refused) {
        SCOPED_TRACE(c.what);
        Project project;
        for (const std::string& line : c.settings) project.settings.push_back(line);
        project.extra = c.extra;
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
        EXPECT_EQ(build.exitCode, 1) << build.output;
        for (const std::string& part : c.messageParts)
            EXPECT_NE(build.output.find(part), std::string::npos)
                << "expected \"" << part << "\" in the message, got:\n" << build.output;
        EXPECT_FALSE(FileExists(output));
    }
}

// Keys the runtime does not know are passed over by it without a word, so a
// misspelt key silently drops its setting: each one is warned about, by
// build and check alike, with the known key it comes nearest to. Case in a
// key name never counts, and the keys the runtime itself writes into its
// working copy are known. The manifest refuses unknown keys and sections,
// naming the nearest known one.
TEST(Builder, NearMissKeysAreNamedWithTheKeyTheyStandFor) {
    const std::string entry = "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a.txt\r\nAct=1\r\nDir=Win\r\n";
    struct Case {
        const char* what;
        std::string script;
        int exitCode;                           // 0: builds with the warnings, 1: refused
        std::vector<std::string> messageParts;  // empty: no warning at all
    } cases[] = {
        {"CANTDIF", entry + "CANTDIF=1\r\n", 0, {"warning: ", "[Proc1] CANTDIF", "unknown key", "did you mean CANTDIFF?"}},
        {"Dealy", entry + "Dealy=1\r\n", 0, {"[Proc1] Dealy", "unknown key", "did you mean Delay?"}},
        {"NewNmae", entry + "NewNmae=b.txt\r\n", 0, {"[Proc1] NewNmae", "did you mean NewName?"}},
        {"an INIKey line misspelt", entry + "INIKy2=Main,Version,2\r\n", 0, {"[Proc1] INIKy2", "did you mean INIKey2?"}},
        {"AddRge in [Setup]", "[Setup]\r\nAddRge=0\r\nProcCount=1\r\n[Proc1]\r\nFile=a.txt\r\nAct=1\r\nDir=Win\r\n", 0,
         {"[Setup] AddRge", "unknown key", "did you mean AddReg?"}},
        {"a key far from any", entry + "Frobnicate=1\r\n", 0, {"[Proc1] Frobnicate", "unknown key: the patch passes it over"}},
        {"a flag without a value", entry + "CANTDIFF\r\n", 0,
         {"[Proc1] CANTDIFF: has no value, so the flag is not set; write CANTDIFF=1"}},
        {"a section [AddRge]", entry + "[AddRge]\r\n1=HKCU,Software\\A,V,4,4,1\r\n", 0,
         {"[AddRge]: unknown section: the patch never reads it (did you mean AddReg?)"}},
        {"a section [Proc01]", entry + "[Proc01]\r\nFile=b.txt\r\nAct=4\r\nDir=Win\r\n", 0,
         {"[Proc01]: unknown section", "did you mean Proc1?"}},
        {"keys in another case",
         "[SETUP]\r\nprocCOUNT=1\r\n[proc1]\r\nfile=a.txt\r\nACT=1\r\ndir=Win\r\ncantdiff=1\r\ndelay=0\r\n", 0, {}},
        {"keys the runtime writes", "[Setup]\r\nProcCount=1\r\nHWND=1234\r\nUnattended=1\r\n[Proc1]\r\nFile=a.txt\r\n"
         "Act=1\r\nDir=Win\r\nExpandName=C:\\Windows\\a.txt\r\nINIKey1=Main,Version,2\r\n;Note=1\r\n"
         "[AddReg]\r\n[DelReg]\r\n[RenReg]\r\n", 0, {}},
        {"Dri for Dir", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a.txt\r\nAct=1\r\nDri=Pre\r\n", 1,
         {"[Proc1] Dir", "missing", "the entry has Dri, which is no key: did you mean Dir?", "warning: ",
          "[Proc1] Dri: unknown key"}},
        {"a directory token in the wrong case", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a.txt\r\nAct=1\r\nDir=pre\r\n",
         1, {"[Proc1] Dir", "\"pre\" is not a directory token", "would not understand it", "did you mean Pre?"}},
        {"a directory token misspelt", "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a.txt\r\nAct=1\r\nDir=Per\r\n",
         1, {"[Proc1] Dir", "\"Per\" is neither a directory token", "did you mean Pre?"}},
        {"a hive in the wrong case",
         "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nFile=a.txt\r\nAct=1\r\nDir=Reg\r\nRegKey=hklm,Software\\A,Path\r\n", 1,
         {"[Proc1] RegKey", "\"hklm\" is not a hive token", "would not understand it", "did you mean HKLM?"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Project project;
        WriteTestFile(project.folder / "Setup.ini", c.script);
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
        Build check;
        check.exitCode = RunCaptured(Quoted(Builder()) + " check " + Quoted(project.folder / "patch.ini"), check.output);
        for (const Build* run : {&build, &check}) {
            const char* which = run == &build ? "build" : "check";
            EXPECT_EQ(run->exitCode, c.exitCode) << which << ":\n" << run->output;
            if (c.messageParts.empty()) {
                EXPECT_EQ(run->output.find("warning"), std::string::npos) << which << ":\n" << run->output;
            }
            for (const std::string& part : c.messageParts)
                EXPECT_NE(run->output.find(part), std::string::npos)
                    << which << ": expected \"" << part << "\", got:\n" << run->output;
        }
        EXPECT_EQ(FileExists(output), c.exitCode == 0) << build.output;
        if (c.exitCode == 0) {
            EXPECT_NE(check.output.find("no mistakes found"), std::string::npos) << check.output;
        }
    }

    struct Manifest {
        const char* what;
        void (*change)(Project&);
        std::vector<std::string> messageParts;
    } manifests[] = {
        {"StartGat", [](Project& p) { p.settings[2] = "StartGat=1"; },
         {"[Settings] StartGat", "unknown key (PageTable, OptionDefaults, StartGate", "did you mean StartGate?"}},
        {"ExecutionLevle with a value that is no byte list",
         [](Project& p) { p.settings.push_back("ExecutionLevle=asInvoker"); },
         {"[Settings] ExecutionLevle", "unknown key", "did you mean ExecutionLevel?"}},
        {"Sise", [](Project& p) { p.font[1] = "Sise=9"; }, {"[Font] Sise", "did you mean Size?"}},
        {"Fiels", [](Project& p) { p.cabinet[0] = "Fiels=Setup.ini"; }, {"[Cabinet] Fiels", "did you mean Files?"}},
        {"Enabeld", [](Project& p) { p.extra = {"[Backup]", "Enabeld=1"}; }, {"[Backup] Enabeld", "did you mean Enabled?"}},
        {"ProductNmae", [](Project& p) { p.extra = {"[Version]", "ProductNmae=Acme"}; },
         {"[Version] ProductNmae", "did you mean ProductName?"}},
        {"SuportAddress", [](Project& p) { p.moreTexts = {"SuportAddress=help@acme.example"}; },
         {"[Texts] SuportAddress", "nor SupportAddress", "did you mean SupportAddress?"}},
        {"a section [Setings]", [](Project& p) { p.extra = {"[Setings]", "StartGate=1"}; },
         {"unknown section [Setings]", "did you mean Settings?"}},
        {"a key far from any", [](Project& p) { p.font[1] = "Colour=red"; }, {"[Font] Colour", "unknown key (Face, Size)"}},
    };
    for (const Manifest& c : manifests) {
        SCOPED_TRACE(c.what);
        Project project;
        c.change(project);
        project.Write();
        Build check;
        check.exitCode = RunCaptured(Quoted(Builder()) + " check " + Quoted(project.folder / "patch.ini"), check.output);
        EXPECT_EQ(check.exitCode, 1) << check.output;
        for (const std::string& part : c.messageParts)
            EXPECT_NE(check.output.find(part), std::string::npos) << "expected \"" << part << "\", got:\n" << check.output;
        if (std::string(c.what) == "a key far from any") {
            EXPECT_EQ(check.output.find("did you mean"), std::string::npos) << check.output;
        }
    }
}

// The check error box for a file that is not the expected version names both
// causes and what to do about each; a support address given in the manifest
// goes into that text, and only into the default.
TEST(Builder, SupportAddressGoesIntoTheCheckErrorText) {
    const std::string causes =
        "If this is not the folder of the program to update, press OK and choose the right folder.\r\nIf it is, the "
        "program's files were changed or damaged after it was installed: press Cancel, repair or reinstall the "
        "program, then run this update again.";
    struct Case {
        const char* what;
        std::vector<std::string> moreTexts;
        bool ownText;  // the manifest gives text 1250 itself
        std::string expected;
        const char* warning;
    } cases[] = {
        {"no address", {}, false, causes, nullptr},
        {"an address", {"SupportAddress=support@acme.example"}, false,
         causes + "\r\nIf you need help, contact support@acme.example.", nullptr},
        {"an address in another case of the key, with a line break", {"supportaddress=Acme Support\\nhttp://acme.example/help"},
         false, causes + "\r\nIf you need help, contact Acme Support\r\nhttp://acme.example/help.", nullptr},
        {"an address beside the author's own text", {"SupportAddress=support@acme.example"}, true,
         "Text number 1250", "the address goes only into default texts"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Project project;
        if (!c.ownText) project.texts.erase(1250);
        project.texts.erase(1203);
        project.moreTexts = c.moreTexts;
        project.Write();
        std::string output = project.folder / "patch.exe";
        Build build = RunBuilder(DumpRuntime(), project.folder.Path(), output);
        ASSERT_EQ(build.exitCode, 0) << build.output;
        EXPECT_EQ(StoredResource(output, 1250), Terminated(c.expected));
        EXPECT_EQ(StoredResource(output, 1203), Terminated("Not the version this update was made for: "));
        if (c.warning) {
            EXPECT_NE(build.output.find(c.warning), std::string::npos) << build.output;
        } else {
            EXPECT_EQ(build.output.find("warning"), std::string::npos) << build.output;
        }
    }
}

// Every command, and the tool itself, answers a request for help with its
// usage and exit code 0, without doing anything else.
TEST(Builder, EveryCommandAnswersHelp) {
    struct Case {
        const char* command;  // before the request
        const char* usage;    // in the answer
    } cases[] = {
        {"", "usage: zulibuild RUNTIME PROJECT OUTPUT"},
        {"check ", "zulibuild check PROJECT"},
        {"diff ", "usage: zulibuild diff OLD NEW PROJECT [options]"},
        {"diff old new ", "usage: zulibuild diff OLD NEW PROJECT [options]"},
        {"delta ", "usage: zulibuild delta OLD NEW OUT"},
    };
    for (const Case& c : cases) {
        for (const char* help : {"--help", "-h", "/?"}) {
            std::string output;
            std::string command = Quoted(Builder()) + " " + c.command + help;
            EXPECT_EQ(RunCaptured(command, output), 0) << command << ":\n" << output;
            EXPECT_NE(output.find(c.usage), std::string::npos) << command << ":\n" << output;
            EXPECT_EQ(output.find("needs a value"), std::string::npos) << command << ":\n" << output;
        }
    }
    // A wrong command line is still an error.
    std::string output;
    EXPECT_EQ(RunCaptured(Quoted(Builder()) + " diff", output), 2) << output;
}
