#include "diff/DiffCommand.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/Cabinet.h"
#include "common/Console.h"
#include "common/Files.h"
#include "common/SystemMessage.h"
#include "core/neutral/Crc32.h"
#include "diff/DiffManifest.h"
#include "diff/DiffOptions.h"
#include "diff/DiffScript.h"
#include "diff/SideImages.h"
#include "diff/TreeCompare.h"
#include "diff/UpdateChoice.h"

namespace {

constexpr const char* kManifestName = "patch.ini";
constexpr const char* kScriptName = "Setup.ini";
constexpr const char* kSetupImage = "Setup.img";
constexpr const char* kMakerImage = "Zuli.img";

int Fail(const std::string& message) {
    std::fprintf(stderr, "zulibuild diff: %s\nzulibuild diff: no project was written\n", message.c_str());
    return 1;
}

// At most about one progress line a second, and one at the end.
class ProgressLine {
public:
    explicit ProgressLine(const char* what) : what_(what), last_(GetTickCount()) {}
    void Tell(std::size_t done, std::size_t total) {
        DWORD now = GetTickCount();
        if (done != total && now - last_ < 1000) return;
        if (done == total && !shown_) return;  // a quick run needs no progress
        last_ = now;
        shown_ = true;
        std::printf("zulibuild diff: %s %u of %u\n", what_, static_cast<unsigned>(done), static_cast<unsigned>(total));
        std::fflush(stdout);
    }

private:
    const char* what_;
    DWORD last_;
    bool shown_ = false;
};

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = bytes.empty() ||
              (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
    return CloseHandle(file) && ok;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName, path = folder + name;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path + "\\");
            else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

bool FolderIsEmpty(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return true;
    bool empty = true;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") empty = false;
    } while (empty && FindNextFileA(find, &found));
    FindClose(find);
    return empty;
}

