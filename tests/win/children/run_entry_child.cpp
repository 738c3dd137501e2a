// Started by the run-entry tests in place of a patch's program. It waits until
// the test releases it (the named event, when the test created one), then
// writes "<own path>.done" holding the folder it was started in, and ends.
#include <windows.h>

#include <cstring>

int main() {
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, "ZuliRunEntryChildRelease");
    if (release) {
        WaitForSingleObject(release, 120000);
        CloseHandle(release);
    }
    // Long enough that a caller who did not wait would look before the mark
    // is there.
    Sleep(500);

    char self[MAX_PATH + 8] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::strcat(self, ".done");
    char folder[MAX_PATH + 1] = {};
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    HANDLE mark = CreateFileA(self, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    WriteFile(mark, folder, length, &written, nullptr);
    CloseHandle(mark);
    return 0;
}
