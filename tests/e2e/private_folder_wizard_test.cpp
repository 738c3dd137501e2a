// A run that nobody else can hijack: its own working folder, only the
// uninstaller its own cabinet carried, one run at a time, and an unpacking
// that is checked before the wizard opens.
#include <algorithm>
#include <map>

#include "harness/E2eFixture.h"
#include "support/CabinetFixture.h"
#include "support/TempOverride.h"

namespace {

constexpr int kAnotherRunExitCode = 1618;  // ERROR_INSTALL_ALREADY_RUNNING
constexpr int kStartFailedExitCode = 1603;  // ERROR_INSTALL_FAILURE: the run ended before its wizard

// One entry: the XOR update of core.dll, found through the registry.
void AddCoreUpdate(PatchProject& project) {
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\n"
                                 "[Proc1]\r\nFILE=core.dll\r\nAct=2\r\nDir=Reg\r\n"
                                 "RegKey=HKCU,Software\\ZuliE2E\\App,Path\r\nCRC=" +
                                     SignedDecimal(Crc32Of(AppFiles::CoreOld())) + "\r\n");
    project.AddFile("Proc1", XorDeltaPayload(AppFiles::CoreOld(), AppFiles::CoreNew()));
}

// From the report through the closing pages to the end of the program.
int FinishFromReport(WizardRun& run) {
    if (!run.WalkTo(ResMakerCaption)) return -3;
    return run.PressToExit(IdNext);
}

std::string ProbePath() { return ExecutableFolder() + "uninstaller_probe.exe"; }

// Every file of a folder tree with its content, by path below the folder.
void Snapshot(const std::string& folder, const std::string& below, std::map<std::string, std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + below + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Snapshot(folder, below + name + "\\", files);
        else
            files[below + name] = ReadTestFile(folder + below + name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    Snapshot(folder, "", files);
    return files;
}

std::string Listing(const std::map<std::string, std::string>& files) {
    std::string names;
    for (const auto& file : files) names += " " + file.first;
    return names;
}

// The runtime's own working folder: the "ZuliTmp*" folder that is not in
// `planted`.
std::string OwnWorkFolder(const std::vector<std::string>& planted) {
    for (const std::string& entry : ZuliTmpEntries(TemporaryFolder()))
        if (entry.back() == '\\' && std::find(planted.begin(), planted.end(), entry) == planted.end()) return entry;
    return std::string();
}

// Resource 2000 of `exe` replaced by `cabinet`, as a damaged download would
// carry it.
bool ReplaceCabinet(const std::string& exe, std::string cabinet) {
    HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
    if (!update) return false;
    if (!UpdateResourceA(update, MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(2000), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                         &cabinet[0], static_cast<DWORD>(cabinet.size()))) {
        EndUpdateResourceA(update, TRUE);
        return false;
    }
    return EndUpdateResourceA(update, FALSE) != 0;
}

}  // namespace

// With the backup box ticked, "Uninstaller.exe" is started only when the
// run's own cabinet carried it. A program of that name planted in every
// "ZuliTmp*" folder, those there before the start and the run's own one once
// the wizard is up, never runs.
TEST_F(WizardE2e, APlantedUninstallerIsNeverRunOnlyTheOneTheCabinetCarried) {
    struct Case {
        const char* what;
        bool carried;
    } cases[] = {{"planted only", false}, {"carried by the cabinet", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveZuliWorkFolders();
        InstallApplication(App());
        std::vector<std::string> planted;
        for (const char* name : {"ZuliTmp", "ZuliTmp00000000", "ZuliTmpFFFFFFFF", "ZuliTmp12345678"}) {
            std::string folder = TemporaryFolder() + name + "\\";
            ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
            ASSERT_TRUE(CopyFileA(ProbePath().c_str(), (folder + "Uninstaller.exe").c_str(), FALSE));
            planted.push_back(folder);
        }
        PatchProject project("planted uninstaller");
        project.SetOptionDefaults("100");  // backup ticked
        AddCoreUpdate(project);
        if (c.carried) project.AddFile("Uninstaller.exe", ReadTestFile(ProbePath()));
        WizardRun run;
        ASSERT_TRUE(Launch(project, run));

        std::string own = OwnWorkFolder(planted);
        ASSERT_FALSE(own.empty()) << "no working folder of its own";
        if (!c.carried) {
            ASSERT_FALSE(FileExists(own + "Uninstaller.exe"));
            ASSERT_TRUE(CopyFileA(ProbePath().c_str(), (own + "Uninstaller.exe").c_str(), FALSE));
        }
        ASSERT_TRUE(run.WalkTo(ResReportCaption));
        EXPECT_EQ(ControlText(run.Dialog(), IdTextBox), "R3002 " + Dir() + "\\core.dll R3100\r\n\r\n");
        EXPECT_EQ(FinishFromReport(run), 0);

        EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew());
        for (const std::string& folder : planted) {
            EXPECT_FALSE(FileExists(folder + "uninstaller.txt")) << "the program planted in " << folder << " ran";
            EXPECT_EQ(Listing(Snapshot(folder)), " Uninstaller.exe") << folder << " was changed";
        }
        // What is left of the run's own folder: what others put there.
        if (c.carried) {
            EXPECT_NE(ReadTestFile(own + "uninstaller.txt").find("command=Uninstaller.exe /I"), std::string::npos)
                << "the uninstaller the cabinet carried was not run";
            // The uninstaller's own record keeps the folder; what was unpacked goes.
            for (const char* name : {"Setup.ini", "Proc1", "Uninstaller.exe"})
                EXPECT_FALSE(FileExists(own + name)) << name << " stays: " << Listing(Snapshot(own));
        } else {
            EXPECT_EQ(Listing(Snapshot(own)), " Uninstaller.exe") << "the planted program ran, or unpacked files stay";
        }
    }
    RemoveZuliWorkFolders();
}