uint32_t Crc32Of(const std::string& bytes) {
    return Crc32Update(0, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

bool MatchesAny(const std::string& relative, const std::vector<std::string>& patterns, std::vector<bool>* used) {
    bool any = false;
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        const std::string& pattern = patterns[i];
        // A pattern with a folder matches the relative path, one without
        // the file name wherever it is.
        std::string subject = pattern.find('\\') != std::string::npos ? relative : NamePart(relative);
        if (PathMatchSpecA(subject.c_str(), pattern.c_str())) {
            any = true;
            if (used) (*used)[i] = true;
        }
    }
    return any;
}

bool Delayed(const std::string& relative, const std::vector<std::string>& extensions) {
    const char* extension = PathFindExtensionA(relative.c_str());
    for (const std::string& e : extensions)
        if (lstrcmpiA(extension, e.c_str()) == 0) return true;
    return false;
}

bool IsProcName(const std::string& name) {
    if (name.size() < 5 || lstrcmpiA(name.substr(0, 4).c_str(), "Proc") != 0) return false;
    return name.find_first_not_of("0123456789", 4) == std::string::npos;
}

// The new folder's own name, for the default title.
std::string FolderName(const std::string& folder) {
    return NamePart(folder.substr(0, folder.size() - 1));
}

struct Totals {
    unsigned changed = 0, added = 0, removed = 0, unchanged = 0;
    unsigned long long payloadBytes = 0;
    unsigned payloadFiles = 0;
};

bool MakeEntries(const DiffOptions& options, const std::vector<TreeDifference>& differences,
                 std::vector<DiffEntry>& entries, Totals& totals, std::string& error) {
    std::vector<bool> used(options.required.size(), false);
    std::vector<DiffEntry> changed, added, removed;
    ProgressLine progress("packed");
    std::size_t work = 0, done = 0;
    for (const TreeDifference& d : differences) work += d.change != FileChange::Unchanged;
    for (const TreeDifference& d : differences) {
        if (d.change == FileChange::Unchanged) {
            ++totals.unchanged;
            continue;
        }
        DiffEntry entry;
        entry.relative = d.relative;
        std::string oldBytes, newBytes;
        if (d.change != FileChange::Added && !ReadFileBytes(options.oldFolder + d.relative, oldBytes)) {
            error = "cannot read \"" + options.oldFolder + d.relative + "\"";
            return false;
        }
        if (d.change != FileChange::Removed && !ReadFileBytes(options.newFolder + d.relative, newBytes)) {
            error = "cannot read \"" + options.newFolder + d.relative + "\"";
            return false;
        }
        if (d.change == FileChange::Changed) {
            UpdateRules rules;
            rules.delayed = Delayed(d.relative, options.delayed);
            rules.iniKeys = options.iniKeys;
            UpdateChoice choice = ChooseUpdate(oldBytes, newBytes, rules);
            entry.action = choice.way == UpdateWay::XorDelta      ? EntryAction::Update
                           : choice.way == UpdateWay::BinaryDelta ? EntryAction::BinaryUpdate
                           : choice.way == UpdateWay::WholeFile   ? EntryAction::WholeFile
                                                                  : EntryAction::IniKeys;
            entry.payload = choice.payload;
            entry.lines = choice.lines;
            bool delta = entry.action == EntryAction::Update || entry.action == EntryAction::BinaryUpdate;
            entry.delayed = rules.delayed && delta;
            entry.oldCrc = Crc32Of(oldBytes);
            entry.newCrc = Crc32Of(newBytes);
            entry.required = MatchesAny(d.relative, options.required, &used) && entry.action != EntryAction::WholeFile;
            entry.note = "changed: " + d.relative + " (" + UpdateWayName(choice.way) + (entry.delayed ? ", at restart" : "") + ")";
            ++totals.changed;
            changed.push_back(entry);
        } else if (d.change == FileChange::Added) {
            entry.action = EntryAction::Add;
            entry.payload = newBytes;
            entry.note = "added: " + d.relative;
            MatchesAny(d.relative, options.required, &used);
            ++totals.added;
            added.push_back(entry);
        } else {
            entry.action = EntryAction::Remove;
            entry.note = "removed: " + d.relative;
            MatchesAny(d.relative, options.required, &used);
            ++totals.removed;
            removed.push_back(entry);
        }
        progress.Tell(++done, work);
    }
    for (std::size_t i = 0; i < used.size(); ++i)
        if (!used[i]) std::printf("zulibuild diff: warning: --required %s matches no file\n", options.required[i].c_str());
    // Updates first, then new files, then removals.
    entries = changed;
    entries.insert(entries.end(), added.begin(), added.end());
    entries.insert(entries.end(), removed.begin(), removed.end());
    for (std::size_t i = 0; i < entries.size(); ++i)
        std::printf("  Proc%u  %s\n", static_cast<unsigned>(i + 2), entries[i].note.c_str());
    return true;
}

// A file at the top of both versions, or else a folder there: what tells the
// installed folder from any other. Empty when the versions share nothing at
// the top.
std::string Anchor(const std::vector<TreeDifference>& differences) {
    std::string folder;
    for (const TreeDifference& d : differences) {
        if (d.change != FileChange::Changed && d.change != FileChange::Unchanged) continue;
        std::size_t slash = d.relative.find('\\');
        if (slash == std::string::npos) return d.relative;
        if (folder.empty()) folder = d.relative.substr(0, slash);
    }
    return folder;
}

// Writes everything into `folder`; the names the cabinet packs in `packed`.
bool WriteProject(const DiffOptions& options, const std::string& anchor, const std::vector<DiffEntry>& entries,
                  const std::string& folder,
                  std::vector<std::string>& packed, Totals& totals, std::string& error) {
    packed.assign(1, kScriptName);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const DiffEntry& entry = entries[i];
        if (entry.action == EntryAction::IniKeys || entry.action == EntryAction::Remove) continue;
        std::string name = "Proc" + std::to_string(i + 2);
        if (!WriteBytes(folder + name, entry.payload)) {
            error = "cannot write \"" + folder + name + "\": " + SystemMessage(GetLastError());
            return false;
        }
        packed.push_back(name);
        totals.payloadBytes += entry.payload.size();
        ++totals.payloadFiles;
    }
    if (!WriteBytes(folder + kScriptName, DiffScriptText(options, anchor, entries))) {
        error = "cannot write \"" + folder + kScriptName + "\": " + SystemMessage(GetLastError());
        return false;
    }

    std::string title = options.name.empty() ? FolderName(options.newFolder) + " Update" : options.name;
    std::string templateText;
    if (!options.templateFolder.empty()) {
        if (!ReadFileBytes(options.templateFolder + kManifestName, templateText)) {
            error = "--template: cannot read \"" + options.templateFolder + kManifestName + "\"";
            return false;
        }
        std::vector<std::string> files;
        if (!ListTree(options.templateFolder, files, error)) return false;
        for (const std::string& file : files) {
            std::string base = NamePart(file);
            if (file == base && (lstrcmpiA(base.c_str(), kManifestName) == 0 ||
                                 lstrcmpiA(base.c_str(), kScriptName) == 0 || IsProcName(base)))
                continue;  // made anew here
            for (std::size_t at = 0; (at = file.find('\\', at)) != std::string::npos; ++at)
                CreateDirectoryA((folder + file.substr(0, at)).c_str(), nullptr);
            if (!CopyFileA((options.templateFolder + file).c_str(), (folder + file).c_str(), FALSE)) {
                error = "--template: cannot copy \"" + options.templateFolder + file + "\": " +
                        SystemMessage(GetLastError());
                return false;
            }
        }
        for (const std::string& file : ManifestCabinetFiles(templateText))
            if (lstrcmpiA(file.c_str(), kScriptName) != 0 && !IsProcName(file)) packed.push_back(file);
    }
    // The side images: the template's, or plain ones.
    for (const char* image : {kSetupImage, kMakerImage}) {
        bool listed = false;
        for (const std::string& file : packed) listed |= lstrcmpiA(file.c_str(), image) == 0;
        if (listed) continue;
        bool given = GetFileAttributesA((folder + image).c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!given && !WriteBytes(folder + image, image == kSetupImage ? DefaultSetupImage() : DefaultMakerImage())) {
            error = std::string("cannot write \"") + folder + image + "\": " + SystemMessage(GetLastError());
            return false;
        }
        packed.push_back(image);
    }
    std::string manifest = templateText.empty() ? DefaultManifestText(title, packed)
                                                : TemplateManifestText(templateText, title, packed);
    if (!WriteBytes(folder + kManifestName, manifest)) {
        error = "cannot write \"" + folder + kManifestName + "\": " + SystemMessage(GetLastError());
        return false;
    }
    // A template's own settings are kept as the author wrote them; one that
    // predates the transaction setting would quietly make a patch that
    // changes entry by entry, so the author is told.
    if (!templateText.empty() && !ManifestGivesKey(manifest, "Settings", "Transaction"))
        std::printf("zulibuild diff: note: the template's [Settings] has no Transaction key, so the patch changes "
                    "entry by entry; add Transaction=1 to make it change all or nothing\n");
    return true;
}

}  // namespace

