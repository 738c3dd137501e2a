// RestartComputer with the final ExitWindowsEx replaced by a recorder, so
// that the test run survives. On the NT family the shutdown privilege must be
// enabled before the request; on Windows 95/98/Me only the request is made,
// which a copy of this program checks under Wine's "win98" version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/Handoff.h"
#include "core/RunState.h"
#include "support/TestFiles.h"

namespace {

const char kNinetyEightCopy[] = "restart_test_win98.exe";
const char kNinetyEightDefaults[] = "Software\\Wine\\AppDefaults\\restart_test_win98.exe";
// Exit code of the copy when Wine did not give it the old version.
constexpr int kVersionNotApplied = 77;

LUID ShutdownLuid() {
    LUID luid{};
    LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid);
    return luid;
}

// -1 when the token does not hold the privilege at all, else 0 or 1.
int ShutdownPrivilegeState() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return -1;
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size ? size : 1);
    int state = -1;
    if (GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
        LUID wanted = ShutdownLuid();
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID& luid = privileges->Privileges[i].Luid;
            if (luid.LowPart == wanted.LowPart && luid.HighPart == wanted.HighPart)
                state = (privileges->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) ? 1 : 0;
        }
    }
    CloseHandle(token);
    return state;
}

bool SetShutdownPrivilege(bool enabled) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES change{};
    change.PrivilegeCount = 1;
    change.Privileges[0].Luid = ShutdownLuid();
    change.Privileges[0].Attributes = enabled ? SE_PRIVILEGE_ENABLED : 0;
    BOOL done = AdjustTokenPrivileges(token, FALSE, &change, 0, nullptr, nullptr);
    CloseHandle(token);
    return done && GetLastError() == ERROR_SUCCESS;
}

struct RestartCall {
    UINT flags;
    DWORD reason;
    int privilegeAtCall;
};
std::vector<RestartCall> restartCalls;

BOOL WINAPI RecordRestart(UINT flags, DWORD reason) {
    restartCalls.push_back({flags, reason, ShutdownPrivilegeState()});
    return TRUE;
}

bool RunningAsNinetyEightCopy() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name = path;
    return name.size() >= sizeof kNinetyEightCopy - 1 &&
           lstrcmpiA(name.c_str() + name.size() - (sizeof kNinetyEightCopy - 1), kNinetyEightCopy) == 0;
}

class RestartComputerTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = RequestRestart;
        RequestRestart = RecordRestart;
        restartCalls.clear();
        privilegeBefore_ = ShutdownPrivilegeState();
    }
    void TearDown() override {
        RequestRestart = saved_;
        if (privilegeBefore_ >= 0) SetShutdownPrivilege(privilegeBefore_ == 1);
    }

    RestartRequest saved_ = nullptr;
    int privilegeBefore_ = -1;
};

}  // namespace

TEST_F(RestartComputerTest, OnTheNtFamilyEnablesShutdownPrivilegeBeforeTheRequest) {
    if (RunningAsNinetyEightCopy()) GTEST_SKIP() << "the old-version copy runs only its own case";
    ASSERT_NE(ShutdownPrivilegeState(), -1) << "the process token should hold SeShutdownPrivilege";
    ASSERT_TRUE(SetShutdownPrivilege(false));
    ASSERT_EQ(ShutdownPrivilegeState(), 0);
    RunState.IsNT = 0;

    RestartComputer();

    EXPECT_EQ(RunState.IsNT, 1u) << "the platform is detected afresh";
    ASSERT_EQ(restartCalls.size(), 1u);
    EXPECT_EQ(restartCalls[0].flags, static_cast<UINT>(EWX_REBOOT));
    EXPECT_EQ(restartCalls[0].reason, 0u);
    EXPECT_EQ(restartCalls[0].privilegeAtCall, 1) << "the privilege must be enabled before the request";
    EXPECT_EQ(ShutdownPrivilegeState(), 1);
}

TEST_F(RestartComputerTest, AlreadyEnabledPrivilegeStaysEnabled) {
    if (RunningAsNinetyEightCopy()) GTEST_SKIP() << "the old-version copy runs only its own case";
    ASSERT_TRUE(SetShutdownPrivilege(true));

    RestartComputer();
    RestartComputer();

    ASSERT_EQ(restartCalls.size(), 2u) << "each call asks once";
    EXPECT_EQ(restartCalls[1].privilegeAtCall, 1);
}

TEST_F(RestartComputerTest, OnWindows98OnlyRequestsTheRestart) {
    if (RunningAsNinetyEightCopy()) {
        // Inside the copy that Wine presents as Windows 98.
        if (!(GetVersion() & 0x80000000u)) std::exit(kVersionNotApplied);
        ASSERT_TRUE(SetShutdownPrivilege(false));
        RunState.IsNT = 1;
        RestartComputer();
        EXPECT_EQ(RunState.IsNT, 0u);
        ASSERT_EQ(restartCalls.size(), 1u);
        EXPECT_EQ(restartCalls[0].flags, static_cast<UINT>(EWX_REBOOT));
        EXPECT_EQ(restartCalls[0].privilegeAtCall, 0) << "no privilege is requested on Windows 98";
        return;
    }

    std::string copy = ExecutableFolder() + kNinetyEightCopy;
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
    HKEY defaults = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kNinetyEightDefaults, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &defaults, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(defaults, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
    RegCloseKey(defaults);

    int code = RunProgram("\"" + copy + "\" --gtest_filter=RestartComputerTest.OnWindows98OnlyRequestsTheRestart");

    RegDeleteKeyA(HKEY_CURRENT_USER, kNinetyEightDefaults);
    DeleteFileA(copy.c_str());
    if (code == kVersionNotApplied) GTEST_SKIP() << "this Wine does not present Windows 98 to a 64-bit program";
    EXPECT_EQ(code, 0) << "the Windows 98 copy's checks failed";
}
