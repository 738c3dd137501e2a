#include "project/Project.h"

#include <windows.h>

#include <sstream>

#include "common/Files.h"
#include "common/neutral/NearestName.h"
#include "core/ResourceIds.h"
#include "project/DefaultTexts.h"
#include "project/ManifestValues.h"
#include "project/ResourceTable.h"

namespace {

constexpr unsigned kPageCount = 14;

struct Context {
    const Manifest& manifest;
    PatchProject& project;
    std::string& error;

    bool Fail(const ManifestSection& section, const ManifestEntry* entry, const std::string& message) {
        error = manifest.path;
        if (entry) error += " line " + std::to_string(entry->line);
        error += ": [" + section.name + "]";
        if (entry) error += " " + entry->key;
        error += ": " + message;
        return false;
    }

    void Warn(const ManifestSection& section, const ManifestEntry& entry, const std::string& message) {
        project.warnings.push_back(manifest.path + " line " + std::to_string(entry.line) + ": [" + section.name +
                                   "] " + entry.key + ": " + message);
    }
};

// "unknown key (A, B, C)", naming the known key nearest to the one given.
std::string UnknownKey(const std::string& key, const std::vector<std::string>& known) {
    std::string list;
    for (const std::string& name : known) list += (list.empty() ? "" : ", ") + name;
    return "unknown key (" + list + ")" + DidYouMean(key, known);
}

// A box starts ticked only for exactly 1, while the backup option and the
// page table act on any nonzero value: another value shows an unticked box
// whose setting still acts.
void WarnNotZeroOrOne(Context& c, const ManifestSection& section, const ManifestEntry& entry,
                      const std::string& bytes, const char* what) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned value = static_cast<unsigned char>(bytes[i]);
        if (value > 1)
            c.Warn(section, entry, std::string(what) + " " + std::to_string(i) + " is " + std::to_string(value) +
                                       ": use 0 or 1 (any other value shows its box unticked, while parts of the patch "
                                       "take it as set)");
    }
}

// A text value: "@file" reads the file; otherwise \n gives a line break
// (CR LF), \t a tab, \\ a backslash, and surrounding double quotes keep
// leading or trailing blanks.
bool DecodeText(Context& c, const ManifestSection& section, const ManifestEntry& entry, std::string& text) {
    const std::string& value = entry.value;
    if (!value.empty() && value[0] == '@') {
        std::string path = c.project.folder + value.substr(1);
        if (!ReadFileBytes(path, text)) return c.Fail(section, &entry, "cannot read the text file \"" + path + "\"");
        return true;
    }
    std::string raw = value;
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') raw = raw.substr(1, raw.size() - 2);
    text.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            text += raw[i];
            continue;
        }
        char next = raw[++i];
        if (next == 'n') text += "\r\n";
        else if (next == 't') text += '\t';
        else if (next == '\\') text += '\\';
        else text += '\\', text += next;  // not an escape: kept as written
    }
    return true;
}

bool Put(Context& c, const ManifestSection& section, const ManifestEntry& entry, unsigned id, std::string bytes) {
    if (c.project.resources.count(id))
        return c.Fail(section, &entry, "resource " + std::to_string(id) + " is given twice");
    c.project.resources[id] = std::move(bytes);
    return true;
}

bool PutText(Context& c, const ManifestSection& section, const ManifestEntry& entry, unsigned id) {
    std::string text;
    if (!DecodeText(c, section, entry, text)) return false;
    text += '\0';  // stored with its terminator
    return Put(c, section, entry, id, text);
}

bool LoadTexts(Context& c, const ManifestSection& section) {
    for (const ManifestEntry& entry : section.entries) {
        if (SameName(entry.key, kSupportAddressKey)) {
            if (!DecodeText(c, section, entry, c.project.supportAddress)) return false;
            continue;
        }
        unsigned long id = 0;
        bool number = ParseManifestNumber(entry.key, 0xFFFF, id);
        const ResourceInfo* info = number ? FindResourceInfo(id) : nullptr;
        if (!info || info->form != ResourceForm::Text)
            return c.Fail(section, &entry, std::string("not the number of a text resource of the runtime, nor ") +
                                               kSupportAddressKey +
                                               (number ? "" : DidYouMean(entry.key, {kSupportAddressKey})));
        if (!PutText(c, section, entry, id)) return false;
    }
    return true;
}

