// XOR-delta update of a target file, and replacement at the next restart.
#pragma once

// 1 on success (done now or scheduled for the restart), else 0.
int ApplyXorDelta(const char* targetPath, const char* payloadPath);
// Has `source` moved over `destination` at the next start of the system;
// non-zero on success.
int ScheduleReplaceAtRestart(const char* source, const char* destination);
