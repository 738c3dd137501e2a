#include "check/ScriptCheck.h"

#include <cctype>
#include <iterator>
#include <vector>

#include "check/PayloadCheck.h"
#include "check/neutral/RegistryLineCheck.h"
#include "check/neutral/ScriptProfile.h"
#include "common/neutral/IniLexer.h"
#include "common/neutral/NearestName.h"
#include "script/ScriptKeys.h"

namespace {

// "0 run, 1 add, ...": every action code with its name.
std::string ActionList() {
    std::string list;
    for (int i = 0; i < ActionCount(); ++i) {
        const ActionInfo& action = ActionTable()[i];
        list += (list.empty() ? "" : ", ") + std::to_string(action.code) + " " + action.name;
    }
    return list;
}

const char* const kDirTokens[] = {kDirMe,         kDirWin,       kDirSys,       kDirReg,       kDirPre,
                                  kDirAsk,        kDirStartMenu, kDirPrograms,  kDirFavorites, kDirDocuments,
                                  kDirTemplates,  kDirDesktop,   kDirAppData};

// The digits that end `key` ("12" of "INIKey12"); empty when it ends otherwise.
std::string TrailingDigits(const std::string& key) {
    std::size_t last = key.find_last_not_of("0123456789");
    return last == std::string::npos ? key : key.substr(last + 1);
}

// "INIKey" and a number, without regard to case: a line of an INI-keys entry.
bool IsIniKeyLine(const std::string& key) {
    std::string digits = TrailingDigits(key);
    std::size_t prefix = sizeof kIniKeyPrefix - 1;
    return !digits.empty() && key.size() == prefix + digits.size() && SameName(key.substr(0, prefix), kIniKeyPrefix);
}

// A folder the runtime can take as it stands: a drive letter and a
// backslash, or a network path. Anything else would be a folder relative to
// wherever the patch happens to be started.
bool IsFullFolder(const std::string& dir) {
    bool drive = dir.size() >= 3 && std::isalpha(static_cast<unsigned char>(dir[0])) && dir[1] == ':' &&
                 (dir[2] == '\\' || dir[2] == '/');
    bool network = dir.size() > 2 && dir[0] == '\\' && dir[1] == '\\';
    return drive || network;
}

class ScriptChecker {
public:
    ScriptChecker(const PayloadFiles& payload, const std::string& scriptPath, Findings& findings)
        : payload_(payload), scriptPath_(scriptPath), findings_(findings),
          name_(std::string(kScriptFileName) + (payload.Origin()[0] == '[' ? "" : " in " + payload.Origin())) {}

    void Run() {
        if (!script_.Load(scriptPath_)) {
            findings_.Mistake(name_, "cannot be read");
            return;
        }
        int32_t entries = Count(kSetupSection, kProcCountKey);
        CheckKeyNames(kSetupSection);
        CheckSectionNames();
        CheckEntrySections(entries);
        for (int32_t n = 1; n <= entries; ++n)
            if (Has(Entry(n))) CheckEntry(n);
        CheckRegistrySection(kAddRegSection, kAddRegKey, RegistryAdd);
        CheckRegistrySection(kDelRegSection, kDelRegKey, RegistryDelete);
        CheckRegistrySection(kRenRegSection, kRenRegKey, RegistryRename);
    }

private:
    static std::string Entry(int32_t n) { return kEntrySectionPrefix + std::to_string(n); }

    std::string Where(const std::string& section, const std::string& key = std::string()) const {
        return name_ + ": [" + section + "]" + (key.empty() ? "" : " " + key);
    }

    bool Has(const std::string& section) const { return script_.HasSection(section); }