bool LoadSettings(Context& c, const ManifestSection& section) {
    const std::vector<std::string> known = {"PageTable", "OptionDefaults", "StartGate", "ExecutionLevel", "Transaction"};
    for (const ManifestEntry& entry : section.entries) {
        bool isKnown = false;
        for (const std::string& name : known) isKnown |= SameName(entry.key, name);
        if (!isKnown) return c.Fail(section, &entry, UnknownKey(entry.key, known));
        if (SameName(entry.key, "ExecutionLevel")) {
            c.project.executionLevel = CanonicalExecutionLevel(entry.value);
            if (c.project.executionLevel.empty())
                return c.Fail(section, &entry, "expected asInvoker, highestAvailable or requireAdministrator");
            continue;
        }
        if (SameName(entry.key, "Transaction")) {
            // Strictly 0 or 1: the runtime turns the transaction on only for
            // 1, so any other value would quietly leave the patch without it.
            if (entry.value != "0" && entry.value != "1")
                return c.Fail(section, &entry, "expected 0 (entry by entry) or 1 (one transaction: all or nothing)");
            if (!Put(c, section, entry, ResTransactionSetting, std::string(1, static_cast<char>(entry.value[0] - '0'))))
                return false;
            continue;
        }
        std::string bytes;
        if (!ParseManifestBytes(entry.value, bytes))
            return c.Fail(section, &entry, "expected byte values 0 to 255 separated by commas");
        if (SameName(entry.key, "PageTable")) {
            if (bytes.size() != kPageCount)
                return c.Fail(section, &entry, "the page table needs 14 values (pages 0 to 13), found " +
                                                   std::to_string(bytes.size()));
            if (bytes[0] == 0 || bytes[12] == 0)
                return c.Fail(section, &entry, "pages 0 and 12 must be set (slots 0 and 12 nonzero): "
                                               "without them the wizard cannot start or finish");
            if (bytes[6] == 0 && bytes[7] == 0)
                c.Warn(section, entry, "the check page (6) and the processing page (7) are both off: the patch "
                                       "checks nothing and changes nothing");
            WarnNotZeroOrOne(c, section, entry, bytes, "slot");
            if (!Put(c, section, entry, ResPageTable, bytes)) return false;
        } else if (SameName(entry.key, "OptionDefaults")) {
            if (bytes.size() != 3)
                return c.Fail(section, &entry, "needs 3 values: backup, skip differing, skip missing");
            WarnNotZeroOrOne(c, section, entry, bytes, "value");
            if (!Put(c, section, entry, ResOptionDefaults, bytes)) return false;
        } else if (SameName(entry.key, "StartGate")) {
            if (bytes.size() != 1) return c.Fail(section, &entry, "needs one value (0 ends the patch at once)");
            if (!Put(c, section, entry, ResStartGate, bytes)) return false;
        }
    }
    return true;
}

bool LoadFont(Context& c, const ManifestSection& section) {
    for (const ManifestEntry& entry : section.entries) {
        if (SameName(entry.key, "Face")) {
            if (!PutText(c, section, entry, ResFontFace)) return false;
        } else if (SameName(entry.key, "Size")) {
            unsigned long size = 0;
            if (!ParseManifestNumber(entry.value, 0xFFFF, size) || size == 0)
                return c.Fail(section, &entry, "expected a point size from 1 to 65535");
            std::string number = {static_cast<char>(size & 0xFF), static_cast<char>(size >> 8)};
            if (!Put(c, section, entry, ResFontPointSize, number)) return false;
        } else {
            return c.Fail(section, &entry, UnknownKey(entry.key, {"Face", "Size"}));
        }
    }
    return true;
}

bool LoadCursors(Context& c, const ManifestSection& section) {
    for (const ManifestEntry& entry : section.entries) {
        unsigned id = 0;
        if (SameName(entry.key, "Busy")) id = ResBusyCursorName;
        if (SameName(entry.key, "Link")) id = ResLinkCursorName;
        if (!id) return c.Fail(section, &entry, UnknownKey(entry.key, {"Busy", "Link"}));
        if (entry.value.empty() || entry.value.find_first_of("\\/:") != std::string::npos)
            return c.Fail(section, &entry, "expected the plain name of a file in the cabinet");
        if (!PutText(c, section, entry, id)) return false;
    }
    return true;
}

