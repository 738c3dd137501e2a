#include "core/RunLog.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdarg>
#include <cstring>

#include "core/FileUtils.h"
#include "core/RunState.h"
#include "core/SystemErrorText.h"

namespace {

HANDLE LogFile = INVALID_HANDLE_VALUE;
uint32_t FailedActions;
// The CRC comparison of the entry being checked, printed with its result.
bool CrcCompared;
uint32_t CrcFound;
uint32_t CrcExpected;

void Write(const char* text, std::size_t length) {
    DWORD written = 0;
    if (LogFile != INVALID_HANDLE_VALUE) WriteFile(LogFile, text, static_cast<DWORD>(length), &written, nullptr);
}

void LogTime(const char* label) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    LogLine("%s %04u-%02u-%02u %02u:%02u:%02u", label, now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
            now.wSecond);
}

}  // namespace

bool OpenRunLog(const char* path) {
    char folder[kPathBufferSize] = {};
    lstrcpynA(folder, path, sizeof folder);
    PathRemoveFileSpecA(folder);
    (void)CreateFolderPath(folder);  // nothing to do when it exists
    // The log is the file named, never one a link leads to: a link, or a
    // second name of a file, could have the run append to a file of
    // somebody else's choosing (a system file, with an administrator's
    // rights). The link itself is opened, not followed, and refused. Shared
    // reading lets an administrator watch the log while the patch runs.
    DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    do {
        LogFile = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, flags, nullptr);
        if (LogFile != INVALID_HANDLE_VALUE) break;
        // Systems without links may refuse the flag as an invalid
        // parameter: there the file is opened once more, without it.
        flags ^= FILE_FLAG_OPEN_REPARSE_POINT;
    } while (GetLastError() == ERROR_INVALID_PARAMETER && !(flags & FILE_FLAG_OPEN_REPARSE_POINT));
    if (LogFile == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION file;
    if (!GetFileInformationByHandle(LogFile, &file) || (file.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        file.nNumberOfLinks > 1) {
        CloseHandle(LogFile);
        LogFile = INVALID_HANDLE_VALUE;
        return false;
    }
    LogTime("Started");
    return true;
}

void CloseRunLog(int exitCode) {
    if (LogFile == INVALID_HANDLE_VALUE) return;
    LogLine("Restart pending: %s", RunState.RebootPending ? "yes" : "no");
    LogTime("Ended");
    LogLine("Exit code: %d\r\n", exitCode);
    CloseHandle(LogFile);
    LogFile = INVALID_HANDLE_VALUE;
}

// wvsprintfA stops at 1,024 characters: a line is written in pieces
// instead, with no buffer for the line itself. The text between the
// conversions and every %s argument go to the file as they stand, however
// long; any other conversion (a number: "%u", "%08X", "%d", ...) is
// formatted alone, and wsprintfA writes at most 1,024 characters and the
// terminator, which its buffer holds whatever the width asked for.
void LogLine(const char* format, ...) {
    if (LogFile == INVALID_HANDLE_VALUE) return;
    va_list arguments;
    va_start(arguments, format);
    for (;;) {
        const char* f = format;
        while (*f && *f != '%') ++f;
        Write(format, static_cast<std::size_t>(f - format));
        if (!*f) break;
        // The conversion: "%", a flag and width of at most five characters,
        // its type.
        std::size_t n = 1;
        while (n < 6 && ((f[n] >= '0' && f[n] <= '9') || f[n] == 'l' || f[n] == 'h')) ++n;
        const char type = f[n];
        if (!type) break;
        format = f + n + 1;
        if (type == '%') {
            Write(f + n, 1);
        } else if (type == 's') {
            const char* text = va_arg(arguments, const char*);
            if (!text) text = "(null)";
            Write(text, std::strlen(text));
        } else {
            char conversion[8];
            std::memcpy(conversion, f, n + 1);
            conversion[n + 1] = '\0';
            char number[1025];
            const int length = wsprintfA(number, conversion, va_arg(arguments, unsigned));
            Write(number, length > 0 ? static_cast<std::size_t>(length) : 0);
        }
    }
    Write("\r\n", 2);
    va_end(arguments);
}

void LogText(const char* label, const char* text) {
    LogLine("%s:", label);
    if (text) Write(text, std::strlen(text));
    Write("\r\n", 2);
}

void NoteCrc(uint32_t found, uint32_t expected) {
    CrcCompared = true;
    CrcFound = found;
    CrcExpected = expected;
}

void LogEntryCheck(uint32_t entry, const char* path, CheckOutcome outcome) {
    const char* result = outcome == CheckOutcome::Failed    ? "failed"
                         : outcome == CheckOutcome::Skipped ? "skipped"
                                                            : "passed";
    if (CrcCompared)
        LogLine("Check %u: %s: CRC found %08X, expected %08X: %s", entry, path, CrcFound, CrcExpected, result);
    else
        LogLine("Check %u: %s: %s", entry, path, result);
    CrcCompared = false;
}

void LogCheckFailure() { LogText("Check failed", RunState.ErrorText.get()); }

void NoteActionResult(const char* label, const char* path, int result, bool skipped) {
    const DWORD error = GetLastError();  // the action's, before anything else runs
    // One line form for every result; only a failure says more.
    if (skipped || result != 0) {
        NoteActionOutcome(label, path, skipped ? "skipped" : "done");
        return;
    }
    ++FailedActions;
    char reason[512] = {};
    FormatSystemError(error, reason, sizeof reason);
    LogLine("%s%s%s: FAILED, error %u: %s", label, path ? ": " : "", path ? path : "", error, reason);
}

void NoteActionOutcome(const char* label, const char* path, const char* outcome) {
    LogLine("%s%s%s: %s", label, path ? ": " : "", path ? path : "", outcome);
}

void LogRegistryLine(const char* section, int line, const char* text, int result) {
    LogLine("Registry %s %d: %s: %s", section, line, text ? text : "(missing)", result == 1 ? "done" : "FAILED");
}

const char* NoteBackupFailed() {
    ++FailedActions;
    LogLine(kBackupFailedText);
    return kBackupFailedText;
}

uint32_t FailedActionCount() { return FailedActions; }
