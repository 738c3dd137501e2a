// The verification pass: resolves every entry's target and checks the file
// before anything changes.
#pragma once

enum class VerifyMode { Checking, FillFolder };

// 1 on success, 0 on failure (ErrorText set).
int VerifyEntries(VerifyMode mode);
// `path` is a slot of EntryPaths; the skip mark may be appended to it.
// 1 pass or skip, 0 fail (ErrorText set).
int CheckEntry(char* path);
// Frees EntryPaths and sets EntryCount to 0.
void ClearEntryPaths();
