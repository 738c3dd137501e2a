// The verification pass: resolves every entry's target and checks the file
// before anything changes.
#pragma once

class PassHost;

enum class VerifyMode { Checking, FillFolder };

// Checking: builds EntryPaths/EntryCount and checks every entry; 1 on success,
// 0 on failure (ErrorText set, no table, EntryCount 0). FillFolder: offers
// entry 1's folder (with its Sub) to the host; always leaves no table. The
// host gives the confirmed folder, answers the folder question and shows
// progress.
int VerifyEntries(VerifyMode mode, PassHost& host);
// `path` is a slot of EntryPaths, which always has room for the path plus the
// skip mark; the mark may be appended to it. Reads the entry's keys from the
// current section of ScriptReader. 1 pass or skip, 0 fail (ErrorText set).
int CheckEntry(char* path);
// Frees EntryPaths and sets EntryCount to 0.
void ClearEntryPaths();
