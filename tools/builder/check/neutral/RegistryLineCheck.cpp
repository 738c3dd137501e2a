#include "check/neutral/RegistryLineCheck.h"

#include <cstdint>
#include <vector>

#include "check/neutral/ScriptProfile.h"
#include "common/neutral/IniLexer.h"
#include "common/neutral/NearestName.h"
#include "core/neutral/HiveTokens.h"
#include "script/neutral/FieldSplitter.h"

namespace {

// The fields as the runtime's parser splits them, for the checks that count
// them and for messages that quote them.
std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    FieldSplitter splitter(text.c_str());
    const char* begin = nullptr;
    std::size_t length = 0;
    while (splitter.NextSpan(&begin, &length)) fields.emplace_back(begin, length);
    return fields;
}

// "HKCR, HKCU, ... or HKDD".
std::string HiveList() {
    std::string list;
    const HiveToken* table = HiveTokenTable();
    int count = HiveTokenCount();
    for (int i = 0; i < count; ++i) list += std::string(i == 0 ? "" : i + 1 == count ? " or " : ", ") + table[i].token;
    return list;
}

// The runtime compares hive tokens exactly: "hklm" is no hive to it, so a
// token in the wrong case is named with its right spelling.
bool CheckHive(const std::string& hive, const std::string& where, Findings& findings) {
    if (FindHiveToken(hive.c_str())) return true;
    std::string spelling;
    for (int i = 0; i < HiveTokenCount(); ++i)
        if (SameName(hive, HiveTokenTable()[i].token)) spelling = HiveTokenTable()[i].token;
    findings.Mistake(where, "\"" + hive + "\" is not a hive token (" + HiveList() + ", in capitals)" +
                                (spelling.empty() ? "" : ": the patch would not understand it (did you mean " +
                                                             spelling + "?)"));
    return false;
}

bool CheckAddData(const std::vector<std::string>& fields, const RegistryLine& line, const std::string& where,
                  Findings& findings) {
    const std::string& typeText = fields[3];
    const std::string& sizeText = fields[4];
    if (!IsPlainNumber(typeText) || line.Type < RegistryText || line.Type > RegistryNumberBigEnd) {
        findings.Mistake(where, "\"" + typeText + "\" is not a value type the patch can write (1 text, 2 expandable "
                                "text, 3 binary, 4 number, 5 big-endian number)");
        return false;
    }
    if (!IsPlainNumber(sizeText) || static_cast<int32_t>(line.Size) < 0) {
        findings.Mistake(where, "the size \"" + sizeText + "\" is not a number of bytes");
        return false;
    }
    uint32_t size = line.Size;
    std::size_t dataFields = fields.size() - 5;
    if (line.Type == RegistryText || line.Type == RegistryExpandText) {
        if (dataFields != 1) {
            findings.Mistake(where, dataFields == 0 ? "the text to write is missing"
                                                    : "the text is split into " + std::to_string(dataFields) +
                                                          " fields: a registry text cannot hold a comma");
            return false;
        }
        if (size != fields[5].size() + 1) {
            findings.Mistake(where, "the size " + std::to_string(size) + " does not match the text \"" + fields[5] +
                                        "\": it must be its length plus 1 for the terminating zero, " +
                                        std::to_string(fields[5].size() + 1));
            return false;
        }
    } else if (line.Type == RegistryBinary) {
        if (dataFields != size) {
            findings.Mistake(where, "the size " + std::to_string(size) + " does not match the " +
                                        std::to_string(dataFields) + " byte values given");
            return false;
        }
        for (std::size_t i = 5; i < fields.size(); ++i)
            if (!IsPlainNumber(fields[i]) || LenientNumber(fields[i]) < 0 || LenientNumber(fields[i]) > 255) {
                findings.Mistake(where, "byte value \"" + fields[i] + "\" is not a number from 0 to 255");
                return false;
            }
    } else {
        if (dataFields != 1 || !IsPlainNumber(fields[5])) {
            findings.Mistake(where, "a number value takes exactly one decimal number");
            return false;
        }
        if (size != 4) {
            findings.Mistake(where, "the size " + std::to_string(size) + " does not match a number: it is 4");
            return false;
        }
    }
    return true;
}

bool CheckRename(const std::vector<std::string>& fields, const RegistryLine& line, const char* form,
                 const std::string& where, Findings& findings) {
    if (!IsPlainNumber(fields[3]) || (line.Type != RegistryText && line.Type != RegistryExpandText)) {
        findings.Mistake(where, "a rename line carries type 1 and the new name as its data (" + std::string(form) +
                                    "), found type \"" + fields[3] + "\"");
        return false;
    }
    if (fields.size() > 6) {
        findings.Mistake(where, "the new name is split into several fields: a name cannot hold a comma");
        return false;
    }
    return true;
}

}  // namespace

void CheckRegistryLine(const std::string& text, RegistrySectionKind kind, const std::string& where,
                       Findings& findings) {
    std::vector<std::string> fields = Fields(text);
    std::size_t needed = kind == RegistryDelete ? 3 : 6;
    const char* form = kind == RegistryAdd      ? "hive,subkey,value name,type,size,data"
                       : kind == RegistryDelete ? "hive,subkey,value name (\"\" for the whole key)"
                                                : "hive,subkey,value name,1,0,new name";
    if (fields.size() < needed) {
        findings.Mistake(where, "too few fields (" + std::to_string(fields.size()) + "): expected " + form);
        return;
    }
    RegistryLine line;
    bool carried = ParseRegistryLine(text.c_str(), kind, line) != 0;
    bool named = !CheckHive(line.Hive ? line.Hive.get() : "", where, findings) ||
                 (kind == RegistryAdd && !CheckAddData(fields, line, where, findings)) ||
                 (kind == RegistryRename && !CheckRename(fields, line, form, where, findings));
    if (!carried && !named)
        findings.Mistake(where, std::string(kRegistryLineRefused) + " (" + form + ")");
}

void CheckRegKey(const std::string& value, const std::string& where, Findings& findings) {
    std::vector<std::string> fields = Fields(value);
    if (fields.size() < 2) {
        findings.Mistake(where, "too few fields (" + std::to_string(fields.size()) +
                                    "): expected hive,subkey[,value name]");
        return;
    }
    CheckHive(fields[0], where, findings);
}
