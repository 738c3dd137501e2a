// Small operations on paths and files that the rest of the runtime uses
// instead of calling the platform directly. Paths are zero-terminated ANSI
// texts; every buffer that receives a path holds at least 261 bytes.
#pragma once
#include <windows.h>

#include "core/neutral/HeapText.h"

// Run-time library open flags (binary mode, never truncating).
constexpr int kReadFlags = 0x8000;        // _O_BINARY | _O_RDONLY
constexpr int kWriteFlags = 0x8102;       // _O_BINARY | _O_CREAT | _O_RDWR
constexpr int kCabinetFlags = 0x8101;     // _O_BINARY | _O_CREAT | _O_WRONLY

// PathAppendA(path, part); 1 without change when part is none.
int AppendPath(char* path, const char* part);
// The whole file in a new buffer of exactly RunState.LastFileSize bytes;
// none when it cannot be opened (LastFileSize unchanged) or is empty.
HeapBytes ReadWholeFile(const char* path);
// Writes from the start without truncating; 1 unless the write failed.
int WriteWholeFile(const char* path, const void* data, unsigned length);
// 1 when nothing is at `path` afterwards; clears read-only first.
int DeleteFileForced(const char* path);
// Deletes the destination (forced), then MoveFileA(source, destination).
int MoveFileOver(const char* destination, const char* source);
// Creates the folder and any missing parents; 0 when it already exists.
int CreateFolderPath(const char* folder);
// Deletes the destination, creates its folder chain, CopyFileA.
int CopyFileCreatingFolders(const char* source, const char* destination);
// The chunk size for streaming the open `file`: its size plus one byte (so
// that one read reaches its end) when that is below `limit`, else `limit`.
// A read never asks for much more than the file holds: the platform may
// touch every page of the buffer it is given, which for a small file costs
// far more than reading it.
DWORD StreamChunkSize(HANDLE file, DWORD limit);
