#include "core/Payload.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>

#include "core/ChildProcess.h"
#include "core/FileUtils.h"
#include "core/Handles.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "core/neutral/CabinetDirectory.h"
#include "core/neutral/LittleEndian.h"

namespace {

constexpr std::size_t kCabinetSizeOffset = 8;  // cbCabinet of the cabinet header

// The cabinet as the header sizes it, never past the end of the resource
// when a damaged header claims more; null when there is none.
const unsigned char* PayloadCabinet(uint32_t* size) {
    const auto* cabinet = static_cast<const unsigned char*>(LoadResourceData(ResPayloadCabinet));
    std::size_t stored = ResourceSize(ResPayloadCabinet);
    if (!cabinet || stored < kCabinetSizeOffset + 4) return nullptr;
    *size = ReadLittleEndian32(cabinet + kCabinetSizeOffset);
    if (*size > stored) *size = static_cast<uint32_t>(stored);
    return cabinet;
}

// What a walk over the cabinet's file table found.
struct Listing {
    const char* wanted;  // a name looked for, or none
    bool found;          // `wanted` is listed
    bool fine;           // every name checked so far passed
};

bool ForEachListedFile(CabinetFileVisitor visit, Listing* listing) {
    uint32_t size = 0;
    const unsigned char* cabinet = PayloadCabinet(&size);
    return cabinet && ForEachCabinetFile(cabinet, size, visit, listing);
}

// `path` = the working folder + the listed name; the name's place in `path`,
// or null when the name would leave the folder or the path would not fit.
const char* ListedPath(const char* name, std::size_t length, char (&path)[kPathBufferSize]) {
    std::size_t folder = RunState.WorkFolder ? std::strlen(RunState.WorkFolder) : 0;
    if (!folder || !IsPlainFileName(name, length) || folder + length >= MAX_PATH) return nullptr;
    std::memcpy(path, RunState.WorkFolder, folder);  // ends in a backslash
    std::memcpy(path + folder, name, length);
    path[folder + length] = '\0';
    return path + folder;
}

void NoteName(const char* name, std::size_t length, uint32_t, void* context) {
    auto* listing = static_cast<Listing*>(context);
    char path[kPathBufferSize];
    const char* stored = ListedPath(name, length, path);
    if (!stored) listing->fine = false;
    else if (lstrcmpiA(stored, listing->wanted) == 0) listing->found = true;
}

// The extractor's word is not taken for it: a file missing or cut short
// would otherwise be read as a script without entries or a short payload.
void CheckUnpacked(const char* name, std::size_t length, uint32_t fileSize, void* context) {
    auto* listing = static_cast<Listing*>(context);
    char path[kPathBufferSize];
    WIN32_FIND_DATAA found;
    UniqueFindHandle find(ListedPath(name, length, path) ? FindFirstFileA(path, &found) : INVALID_HANDLE_VALUE);
    if (!find.valid() || (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        found.nFileSizeHigh != 0 || found.nFileSizeLow != fileSize)
        listing->fine = false;
}

void DeleteUnpacked(const char* name, std::size_t length, uint32_t, void*) {
    char path[kPathBufferSize];
    // DeleteFileA removes a link, not what it leads to.
    if (ListedPath(name, length, path)) DeleteFileA(path);
}

}  // namespace

int PayloadCarries(const char* name) {
    Listing listing{name, false, true};
    return ForEachListedFile(NoteName, &listing) && listing.found ? 1 : 0;
}

void RemoveUnpackedFiles() {
    Listing listing{nullptr, false, true};
    (void)ForEachListedFile(DeleteUnpacked, &listing);
    if (RunState.CabinetPath) DeleteFileA(RunState.CabinetPath);
}

int ExtractPayload() {
    uint32_t size = 0;
    const unsigned char* cabinet = PayloadCabinet(&size);
    if (!cabinet || !RunState.CabinetPath) return 0;
    // Names that would land outside the working folder or not fit in a path
    // stop the run before anything is unpacked, and so does a cabinet
    // without the script.
    Listing listing{"Setup.ini", false, true};
    if (!ForEachCabinetFile(cabinet, size, NoteName, &listing) || !listing.fine || !listing.found) return 0;

    // The folder is new: the cabinet file is created, never opened.
    int file = _open(RunState.CabinetPath, kCabinetFlags | _O_EXCL, _S_IREAD | _S_IWRITE);
    if (file == -1) return 0;
    // A cabinet written short (disk full) would unpack as a smaller patch or
    // none, and the pass would report success for files it never saw.
    const int written = _write(file, cabinet, size);
    const int closed = _close(file);
    if (written != static_cast<int>(size) || closed != 0) {
        (void)DeleteFileForced(RunState.CabinetPath);
        return 0;
    }

    char program[kPathBufferSize];
    lstrcpynA(program, RunState.IsNT == 1 ? RunState.SystemFolder : RunState.WindowsFolder, sizeof program);

    // The cabinet path is quoted: a temporary folder with a blank in its path
    // would otherwise split into two arguments and nothing would unpack.
    char arguments[280];
    wsprintfA(arguments, "\"%s\" *.* /Y", RunState.CabinetPath);

    bool ready = AppendPath(program, "extrac32.exe") && program[0];
    int result = ready ? RunAndWait(program, arguments, RunState.WorkFolder) : 0;
    DeleteFileA(RunState.CabinetPath);
    if (result != 1) return 0;
    (void)ForEachCabinetFile(cabinet, size, CheckUnpacked, &listing);
    return listing.fine ? 1 : 0;
}
