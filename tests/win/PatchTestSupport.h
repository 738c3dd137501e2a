// What the file-update tests share: a script whose entry section carries the
// Delay key, the run state the actions read, and a look for leftover scratch
// files.
#pragma once
#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include <string>
#include <vector>

#include <zlib.h>

#include "core/RunState.h"
#include "support/TestFiles.h"

// The CRC-32 of a content, as the script's CRC value carries it.
inline uint32_t CrcOf(const std::string& content) {
    return static_cast<uint32_t>(
        crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())));
}

// Binds the script reader to a "Setup.ini" in `folder` with section "Proc1"
// current; `delay` is written as the entry's Delay value unless empty, and
// the CRC the check accepted is that of `installed`.
inline void UseEntryScript(const ScratchFolder& folder, const std::string& delay,
                           const std::string& installed = std::string()) {
    std::string script = folder / "Setup.ini";
    std::string text = "[Setup]\r\nProcCount=1\r\n[Proc1]\r\nAct=2\r\n";
    if (!delay.empty()) text += "Delay=" + delay + "\r\n";
    text += "CRC=" + std::to_string(CrcOf(installed)) + "\r\n";
    WriteTestFile(script, text);
    RunState.ScriptReader.SetFile(script.c_str());
    RunState.ScriptReader.SetSection("Proc1");
}

// The names of the "QVR*.TMP" scratch files in a folder.
inline std::vector<std::string> ScratchFilesIn(const ScratchFolder& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder / "QVR*.TMP").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

inline std::string XorDeltaOf(const std::string& oldContent, const std::string& newContent) {
    std::string delta = newContent;
    for (std::size_t i = 0; i < delta.size() && i < oldContent.size(); ++i)
        delta[i] = static_cast<char>(delta[i] ^ oldContent[i]);
    return delta;
}

// The pairs of PendingFileRenameOperations, where the system keeps the
// renames it performs at the next start.
inline std::vector<std::string> PendingRenames() {
    std::vector<std::string> items;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return items;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        size > 0) {
        std::vector<char> data(size + 2, '\0');
        RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size);
        for (const char* p = data.data(); *p; p += strlen(p) + 1) items.push_back(p);
    }
    RegCloseKey(key);
    return items;
}

// Removes the pending renames whose source lies in `folder`, so that a test
// leaves nothing for the next start of the prefix.
inline void ForgetPendingRenamesFrom(const ScratchFolder& folder) {
    std::vector<std::string> items = PendingRenames();
    std::string kept;
    for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
        if (StrStrIA(items[i].c_str(), folder.Path().c_str())) continue;
        kept += items[i] + '\0' + items[i + 1] + '\0';
    }
    kept += '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0,
                      KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (kept.size() <= 1)
        RegDeleteValueA(key, "PendingFileRenameOperations");
    else
        RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ,
                       reinterpret_cast<const BYTE*>(kept.data()), static_cast<DWORD>(kept.size()));
    RegCloseKey(key);
}
