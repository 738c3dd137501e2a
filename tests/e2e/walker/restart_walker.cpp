// The Windows half of the "restart answered Yes" test, run in a throwaway
// Wine prefix because the restart reaches every program of the prefix.
//
//   restart_walker INFO-FILE
//
// Installs a small application, builds a patch with zulibuild whose one
// entry updates the application's core.dll from an XOR delta at the next
// restart, keeps core.dll open as a running application would (so the
// check and the scratch copy must cope with a file in use), and walks the
// wizard to the restart question. There it writes
// INFO-FILE ("key=value" lines: target, expected new content, the runtime's
// working folder, the patch executable) and waits until INFO-FILE.go
// appears, so that the Linux side can look at the machine while the
// question is on screen. Then it answers Yes and waits for the patch to end.
// Exit code 0 when the patch ended by itself with code 0 after Yes; 1 when a
// step went wrong (the reason on stderr).
#include <windows.h>

#include <cstdio>
#include <string>

#include "harness/AppFixture.h"
#include "harness/Driver.h"
#include "harness/PatchEnvironment.h"
#include "harness/PatchProject.h"
#include "harness/WizardPages.h"
#include "harness/WizardRun.h"
#include "core/Handles.h"
#include "support/TestFiles.h"

namespace {

const char kAppFolder[] = "C:\\ZuliRestartApp\\";

int Fail(const char* what) {
    std::fprintf(stderr, "restart_walker: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: restart_walker INFO-FILE\n");
        return 2;
    }
    const std::string app = kAppFolder;
    RemoveTree(app);
    CreateDirectoryA(app.c_str(), nullptr);
    const std::string target = app + "core.dll";
    WriteTestFile(target, AppFiles::CoreOld());
    if (ReadTestFile(target) != AppFiles::CoreOld()) return Fail("cannot install core.dll");
    if (!SetRegistryString(HKEY_CURRENT_USER, kAppKey, "Path", app + "app.exe"))
        return Fail("cannot publish the application's folder");

    PatchProject project("restart yes");
    project.AddFile("Setup.ini", "[Setup]\r\nProcCount=1\r\n"
                                 "[Proc1]\r\nFILE=core.dll\r\nAct=2\r\nDelay=1\r\nDir=Reg\r\n"
                                 "RegKey=HKCU,Software\\ZuliE2E\\App,Path\r\nCRC=" +
                                     SignedDecimal(Crc32Of(AppFiles::CoreOld())) + "\r\n");
    project.AddFile("Proc1", XorDeltaPayload(AppFiles::CoreOld(), AppFiles::CoreNew()));
    const std::string patch = project.Build();
    if (patch.empty()) {
        std::fprintf(stderr, "%s\n", project.BuildLog().c_str());
        return Fail("zulibuild failed");
    }
    // The application is running: its library is open and may not be
    // replaced before the restart.
    UniqueFile held(CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held) return Fail("cannot hold core.dll open");

    WizardRun run;
    if (!run.Start(patch)) return Fail("the wizard did not appear");
    if (!run.WalkTo(ResMakerCaption)) return Fail("the walk to the maker credits page failed");
    HWND box = run.PressForMessageBox(IdNext);
    if (!box) return Fail("no restart question after a deferred replacement");
    if (WindowText(box) != Res(ResRestartCaption) || MessageBoxText(box) != Res(ResRestartText))
        return Fail("the restart question has the wrong caption or text");
    if (ReadTestFile(target) != AppFiles::CoreOld()) return Fail("core.dll changed before the restart");

    std::string info = "target=" + target + "\nexpected=" + AppFiles::CoreNew() + "\nwork=" + ZuliWorkFolder() +
                       "\npatch=" + patch + "\n";
    WriteTestFile(argv[1], info);
    if (ReadTestFile(argv[1]) != info) return Fail("cannot write the info file");
    const std::string go = std::string(argv[1]) + ".go";
    if (!WaitUntil([&] { return FileExists(go); }, 300000)) return Fail("no go-ahead for Yes");
    // A real restart ends the application before the system carries out the
    // pending replacements; Wine's restart leaves console programs running,
    // so the application lets go of its library before the answer.
    held.reset();
    std::printf("restart_walker: answering Yes\n");
    std::fflush(stdout);

    if (!PressButton(box, IDYES)) return Fail("cannot press Yes");
    // The restart request returns at once; the wizard then ends by itself.
    int code = run.Program().WaitForExit(60000);
    std::printf("restart_walker: the patch ended with exit code %d\n", code);
    return code == 3010 ? 0 : 1;  // done, restart required (it is under way)
}
