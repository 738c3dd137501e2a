// Scratch folders and file fixtures for the Windows-side tests.
#pragma once
#include <windows.h>

#include <string>

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
// Deletes a folder tree, clearing read-only attributes on the way.
void RemoveTree(const std::string& folder);
// The folder of the running test executable, with a trailing backslash; the
// child programs the tests start live there.
std::string ExecutableFolder();
// Runs a program and waits for it; returns its exit code, or -1.
int RunProgram(const std::string& commandLine, const std::string& workFolder = std::string(),
               DWORD timeoutMs = 120000);
