#include "common/Cabinet.h"

#include <windows.h>
#include <fci.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "common/Files.h"
#include "common/SystemMessage.h"
#include "core/neutral/LittleEndian.h"

namespace {

constexpr std::size_t kSizeFieldOffset = 8;

uint32_t SizeField(const std::string& cabinet) {
    return ReadLittleEndian32(reinterpret_cast<const unsigned char*>(cabinet.data()) + kSizeFieldOffset);
}

// The callbacks FCI works through: plain run-time library file calls.
FNFCIALLOC(CabAlloc) { return std::malloc(cb); }
FNFCIFREE(CabFree) { std::free(memory); }
FNFCIOPEN(CabOpen) {
    (void)pv;
    int fd = _open(pszFile, oflag, pmode);
    if (fd == -1) *err = errno;
    return fd;
}
FNFCIREAD(CabRead) {
    (void)pv;
    int n = _read(static_cast<int>(hf), memory, cb);
    if (n == -1) *err = errno;
    return static_cast<UINT>(n);
}
FNFCIWRITE(CabWrite) {
    (void)pv;
    int n = _write(static_cast<int>(hf), memory, cb);
    if (n == -1) *err = errno;
    return static_cast<UINT>(n);
}
FNFCICLOSE(CabClose) {
    (void)pv;
    int result = _close(static_cast<int>(hf));
    if (result == -1) *err = errno;
    return result;
}
FNFCISEEK(CabSeek) {
    (void)pv;
    long result = _lseek(static_cast<int>(hf), dist, seektype);
    if (result == -1) *err = errno;
    return result;
}
FNFCIDELETE(CabDelete) {
    (void)pv;
    if (_unlink(pszFile) == -1) {
        *err = errno;
        return -1;
    }
    return 0;
}
FNFCIGETTEMPFILE(CabTempFile) {
    (void)pv;
    char folder[MAX_PATH + 1] = {}, name[MAX_PATH + 1] = {};
    if (!GetTempPathA(sizeof folder, folder) || !GetTempFileNameA(folder, "zcb", 0, name)) return FALSE;
    DeleteFileA(name);  // FCI creates it itself
    if (static_cast<int>(std::strlen(name)) >= cbTempName) return FALSE;
    std::strcpy(pszTempName, name);
    return TRUE;
}
FNFCIFILEPLACED(CabFilePlaced) {
    (void)pccab, (void)pszFile, (void)cbFile, (void)fContinuation, (void)pv;
    return 0;
}
FNFCIGETNEXTCABINET(CabNextCabinet) {
    (void)pccab, (void)cbPrevCab, (void)pv;
    return FALSE;  // everything goes into one cabinet
}
FNFCISTATUS(CabStatus) {
    (void)typeStatus, (void)cb1, (void)cb2, (void)pv;
    return 0;
}
FNFCIGETOPENINFO(CabOpenInfo) {
    (void)pv;
    HANDLE file = CreateFileA(pszName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *err = ENOENT;
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    FILETIME local{};
    GetFileInformationByHandle(file, &information);
    FileTimeToLocalFileTime(&information.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, pdate, ptime);
    CloseHandle(file);
    // Stored as an ordinary file: a read-only script or payload would stay
    // read-only in the working folder, where the runtime writes into the
    // script and deletes everything at the end.
    *pattribs = FILE_ATTRIBUTE_ARCHIVE;
    int fd = _open(pszName, _O_RDONLY | _O_BINARY);
    if (fd == -1) *err = errno;
    return fd;
}

}  // namespace

bool BuildCabinet(const std::vector<CabinetFile>& files, std::string& cabinet, std::string& error) {
    char folder[MAX_PATH + 1] = {}, scratch[MAX_PATH + 1] = {};
    if (!GetTempPathA(sizeof folder, folder) || !GetTempFileNameA(folder, "zcb", 0, scratch)) {
        error = "cannot make a scratch file for the cabinet: " + SystemMessage(GetLastError());
        return false;
    }
    DeleteFileA(scratch);
    // The cabinet goes to <scratch>\payload.cab, in a folder of its own.
    if (!CreateDirectoryA(scratch, nullptr)) {
        error = "cannot make a scratch folder for the cabinet: " + SystemMessage(GetLastError());
        return false;
    }
    std::string cabinetPath = std::string(scratch) + "\\payload.cab";

    CCAB target{};
    target.cb = 0x7FFFFFFF;
    target.cbFolderThresh = 0x7FFFFFFF;
    target.iCab = 1;
    target.setID = 0x5A4C;
    std::strcpy(target.szCab, "payload.cab");
    std::strcpy(target.szCabPath, (std::string(scratch) + "\\").c_str());

    ERF failure{};
    HFCI context = FCICreate(&failure, CabFilePlaced, CabAlloc, CabFree, CabOpen, CabRead, CabWrite, CabClose,
                             CabSeek, CabDelete, CabTempFile, &target, nullptr);
    bool ok = context != nullptr;
    if (!ok) error = "the system cabinet library refused to start (error " + std::to_string(failure.erfOper) + ")";
    for (std::size_t i = 0; ok && i < files.size(); ++i) {
        std::string source = files[i].source, stored = files[i].storedName;
        if (!FCIAddFile(context, &source[0], &stored[0], FALSE, CabNextCabinet, CabStatus, CabOpenInfo,
                        tcompTYPE_MSZIP)) {
            error = "cannot pack \"" + files[i].source + "\" into the cabinet (error " +
                    std::to_string(failure.erfOper) + ")";
            ok = false;
        }
    }
    if (ok && !FCIFlushCabinet(context, FALSE, CabNextCabinet, CabStatus)) {
        error = "cannot write the cabinet (error " + std::to_string(failure.erfOper) + ")";
        ok = false;
    }
    if (context) FCIDestroy(context);
    if (ok && !ReadFileBytes(cabinetPath, cabinet)) {
        error = "cannot read back the cabinet \"" + cabinetPath + "\"";
        ok = false;
    }
    DeleteFileA(cabinetPath.c_str());
    RemoveDirectoryA(scratch);
    if (ok && (cabinet.size() < 12 || SizeField(cabinet) != cabinet.size())) {
        error = "the cabinet library wrote a cabinet whose size field does not match its size";
        ok = false;
    }
    return ok;
}

bool CheckCabinet(const std::string& path, std::string& cabinet, std::string& error) {
    if (!ReadFileBytes(path, cabinet)) {
        error = "payload cabinet \"" + path + "\" is missing or unreadable";
        return false;
    }
    if (cabinet.size() < 36 || cabinet.compare(0, 4, "MSCF") != 0) {
        error = "\"" + path + "\" is not a cabinet file (no MSCF signature)";
        return false;
    }
    uint32_t size = SizeField(cabinet);
    if (size > cabinet.size()) {
        error = "\"" + path + "\" is cut short: its header names " + std::to_string(size) + " bytes, the file has " +
                std::to_string(cabinet.size());
        return false;
    }
    cabinet.resize(size);
    return true;
}
