// XOR-delta update of a target file.
#pragma once

// 1 on success (done now or scheduled for the restart), else 0.
int ApplyXorDelta(const char* targetPath, const char* payloadPath);
