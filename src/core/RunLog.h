// The administrator's log (/log=FILE): plain ANSI text, appended to, one
// line per event. Every call does nothing when no log was asked for.
#pragma once
#include <cstdint>

// Opens `path` for appending, making its folder when missing; false when it
// cannot be opened, and when it is a link or one of several names of a file.
bool OpenRunLog(const char* path);
// Ends the log with the restart state, the end time and the exit code.
void CloseRunLog(int exitCode);
// One line from a wsprintf format, written whole however long. A %s
// argument prints whole, without width; other conversions take 32 bits.
void LogLine(const char* format, ...);
// Writes `text` as it stands, then a line break (for long texts).
void LogText(const char* label, const char* text);

// Hooks of the passes.
void NoteCrc(uint32_t found, uint32_t expected);          // the check compared a CRC
// How an entry's check ended.
enum class CheckOutcome { Failed, Passed, Skipped };
void LogEntryCheck(uint32_t entry, const char* path, CheckOutcome outcome);
void LogCheckFailure();                                   // ErrorText says why
// One result line: `label` names the action (or the registry sections),
// `path` its file (none: no file); a zero `result` counts as a failure.
void NoteActionResult(const char* label, const char* path, int result, bool skipped);
// A result line that is no failure: `outcome` says what became of the
// action ("prepared", "replaced", "rolled back", ...).
void NoteActionOutcome(const char* label, const char* path, const char* outcome);
void LogRegistryLine(const char* section, int line, const char* text, int result);
// The backup could not be made: the run fails without changing anything.
// Returns the line it logged, for the user of the wizard to read as well.
constexpr char kBackupFailedText[] = "Backup failed: nothing was changed";
const char* NoteBackupFailed();
// Actions that reported failure so far (report lines with the failure word).
uint32_t FailedActionCount();
