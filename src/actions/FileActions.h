// The run, add, delete, INI and rename actions of script entries.
#pragma once

int RunEntryFile(const char* payloadPath, const char* targetPath);
int AddEntryFile(const char* payloadPath, const char* targetPath);
int DeleteEntryFile(const char* targetPath);
int UpdateIniEntries(const char* targetPath);
int RenameEntryFile(const char* targetPath, const char* newName);
