#include "CompanionLog.h"

#include "Undo.h"

CompanionLog::~CompanionLog() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

bool CompanionLog::Open(const std::string& path) {
    const std::string full = FullPath(path);
    if (full.empty()) {
        problem_ = "it is not a valid path";
        return false;
    }
    CreateFolderChain(FolderOf(full));
    // The link itself is opened, never what it leads to, and then refused.
    file_ = CreateFileA(full.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) {
        problem_ = SystemErrorText(GetLastError());
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(file_, &information))
        problem_ = SystemErrorText(GetLastError());
    else if (information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
        problem_ = "it is a link or a folder";
    else if (information.nNumberOfLinks > 1)
        problem_ = "the file has another name (a hard link) as well";
    if (problem_.empty()) return true;
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return false;
}

void CompanionLog::Write(const std::string& text) {
    if (file_ == INVALID_HANDLE_VALUE) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[40];
    wsprintfA(stamp, "%04u-%02u-%02u %02u:%02u:%02u zuliundo: ", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond);
    std::string line = stamp + text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    line += "\r\n";
    DWORD written = 0;
    WriteFile(file_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

int CompanionLog::End(int exitCode) {
    Write("Exit code: " + std::to_string(exitCode));
    return exitCode;
}

void WriteToStandardOutput(const std::string& text) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
