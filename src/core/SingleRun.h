// One patch run at a time in a user's session. Every run has a working
// folder of its own, but two wizards changing the same program at once would
// still undo each other's work.
#pragma once
#include <windows.h>

// The exit code of a start that found another run going.
constexpr int kAnotherRunExitCode = 1618;  // ERROR_INSTALL_ALREADY_RUNNING

// Held by a patch run, and by a restore of a backup, for as long as either
// runs. Without a "Global\" prefix the name lives in the session's own
// namespace: another user's patch on the same machine is not held up.
constexpr char kRunMutexName[] = "ZuliPatchRun";

// 1 when this process now holds the run's mutex (until it ends), without
// waiting; 0 when a patch or a restore is running.
int ClaimRunNow();

// 1 when this process may run: it then holds the run's mutex until it ends.
// 0 when another run holds it; its wizard has then been brought to the front
// and this process must end without touching anything.
int ClaimSingleRun();
// The property that marks the wizard window, so that a second start can find
// it; removed again when the wizard ends.
constexpr char kWizardMark[] = "ZuliPatchWizard";
inline void MarkWizardWindow(HWND window) { SetPropA(window, kWizardMark, reinterpret_cast<HANDLE>(1)); }
inline void UnmarkWizardWindow(HWND window) { RemovePropA(window, kWizardMark); }
