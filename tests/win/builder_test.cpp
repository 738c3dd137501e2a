// zulibuild: bad input is refused with a message that names what is wrong
// and leaves no output; a built patch carries every resource as given, the
// sealed credits unreadable in the file and restored by the runtime's code.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/neutral/CabinetDirectory.h"
#include "core/neutral/CreditSeal.h"
#include "support/CabinetFixture.h"
#include "support/TestFiles.h"

namespace {

std::string Builder() { return std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe"; }
// A test child stands in for the runtime: it dumps its resources.
std::string DumpRuntime() { return ExecutableFolder() + "resource_dump.exe"; }

// Runs a console program; its exit code, with stdout and stderr in `output`.
int RunCaptured(const std::string& commandLine, std::string& output) {
    ScratchFolder capture("capture");
    std::string file = capture / "output.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = out;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process)) {
        CloseHandle(out);
        return -1;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(out);
    output = ReadTestFile(file);
    return static_cast<int>(code);
}

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

// A patch project in a scratch folder; sections are written in order, and a
// test changes or drops lines before writing.
struct Project {
    ScratchFolder folder{"builder project"};
    std::map<unsigned, std::string> texts = RequiredTexts();
    std::vector<std::string> settings = {"PageTable=1,1,1,1,1,1,1,1,1,1,1,1,1,0", "OptionDefaults=1,0,1",
                                         "StartGate=1"};
    std::vector<std::string> font = {"Face=Tahoma", "Size=9"};
    std::vector<std::string> cabinet = {"Files=Setup.ini,payload\\Proc1"};
    std::vector<std::string> extra;  // more lines at the end

    Project() {
        WriteTestFile(folder / "Setup.ini", "[Setup]\r\nProcCount=1\r\n");
        CreateDirectoryA((folder / "payload").c_str(), nullptr);
        WriteTestFile(folder / "payload\\Proc1", std::string("\0\1\2 delta", 9));
        WriteTestFile(folder / "agreement.txt", "Line one\r\nLine two");
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
    EXPECT_TRUE(ForEachCabinetFileName(
        reinterpret_cast<const unsigned char*>(cabinet.data()), cabinet.size(),
        [](const char* name, std::size_t length, void* context) {
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