bool LoadData(Context& c, const ManifestSection& section) {
    for (const ManifestEntry& entry : section.entries) {
        unsigned long id = 0;
        const ResourceInfo* info = ParseManifestNumber(entry.key, 0xFFFF, id) ? FindResourceInfo(id) : nullptr;
        if (!info || info->form != ResourceForm::Bytes)
            return c.Fail(section, &entry, "not the number of a byte resource of the runtime");
        const char* ownKey = id == ResPageTable            ? "[Settings] PageTable"
                             : id == ResOptionDefaults     ? "[Settings] OptionDefaults"
                             : id == ResStartGate          ? "[Settings] StartGate"
                             : id == ResTransactionSetting ? "[Settings] Transaction"
                             : id == ResBackupCompanion    ? "[Backup] Enabled"
                                                           : nullptr;
        if (ownKey)
            return c.Fail(section, &entry, "resource " + std::to_string(id) + " is given as " + ownKey +
                                               ", where it is checked");
        std::string bytes;
        if (!ParseManifestBytes(entry.value, bytes))
            return c.Fail(section, &entry, "expected byte values 0 to 255 separated by commas");
        if (!Put(c, section, entry, id, bytes)) return false;
    }
    return true;
}

bool LoadCabinet(Context& c, const ManifestSection& section) {
    for (const ManifestEntry& entry : section.entries) {
        if (SameName(entry.key, "Ready")) {
            c.project.readyCabinet = c.project.folder + entry.value;
            continue;
        }
        if (!SameName(entry.key, "Files")) return c.Fail(section, &entry, UnknownKey(entry.key, {"Files", "Ready"}));
        std::stringstream items(entry.value);
        std::string item;
        while (std::getline(items, item, ',')) {
            std::size_t first = item.find_first_not_of(" \t"), last = item.find_last_not_of(" \t");
            if (first == std::string::npos) continue;
            item = item.substr(first, last - first + 1);
            std::string stored = item.substr(item.find_last_of("\\/") == std::string::npos ? 0 : item.find_last_of("\\/") + 1);
            for (const CabinetFile& earlier : c.project.cabinetFiles)
                if (SameName(earlier.storedName, stored))
                    return c.Fail(section, &entry, "\"" + stored + "\" would be stored twice");
            std::string source = c.project.folder + item;
            DWORD attributes = GetFileAttributesA(source.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
                return c.Fail(section, &entry, "payload file \"" + source + "\" is missing");
            c.project.cabinetFiles.push_back({source, stored});
        }
    }
    bool ready = !c.project.readyCabinet.empty();
    if (ready == !c.project.cabinetFiles.empty())
        return c.Fail(section, nullptr, "give either Files (to build the cabinet) or Ready (a ready cabinet)");
    if (ready) return true;
    bool hasScript = false;
    for (const CabinetFile& file : c.project.cabinetFiles) hasScript |= SameName(file.storedName, "Setup.ini");
    if (!hasScript) return c.Fail(section, nullptr, "Files must include the patch script \"Setup.ini\"");
    return true;
}

// "1.2.3.4": one to four numbers 0 to 65535 separated by dots.
bool IsVersionNumber(const std::string& text) {
    std::size_t start = 0;
    for (int part = 0; part < 4; ++part) {
        std::size_t dot = text.find('.', start);
        unsigned long value = 0;
        std::string item = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos ||
            !ParseManifestNumber(item, 0xFFFF, value))
            return false;
        if (dot == std::string::npos) return true;
        start = dot + 1;
    }
    return false;
}

