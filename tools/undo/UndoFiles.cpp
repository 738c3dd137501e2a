#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "Undo.h"
#include "UndoRecords.h"
#include "core/BackupStoreSafety.h"
#include "core/Handles.h"
#include "core/SystemErrorText.h"
#include "core/neutral/Crc32.h"

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    char last = folder.back();
    return last == '\\' || last == '/' ? folder + name : folder + "\\" + name;
}

std::string SystemErrorText(unsigned long error) {
    char text[512];
    return FormatSystemError(error, text, sizeof text) ? std::string(text) : "error " + std::to_string(error);
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    // A full disk may only show when the data is flushed.
    ok = FlushFileBuffers(file) && ok;
    ok = CloseHandle(file) && ok;
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    bytes.assign(size, '\0');
    DWORD read = 0;
    bool ok = size == INVALID_FILE_SIZE ? false
                                        : (size == 0 || (ReadFile(file, &bytes[0], size, &read, nullptr) && read == size));
    CloseHandle(file);
    return ok;
}

std::string ReadProfileValue(const std::string& file, const std::string& section, const char* key) {
    std::vector<char> value(32768);
    GetPrivateProfileStringA(section.c_str(), key, "", value.data(), static_cast<DWORD>(value.size()), file.c_str());
    return value.data();
}

std::string FolderOf(const std::string& path) {
    std::vector<char> buffer(path.begin(), path.end());
    buffer.push_back('\0');
    PathRemoveFileSpecA(buffer.data());
    return buffer.data();
}

bool CreateFolderChain(const std::string& folder) {
    if (folder.empty() || PathIsDirectoryA(folder.c_str())) return true;
    std::string parent = FolderOf(folder);
    if (parent != folder && !CreateFolderChain(parent)) return false;
    return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH + 1] = {};
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return std::string();
    std::string result = full;
    while (result.size() > 3 && result.back() == '\\') result.pop_back();
    return result;
}

std::string CommonDataFolder() {
    char common[MAX_PATH + 1] = {};
    SHGetSpecialFolderPathA(nullptr, common, CSIDL_COMMON_APPDATA, TRUE);
    return common;
}

bool SumFile(const std::string& path, bool flush, unsigned long long& size, uint32_t& crc) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ | (flush ? GENERIC_WRITE : 0), FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    std::vector<unsigned char> buffer(65536);
    size = 0;
    crc = 0;
    for (DWORD got = 0;; size += got) {
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
        if (got == 0) break;
        crc = Crc32Update(crc, buffer.data(), got);
    }
    return !flush || FlushFileBuffers(file.get());
}

namespace {

class StoreOpener {
public:
    StoreOpener(bool make, std::string& message) : make_(make), common_(CommonDataFolder()), message_(message) {}

    bool Open(const std::string& store) {
        if (!trust_.Valid()) {
            message_ = "cannot build the backup folder's access list: " + SystemErrorText(GetLastError());
            return false;
        }
        return Folder(store, true);
    }

private:
    // Folders nobody else may write lead to the store, below the common
    // application data folder (where users may make folders of their own,
    // and so put a link or a folder of theirs in the store's way): each one
    // is either made here or judged. A store elsewhere is the
    // administrator's choice, its parents with it.
    bool Folder(const std::string& folder, bool isStore) {
        const std::string parent = FolderOf(folder);
        if (!parent.empty() && parent != folder &&
            (LiesBelow(parent, common_) || (make_ && !PathIsDirectoryA(parent.c_str()))) && !Folder(parent, false))
            return false;
        if (make_ && CreateDirectoryA(folder.c_str(), trust_.NewFolder())) return true;
        if (make_ && GetLastError() != ERROR_ALREADY_EXISTS) {
            message_ = "cannot create the backup folder " + folder + ": " + SystemErrorText(GetLastError());
            return false;
        }
        if (!isStore && !LiesBelow(folder, common_)) return true;
        const StoreVerdict verdict = trust_.JudgeFolder(folder.c_str());
        if (verdict == StoreVerdict::Trusted) return true;
        message_ = (isStore ? "the backup folder " : "the folder above the backup folder ") + folder +
                   " is refused: " + StoreVerdictReason(verdict) +
                   ". Only SYSTEM and Administrators (or, for a user's own backup, that user) may own and change it.";
        return false;
    }

    StoreTrust trust_;
    bool make_;
    std::string common_;
    std::string& message_;
};

}  // namespace

bool OpenStore(const std::string& store, bool make, std::string& message) {
    return StoreOpener(make, message).Open(store);
}
