#include "RegistryLineCheck.h"

#include <vector>

#include "ScriptProfile.h"
#include "script/neutral/FieldSplitter.h"

namespace {

const char* const kHives[] = {"HKCR", "HKCU", "HKLM", "HKUS", "HKPD", "HKCC", "HKDD"};
constexpr const char* kHiveList = "HKCR, HKCU, HKLM, HKUS, HKPD, HKCC or HKDD, in capitals";

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    FieldSplitter splitter(text.c_str());
    const char* begin = nullptr;
    std::size_t length = 0;
    while (splitter.NextSpan(&begin, &length)) fields.emplace_back(begin, length);
    return fields;
}

bool CheckHive(const std::string& hive, const std::string& where, Findings& findings) {
    if (IsHiveToken(hive)) return true;
    findings.Mistake(where, "\"" + hive + "\" is not a hive token (" + kHiveList + ")");
    return false;
}

void CheckAddData(const std::vector<std::string>& fields, const std::string& where, Findings& findings) {
    const std::string& typeText = fields[3];
    const std::string& sizeText = fields[4];
    if (!IsPlainNumber(typeText) || LenientNumber(typeText) < 1 || LenientNumber(typeText) > 5) {
        findings.Mistake(where, "\"" + typeText + "\" is not a value type the patch can write (1 text, 2 expandable "
                                "text, 3 binary, 4 number, 5 big-endian number)");
        return;
    }
    if (!IsPlainNumber(sizeText) || LenientNumber(sizeText) < 0) {
        findings.Mistake(where, "the size \"" + sizeText + "\" is not a number of bytes");
        return;
    }
    int type = LenientNumber(typeText);
    uint32_t size = static_cast<uint32_t>(LenientNumber(sizeText));
    std::size_t dataFields = fields.size() - 5;
    if (type == 1 || type == 2) {
        if (dataFields != 1) {
            findings.Mistake(where, dataFields == 0 ? "the text to write is missing"
                                                    : "the text is split into " + std::to_string(dataFields) +
                                                          " fields: a registry text cannot hold a comma");
            return;
        }
        if (size != fields[5].size() + 1)
            findings.Mistake(where, "the size " + std::to_string(size) + " does not match the text \"" + fields[5] +
                                        "\": it must be its length plus 1 for the terminating zero, " +
                                        std::to_string(fields[5].size() + 1));
    } else if (type == 3) {
        if (dataFields != size) {
            findings.Mistake(where, "the size " + std::to_string(size) + " does not match the " +
                                        std::to_string(dataFields) + " byte values given");
            return;
        }
        for (std::size_t i = 5; i < fields.size(); ++i)
            if (!IsPlainNumber(fields[i]) || LenientNumber(fields[i]) < 0 || LenientNumber(fields[i]) > 255) {
                findings.Mistake(where, "byte value \"" + fields[i] + "\" is not a number from 0 to 255");
                return;
            }
    } else {
        if (dataFields != 1 || !IsPlainNumber(fields[5])) {
            findings.Mistake(where, "a number value takes exactly one decimal number");
            return;
        }
        if (size != 4) findings.Mistake(where, "the size " + std::to_string(size) + " does not match a number: it is 4");
    }
}

}  // namespace

bool IsHiveToken(const std::string& token) {
    for (const char* hive : kHives)
        if (token == hive) return true;
    return false;
}

void CheckRegistryLine(const std::string& line, RegistryLineKind kind, const std::string& where, Findings& findings) {
    std::vector<std::string> fields = Fields(line);
    std::size_t needed = kind == RegistryLineKind::Delete ? 3 : 6;
    const char* form = kind == RegistryLineKind::Add      ? "hive,subkey,value name,type,size,data"
                       : kind == RegistryLineKind::Delete ? "hive,subkey,value name (\"\" for the whole key)"
                                                          : "hive,subkey,value name,1,0,new name";
    if (fields.size() < needed) {
        findings.Mistake(where, "too few fields (" + std::to_string(fields.size()) + "): expected " + form);
        return;
    }
    if (!CheckHive(fields[0], where, findings)) return;
    if (kind == RegistryLineKind::Add) {
        CheckAddData(fields, where, findings);
    } else if (kind == RegistryLineKind::Rename) {
        int type = LenientNumber(fields[3]);
        if (!IsPlainNumber(fields[3]) || (type != 1 && type != 2))
            findings.Mistake(where, "a rename line carries type 1 and the new name as its data (" + std::string(form) +
                                        "), found type \"" + fields[3] + "\"");
        else if (fields.size() > 6)
            findings.Mistake(where, "the new name is split into several fields: a name cannot hold a comma");
    }
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