bool LoadVersion(Context& c, const ManifestSection& section) {
    VersionFields& version = c.project.version;
    version.given = true;
    for (const ManifestEntry& entry : section.entries) {
        std::string* field = SameName(entry.key, "ProductName")      ? &version.productName
                             : SameName(entry.key, "CompanyName")    ? &version.companyName
                             : SameName(entry.key, "FileDescription") ? &version.fileDescription
                             : SameName(entry.key, "LegalCopyright") ? &version.legalCopyright
                             : SameName(entry.key, "FileVersion")    ? &version.fileVersion
                             : SameName(entry.key, "ProductVersion") ? &version.productVersion
                                                                      : nullptr;
        if (!field)
            return c.Fail(section, &entry, UnknownKey(entry.key, {"ProductName", "CompanyName", "FileDescription",
                                                                  "LegalCopyright", "FileVersion", "ProductVersion"}));
        if (!DecodeText(c, section, entry, *field)) return false;
        if ((field == &version.fileVersion || field == &version.productVersion) && !IsVersionNumber(*field))
            return c.Fail(section, &entry, "expected one to four numbers 0 to 65535 separated by dots, as 1.1.0.0");
    }
    return true;
}

bool LoadIcon(Context& c, const ManifestSection& section) {
    for (const ManifestEntry& entry : section.entries) {
        if (!SameName(entry.key, "File")) return c.Fail(section, &entry, UnknownKey(entry.key, {"File"}));
        c.project.iconPath = c.project.folder + entry.value;
        if (GetFileAttributesA(c.project.iconPath.c_str()) == INVALID_FILE_ATTRIBUTES)
            return c.Fail(section, &entry, "icon file \"" + c.project.iconPath + "\" is missing");
    }
    return true;
}

bool LoadBackup(Context& c, const ManifestSection& section) {
    for (const ManifestEntry& entry : section.entries) {
        if (SameName(entry.key, "Enabled")) {
            if (entry.value != "0" && entry.value != "1") return c.Fail(section, &entry, "expected 0 or 1");
            c.project.backup = entry.value == "1";
        } else if (SameName(entry.key, "Folder")) {
            c.project.backupFolder = entry.value;
        } else {
            return c.Fail(section, &entry, UnknownKey(entry.key, {"Enabled", "Folder"}));
        }
    }
    return true;
}

// A patch with the backup companion marks it (resource 26), so that the
// runtime goes on only once the backup is made, and changes all or nothing
// (resource 25 = 1): a failed run then leaves the application exactly as
// the backup saved it, never half patched.
bool MarkBackup(Context& c) {
    if (!c.project.backup) return true;
    const ManifestEntry* transaction = c.manifest.Entry("Settings", "Transaction");
    if (transaction && transaction->value != "1")
        return c.Fail(*c.manifest.Section("Settings"), transaction,
                      "Transaction=" + transaction->value + " cannot go with [Backup] Enabled=1, which makes the "
                      "patch one transaction (all or nothing): leave the key out or give Transaction=1");
    c.project.resources[ResTransactionSetting] = std::string(1, '\1');
    c.project.resources[ResBackupCompanion] = std::string(1, '\1');
    // Unattended runs take the box's first state: unticked, none of them
    // makes a backup.
    const ManifestEntry* defaults = c.manifest.Entry("Settings", "OptionDefaults");
    auto options = c.project.resources.find(ResOptionDefaults);
    if (defaults && options != c.project.resources.end() && !options->second.empty() && options->second[0] == 0)
        c.Warn(*c.manifest.Section("Settings"), *defaults,
               "[Backup] Enabled=1, but the backup box starts unticked (the first value is 0): every unattended "
               "run (/quiet, /passive) patches without a backup, and so does the wizard unless the user ticks the "
               "box; give 1 as the first value");
    return true;
}

// The texts the manifest leaves out come from the defaults. Texts with no
// default (the author's own name and addresses) must be given when their
// page is shown; otherwise they are stored empty.
bool FillDefaultTexts(const Manifest& manifest, PatchProject& project, std::string& error) {
    auto title = project.resources.find(ResPatchTitle);
    if (title == project.resources.end()) {
        error = manifest.path + ": resource 1 (patch title) is missing: give [Texts] 1, the name of the patch";
        return false;
    }
    std::string titleText = title->second.substr(0, title->second.find('\0'));
    if (!project.supportAddress.empty() && project.resources.count(ResErrChooseAgain))
        project.warnings.push_back(manifest.path + ": [Texts] " + kSupportAddressKey + " is given, but so is [Texts] " +
                                   std::to_string(ResErrChooseAgain) + ": the address goes only into default texts, "
                                   "and this patch shows it nowhere; write it into text " +
                                   std::to_string(ResErrChooseAgain) + " yourself");
    auto pageTable = project.resources.find(ResPageTable);
    unsigned count = 0;
    const DefaultText* texts = AllDefaultTexts(count);
    for (unsigned i = 0; i < count; ++i) {
        const DefaultText& text = texts[i];
        if (project.resources.count(text.id)) continue;
        if (!text.text) {
            bool shown = pageTable == project.resources.end() || text.page <= 0 ||
                         static_cast<std::size_t>(text.page) >= pageTable->second.size() ||
                         pageTable->second[static_cast<std::size_t>(text.page)] != 0;
            if (shown) {
                error = manifest.path + ": resource " + std::to_string(text.id) + " (" + text.control + " on page " +
                        std::to_string(text.page) + ") is missing: give [Texts] " + std::to_string(text.id) +
                        ", or turn page " + std::to_string(text.page) + " off in [Settings] PageTable";
                return false;
            }
        }
        project.resources[text.id] = ExpandDefaultText(text, titleText, project.supportAddress) + std::string(1, '\0');
    }
    return true;
}

}  // namespace

