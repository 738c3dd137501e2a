#include "support/StartedPrograms.h"

#include <tlhelp32.h>

#include <set>

#include "support/WaitUntil.h"

namespace {

// Wine's own programs, started on demand by the first program that needs
// them and ended only with the session.
bool IsWineSessionProgram(const char* exeName) {
    static const char* const kSessionPrograms[] = {"explorer.exe", "services.exe", "winedevice.exe", "plugplay.exe",
                                                   "rpcss.exe",    "svchost.exe",  "conhost.exe"};
    for (const char* name : kSessionPrograms)
        if (lstrcmpiA(exeName, name) == 0) return true;
    return false;
}

}  // namespace

bool WaitForStartedProgramsToEnd(DWORD timeoutMs) {
    // Every process ever seen to descend from this one, kept across looks:
    // a launcher that has ended still counts as the parent of what it
    // started.
    std::set<DWORD> family{GetCurrentProcessId()};
    return WaitUntil([&] {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return false;
        std::set<DWORD> running;
        // Parents are listed before or after their children: repeat until
        // no new member is found.
        for (bool grown = true; grown;) {
            grown = false;
            PROCESSENTRY32 entry{};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
                if (entry.th32ProcessID == GetCurrentProcessId() || IsWineSessionProgram(entry.szExeFile)) continue;
                if (family.count(entry.th32ParentProcessID) == 0) continue;
                grown |= family.insert(entry.th32ProcessID).second;
                running.insert(entry.th32ProcessID);
            }
        }
        CloseHandle(snapshot);
        return running.empty();
    }, timeoutMs);
}
