// Walks a patch's wizard from outside, page by page, as a user who accepts
// every default would: agrees on the agreement page, answers No to the
// restart question. Used by the demo to apply its patch unattended.
//
//   demo_walker PATCH.EXE [SHOT-FOLDER]
//
// Prints every page's title and, on the report page, the report. With a
// shot folder, it asks for a screenshot of every page: it writes
// "NN-request" there and waits until the file is gone again (the demo
// script takes the picture and deletes it). Exit code 0 when the wizard
// ran to its end.
#include <windows.h>

#include <cstdio>
#include <string>

#include "harness/Driver.h"
#include "wizard/ControlIds.h"

namespace {

std::string g_shots;
int g_shotCount = 0;

void RequestShot(const std::string& what) {
    if (g_shots.empty()) return;
    char name[32];
    std::snprintf(name, sizeof name, "%02d-request", ++g_shotCount);
    std::string request = g_shots + name;
    HANDLE file = CreateFileA(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, what.data(), static_cast<DWORD>(what.size()), &written, nullptr);
    CloseHandle(file);
    WaitUntil([&] { return GetFileAttributesA(request.c_str()) == INVALID_FILE_ATTRIBUTES; }, 60000);
}

// Waits until a page's work is over: Next usable again, a message box up,
// or the program gone.
HWND WaitForPage(DrivenProgram& program, HWND dialog) {
    HWND box = nullptr;
    WaitUntil([&] {
        if (!program.Running()) return true;
        for (HWND window : program.TopWindows())
            if (window != dialog && ClassNameOf(window) == "#32770") {
                box = window;
                return true;
            }
        return ControlEnabled(dialog, IdNext) || ControlVisible(dialog, IdAgree);
    }, 120000);
    if (!box) program.WaitIdle(dialog);
    return box;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: demo_walker PATCH.EXE [SHOT-FOLDER]\n");
        return 2;
    }
    if (argc > 2) {
        g_shots = argv[2];
        if (g_shots.back() != '\\' && g_shots.back() != '/') g_shots += '\\';
    }
    DrivenProgram program;
    if (!program.Start("\"" + std::string(argv[1]) + "\"")) {
        std::fprintf(stderr, "demo_walker: cannot start %s\n", argv[1]);
        return 1;
    }
    HWND dialog = program.WaitForWindow("#32770");
    if (!dialog) {
        std::fprintf(stderr, "demo_walker: the wizard did not appear\n");
        return 1;
    }
    program.WaitIdle(dialog);
    std::string previous;
    for (int step = 0; step < 40 && program.Running(); ++step) {
        HWND box = WaitForPage(program, dialog);
        if (!program.Running()) break;
        if (box) {
            std::string text = MessageBoxText(box);
            std::printf("message box \"%s\": %s\n", WindowText(box).c_str(), text.c_str());
            RequestShot("message box " + WindowText(box));
            // A failed check ends the walk (Cancel); the restart question is
            // answered No, so the demo never restarts anything.
            bool restart = GetDlgItem(box, IDNO) != nullptr;
            PressButton(box, restart ? IDNO : IDCANCEL);
            program.WaitForExit(30000);
            break;
        }
        std::string title = WindowText(dialog);
        std::printf("page: %s\n", title.c_str());
        if (ControlVisible(dialog, IdTextBox) && title != previous &&
            ControlText(dialog, IdTextBox).find("\r\n\r\n") != std::string::npos && !ControlVisible(dialog, IdAgree))
            std::printf("---- report ----\n%s---- end of report ----\n", ControlText(dialog, IdTextBox).c_str());
        std::fflush(stdout);
        RequestShot(title);
        if (ControlVisible(dialog, IdAgree) && !ControlEnabled(dialog, IdNext)) {
            PressButton(dialog, IdAgree);  // the agreement
            WaitUntil([&] { return ControlEnabled(dialog, IdNext); }, 10000);
        }
        previous = title;
        if (!PressButton(dialog, IdNext)) {
            std::fprintf(stderr, "demo_walker: Next cannot be pressed on \"%s\"\n", title.c_str());
            return 1;
        }
        // Wait until the title changes or the program ends.
        WaitUntil([&] { return !program.Running() || WindowText(dialog) != title; }, 120000);
        if (program.Running() && WindowText(dialog) == title) break;
    }
    int code = program.WaitForExit(60000);
    std::printf("the wizard ended with exit code %d\n", code);
    return code == 0 ? 0 : 1;
}