    // The keys a section may hold, as the runtime spells them; for an entry
    // also the INIKey line a misspelt one with a number most likely meant.
    static std::vector<std::string> KnownKeys(const std::string& section, const std::string& key = std::string()) {
        std::vector<std::string> known;
        if (SameName(section, kSetupSection)) {
            for (const char* name : kSetupKeys) known.push_back(name);
        } else {
            for (const char* name : kEntryKeys) known.push_back(name);
            known.push_back(kIniKeyPrefix + (TrailingDigits(key).empty() ? "1" : TrailingDigits(key)));
        }
        return known;
    }

    static bool IsKnownKey(const std::string& section, const std::string& key) {
        if (!SameName(section, kSetupSection) && IsIniKeyLine(key)) return true;
        for (const std::string& known : KnownKeys(section))
            if (SameName(key, known)) return true;
        return false;
    }

    // The runtime reads only the keys it knows and passes over any other, so
    // a misspelt key drops its setting without a word: each is named, with
    // the key it most likely stands for. A comment line (";", "#") is none.
    void CheckKeyNames(const std::string& section) {
        for (const std::string& key : script_.Keys(section)) {
            if (key[0] == ';' || key[0] == '#' || IsKnownKey(section, key)) continue;
            findings_.Warning(Where(section, key), "unknown key: the patch passes it over" +
                                                       DidYouMean(key, KnownKeys(section, key)));
        }
    }

    // A section the runtime never reads is passed over as silently as a
    // key: "[Setpu]" leaves the patch with nothing to do, "[Proc01]" is not
    // entry 1. Each is named, with the section it most likely stands for.
    void CheckSectionNames() {
        for (const std::string& name : script_.SectionNames()) {
            std::vector<std::string> known = {kSetupSection, kAddRegSection, kDelRegSection, kRenRegSection,
                                              kBackupSection};
            bool isKnown = false;
            for (const std::string& section : known) isKnown |= SameName(name, section);
            std::string digits = TrailingDigits(name);
            std::size_t prefix = sizeof kEntrySectionPrefix - 1;
            if (!digits.empty() && digits[0] != '0' && name.size() == prefix + digits.size() &&
                SameName(name.substr(0, prefix), kEntrySectionPrefix))
                isKnown = true;
            if (isKnown) continue;
            known.push_back(kEntrySectionPrefix + (digits.empty() ? std::string("1") : std::to_string(LenientNumber(digits))));
            findings_.Warning(Where(name), "unknown section: the patch never reads it" + DidYouMean(name, known));
        }
    }

    // A flag is set by any text, but by no text at all: "CANTDIFF" on a line
    // of its own, or "CANTDIFF=", leaves it unset.
    void CheckEmptyFlags(const std::string& section) {
        for (const char* flag : {kCantMissKey, kCantDiffKey}) {
            bool given = false;
            for (const std::string& key : script_.Keys(section)) given |= SameName(key, flag);
            if (given && script_.Value(section, flag).empty())
                findings_.Warning(Where(section, flag), std::string("has no value, so the flag is not set; write ") +
                                                            flag + "=1");
        }
    }

    // A missing key's mistake, naming a misspelt key of the section that
    // most likely stands for it.
    void Missing(const std::string& section, const char* key, const std::string& why) {
        std::string misspelt;
        for (const std::string& given : script_.Keys(section))
            if (!IsKnownKey(section, given) && SameName(NearestName(given, KnownKeys(section, given)), key))
                misspelt += (misspelt.empty() ? "" : ", ") + given;
        findings_.Mistake(Where(section, key), "missing: " + why +
                                                   (misspelt.empty() ? "" : " (the entry has " + misspelt +
                                                                                ", which is no key: did you mean " +
                                                                                key + "?)"));
    }

    // An integer key: a value that is no plain number would silently read as
    // whatever digits it starts with.
    int32_t Integer(const std::string& section, const std::string& key) {
        std::string text = script_.Value(section, key);
        if (!text.empty() && !IsPlainNumber(text))
            findings_.Mistake(Where(section, key), "\"" + text + "\" is not a number; the patch would read it as " +
                                                       std::to_string(LenientNumber(text)));
        return LenientNumber(text);
    }

