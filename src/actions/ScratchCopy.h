// The scratch copy that file updates build the new content in: a fresh
// "QVR....TMP" file in the target's own folder, so that putting it in the
// target's place, now or at the restart, is a rename on the same volume.
#pragma once
#include "core/Handles.h"

// Creates an empty scratch file beside the target; its path goes into
// `scratch` (kPathBufferSize bytes). 1 or 0.
int CreateScratchFile(const char* target, char* scratch);

// Opens the target for reading. 1 with the file open; 1 with no file when
// the target has vanished (it is then taken as empty); 0 when it exists but
// cannot be read, which must never pass for an empty file.
int OpenTargetForReading(const char* target, UniqueFile* file);

// Puts the completely written scratch file in the target's place now, as a
// new ordinary file. 1 on success; on failure the target keeps its content
// (and attributes) and the scratch file is removed.
int ReplaceTargetNow(const char* target, const char* scratch);

// Has the scratch file replace the target at the next restart and sets
// RebootPending. 1 on success; on failure the scratch file is removed.
int ReplaceTargetAtRestart(const char* target, const char* scratch);

// Writes the new content of `target` into the scratch file.
using ScratchFiller = int (*)(const char* target, const char* payload, const char* scratch);

// The whole update of a target through a scratch copy: `fill` builds the new
// content completely before the target is touched, so a failure up to then
// leaves the target as it was; then the copy replaces the target now, or at
// the restart when the entry's "Delay" is 1.
int UpdateThroughScratch(const char* target, const char* payload, ScratchFiller fill);
