// Test child standing in for a registered mail or web program: writes its
// command line, exactly as it received it, to the file named by the
// environment variable ZULI_LINK_RECORD (written last, renamed into place, so
// that a reader never sees half a line).
#include <windows.h>

#include <cstring>
#include <string>

int main() {
    char target[MAX_PATH + 1] = {};
    if (!GetEnvironmentVariableA("ZULI_LINK_RECORD", target, sizeof target)) return 2;
    std::string partial = std::string(target) + ".part";
    const char* line = GetCommandLineA();
    HANDLE out = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    WriteFile(out, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    CloseHandle(out);
    return MoveFileExA(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
