// The run's lock: which names a run tries and in which namespace, who counts
// as an administrator, the private namespace's calls, and a real lock made
// under the names this system has.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/AdministratorToken.h"
#include "core/SingleRun.h"

namespace {

std::string Text(const char* text) { return text ? text : "(none)"; }

// S-1-5-32-544, built by the system rather than written out as the code does.
struct AdministratorsGroup {
    PSID sid = nullptr;
    AdministratorsGroup() {
        SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
        AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &sid);
    }
    ~AdministratorsGroup() { FreeSid(sid); }
    bool Is(const void* other) const { return other && EqualSid(sid, const_cast<void*>(other)); }
};

TEST(RunLockPlan, NamesAndNamespaceForEachKindOfRun) {
    struct Case {
        bool administrator;
        bool inNamespace;  // the first name lies in a namespace bounded by the Administrators group
        std::vector<std::string> names;
    };
    const Case cases[] = {
        // Elevated and SYSTEM runs: one lock for the whole machine, in a
        // namespace no standard user can make; the global name where the
        // namespace cannot be had; the bare name where neither can be made.
        {true, true, {"Zuli\\ZuliPatchRun", "Global\\ZuliPatchRun", "ZuliPatchRun"}},
        // A user's unelevated run: the session's own namespace.
        {false, false, {"Local\\ZuliPatchRun", "ZuliPatchRun"}},
    };
    AdministratorsGroup administrators;
    for (const Case& c : cases) {
        const RunLockPlan& plan = PlanRunLock(c.administrator);
        const std::string label = c.administrator ? "administrator" : "user";
        EXPECT_EQ(plan.boundary != nullptr, c.inNamespace) << label;
        if (c.inNamespace) {
            EXPECT_TRUE(administrators.Is(plan.boundary)) << label << ": not the Administrators group";
        }
        std::vector<std::string> names;
        for (const char* name : plan.names) {
            if (!name) break;
            names.push_back(name);
        }
        EXPECT_EQ(names, c.names) << label;
    }
}

// Elevated, SYSTEM, or an administrator without UAC: the Administrators
// group enabled in the token, as the system's own check finds it.
TEST(RunLockPlan, AdministratorIsWhatTheSystemsMembershipCheckSays) {
    AdministratorsGroup administrators;
    BOOL member = FALSE;
    ASSERT_TRUE(CheckTokenMembership(nullptr, administrators.sid, &member));
    EXPECT_EQ(RunsAsAdministrator(), member != FALSE);
}

// A private namespace the test pretends to have: it records the calls and
// answers as told. The names it makes mutexes under are the test's own, so
// that no run of the suite is held up.
struct FakeNamespace {
    static FakeNamespace* current;
    bool boundaryMade = true;
    DWORD createError = 0;  // 0: made; else the error CreatePrivateNamespaceA fails with
    bool opens = true;
    std::vector<std::string> calls;
    bool restricted = false;

