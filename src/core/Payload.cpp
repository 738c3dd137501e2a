#include "core/Payload.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>

#include "core/ChildProcess.h"
#include "core/FileUtils.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "core/neutral/CabinetDirectory.h"
#include "core/neutral/LittleEndian.h"

namespace {

constexpr std::size_t kCabinetSizeOffset = 8;  // cbCabinet of the cabinet header

// Removes the file the cabinet is about to unpack under `name`. Some
// extractors write over an existing longer file without truncating it, which
// would leave the old file's tail behind the new content.
void ClearStoredName(const char* name, std::size_t length, void*) {
    if (!IsPlainFileName(name, length) || length >= kPathBufferSize) return;
    char file[kPathBufferSize] = {};
    std::memcpy(file, name, length);
    char path[kPathBufferSize] = {};
    lstrcpynA(path, RunState.WorkFolder, sizeof path);
    if (AppendPath(path, file)) (void)DeleteFileForced(path);
}

}  // namespace

int ExtractPayload() {
    const auto* cabinet = static_cast<const unsigned char*>(LoadResourceData(ResPayloadCabinet));
    if (!cabinet || !RunState.CabinetPath) return 0;
    std::size_t stored = ResourceSize(ResPayloadCabinet);
    if (stored < kCabinetSizeOffset + 4) return 0;
    // The header names the cabinet's own size; never write past the end of
    // the resource when a damaged header claims more.
    uint32_t size = ReadLittleEndian32(cabinet + kCabinetSizeOffset);
    if (size > stored) size = static_cast<uint32_t>(stored);

    if (DeleteFileForced(RunState.CabinetPath) != 1) return 0;
    int file = _open(RunState.CabinetPath, kCabinetFlags, _S_IREAD | _S_IWRITE);
    if (file == -1) return 0;
    // A cabinet written short (disk full) would unpack as a smaller patch or
    // none, and the pass would report success for files it never saw.
    const int written = _write(file, cabinet, size);
    const int closed = _close(file);
    if (written != static_cast<int>(size) || closed != 0) {
        (void)DeleteFileForced(RunState.CabinetPath);
        return 0;
    }

    (void)ForEachCabinetFileName(cabinet, size, ClearStoredName, nullptr);

    char program[MAX_PATH] = {};
    lstrcpynA(program, RunState.IsNT == 1 ? RunState.SystemFolder : RunState.WindowsFolder, sizeof program);
    lstrcatA(program, "extrac32.exe");

    // The cabinet path is quoted: a temporary folder with a blank in its path
    // would otherwise split into two arguments and nothing would unpack.
    char arguments[280] = {};
    lstrcpyA(arguments, "\"");
    lstrcatA(arguments, RunState.CabinetPath);
    lstrcatA(arguments, "\" *.* /Y");

    int result = RunAndWait(program, arguments, RunState.WorkFolder);
    (void)DeleteFileForced(RunState.CabinetPath);
    return result;
}
