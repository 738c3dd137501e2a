// The programs a test started, directly or through others (a shell, the
// system's URL opener): a test that must show that something was NOT
// started, or that must let a child finish before removing its folder,
// waits until all of them have ended instead of waiting a fixed time.
#pragma once
#include <windows.h>

// Waits until no program started by this process (or by one it started, and
// so on) runs any more; false when one still runs after `timeoutMs`. Wine
// starts its own services and desktop from whichever program first needs
// them, and they stay for the whole session of the prefix: they are not
// counted.
bool WaitForStartedProgramsToEnd(DWORD timeoutMs = 120000);