    static HANDLE WINAPI CreateBoundary(LPCSTR name, ULONG) {
        current->calls.push_back(std::string("boundary ") + name);
        if (current->boundaryMade) return reinterpret_cast<HANDLE>(0x1000);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    static BOOL WINAPI AddSid(HANDLE* boundary, PSID sid) {
        current->calls.push_back(AdministratorsGroup().Is(sid) ? "add Administrators" : "add another SID");
        return *boundary == reinterpret_cast<HANDLE>(0x1000);
    }
    static HANDLE WINAPI CreateNamespace(LPSECURITY_ATTRIBUTES attributes, LPVOID, LPCSTR alias) {
        current->calls.push_back(std::string("create ") + alias);
        current->restricted = attributes && attributes->lpSecurityDescriptor;
        if (current->createError == 0) return reinterpret_cast<HANDLE>(0x2000);
        SetLastError(current->createError);
        return nullptr;
    }
    static HANDLE WINAPI OpenNamespace(LPVOID, LPCSTR alias) {
        current->calls.push_back(std::string("open ") + alias);
        if (current->opens) return reinterpret_cast<HANDLE>(0x2000);
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    NamespaceCalls Calls() {
        current = this;
        return {CreateBoundary, AddSid, CreateNamespace, OpenNamespace};
    }
};
FakeNamespace* FakeNamespace::current = nullptr;

TEST(RunLockPlan, TheNamespaceIsMadeOrOpenedFirstAndItsFailureFallsBackToTheNextName) {
    const std::string id = std::to_string(GetCurrentProcessId());
    const std::string inNamespace = "ZuliLockTestFirst" + id;
    const std::string fallback = "Local\\ZuliLockTestNext" + id;
    AdministratorsGroup administrators;
    RunLockPlan plan{};
    plan.boundary = static_cast<const unsigned char*>(administrators.sid);
    plan.names[0] = inNamespace.c_str();
    plan.names[1] = fallback.c_str();

    struct Case {
        const char* what;
        bool functions;  // the system has the namespace functions
        bool boundaryMade;
        DWORD createError;
        bool opens;
        std::vector<std::string> calls;
        const std::string* taken;
        DWORD skippedError;  // the error of the namespace's last call; 0: not skipped
    };
    const std::vector<std::string> made = {"boundary Zuli", "add Administrators", "create Zuli"};
    const std::vector<std::string> opened = {"boundary Zuli", "add Administrators", "create Zuli", "open Zuli"};
    const Case cases[] = {
        {"made", true, true, 0, true, made, &inNamespace, 0},
        {"made by another run", true, true, ERROR_ALREADY_EXISTS, true, opened, &inNamespace, 0},
        {"neither made nor opened", true, true, ERROR_ALREADY_EXISTS, false, opened, &fallback, ERROR_PATH_NOT_FOUND},
        {"no boundary", true, false, 0, true, {"boundary Zuli"}, &fallback, ERROR_NOT_ENOUGH_MEMORY},
        {"refused", true, true, ERROR_ACCESS_DENIED, true, made, &fallback, ERROR_ACCESS_DENIED},
        // Before Windows Vista, and under Wine 8.
        {"no private namespaces", false, true, 0, true, {}, &fallback, ERROR_PROC_NOT_FOUND},
    };
    for (const Case& c : cases) {
        FakeNamespace fake;
        fake.boundaryMade = c.boundaryMade;
        fake.createError = c.createError;
        fake.opens = c.opens;
        NamespaceCalls calls = fake.Calls();
        if (!c.functions) calls = NamespaceCalls{};
        RunLockNote note;
        HANDLE mutex = OpenRunLock(plan, calls, note);
        EXPECT_NE(mutex, nullptr) << c.what;
        if (mutex) CloseHandle(mutex);
        EXPECT_EQ(fake.calls, c.calls) << c.what;
        if (c.calls.size() > 2) {
            EXPECT_TRUE(fake.restricted) << c.what << ": the namespace is made open to anyone";
        }
        EXPECT_EQ(Text(note.name), *c.taken) << c.what;
        EXPECT_EQ(Text(note.skipped), c.skippedError ? inNamespace : "(none)") << c.what;
        if (c.skippedError) {
            EXPECT_EQ(note.skippedError, c.skippedError) << c.what;
        }
    }

    // A name without a namespace goes straight to the mutex.
    FakeNamespace untouched;
    RunLockPlan plain = plan;
    plain.boundary = nullptr;
    RunLockNote note;
    HANDLE mutex = OpenRunLock(plain, untouched.Calls(), note);
    ASSERT_NE(mutex, nullptr);
    CloseHandle(mutex);
    EXPECT_TRUE(untouched.calls.empty());
    EXPECT_EQ(Text(note.name), inNamespace);

    // A name another kind of object holds cannot be used: the next one is.
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, inNamespace.c_str());
    ASSERT_NE(squatter, nullptr);
    RunLockNote next;
    mutex = OpenRunLock(plain, untouched.Calls(), next);
    EXPECT_NE(mutex, nullptr);
    if (mutex) CloseHandle(mutex);
    CloseHandle(squatter);
    EXPECT_EQ(Text(next.name), fallback);
    EXPECT_EQ(Text(next.skipped), inNamespace);
    EXPECT_EQ(next.skippedError, static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// The lock a run of this test's rights takes here, made for real (and not
// waited for, so that no run of the suite is held up). Wine 8 has no private
// namespaces (kernel32 exports none of their functions): there the
// administrator's run takes the global name, which this checks; a system
// that has them gives the name in the namespace.
TEST(RunLockPlan, ARealLockUnderTheNameThisRunPlans) {
    const NamespaceCalls calls = SystemNamespaceCalls();
    const bool administrator = RunsAsAdministrator();
    const bool privateNamespaces = calls.createBoundary != nullptr;
    EXPECT_EQ(privateNamespaces, GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreatePrivateNamespaceA") != nullptr);
    RunLockNote note;
    HANDLE mutex = OpenRunLock(PlanRunLock(administrator), calls, note);
    ASSERT_NE(mutex, nullptr) << "skipped " << Text(note.skipped) << ", error " << note.skippedError;
    const std::string expected = administrator && privateNamespaces ? "Zuli\\ZuliPatchRun"
                                 : administrator                   ? "Global\\ZuliPatchRun"
                                                                   : "Local\\ZuliPatchRun";
    EXPECT_EQ(Text(note.name), expected);
    if (administrator && !privateNamespaces) {
        EXPECT_EQ(Text(note.skipped), "Zuli\\ZuliPatchRun");
        EXPECT_EQ(note.skippedError, static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    } else {
        EXPECT_EQ(Text(note.skipped), "(none)") << "error " << note.skippedError;
    }
    // The same mutex under that name, seen from here.
    HANDLE seen = OpenMutexA(SYNCHRONIZE, FALSE, expected.c_str());
    EXPECT_NE(seen, nullptr) << expected << " does not exist";
    if (seen) CloseHandle(seen);
    if (administrator) {
        // Administrators alone may use it: SYSTEM's run and an elevated one
        // open each other's lock, a standard user opens neither.
        char descriptor[512];
        DWORD size = 0;
        ASSERT_TRUE(GetKernelObjectSecurity(mutex, DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor, &size));
        BOOL present = FALSE, defaulted = FALSE;
        PACL acl = nullptr;
        ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted));
        ASSERT_TRUE(present && acl);
        AdministratorsGroup administrators;
        ASSERT_EQ(acl->AceCount, 1u);
        ACCESS_ALLOWED_ACE* ace = nullptr;
        ASSERT_TRUE(GetAce(acl, 0, reinterpret_cast<void**>(&ace)));
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        EXPECT_TRUE(administrators.Is(&ace->SidStart));
        // Stored as asked, or mapped to the mutex's own rights.
        EXPECT_TRUE((ace->Mask & GENERIC_ALL) || (ace->Mask & MUTEX_ALL_ACCESS) == MUTEX_ALL_ACCESS)
            << std::hex << ace->Mask;
    }
    CloseHandle(mutex);
}

}  // namespace
