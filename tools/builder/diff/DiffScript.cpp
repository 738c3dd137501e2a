#include "diff/DiffScript.h"

#include "diff/TreeCompare.h"
#include "script/neutral/ActionCodes.h"

namespace {

ActionCode ActOf(EntryAction action) {
    switch (action) {
    case EntryAction::Update: return kActXorDelta;
    case EntryAction::BinaryUpdate: return kActBinaryDelta;
    case EntryAction::WholeFile: return kActAdd;
    case EntryAction::IniKeys: return kActIniKeys;
    case EntryAction::Add: return kActAdd;
    case EntryAction::Remove: return kActDelete;
    }
    return kActCheckOnly;
}

void Key(std::string& text, const std::string& key, const std::string& value) { text += key + "=" + value + "\r\n"; }

// A name the profile functions would read back trimmed (a file name that
// starts with a blank) or unquoted goes in double quotes, which they strip.
std::string NameValue(const std::string& name) {
    bool quote = !name.empty() && (name.front() == ' ' || name.back() == ' ' || name.front() == '"' || name.back() == '"');
    return quote ? "\"" + name + "\"" : name;
}

void RegistrySection(std::string& text, const char* name, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    text += std::string("\r\n[") + name + "]\r\n";
    for (std::size_t i = 0; i < lines.size(); ++i) Key(text, std::to_string(i + 1), lines[i]);
}

}  // namespace

std::string SignedCrc(uint32_t crc) { return std::to_string(static_cast<int32_t>(crc)); }

std::string DiffScriptText(const DiffOptions& options, const std::string& anchor, const std::vector<DiffEntry>& entries) {
    std::string text = "; Made by zulibuild diff.\r\n[Setup]\r\n";
    Key(text, "ProcCount", std::to_string(entries.size() + 1));
    Key(text, "AddReg", std::to_string(options.addReg.size()));
    Key(text, "DelReg", std::to_string(options.delReg.size()));
    Key(text, "RenReg", std::to_string(options.renReg.size()));

    // No action, only the check that the folder holds what every version
    // has. It has no Sub: with the folder page shown, the folder the user
    // confirms takes the place of entry 1's folder, Sub and all.
    text += "\r\n; The installed folder, known by its " + anchor + "; every entry below starts from it.\r\n[Proc1]\r\n";
    Key(text, "File", NameValue(anchor));
    Key(text, "Act", std::to_string(kActCheckOnly));
    Key(text, "Dir", options.dir);
    if (options.dir == "Reg") Key(text, "RegKey", options.regKey);
    Key(text, "CANTMISS", "1");

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DiffEntry& entry = entries[i];
        text += "\r\n; " + entry.note + "\r\n[Proc" + std::to_string(i + 2) + "]\r\n";
        Key(text, "File", NameValue(NamePart(entry.relative)));
        Key(text, "Act", std::to_string(ActOf(entry.action)));
        Key(text, "Dir", "Pre");
        std::string sub = FolderPart(entry.relative);
        if (!sub.empty()) Key(text, "Sub", NameValue(sub));
        if (entry.action == EntryAction::Update || entry.action == EntryAction::BinaryUpdate) {
            Key(text, "CRC", SignedCrc(entry.oldCrc));
            // The result is checked before it replaces the old file, and an
            // install that already has it counts as up to date.
            Key(text, "NewCRC", SignedCrc(entry.newCrc));
            if (entry.delayed) Key(text, "Delay", "1");
        }
        if (entry.action == EntryAction::IniKeys) {
            Key(text, "Count", std::to_string(entry.lines.size()));
            for (std::size_t k = 0; k < entry.lines.size(); ++k) Key(text, "INIKey" + std::to_string(k + 1), entry.lines[k]);
        }
        if (entry.required) {
            Key(text, "CANTMISS", "1");
            Key(text, "CANTDIFF", "1");
        }
    }
    RegistrySection(text, "AddReg", options.addReg);
    RegistrySection(text, "DelReg", options.delReg);
    RegistrySection(text, "RenReg", options.renReg);
    return text;
}
