#include "core/SingleRun.h"

#include <cstring>

#include "core/AdministratorToken.h"

namespace {

// While the other run starts up or ends, it has no wizard to show: wait for
// it, a little at a time, rather than end while it is already leaving.
constexpr DWORD kPollMilliseconds = 200;
constexpr int kPolls = 150;

// The private namespace's prefix, and its boundary's name.
constexpr char kNamespace[] = "Zuli";

// In the order of NamespaceCalls' members.
constexpr char kNamespaceFunctions[] =
    "CreateBoundaryDescriptorA\0AddSIDToBoundaryDescriptor\0CreatePrivateNamespaceA\0OpenPrivateNamespaceA\0";

// Administrators may do anything with the namespace and the mutex: a
// deployment tool's run (SYSTEM, whose token holds the group too) and an
// elevated one open each other's lock; the global name where the namespace
// cannot be had (which anyone may take first). Users take their session's.
// The name without a prefix is the one systems without namespaces (Windows
// NT 4) can make.
const RunLockPlan kPlans[2] = {
    {nullptr, {"Local\\ZuliPatchRun", kRunMutexName, nullptr}},
    {kAdministratorsSid, {"Zuli\\ZuliPatchRun", "Global\\ZuliPatchRun", kRunMutexName}},
};

// Administrators (S-1-5-32-544) may do everything, nobody else anything: a
// self-relative security descriptor written out, as systems before Windows
// 2000 cannot read the text form.
alignas(4) const unsigned char kAdministratorsOnly[] = {
    1, 0, 0x04, 0x80,                    // revision; control: self-relative, access list present
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // no owner, group or audit list
    20, 0, 0, 0,                         // the access list follows
    2, 0, 32, 0, 1, 0, 0, 0,             // access list: revision, size, one entry
    0, 0, 24, 0, 0, 0, 0, 0x10,          // allowed: everything (GENERIC_ALL)
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0,
};

const SECURITY_ATTRIBUTES kRestricted = {sizeof kRestricted, const_cast<unsigned char*>(kAdministratorsOnly), FALSE};

// Makes the administrators' namespace, or opens it when another run made it
// first; its handle is never closed (the process' end closes it). False when
// it can be neither made nor opened.
bool EnterNamespace(const NamespaceCalls& calls, const unsigned char* boundarySid, LPSECURITY_ATTRIBUTES attributes) {
    if (!calls.createBoundary) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return false;
    }
    HANDLE boundary = calls.createBoundary(kNamespace, 0);
    if (!boundary || !calls.addSid(&boundary, const_cast<unsigned char*>(boundarySid))) return false;
    if (calls.createNamespace(attributes, boundary, kNamespace)) return true;
    return GetLastError() == ERROR_ALREADY_EXISTS && calls.openNamespace(boundary, kNamespace);
}

// Stops the enumeration (FALSE, which EnumWindows passes on) at the wizard.
BOOL CALLBACK BringWizardToFront(HWND window, LPARAM) {
    if (!GetPropA(window, kWizardMark)) return TRUE;
    ShowWindow(window, SW_RESTORE);  // out of the task bar, if minimised
    SetForegroundWindow(window);
    return FALSE;
}

inline HANDLE OpenOwnRunLock(RunLockNote& note) {
    return OpenRunLock(PlanRunLock(RunsAsAdministrator()), SystemNamespaceCalls(), note);
}

// A run that ended without releasing it (killed) leaves it abandoned: that
// run is over.
bool Acquired(DWORD waited) { return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED; }

}  // namespace

const RunLockPlan& PlanRunLock(bool administrator) { return kPlans[administrator ? 1 : 0]; }

NamespaceCalls SystemNamespaceCalls() {
    // All four or none: a system (or an emulation of one) with only some of
    // them has no namespace to offer.
    FARPROC found[4];
    static_assert(sizeof found == sizeof(NamespaceCalls), "one function each");
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const char* name = kNamespaceFunctions;
    for (FARPROC& function : found) {
        function = GetProcAddress(kernel, name);
        if (!function) return NamespaceCalls{};
        name += lstrlenA(name) + 1;
    }
    NamespaceCalls calls;
    std::memcpy(&calls, found, sizeof calls);
    return calls;
}

HANDLE OpenRunLock(const RunLockPlan& plan, const NamespaceCalls& calls, RunLockNote& note) {
    note = RunLockNote{};
    LPSECURITY_ATTRIBUTES restricted = plan.boundary ? const_cast<LPSECURITY_ATTRIBUTES>(&kRestricted) : nullptr;
    const char* const* name = plan.names;
    // The namespace's name is skipped when the namespace cannot be had.
    if (plan.boundary && !EnterNamespace(calls, plan.boundary, restricted)) {
        note.skipped = *name++;
        note.skippedError = GetLastError();
    }
    for (; name != plan.names + 3 && *name; ++name) {
        note.name = *name;
        if (HANDLE mutex = CreateMutexA(restricted, FALSE, *name)) return mutex;
        if (!note.skipped) {
            note.skipped = *name;
            note.skippedError = GetLastError();
        }
    }
    return nullptr;
}

int ClaimSingleRun(RunLockNote& note) {
    // Never closed: the mutex is released when the process ends, after the
    // clean-up has emptied the working folder.
    HANDLE mutex = OpenOwnRunLock(note);
    if (!mutex) return 0;
    for (int poll = 0; poll < kPolls; ++poll) {
        if (Acquired(WaitForSingleObject(mutex, kPollMilliseconds))) return 1;
        if (!EnumWindows(BringWizardToFront, 0)) break;
    }
    CloseHandle(mutex);
    return 0;
}

int ClaimRunNow(RunLockNote& note) {
    HANDLE mutex = OpenOwnRunLock(note);
    if (!mutex) return 0;
    if (Acquired(WaitForSingleObject(mutex, 0))) return 1;  // kept until the process ends
    CloseHandle(mutex);
    return 0;
}