int RunDiff(int argc, char** argv) {
    DiffOptions options;
    std::string error;
    if (AsksForHelp(argc, argv)) {
        std::printf("%s", kDiffUsage);
        return 0;
    }
    if (argc == 0) {
        std::fprintf(stderr, "%s", kDiffUsage);
        return 2;
    }
    if (!ParseDiffOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "zulibuild diff: %s\n%s", error.c_str(), kDiffUsage);
        return 2;
    }
    std::string project = options.project.substr(0, options.project.size() - 1);
    DWORD attributes = GetFileAttributesA(project.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || !FolderIsEmpty(options.project)))
        return Fail("\"" + project + "\" exists and is not an empty folder; the project goes into a new one");

    std::printf("zulibuild diff: comparing %s with %s\n", options.oldFolder.c_str(), options.newFolder.c_str());
    std::fflush(stdout);
    std::vector<TreeDifference> differences;
    ProgressLine compared("compared files:");
    if (!CompareTrees(options.oldFolder, options.newFolder, differences,
                      [&](std::size_t done, std::size_t total) { compared.Tell(done, total); }, error))
        return Fail(error);

    Totals totals;
    std::vector<DiffEntry> entries;
    if (!MakeEntries(options, differences, entries, totals, error)) return Fail(error);
    if (entries.empty() && options.addReg.empty() && options.delReg.empty() && options.renReg.empty())
        return Fail("the two folders hold the same files and no registry line is given: there is nothing to patch");
    std::string anchor = Anchor(differences);
    if (anchor.empty())
        return Fail("the two folders have no file or folder in common at their top level, so nothing would tell "
                    "the installed folder from any other");

    // Everything goes into a scratch folder beside the project first, which
    // becomes the project only when complete.
    std::string partial = project + ".partial\\";
    RemoveTree(partial);
    if (!CreateDirectoryA(partial.c_str(), nullptr))
        return Fail("cannot make the folder \"" + partial + "\": " + SystemMessage(GetLastError()));
    std::vector<std::string> packed;
    std::string cabinet;
    std::vector<CabinetFile> files;
    bool ok = WriteProject(options, anchor, entries, partial, packed, totals, error);
    unsigned long long packedBytes = 0;
    for (const std::string& name : packed) {
        files.push_back({partial + name, name});
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (GetFileAttributesExA((partial + name).c_str(), GetFileExInfoStandard, &data))
            packedBytes += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    if (ok && !BuildCabinet(files, cabinet, error)) ok = false;
    if (ok && attributes != INVALID_FILE_ATTRIBUTES && !RemoveDirectoryA(project.c_str())) {
        error = "cannot replace the empty folder \"" + project + "\": " + SystemMessage(GetLastError());
        ok = false;
    }
    if (ok && !MoveFileA(partial.substr(0, partial.size() - 1).c_str(), project.c_str())) {
        error = "cannot rename \"" + partial + "\" to \"" + project + "\": " + SystemMessage(GetLastError());
        ok = false;
    }
    if (!ok) {
        RemoveTree(partial);
        return Fail(error);
    }
    std::printf("zulibuild diff: wrote %s\n"
                "  %u changed, %u added, %u removed, %u unchanged; registry lines: %u\n"
                "  payload %llu bytes in %u files; all %u packed files %llu bytes, %u bytes compressed in the cabinet\n",
                project.c_str(), totals.changed, totals.added, totals.removed, totals.unchanged,
                static_cast<unsigned>(options.addReg.size() + options.delReg.size() + options.renReg.size()),
                totals.payloadBytes, totals.payloadFiles, static_cast<unsigned>(packed.size()), packedBytes,
                static_cast<unsigned>(cabinet.size()));
    return 0;
}
