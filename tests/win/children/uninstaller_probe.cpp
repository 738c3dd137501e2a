// Test child that stands in for "Uninstaller.exe": after a short pause (so
// that a caller that does not wait finds nothing yet) it writes into
// "uninstaller.txt" in its current folder what it received and what it read
// from "Setup.ini" there:
//   command=<its command line>
//   HWND=<[Setup] HWND>               (only when present)
//   Proc<N>=<[Proc<N>] ExpandName>    (for N = 1..16, only when present)
// With [Probe] Seen=1 in that Setup.ini, each ExpandName file that exists is
// also copied to "Proc<N>.seen" beside the record, so that a test can tell
// what the file held when the uninstaller ran.
// With [Probe] Made=<text> it writes [Backup] Made=<text> into that
// Setup.ini, as the backup companion does once its backup is whole.
// It exits with [Probe] ExitCode of that Setup.ini: decimal, or hexadecimal
// with 0x for an exception code such as 0xC0000005, the code a crash leaves
// (0 when absent).
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string ReadKey(const char* section, const char* key, const std::string& script) {
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, script.c_str());
    return value;
}

}  // namespace

int main() {
    Sleep(300);
    char folder[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    std::string script = std::string(folder) + "\\Setup.ini";

    std::string record = std::string("command=") + GetCommandLineA() + "\n";
    std::string handle = ReadKey("Setup", "HWND", script);
    if (!handle.empty()) record += "HWND=" + handle + "\n";
    const bool keepCopies = GetPrivateProfileIntA("Probe", "Seen", 0, script.c_str()) == 1;
    for (int n = 1; n <= 16; ++n) {
        std::string section = "Proc" + std::to_string(n);
        std::string path = ReadKey(section.c_str(), "ExpandName", script);
        if (path.empty()) continue;
        record += section + "=" + path + "\n";
        if (keepCopies) CopyFileA(path.c_str(), (section + ".seen").c_str(), FALSE);
    }

    HANDLE out = CreateFileA("uninstaller.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    if (out == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    WriteFile(out, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(out);
    std::string made = ReadKey("Probe", "Made", script);
    if (!made.empty()) WritePrivateProfileStringA("Backup", "Made", made.c_str(), script.c_str());
    ExitProcess(static_cast<UINT>(std::strtoul(ReadKey("Probe", "ExitCode", script).c_str(), nullptr, 0)));
}
