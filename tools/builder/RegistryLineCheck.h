// Checks of the registry lines of "AddReg", "DelReg" and "RenReg" and of an
// entry's "RegKey": enough fields, a known hive token, a known value type,
// and a size that matches the data.
#pragma once
#include <string>

#include "Findings.h"

enum class RegistryLineKind { Add, Delete, Rename };

void CheckRegistryLine(const std::string& line, RegistryLineKind kind, const std::string& where, Findings& findings);

// "hive,subkey[,value name]" of an entry whose folder comes from the registry.
void CheckRegKey(const std::string& value, const std::string& where, Findings& findings);

// The hive tokens, exactly as the script must spell them.
bool IsHiveToken(const std::string& token);
