// Test child: writes its command line, exactly as it received it, into
// "recorded.txt" in its current folder. When its first argument names an
// existing file, that file is copied to "recorded.bin" beside it, so that a
// test can see a file its caller deletes right after the child ends.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    const char* line = GetCommandLineA();
    HANDLE out = CreateFileA("recorded.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    WriteFile(out, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    CloseHandle(out);
    if (argc > 1 && GetFileAttributesA(argv[1]) != INVALID_FILE_ATTRIBUTES)
        CopyFileA(argv[1], "recorded.bin", FALSE);
    return 0;
}
