#include "core/SingleRun.h"

namespace {

// While the other run starts up or ends, it has no wizard to show: wait for
// it, a little at a time, rather than end while it is already leaving.
constexpr DWORD kPollMilliseconds = 200;
constexpr int kPolls = 150;

// Stops the enumeration (FALSE, which EnumWindows passes on) at the wizard.
BOOL CALLBACK BringWizardToFront(HWND window, LPARAM) {
    if (!GetPropA(window, kWizardMark)) return TRUE;
    ShowWindow(window, SW_RESTORE);  // out of the task bar, if minimised
    SetForegroundWindow(window);
    return FALSE;
}

}  // namespace

int ClaimSingleRun() {
    // Never closed: the mutex is released when the process ends, after the
    // clean-up has emptied the working folder.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kRunMutexName);
    if (!mutex) return 0;
    for (int poll = 0; poll < kPolls; ++poll) {
        // A run that ended without releasing it (killed) leaves it abandoned:
        // that run is over.
        DWORD waited = WaitForSingleObject(mutex, kPollMilliseconds);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return 1;
        if (!EnumWindows(BringWizardToFront, 0)) break;
    }
    CloseHandle(mutex);
    return 0;
}

int ClaimRunNow() {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kRunMutexName);
    if (!mutex) return 0;
    const DWORD waited = WaitForSingleObject(mutex, 0);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return 1;  // kept until the process ends
    CloseHandle(mutex);
    return 0;
}
