#include "harness/UnattendedRun.h"

#include <windows.h>

#include "harness/Driver.h"

UnattendedResult RunUnattended(const std::string& patchExe, const std::string& arguments, unsigned timeoutMs) {
    UnattendedResult result;
    DrivenProgram program;
    if (!program.Start("\"" + patchExe + "\" " + arguments)) return result;
    DWORD start = GetTickCount();
    while (program.Running() && GetTickCount() - start < timeoutMs) {
        for (HWND window : program.TopWindows()) {
            std::string title = "[" + WindowText(window) + "]";
            if (result.windowsSeen.find(title) == std::string::npos) result.windowsSeen += title;
        }
        program.WaitForExit(10);  // the next look at its windows, or its end
    }
    result.exitCode = program.WaitForExit(1000);
    return result;
}