bool LoadProject(const Manifest& manifest, const std::string& folder, PatchProject& project, std::string& error) {
    project.folder = folder;
    Context c{manifest, project, error};
    struct Loader {
        const char* name;
        bool (*load)(Context&, const ManifestSection&);
    } loaders[] = {{"Texts", LoadTexts},     {"Settings", LoadSettings}, {"Font", LoadFont},
                   {"Cursors", LoadCursors}, {"Data", LoadData},         {"Cabinet", LoadCabinet},
                   {"Version", LoadVersion}, {"Icon", LoadIcon},         {"Backup", LoadBackup}};
    std::vector<std::string> sectionNames;
    for (const Loader& loader : loaders) sectionNames.push_back(loader.name);
    for (const ManifestSection& section : manifest.sections) {
        bool known = false;
        for (const Loader& loader : loaders) {
            if (!SameName(section.name, loader.name)) continue;
            known = true;
            if (!loader.load(c, section)) return false;
        }
        if (!known) {
            error = manifest.path + " line " + std::to_string(section.line) + ": unknown section [" + section.name +
                    "] (Texts, Settings, Font, Cursors, Data, Cabinet, Version, Icon, Backup)" +
                    DidYouMean(section.name, sectionNames);
            return false;
        }
    }
    if (!manifest.Section("Cabinet")) {
        error = manifest.path + ": section [Cabinet] is missing: it names the files of the payload cabinet";
        return false;
    }
    if (!MarkBackup(c)) return false;

    // A cursor the runtime will look for in the working folder must travel in
    // the cabinet that the builder makes.
    for (unsigned id : {ResBusyCursorName, ResLinkCursorName}) {
        auto named = project.resources.find(id);
        if (named == project.resources.end() || !project.readyCabinet.empty()) continue;
        std::string name = named->second.substr(0, named->second.size() - 1);
        bool packed = false;
        for (const CabinetFile& file : project.cabinetFiles) packed |= SameName(file.storedName, name);
        if (!packed) {
            error = manifest.path + ": resource " + std::to_string(id) + " names the cursor \"" + name +
                    "\", but [Cabinet] Files does not pack it";
            return false;
        }
    }

    if (project.resources.count(ResPageTable) && !FillDefaultTexts(manifest, project, error)) return false;

    // Every resource the runtime needs must be there; the seal and the
    // cabinet are made here.
    unsigned count = 0;
    const ResourceInfo* table = AllResourceInfo(count);
    for (unsigned i = 0; i < count; ++i) {
        const ResourceInfo& info = table[i];
        if (!info.required || info.form == ResourceForm::Seal || info.form == ResourceForm::Cabinet) continue;
        if (project.resources.count(info.id)) continue;
        std::string where = info.id == ResPageTable       ? "[Settings] PageTable"
                            : info.id == ResOptionDefaults ? "[Settings] OptionDefaults"
                            : info.id == ResStartGate      ? "[Settings] StartGate"
                            : info.id == ResFontFace       ? "[Font] Face"
                            : info.id == ResFontPointSize  ? "[Font] Size"
                                                           : "[Texts] " + std::to_string(info.id);
        error = manifest.path + ": resource " + std::to_string(info.id) + " (" + info.role + ") is missing: give " + where;
        return false;
    }
    return true;
}
