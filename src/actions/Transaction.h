// The processing pass as one transaction (the patch's setting): every
// entry's result is prepared beside its target first, while the targets are
// held against writes; only when all are ready is the plan journalled and
// committed, target by target, and the first step that fails undoes every
// step before it, registry included. The application ends old or new.
//
// While preparing, the actions work as they always do, through the few
// calls below: they read what earlier entries made of a target
// (PreparedView) and hand over their result instead of swapping it in.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/neutral/ByteBuffer.h"

// Whether the pass now running prepares instead of changing.
bool Preparing();

// The folder where the entry being prepared keeps a new file or an old
// version for `target` (made when needed, recorded in the plan); null when
// none can be made, and the file then waits beside the target.
const char* StagingFolderFor(const char* target);

// Where the content of `target` lives for the entry being prepared: the
// target itself, or an earlier entry's prepared file; null when an earlier
// entry deleted it or renamed it away.
const char* PreparedView(const char* target);

// `prepared` (sealed: flushed, with the target's attributes and security)
// is the target's new content. `hold` is the handle the action read the
// view through (or INVALID_HANDLE_VALUE), now the transaction's. 1 or 0.
int StagePreparedFile(const char* target, const char* prepared, HANDLE hold, bool atRestart);
// The target is deleted (at the restart when asked). 1 or 0.
int StageDelete(const char* target, bool atRestart);
// The target takes the name `newPath` in its own folder. 1 or 0.
int StageRename(const char* target, const char* newPath);
// Creates the folders missing above `target`, to be removed again if the
// transaction is undone. 1 or 0.
int PrepareFolderOf(const char* target);
// The program of the entry being prepared (its target) starts in its place
// in the commit, after every change prepared before it.
void StageRunEntry(bool sync);

// The pass's side. Entry numbers say whose step failed (0: the registry or
// the journal).
void BeginPreparing();
void PreparingEntry(uint32_t entry);
// The registry's state before the run, as the plan keeps it.
ByteBuffer& PriorRegistryState();
// Nothing was changed: every prepared file and created folder goes.
void AbandonPrepared();

// CommitResult::failedEntry when the registry's lines failed.
constexpr uint32_t kRegistryEntry = 0xFFFFFFFFu;

struct CommitResult {
    bool committed;
    bool atRestart;       // some step waits for the restart
    bool undoneFully;     // after a failure: everything is as before
    uint32_t failedEntry; // after a failure: whose step failed (kRegistryEntry; 0 the journal)
    DWORD error;
};
// Journals the plan, commits it, runs `applyRegistry` (1 or 0) after the
// files, and undoes everything when any of it fails.
CommitResult CommitPrepared(int (*applyRegistry)());

// At start, before anything else: runs cut short are undone (or finished),
// and logged. False when one cannot be undone and the run must not go on.
bool RecoverInterruptedRunsAtStart();
