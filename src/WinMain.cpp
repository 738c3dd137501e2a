// The runtime's entry point. It takes no command line and no show state: the
// whole program is the start-up sequence and the wizard it opens.
#include <windows.h>

#include "core/Startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunPatchProgram(instance);
}
