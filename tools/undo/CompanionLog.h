// The companion's log ("/log=FILE"), for administrators who restore or list
// backups from a script: what was asked, what happened, the exit code.
#pragma once
#include <windows.h>

#include <string>

class CompanionLog {
public:
    CompanionLog() = default;
    CompanionLog(const CompanionLog&) = delete;
    CompanionLog& operator=(const CompanionLog&) = delete;
    ~CompanionLog();

    // Opens `path` for appending, creating it and its folders. Refused
    // (false, with Problem()) for a link, or a file with a second name,
    // through which an elevated restore would append to someone else's file.
    bool Open(const std::string& path);
    const std::string& Problem() const { return problem_; }
    // One or more lines; nothing without an open log.
    void Write(const std::string& text);
    // Logs the exit code and returns it.
    int End(int exitCode);

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string problem_;
};

// `text` on the standard output, when whoever started the companion gave it
// one (a script capturing its output); nothing otherwise.
void WriteToStandardOutput(const std::string& text);