    int32_t Count(const std::string& section, const std::string& key) {
        int32_t count = Integer(section, key);
        return count < 0 ? 0 : count;
    }

    void CheckEntrySections(int32_t entries) {
        // Missing sections in runs, so that a ProcCount far too large gives
        // one message rather than thousands.
        for (int32_t n = 1; n <= entries; ++n) {
            if (Has(Entry(n))) continue;
            int32_t last = n;
            while (last < entries && !Has(Entry(last + 1))) ++last;
            std::string which = last == n ? "[" + Entry(n) + "] is" : "[" + Entry(n) + "] to [" + Entry(last) + "] are";
            findings_.Mistake(Where(kSetupSection, kProcCountKey),
                              "ProcCount is " + std::to_string(entries) + ", but the entry section " + which +
                                  " missing");
            n = last;
        }
        // Entry sections past the count are never run.
        for (const std::string& name : script_.SectionNames()) {
            if (name.size() <= 4 || !SameName(name.substr(0, 4), kEntrySectionPrefix)) continue;
            std::string digits = name.substr(4);
            if (digits.find_first_not_of("0123456789") != std::string::npos || digits[0] == '0') continue;
            if (digits.size() < 10 && std::stol(digits) > entries)
                findings_.Warning(Where(name), "ProcCount in [Setup] is " + std::to_string(entries) +
                                                   ": this entry is never checked or applied");
        }
    }

    void CheckEntry(int32_t n) {
        std::string section = Entry(n);
        std::string actText = script_.Value(section, kActKey);
        int32_t act = LenientNumber(actText);
        const ActionInfo* action = IsPlainNumber(actText) || actText.empty() ? FindAction(act) : nullptr;
        if (!action) {
            findings_.Mistake(Where(section, kActKey),
                              "\"" + actText + "\" is not an action code (" + ActionList() + ")");
        }
        for (const char* key : {kCrcKey, kNewCrcKey, kDontCheckKey, kDelayKey, kSyncKey, kCountKey})
            Integer(section, key);
        CheckKeyNames(section);
        CheckEmptyFlags(section);

        if (script_.Value(section, kFileKey).empty()) Missing(section, kFileKey, "every entry names its target file");
        CheckDir(section);
        if (!action) return;

        if (action->needsPayload) CheckPayload(n, *action);
        bool dontCheck = action->code == kActBytePatch && LenientNumber(script_.Value(section, kDontCheckKey)) != 0;
        if (action->checksCrc && !dontCheck && script_.Value(section, kCrcKey).empty())
            Missing(section, kCrcKey,
                    "a " + std::string(action->name) +
                        " needs the CRC-32 of the installed file it was made for (as a signed decimal)");
        if (action->code == kActIniKeys) CheckIniKeys(section);
        if (action->code == kActRename && script_.Value(section, kNewNameKey).empty())
            Missing(section, kNewNameKey, "a rename needs the new name");
    }

    void CheckDir(const std::string& section) {
        std::string dir = script_.Value(section, kDirKey);
        if (dir.empty()) {
            Missing(section, kDirKey, "every entry says where its folder is");
            return;
        }
        for (const char* token : kDirTokens) {
            if (dir == token) {
                if (dir == kDirReg) {
                    std::string regKey = script_.Value(section, kRegKeyKey);
                    if (regKey.empty())
                        Missing(section, kRegKeyKey,
                                "Dir=Reg reads the folder from this registry value (hive,subkey,value name)");
                    else
                        CheckRegKey(regKey, Where(section, kRegKeyKey), findings_);
                }
                return;
            }
            if (SameName(dir, token)) {
                findings_.Mistake(Where(section, kDirKey), "\"" + dir + "\" is not a directory token: tokens are "
                                                           "spelled exactly, with case, and the patch would not "
                                                           "understand it (did you mean " + token + "?)");
                return;
            }
        }
        if (!IsFullFolder(dir))
            findings_.Mistake(Where(section, kDirKey),
                              "\"" + dir + "\" is neither a directory token (Me, Win, Sys, Reg, Pre, Ask, STMU, PROG, "
                                           "FAVO, DOC, TEMP, DESK, APPD) nor a full folder path such as C:\\Program Files\\App" +
                                  DidYouMean(dir, std::vector<std::string>(std::begin(kDirTokens), std::end(kDirTokens))));
    }

