// Test child: given a window handle in decimal, posts WM_APP + 1 to it and
// then sends it WM_APP, as an uninstaller handed the wizard's window might.
// The send gives up after 10 s so that a caller that never answers cannot
// hang the test; "recorded.txt" in the current folder then says "timeout",
// else "answered <result>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(argv[1], nullptr, 10)));
    PostMessageA(window, WM_APP + 1, 0, 0);
    DWORD_PTR result = 0;
    BOOL answered = SendMessageTimeoutA(window, WM_APP, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
    char text[64];
    if (answered)
        std::snprintf(text, sizeof text, "answered %lu", static_cast<unsigned long>(result));
    else
        std::snprintf(text, sizeof text, "timeout");
    HANDLE out = CreateFileA("recorded.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    WriteFile(out, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
    CloseHandle(out);
    return 0;
}
