// The runtime's entry point: the start-up sequence and the wizard it opens.
// The command line (GetCommandLineA) is read by the start-up; the show state
// is not used. The exit code tells deployment tools how the run ended.
#include <windows.h>

#include "app/Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunPatchProgram(instance);
}

// The runtime does no floating-point mathematics, so it needs none of the C
// library's reports of its errors; this default (take the library's result)
// keeps the library's own handler, and the texts and console output it
// brings along, out of the program.
extern "C" int _matherr(struct _exception*) { return 0; }
