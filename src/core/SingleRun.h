// One patch run at a time. Every run has a working folder of its own, but
// two wizards changing the same program at once would still undo each
// other's work. A run's lock is a mutex held for as long as it runs:
// administrators' runs (elevated, or SYSTEM) share one across every session
// of the machine, in a private namespace that only the Administrators can
// make, so that no standard user can take the name first and hold every
// administrator's run up; a user's unelevated run takes one in its own
// session.
#pragma once
#include <windows.h>

// The exit code of a start that found another run going.
constexpr int kAnotherRunExitCode = 1618;  // ERROR_INSTALL_ALREADY_RUNNING

// The lock's name without a prefix: the one name systems before Windows 2000
// know (they have neither session namespaces nor private ones).
constexpr char kRunMutexName[] = "ZuliPatchRun";

// Where a run looks for its lock: the names tried in turn, until a mutex of
// that name can be made or opened. A name that is held ends the search: the
// run does not go on to the next one.
struct RunLockPlan {
    // The group a private namespace's boundary requires, when the first name
    // lies in one (its prefix is the namespace's); null when none does. Its
    // plan's mutex and namespace let in the Administrators alone.
    const unsigned char* boundary;
    const char* names[3];  // null after the last
};

// The plan of a run as an administrator (RunsAsAdministrator) or not.
const RunLockPlan& PlanRunLock(bool administrator);

// The private namespace functions, looked up at run time: systems before
// Windows Vista lack them and must still start.
struct NamespaceCalls {
    HANDLE(WINAPI* createBoundary)(LPCSTR, ULONG);
    BOOL(WINAPI* addSid)(HANDLE*, PSID);
    HANDLE(WINAPI* createNamespace)(LPSECURITY_ATTRIBUTES, LPVOID, LPCSTR);
    HANDLE(WINAPI* openNamespace)(LPVOID, LPCSTR);
};
// Those of kernel32 (null where it lacks them).
NamespaceCalls SystemNamespaceCalls();

// What became of the plan, for the log.
struct RunLockNote {
    const char* name;     // the lock found (held or not), else the last name that could not be used
    const char* skipped;  // the first name that could not be used, or null
    DWORD skippedError;   // why (ERROR_PROC_NOT_FOUND: the system has no private namespaces)
};

// The mutex of the first name of `plan` that can be made or opened (not
// waited for), the private namespace made or opened first when the plan asks
// for one; null when no name can be used. The namespace's handle stays open
// until the process ends.
HANDLE OpenRunLock(const RunLockPlan& plan, const NamespaceCalls& calls, RunLockNote& note);

// 1 when this process now holds the run's lock (until it ends), without
// waiting; 0 when a patch or a restore is running (or no name can be used:
// one that cannot be opened is taken to be held).
int ClaimRunNow(RunLockNote& note);

// 1 when this process may run: it then holds the run's lock until it ends.
// 0 when another run holds it; its wizard has then been brought to the front
// and this process must end without touching anything.
int ClaimSingleRun(RunLockNote& note);
// The property that marks the wizard window, so that a second start can find
// it; removed again when the wizard ends.
constexpr char kWizardMark[] = "ZuliPatchWizard";
inline void MarkWizardWindow(HWND window) { SetPropA(window, kWizardMark, reinterpret_cast<HANDLE>(1)); }
inline void UnmarkWizardWindow(HWND window) { RemovePropA(window, kWizardMark); }