// "ZuliTmp", the name every run used to share, taken by a file, a folder of
// someone else's files, or a link to another folder: none of them is used or
// cleaned up, and the patch works all the same.
TEST_F(WizardE2e, APreExistingZuliTmpFileFolderOrLinkIsLeftAloneAndThePatchWorks) {
    ScratchFolder elsewhere("link target");
    std::string taken = TemporaryFolder() + "ZuliTmp";
    enum Kind { kFile, kFolder, kLink };
    struct Case {
        const char* what;
        Kind kind;
    } cases[] = {{"a file", kFile}, {"a folder", kFolder}, {"a link to another folder", kLink}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveZuliWorkFolders();
        InstallApplication(App());
        RemoveTree(elsewhere.Path());
        CreateDirectoryA(elsewhere.Path().c_str(), nullptr);
        WriteTestFile(elsewhere / "Setup.ini", "[Setup]\r\nProcCount=0\r\n");
        WriteTestFile(elsewhere / "Proc1", "someone else's payload");
        WriteTestFile(elsewhere / "keep.txt", "the user's own file");
        switch (c.kind) {
            case kFile:
                WriteTestFile(taken, "a file under the shared name");
                break;
            case kFolder:
                ASSERT_TRUE(CreateDirectoryA(taken.c_str(), nullptr));
                WriteTestFile(taken + "\\Setup.ini", "[Setup]\r\nProcCount=0\r\n");
                WriteTestFile(taken + "\\keep.txt", "the user's own file");
                break;
            case kLink:
                ASSERT_TRUE(MakeFolderLink(taken, elsewhere.Path()));
                break;
        }
        std::map<std::string, std::string> before = Snapshot(c.kind == kFolder ? taken + "\\" : elsewhere.Path());
        std::string fileBefore = c.kind == kFile ? ReadTestFile(taken) : std::string();

        PatchProject project("taken name");
        AddCoreUpdate(project);
        WizardRun run;
        ASSERT_TRUE(Launch(project, run));
        ASSERT_TRUE(run.WalkTo(ResReportCaption));
        EXPECT_EQ(ControlText(run.Dialog(), IdTextBox), "R3002 " + Dir() + "\\core.dll R3100\r\n\r\n");
        EXPECT_EQ(FinishFromReport(run), 0);

        EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew()) << "the patch did not work";
        EXPECT_EQ(Snapshot(c.kind == kFolder ? taken + "\\" : elsewhere.Path()), before)
            << "the other folder's files were changed";
        if (c.kind == kFile) {
            EXPECT_EQ(ReadTestFile(taken), fileBefore);
        }
        if (c.kind == kLink) {
            EXPECT_TRUE(IsLink(taken)) << "the link was removed";
        }
        std::vector<std::string> left = ZuliTmpEntries(TemporaryFolder());
        EXPECT_EQ(left.size(), 1u) << "the run's own working folder stays";
        RemoveZuliWorkFolders();
    }
}

