#include "support/TestFiles.h"

#include <sddl.h>
#include <shlwapi.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/WaitUntil.h"

ScratchFolder::ScratchFolder(const std::string& name) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp) + "zuli-test-" + name + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void WriteTestFile(const std::string& path, const std::string& content) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string ReadTestFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& folder) {
    // An empty or relative path would name the current folder (the build
    // folder the test runs in): a tree is only ever removed by its full path.
    if (folder.empty() || PathIsRelativeA(folder.c_str())) return;
    if (IsLink(folder)) {
        RemoveLink(folder);
        return;
    }
    std::string base = folder;
    if (!base.empty() && base.back() != '\\') base += '\\';
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((base + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = base + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                RemoveLink(full);
                continue;
            }
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(base.c_str());
}

std::string ExecutableFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    PathRemoveFileSpecA(path);
    PathAddBackslashA(path);
    return path;
}

namespace {

// One CreateProcessA; false with the system's error, which goes to stderr
// with the time the attempt took.
bool StartOnce(const std::string& commandLine, const std::string& workFolder, bool inheritHandles, DWORD flags,
               STARTUPINFOA& startup, PROCESS_INFORMATION& process, DWORD& error) {
    std::string line = commandLine;
    const DWORD began = GetTickCount();
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, inheritHandles ? TRUE : FALSE, flags, nullptr,
                       workFolder.empty() ? nullptr : workFolder.c_str(), &startup, &process))
        return true;
    error = GetLastError();
    std::fprintf(stderr, "not started (error %lu after %lu ms): %s\n", static_cast<unsigned long>(error),
                 static_cast<unsigned long>(GetTickCount() - began), commandLine.c_str());
    std::fflush(stderr);
    return false;
}

}  // namespace

bool StartProcess(const std::string& commandLine, const std::string& workFolder, bool inheritHandles, DWORD flags,
                  STARTUPINFOA& startup, PROCESS_INFORMATION& process) {
    DWORD error = 0;
    if (StartOnce(commandLine, workFolder, inheritHandles, flags, startup, process, error)) return true;
    // Wine now and then loses a new process before it is set up: the Unix
    // loader of the child exits with status 1 some milliseconds after it was
    // started, while it reserves its fixed address ranges, before it has
    // reached the wineserver. The server ends the half-made process with
    // exit code 0, which CreateProcess reports as ERROR_INTERNAL_ERROR after
    // a few tens of milliseconds. Such a start, and only such a start, is
    // tried once more; the first failure stays in the log above.
    if (error == ERROR_INTERNAL_ERROR) {
        std::fprintf(stderr, "starting once more after error %lu\n", static_cast<unsigned long>(error));
        std::fflush(stderr);
        if (StartOnce(commandLine, workFolder, inheritHandles, flags, startup, process, error)) return true;
    }
    SetLastError(error);
    return false;
}

int RunProgram(const std::string& commandLine, const std::string& workFolder, DWORD timeoutMs) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!StartProcess(commandLine, workFolder, false, 0, startup, process)) return -1;
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

namespace {

// The host's path of a Windows path (Wine only); empty when unknown.
std::string HostPath(const std::string& path) {
    using Convert = char*(CDECL*)(const WCHAR*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return std::string();
    std::wstring wide(path.begin(), path.end());
    while (!wide.empty() && wide.back() == L'\\') wide.pop_back();
    char* host = convert(wide.c_str());
    if (!host) return std::string();
    std::string result = host;
    HeapFree(GetProcessHeap(), 0, host);
    return result;
}

// Runs a host program (Wine starts host executables given by their host
// path) and waits until `done` holds: Wine gives no exit code for them.
template <typename Done>
bool RunHost(const std::string& commandLine, Done done) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!StartProcess(commandLine, std::string(), false, 0, startup, process)) return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return WaitUntil(done, 10000);
}

}  // namespace

bool MakeFolderLink(const std::string& link, const std::string& target) {
    std::string hostLink = HostPath(link), hostTarget = HostPath(target);
    if (hostLink.empty() || hostTarget.empty()) return false;
    return RunHost("/bin/ln -s \"" + hostTarget + "\" \"" + hostLink + "\"", [&] { return IsLink(link); });
}

bool RemoveLink(const std::string& link) {
    std::string host = HostPath(link);
    return !host.empty() && RunHost("/bin/rm -f \"" + host + "\"", [&] { return !IsLink(link); });
}

bool IsLink(const std::string& path) {
    std::string bare = path;
    while (!bare.empty() && bare.back() == '\\') bare.pop_back();
    DWORD attributes = GetFileAttributesA(bare.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::vector<std::string> ZuliTmpEntries(const std::string& folder) {
    std::string base = folder;
    if (!base.empty() && base.back() != '\\') base += '\\';
    std::vector<std::string> entries;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((base + "ZuliTmp*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
        std::string full = base + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) full += '\\';
        entries.push_back(full);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return entries;
}

int RunCaptured(const std::string& commandLine, std::string& output) {
    // Named per process: tests that run side by side capture apart.
    ScratchFolder capture("console capture " + std::to_string(GetCurrentProcessId()));
    std::string file = capture / "output.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = out;
    PROCESS_INFORMATION process{};
    if (!StartProcess(commandLine, std::string(), true, CREATE_NO_WINDOW, startup, process)) {
        DWORD error = GetLastError();  // why it never started, for the failure message
        CloseHandle(out);
        output = "not started: error " + std::to_string(error);
        return -1;
    }
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 120000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(out);
    output = ReadTestFile(file);
    return static_cast<int>(code);
}

std::string AccessListOf(const std::string& path) {
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<unsigned char> descriptor(size ? size : 1);
    if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size)) return "";
    char* text = nullptr;
    if (!ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor.data(), SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return "";
    std::string result = text;
    LocalFree(text);
    return result;
}

bool SetAccessList(const std::string& path, const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const BOOL set = SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    return set != FALSE;
}

bool SetKeyAccessList(HKEY key, const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const LONG set = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    return set == ERROR_SUCCESS;
}

std::string ProgramManifest(const std::string& program) {
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return "(not loadable)";
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    std::string text = found ? std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                                           SizeofResource(module, found))
                             : std::string("(no manifest)");
    FreeLibrary(module);
    return text;
}