    void CheckPayload(int32_t n, const ActionInfo& action) {
        std::string name = Entry(n);
        std::string bytes;
        if (!payload_.Has(name)) {
            findings_.Mistake(Where(name, kActKey), "a " + std::string(action.name) + " needs the payload file \"" +
                                                        name + "\", but " + payload_.Origin() + " does not carry it");
            return;
        }
        if (!payload_.Read(name, bytes)) {
            findings_.Mistake(Where(name, kActKey), "the payload file \"" + payload_.PathOf(name) + "\" cannot be read");
            return;
        }
        std::string where = Where(name) + " payload \"" + name + "\"";
        if (action.code == kActXorDelta) CheckXorDeltaPayload(bytes, where, findings_);
        if (action.code == kActBytePatch) CheckBytePatchPayload(bytes, where, findings_);
        if (action.code == kActBinaryDelta) CheckBinaryDeltaPayload(bytes, where, findings_);
    }

    void CheckIniKeys(const std::string& section) {
        int32_t count = LenientNumber(script_.Value(section, kCountKey));
        for (int32_t i = 1; i <= count; ++i) {
            std::string key = kIniKeyPrefix + std::to_string(i);
            if (script_.Value(section, key).empty()) {
                findings_.Mistake(Where(section, key), "missing: Count is " + std::to_string(count) +
                                                           "; each line is section,key,value");
                return;
            }
        }
    }

    void CheckRegistrySection(const char* section, const char* countKey, RegistrySectionKind kind) {
        int32_t count = Count(kSetupSection, countKey);
        for (int32_t i = 1; i <= count; ++i) {
            std::string key = std::to_string(i);
            std::string line = script_.Value(section, key);
            if (line.empty()) {
                findings_.Mistake(Where(section, key), "missing: " + std::string(countKey) + " in [Setup] is " +
                                                           std::to_string(count));
                // One message for a count far beyond the lines.
                if (i < count) findings_.Mistake(Where(section), "lines " + std::to_string(i + 1) + " to " +
                                                                      std::to_string(count) + " are not checked");
                return;
            }
            CheckRegistryLine(line, kind, Where(section, key), findings_);
        }
        if (count == 0 && Has(section) && !script_.Keys(section).empty())
            findings_.Warning(Where(section), std::string(countKey) + " in [Setup] is 0: the lines of this section "
                                                                      "are never applied");
    }

    const PayloadFiles& payload_;
    std::string scriptPath_;
    ScriptProfile script_;
    Findings& findings_;
    std::string name_;
};

}  // namespace

void CheckScript(const PayloadFiles& payload, Findings& findings) {
    std::string scriptPath = payload.PathOf(kScriptFileName);
    if (scriptPath.empty()) {
        findings.Mistake(payload.Origin(), std::string("the patch script \"") + kScriptFileName + "\" is missing");
    } else {
        ScriptChecker(payload, scriptPath, findings).Run();
    }
    std::string image;
    bool side = payload.Read("Setup.img", image);
    CheckSideImage(side ? &image : nullptr, "Setup.img", payload.Origin(),
                   "the wizard shows the brand image Zuli.img in its place", findings);
    bool brand = payload.Read("Zuli.img", image);
    CheckSideImage(brand ? &image : nullptr, "Zuli.img", payload.Origin(),
                   "the maker credits page (and a patch without Setup.img) has no side image", findings);
}
