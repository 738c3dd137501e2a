// The registry sections "AddReg", "DelReg" and "RenReg" of the script.
#pragma once

enum RegistrySectionKind : int { RegistryAdd = 1, RegistryDelete = 2, RegistryRename = 3 };

// 1 when every line succeeded (or there were none), 0 when any line failed.
int RunRegistrySection(int lineCount, int kind);