// A second start while the wizard is open brings that wizard forward and
// ends with 1618, changing nothing of the first run; the first run then
// applies its patch.
TEST_F(WizardE2e, ASecondStartWhileTheWizardIsOpenEndsWithoutTouchingTheFirstRun) {
    PatchProject project("second start");
    AddCoreUpdate(project);
    std::string exe = project.Build();
    ASSERT_FALSE(exe.empty()) << project.BuildLog();
    WizardRun first;
    ASSERT_TRUE(first.Start(exe));
    ASSERT_TRUE(first.WalkTo(ResFolderCaption));
    std::string work = ZuliWorkFolder();
    ASSERT_FALSE(work.empty());
    std::map<std::string, std::string> before = Snapshot(work);
    ASSERT_NE(before.count("Setup.ini"), 0u) << Listing(before);

    // The same patch, and another one.
    PatchProject other("second start other");
    AddPresenceOnlyPatch(other);
    std::string otherExe = other.Build();
    ASSERT_FALSE(otherExe.empty()) << other.BuildLog();
    for (const std::string& started : {exe, otherExe}) {
        // Something else in front first, so that the wizard has to be brought back.
        HWND inFront = CreateWindowExA(0, "STATIC", "in front", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                     nullptr, nullptr);
        SetForegroundWindow(inFront);
        DrivenProgram second;
        ASSERT_TRUE(second.Start("\"" + started + "\""));
        // At once, not after waiting out the other run.
        EXPECT_EQ(second.WaitForExit(10000), kAnotherRunExitCode) << started;
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == first.Dialog(); }, 5000))
            << "the running wizard was not brought to the front";
        DestroyWindow(inFront);
        EXPECT_EQ(ZuliTmpEntries(TemporaryFolder()).size(), 1u) << "the second start made a working folder";
        EXPECT_EQ(Snapshot(work), before) << "the first run's files were changed";
        EXPECT_TRUE(first.Program().Running());
    }

    ASSERT_TRUE(first.WalkTo(ResReportCaption));
    EXPECT_EQ(ControlText(first.Dialog(), IdTextBox), "R3002 " + Dir() + "\\core.dll R3100\r\n\r\n");
    EXPECT_EQ(FinishFromReport(first), 0);
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew()) << "the first run did not apply its patch";
    ExpectSessionGone();
}

// The extractor's word is not taken for it: a cabinet that names a file it
// cannot deliver ends the start-up before the wizard, leaving nothing.
TEST_F(WizardE2e, ACabinetMissingAListedFileEndsTheStartUpWithoutAWindow) {
    PatchProject project("cut cabinet");
    AddCoreUpdate(project);
    std::string exe = project.Build();
    ASSERT_FALSE(exe.empty()) << project.BuildLog();
    // Proc1 spans two data blocks; without the second the cabinet still names
    // it with its full size.
    std::string script = "[Setup]\r\nProcCount=0\r\n";
    std::string payload(40000, 'P');
    std::string cabinet = MakeStoredCabinet({{"Setup.ini", script}, {"Proc1", payload}});
    std::size_t secondBlock = 8 + (script.size() + payload.size() - 32768);
    cabinet.resize(cabinet.size() - secondBlock);
    for (int i = 0; i < 4; ++i) cabinet[8 + i] = static_cast<char>((cabinet.size() >> (8 * i)) & 0xFF);
    ASSERT_TRUE(ReplaceCabinet(exe, cabinet));

    DrivenProgram patch;
    ASSERT_TRUE(patch.Start("\"" + exe + "\""));
    EXPECT_EQ(patch.WaitForExit(), kStartFailedExitCode) << "the run did not end by itself: it opened a window";
    ExpectSessionGone();
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreOld());
}

// With a temporary directory too long for the working folder's paths, or one
// GetTempPathA cannot hand back in full, the run ends quietly: the files of
// the folder it was started from (the user's own, under the names the
// working folder would hold) stay as they are.
TEST_F(WizardE2e, ALongTemporaryDirectoryEndsQuietlyAndLeavesTheStartFolderAlone) {
    PatchProject project("long temp");
    AddCoreUpdate(project);
    std::string exe = project.Build();
    ASSERT_FALSE(exe.empty()) << project.BuildLog();
    ScratchFolder start("start folder");
    for (const char* name : {"Data.cab", "Setup.ini", "Proc1", "Setup.img"})
        WriteTestFile(start / name, std::string("the user's ") + name);
    std::map<std::string, std::string> before = Snapshot(start.Path());

    ScratchFolder base("long temp base");
    for (std::size_t length : {252u, 255u, 259u, 300u}) {
        SCOPED_TRACE("TEMP of " + std::to_string(length) + " characters");
        std::string temp = base.Path() + std::string(length - base.Path().size(), 't');
        TempOverride redirect(temp);
        DrivenProgram patch;
        ASSERT_TRUE(patch.Start("\"" + exe + "\"", start.Path()));
        EXPECT_EQ(patch.WaitForExit(), kStartFailedExitCode) << "the run did not end by itself";
        EXPECT_EQ(Snapshot(start.Path()), before) << "the start folder was changed";
        EXPECT_TRUE(Snapshot(base.Path()).empty()) << Listing(Snapshot(base.Path()));
    }
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreOld());
}
