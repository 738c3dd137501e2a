#include "build/BackupCompanion.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "build/ExecutionLevel.h"
#include "build/PatchWriter.h"
#include "build/RuntimeImage.h"
#include "common/Files.h"
#include "core/ResourceIds.h"

namespace {

constexpr char kCompanionName[] = "zuliundo.exe";
constexpr char kStoredName[] = "Uninstaller.exe";

std::string Where(const Manifest& manifest) { return manifest.path + ": [Backup]"; }

std::string BuilderFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// The patch's title as a folder name: characters no file name may hold
// become "_".
std::string FolderNameOf(const std::string& title) {
    std::string name;
    for (char c : title) {
        if (c == '\0') break;
        name += (static_cast<unsigned char>(c) < 32 || std::string("\\/:*?\"<>|").find(c) != std::string::npos) ? '_'
                                                                                                              : c;
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
    return name.empty() ? "Patch" : name;
}

bool HasBackupSection(std::string script) {
    std::transform(script.begin(), script.end(), script.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return script.find("[backup]") != std::string::npos;
}

}  // namespace

bool AddBackupCompanion(const Manifest& manifest, PatchProject& project, const std::string& output,
                        const std::string& level, std::string& scratchScript, std::string& scratchCompanion,
                        std::string& error) {
    scratchScript.clear();
    scratchCompanion.clear();
    if (!project.backup) return true;
    if (!project.readyCabinet.empty()) {
        error = Where(manifest) + ": Enabled=1 needs [Cabinet] Files: the companion is added to the cabinet the "
                                  "builder makes, not to a ready one";
        return false;
    }
    CabinetFile* script = nullptr;
    for (CabinetFile& file : project.cabinetFiles) {
        if (SameName(file.storedName, kStoredName)) {
            error = Where(manifest) + ": Enabled=1, but [Cabinet] Files packs an Uninstaller.exe of its own; "
                                      "give one or the other";
            return false;
        }
        if (SameName(file.storedName, "Setup.ini")) script = &file;
    }
    std::string companion = BuilderFolder() + kCompanionName;
    if (GetFileAttributesA(companion.c_str()) == INVALID_FILE_ATTRIBUTES) {
        error = Where(manifest) + ": the backup companion " + companion + " is missing (it ships beside "
                                  "zulibuild.exe)";
        return false;
    }
    std::string text;
    if (!script || !ReadFileBytes(script->source, text)) {
        error = Where(manifest) + ": cannot read the patch script";
        return false;
    }
    if (HasBackupSection(text)) {
        error = Where(manifest) + ": the script " + script->source +
                " has a [Backup] section of its own; the builder writes it";
        return false;
    }
    auto titleResource = project.resources.find(ResPatchTitle);
    const std::string title = titleResource != project.resources.end() ? titleResource->second : "";
    std::string folder = project.backupFolder;
    if (folder.empty()) folder = "Zuli Backups\\" + FolderNameOf(title);
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    // The title names the backup in the companion's list of a store.
    text += "[Backup]\r\nFolder=" + folder + "\r\nTitle=" +
            title.substr(0, title.find_first_of(std::string("\r\n\0", 3))) + "\r\n";
    scratchScript = output + ".Setup.ini";
    HANDLE file = CreateFileA(scratchScript.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE &&
              WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok) {
        error = scratchScript + ": cannot write the script with its backup folder";
        DeleteFileA(scratchScript.c_str());
        scratchScript.clear();
        return false;
    }
    script->source = scratchScript;
    // The companion runs at the patch's execution level: a copy with the
    // patch's level in its manifest. A signed companion is packed as it is,
    // as a changed copy would lose the signature, and so is one without a
    // manifest (a stand-in of the author's).
    std::string image;
    if (!ReadFileBytes(companion, image)) {
        error = Where(manifest) + ": cannot read the backup companion " + companion;
        return false;
    }
    std::string packed = companion;
    std::vector<ResourceItem> items;
    if (!IsSignedImage(image) && AddManifestResource(level, false, companion, items, error) && !items.empty()) {
        scratchCompanion = output + ".Uninstaller.exe";
        if (!WritePatch(image, items, scratchCompanion, error)) {
            error = Where(manifest) + ": the backup companion: " + error;
            DeleteFileA(scratchCompanion.c_str());
            scratchCompanion.clear();
            return false;
        }
        packed = scratchCompanion;
    }
    project.cabinetFiles.push_back({packed, kStoredName});
    return true;
}
