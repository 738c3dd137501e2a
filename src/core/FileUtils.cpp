#include "core/FileUtils.h"

#include <windows.h>
#include <shlwapi.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "core/RunState.h"

int AppendPath(char* path, const char* part) {
    if (!part) return 1;
    return PathAppendA(path, part);
}

HeapBytes ReadWholeFile(const char* path) {
    int fd = _open(path, kReadFlags);
    if (fd == -1) return HeapBytes();
    long length = _lseek(fd, 0, SEEK_END);
    _lseek(fd, 0, SEEK_SET);
    if (length < 0) length = 0;
    RunState.LastFileSize = static_cast<uint32_t>(length);
    HeapBytes buffer;
    if (length > 0) {
        buffer = AllocBytes(static_cast<std::size_t>(length));
        // A short read leaves zeros at the end; the length stays the file's.
        if (buffer) (void)_read(fd, buffer.get(), static_cast<unsigned>(length));
    }
    _close(fd);
    return buffer;
}

int WriteWholeFile(const char* path, const void* data, unsigned length) {
    int fd = _open(path, kWriteFlags, _S_IREAD | _S_IWRITE);
    if (fd == -1) return 0;
    int written = _write(fd, data, length);
    _close(fd);
    return written == -1 ? 0 : 1;
}

int DeleteFileForced(const char* path) {
    if (!PathFileExistsA(path)) return 1;
    if (SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) != 1) return 0;
    return DeleteFileA(path) ? 1 : 0;
}

int MoveFileOver(const char* destination, const char* source) {
    if (DeleteFileForced(destination) != 1) return 0;
    return MoveFileA(source, destination);
}

int CreateFolderPath(const char* folder) {
    if (CreateDirectoryA(folder, nullptr)) return 1;
    char parent[kPathBufferSize] = {};
    lstrcpynA(parent, folder, sizeof parent);
    PathRemoveFileSpecA(parent);
    // The parent exists: the failure had another cause (the folder exists,
    // access is denied, ...), so climbing further cannot help.
    if (PathFileExistsA(parent)) return 0;
    // Nothing was removed: a root or a drive that does not exist. Stop here
    // instead of climbing for ever.
    if (std::strcmp(parent, folder) == 0) return 0;
    if (CreateFolderPath(parent) != 1) return 0;
    return CreateDirectoryA(folder, nullptr) ? 1 : 0;
}

int CopyFileCreatingFolders(const char* source, const char* destination) {
    if (DeleteFileForced(destination) != 1) return 0;
    char folder[kPathBufferSize] = {};
    lstrcpynA(folder, destination, sizeof folder);
    PathRemoveFileSpecA(folder);
    if (!PathFileExistsA(folder)) (void)CreateFolderPath(folder);
    return CopyFileA(source, destination, FALSE);
}

DWORD StreamChunkSize(HANDLE file, DWORD limit) {
    DWORD high = 0;
    const DWORD low = GetFileSize(file, &high);  // INVALID_FILE_SIZE on failure
    return high != 0 || low >= limit ? limit : low + 1;
}
