// The runtime's entry point: the start-up sequence and the wizard it opens.
// The command line (GetCommandLineA) is read by the start-up; the show state
// is not used. The exit code tells deployment tools how the run ended.
#include <windows.h>

#include "app/Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunPatchProgram(instance);
}
