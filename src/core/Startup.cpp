#include "core/Startup.h"

#include <commctrl.h>

#include "core/RunState.h"

int RunPatchProgram(HINSTANCE instance) {
    RunState.CurrentPage = 1;
    RunState.Instance = instance;
    InitCommonControls();
    return 0;
}
