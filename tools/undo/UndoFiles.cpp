#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "Undo.h"
#include "core/SystemErrorText.h"

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
