// The run, add, delete, INI and rename actions of script entries.
#pragma once

// Starts a run entry's program from its own folder: opened by the shell
// without waiting (`sync`), or run and waited for. 1 on success.
int StartEntryProgram(const char* program, bool sync);
int RunEntryFile(const char* payloadPath, const char* targetPath);
int AddEntryFile(const char* payloadPath, const char* targetPath);
int DeleteEntryFile(const char* targetPath);
int UpdateIniEntries(const char* targetPath);
int RenameEntryFile(const char* targetPath, const char* newName);
