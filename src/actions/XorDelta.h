// XOR-delta update of a target file, and replacement at the next restart.
#pragma once

// 1 on success (done now or scheduled for the restart), else 0.
int ApplyXorDelta(const char* targetPath, const char* payloadPath);
// Registers `source` to replace `destination` at the next restart.
int ScheduleReplaceAtRestart(const char* destination, const char* source);
