// Scratch folders and file fixtures for the Windows-side tests.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A fresh, empty folder under the temporary directory, removed with all its
// content (read-only files and subfolders too) when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder path with a trailing backslash.
    const std::string& Path() const { return path_; }
    // Path() + relative.
    std::string operator/(const std::string& relative) const { return path_ + relative; }

private:
    std::string path_;
};

void WriteTestFile(const std::string& path, const std::string& content);
std::string ReadTestFile(const std::string& path);  // empty when unreadable
bool FileExists(const std::string& path);
// Deletes a folder tree, clearing read-only attributes on the way. A link
// (reparse point) is removed itself; what it leads to stays. An empty or
// relative path is refused.
void RemoveTree(const std::string& folder);
// Makes `link` a symbolic link to the folder `target`, or removes the link
// `link`. Wine keeps links as the host's symbolic links and does not make them
// itself, so the host's ln and rm do it; false when that fails.
bool MakeFolderLink(const std::string& link, const std::string& target);
bool RemoveLink(const std::string& link);
bool IsLink(const std::string& path);
// The "ZuliTmp*" entries (files, folders, links) in `folder`, full paths;
// folders end in a backslash.
std::vector<std::string> ZuliTmpEntries(const std::string& folder);
// The folder of the running test executable, with a trailing backslash; the
// child programs the tests start live there.
std::string ExecutableFolder();

// The access list of a file in the system's text form ("D:..."), or "" when
// it cannot be read; and a file's access list set from that form.
std::string AccessListOf(const std::string& path);
bool SetAccessList(const std::string& path, const char* sddl);
// The same for an open registry key (the handle needs WRITE_DAC).
bool SetKeyAccessList(HKEY key, const char* sddl);
// A key that everybody may read and delete but nobody may change: what an
// ordinary user meets under HKEY_LOCAL_MACHINE.
constexpr char kReadOnlyKeyAccess[] = "D:P(A;;KRSD;;;WD)";
constexpr char kFullKeyAccess[] = "D:P(A;;KA;;;WD)";
// Starts a program as CreateProcessA does (its own copy of `commandLine`,
// `workFolder` empty for the caller's). Every test starts its programs here,
// so that a start that fails says why: the system's error and how long the
// attempt took go to stderr, and the error stays in GetLastError().
bool StartProcess(const std::string& commandLine, const std::string& workFolder, bool inheritHandles, DWORD flags,
                  STARTUPINFOA& startup, PROCESS_INFORMATION& process);
// Runs a program and waits for it; returns its exit code, or -1 (a start
// that failed leaves the system's error in GetLastError()).
int RunProgram(const std::string& commandLine, const std::string& workFolder = std::string(),
               DWORD timeoutMs = 120000);

// Runs a console program and waits for it (two minutes at most); its exit
// code, with what it wrote to stdout and stderr in `output`.
int RunCaptured(const std::string& commandLine, std::string& output);

// The application manifest (RT_MANIFEST 1) of a program, read as data;
// "(no manifest)" or "(not loadable)" when there is none to read.
std::string ProgramManifest(const std::string& program);
