// Checks of the registry lines of "AddReg", "DelReg" and "RenReg" and of an
// entry's "RegKey". A line is read with the runtime's own parser
// (actions/neutral/RegistryLine.h), and whatever it refuses is a mistake.
// On top, the builder refuses what the runtime would carry out other than
// its author meant: an unknown hive token (the runtime keeps the root of the
// line before), a value type it cannot write, a size that does not match the
// data exactly, a text or name split into fields at a comma.
#pragma once
#include <string>

#include "actions/neutral/RegistryLine.h"
#include "check/neutral/Findings.h"

// `kind` is RegistryAdd, RegistryDelete or RegistryRename.
void CheckRegistryLine(const std::string& line, RegistrySectionKind kind, const std::string& where,
                       Findings& findings);

// "hive,subkey[,value name]" of an entry whose folder comes from the registry.
void CheckRegKey(const std::string& value, const std::string& where, Findings& findings);

// The start of the message for a line the runtime's parser refuses where no
// other check says why; every refusal known has a message of its own.
constexpr const char kRegistryLineRefused[] = "the patch cannot carry out this line";
