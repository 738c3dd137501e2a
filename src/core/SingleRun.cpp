#include "core/SingleRun.h"

#include "core/AdministratorToken.h"

namespace {

// While the other run starts up or ends, it has no wizard to show: wait for
// it, a little at a time, rather than end while it is already leaving.
constexpr DWORD kPollMilliseconds = 200;
constexpr int kPolls = 150;

// The private namespace's prefix, and its boundary's name.
constexpr char kNamespace[] = "Zuli";

// Administrators (S-1-5-32-544) may do anything with the namespace and the
// mutex, nobody else anything: a self-relative security descriptor written
// out, as systems before Windows 2000 cannot read the text form. SYSTEM's
// token holds the group too, so a deployment tool's run and an elevated one
// open each other's lock.
alignas(4) const unsigned char kAdministratorsOnly[] = {
    1, 0, 0x04, 0x80,                    // revision; control: self-relative, access list present
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // no owner, group or audit list
    20, 0, 0, 0,                         // the access list follows
    2, 0, 32, 0, 1, 0, 0, 0,             // access list: revision, size, one entry
    0, 0, 24, 0, 0, 0, 0, 0x10,          // allowed: everything (GENERIC_ALL)
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0,
};

template <typename Function>
void LookUp(Function& function, HMODULE module, const char* name) {
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Makes the administrators' namespace, or opens it when another run made it
// first; its handle is never closed (the process' end closes it). False when
// it can be neither made nor opened.
bool EnterNamespace(const NamespaceCalls& calls, const unsigned char* boundarySid, LPSECURITY_ATTRIBUTES attributes) {
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

HANDLE OpenOwnRunLock(RunLockNote& note) {
    const NamespaceCalls calls = SystemNamespaceCalls();
    const bool administrator = RunsAsAdministrator();
    const bool privateNamespaces = calls.createBoundary != nullptr;
    HANDLE mutex = OpenRunLock(PlanRunLock(administrator, privateNamespaces), calls, administrator, note);
    // An administrator's lock that anyone may take first is said in the log
    // too: the system has no private namespaces.
    if (administrator && !privateNamespaces && !note.skipped) {
        note.skipped = PlanRunLock(true, true).names[0];
        note.skippedError = ERROR_PROC_NOT_FOUND;
    }
    return mutex;
}

// A run that ended without releasing it (killed) leaves it abandoned: that
// run is over.
bool Acquired(DWORD waited) { return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED; }

}  // namespace

RunLockPlan PlanRunLock(bool administrator, bool privateNamespaces) {
    RunLockPlan plan{};
    int next = 0;
    if (administrator && privateNamespaces) {
        plan.boundary = kAdministratorsSid;
        plan.names[next++] = "Zuli\\ZuliPatchRun";
    }
    // Where the namespace cannot be had, administrators share the machine's
    // global name (which anyone may take first) and users their session's.
    plan.names[next++] = administrator ? "Global\\ZuliPatchRun" : "Local\\ZuliPatchRun";
    plan.names[next] = kRunMutexName;
    return plan;
}

NamespaceCalls SystemNamespaceCalls() {
    NamespaceCalls calls{};
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    LookUp(calls.createBoundary, kernel, "CreateBoundaryDescriptorA");
    LookUp(calls.addSid, kernel, "AddSIDToBoundaryDescriptor");
    LookUp(calls.createNamespace, kernel, "CreatePrivateNamespaceA");
    LookUp(calls.openNamespace, kernel, "OpenPrivateNamespaceA");
    if (!calls.addSid || !calls.createNamespace || !calls.openNamespace) calls = NamespaceCalls{};
    return calls;
}

HANDLE OpenRunLock(const RunLockPlan& plan, const NamespaceCalls& calls, bool administrator, RunLockNote& note) {
    note = RunLockNote{};
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, const_cast<unsigned char*>(kAdministratorsOnly), FALSE};
    LPSECURITY_ATTRIBUTES restricted = administrator ? &attributes : nullptr;
    for (const char* name : plan.names) {
        if (!name) break;
        HANDLE mutex = nullptr;
        if (name != plan.names[0] || !plan.boundary || EnterNamespace(calls, plan.boundary, restricted))
            mutex = CreateMutexA(restricted, FALSE, name);
        if (mutex) {
            note.name = name;
            return mutex;
        }
        if (!note.skipped) {
            note.skipped = name;
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
