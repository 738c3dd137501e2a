// Byte-pattern patch of a target file.
#pragma once

// 1 when every record applied and the file was written, else 0 (file untouched).
int ApplyBytePatch(const char* targetPath, const char* payloadPath);
