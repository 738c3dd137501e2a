#include "check/PayloadFiles.h"

#include <windows.h>
#include <fdi.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/Files.h"
#include "common/SystemMessage.h"
#include "core/neutral/CabinetDirectory.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// FDI works through these plain run-time library calls.
FNALLOC(UnpackAlloc) { return std::malloc(cb); }
FNFREE(UnpackFree) { std::free(pv); }
FNOPEN(UnpackOpen) { return _open(pszFile, oflag | _O_BINARY, pmode); }
FNREAD(UnpackRead) { return static_cast<UINT>(_read(static_cast<int>(hf), pv, cb)); }
FNWRITE(UnpackWrite) { return static_cast<UINT>(_write(static_cast<int>(hf), pv, cb)); }
FNCLOSE(UnpackClose) { return _close(static_cast<int>(hf)); }
FNSEEK(UnpackSeek) { return _lseek(static_cast<int>(hf), dist, seektype); }

struct UnpackTarget {
    std::string folder;  // with a trailing backslash
    bool refused = false;
};

FNFDINOTIFY(UnpackNotify) {
    auto* target = static_cast<UnpackTarget*>(pfdin->pv);
    switch (fdint) {
    case fdintCOPY_FILE: {
        // Only plain names: the runtime unpacks into one folder as well.
        if (!IsPlainFileName(pfdin->psz1, std::strlen(pfdin->psz1))) {
            target->refused = true;
            return -1;
        }
        std::string path = target->folder + pfdin->psz1;
        return _open(path.c_str(), _O_BINARY | _O_CREAT | _O_TRUNC | _O_WRONLY, _S_IREAD | _S_IWRITE);
    }
    case fdintCLOSE_FILE_INFO:
        _close(static_cast<int>(pfdin->hf));
        return TRUE;
    default:
        return 0;
    }
}

void CollectName(const char* name, std::size_t length, uint32_t, void* context) {
    static_cast<std::vector<std::string>*>(context)->emplace_back(name, length);
}

}  // namespace

// Everything unpacked goes, also a file the unpacking left half-made.
PayloadFiles::~PayloadFiles() {
    if (scratch_.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((scratch_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            std::string path = scratch_ + "\\" + found.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(scratch_.c_str());
}

void PayloadFiles::UseFiles(const std::vector<CabinetFile>& files) {
    origin_ = "[Cabinet] Files";
    for (const CabinetFile& file : files) byLowerName_[Lower(file.storedName)] = file.source;
}

bool PayloadFiles::UseReadyCabinet(const std::string& cabinet, const std::string& cabinetPath, std::string& error) {
    origin_ = "the ready cabinet \"" + cabinetPath + "\"";
    std::vector<std::string> names;
    if (!ForEachCabinetFile(reinterpret_cast<const unsigned char*>(cabinet.data()), cabinet.size(), CollectName,
                            &names)) {
        error = "\"" + cabinetPath + "\": its list of files cannot be read (a damaged cabinet)";
        return false;
    }
    char temp[MAX_PATH + 1] = {}, scratch[MAX_PATH + 1] = {};
    if (!GetTempPathA(sizeof temp, temp) || !GetTempFileNameA(temp, "zck", 0, scratch)) {
        error = "cannot make a scratch folder to look into the cabinet: " + SystemMessage(GetLastError());
        return false;
    }
    DeleteFileA(scratch);
    if (!CreateDirectoryA(scratch, nullptr)) {
        error = "cannot make a scratch folder to look into the cabinet: " + SystemMessage(GetLastError());
        return false;
    }
    scratch_ = scratch;
    UnpackTarget target{scratch_ + "\\"};
    // FDI wants the cabinet's folder and name apart; the bytes are written to
    // the scratch folder first, so that a trimmed ready cabinet is what is read.
    std::string copy = target.folder + "payload.cab";
    {
        int fd = _open(copy.c_str(), _O_BINARY | _O_CREAT | _O_TRUNC | _O_WRONLY, _S_IREAD | _S_IWRITE);
        bool written = fd != -1 && _write(fd, cabinet.data(), static_cast<unsigned>(cabinet.size())) ==
                                       static_cast<int>(cabinet.size());
        if (fd != -1) _close(fd);
        if (!written) {
            DeleteFileA(copy.c_str());
            error = "cannot copy the cabinet into the scratch folder \"" + scratch_ + "\"";
            return false;
        }
    }
    ERF failure{};
    HFDI context = FDICreate(UnpackAlloc, UnpackFree, UnpackOpen, UnpackRead, UnpackWrite, UnpackClose, UnpackSeek,
                             cpuUNKNOWN, &failure);
    bool ok = context != nullptr;
    if (ok) {
        char name[] = "payload.cab";
        std::string folder = target.folder;
        ok = FDICopy(context, name, &folder[0], 0, UnpackNotify, nullptr, &target) && !target.refused;
        FDIDestroy(context);
    }
    DeleteFileA(copy.c_str());
    for (const std::string& stored : names) {
        std::string path = target.folder + stored;
        if (IsPlainFileName(stored.c_str(), stored.size()) &&
            GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            byLowerName_[Lower(stored)] = path;
    }
    if (!ok) {
        error = "\"" + cabinetPath + "\" cannot be unpacked" +
                (target.refused ? std::string(": it stores a file under a folder name") : std::string());
        return false;
    }
    return true;
}

bool PayloadFiles::Has(const std::string& storedName) const { return byLowerName_.count(Lower(storedName)) != 0; }

std::string PayloadFiles::PathOf(const std::string& storedName) const {
    auto found = byLowerName_.find(Lower(storedName));
    return found == byLowerName_.end() ? std::string() : found->second;
}

bool PayloadFiles::Read(const std::string& storedName, std::string& bytes) const {
    std::string path = PathOf(storedName);
    return !path.empty() && ReadFileBytes(path, bytes);
}
