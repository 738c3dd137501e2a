#include "actions/Transaction.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdlib>

#include "actions/FileActions.h"
#include "core/FileSwap.h"
#include "core/Handles.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "core/SystemErrorText.h"
#include "core/TransactionJournal.h"
#include "core/TransactionSteps.h"
#include "core/neutral/TransactionPlan.h"

namespace {

// One target of the plan, or one folder the plan created.
struct PlannedTarget {
    char target[kPathBufferSize];
    char staged[kPathBufferSize];  // the prepared content; empty for none
    char aside[kPathBufferSize];   // where the old version goes; empty when there was none
    HANDLE hold;                   // keeps the target (or its view) from being written until the commit
    uint32_t hash;                 // of the target's name, for the lookups of the view
    uint32_t entry;                // the last entry that changed it
    StepKind kind;
    bool gone;      // deleted or renamed away by an entry
    bool viewable;  // later entries see this result (not so for the restart's)
};

struct RunMark {
    uint32_t afterSteps;  // the program starts once this many steps are done
    uint32_t entry;       // whose target is the program
    bool sync;
};

// A growing array of plain records.
template <typename T>
struct PlainList {
    HeapBytes memory;
    uint32_t count = 0;
    uint32_t capacity = 0;
    T* At(uint32_t i) { return reinterpret_cast<T*>(memory.get()) + i; }
    T* Add() {
        if (count == capacity) {
            const uint32_t grown = capacity ? capacity * 2 : 64;
            void* bigger = std::realloc(memory.get(), static_cast<std::size_t>(grown) * sizeof(T));
            if (!bigger) return nullptr;
            memory.release();
            memory.reset(static_cast<unsigned char*>(bigger));
            capacity = grown;
        }
        T* item = At(count++);
        ZeroMemory(item, sizeof(T));
        return item;
    }
    void Clear() {
        memory.reset();
        count = capacity = 0;
    }
};

// Prepared files and the old versions' reserved names wait in folders of
// their own beside the targets, a few dozen names to a folder: a new name in
// a folder of thousands of files costs a look through all of them (so Wine
// does it), and the targets' folder then meets only the commit's renames.
constexpr uint32_t kNamesPerStagingFolder = 64;

struct StagingSlot {
    char parent[kPathBufferSize];  // the targets' folder it serves
    char folder[kPathBufferSize];
    uint32_t names;
};

struct Plan {
    bool preparing;
    uint32_t entry;
    StagingSlot staging;
    PlainList<PlannedTarget> targets;
    PlainList<RunMark> runs;
    ByteBuffer registry;
};
Plan ThePlan;

SwapPlatform RunPlatform() { return SwapPlatform{RunState.IsNT != 0, RunState.WindowsFolder}; }

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void RemoveFile(const char* path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
}

// Names compare without case; the hash folds only ASCII letters, so names
// that differ in other letters' case are merely looked up slowly.
uint32_t NameHash(const char* name) {
    uint32_t hash = 2166136261u;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
        unsigned char c = *p;
        if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
        hash = (hash ^ c) * 16777619u;
    }
    return hash;
}

PlannedTarget* FindViewable(const char* target) {
    const uint32_t hash = NameHash(target);
    for (uint32_t i = ThePlan.targets.count; i-- > 0;) {
        PlannedTarget* t = ThePlan.targets.At(i);
        if (t->viewable && t->hash == hash && lstrcmpiA(t->target, target) == 0) return t;
    }
    return nullptr;
}

PlannedTarget* AddTarget(const char* target, StepKind kind, bool viewable) {
    PlannedTarget* t = ThePlan.targets.Add();
    if (!t) return nullptr;
    lstrcpynA(t->target, target, sizeof t->target);
    t->hold = INVALID_HANDLE_VALUE;
    t->hash = NameHash(target);
    t->entry = ThePlan.entry;
    t->kind = kind;
    t->viewable = viewable;
    return t;
}

// The old version's name in a staging folder: numbered by the folder's own
// count, and with an ending no scratch file has, it is no other file's, so
// that it needs no reservation on the disk; the commit creates it.
bool NameAsideIn(const char* staging, char* aside) {
    char name[16];
    wsprintfA(name, "QVR%04X.old", ThePlan.staging.names & 0xFFFF);
    lstrcpynA(aside, staging, kPathBufferSize);
    return PathAppendA(aside, name) != 0;
}

// A target the plan replaces now. Its old version, when it has one, will
// step aside to a name of its own: in a staging folder, or else reserved
// beside the target (an empty file until then, so that no other scratch
// file takes the name).
PlannedTarget* AddReplaced(const char* target) {
    // Its staging folder's step comes first: undone after the file's.
    const char* staging = StagingFolderFor(target);
    PlannedTarget* t = AddTarget(target, StepKind::Replace, true);
    if (!t) return nullptr;
    if (Exists(target) && !(staging ? NameAsideIn(staging, t->aside) : CreateScratchFile(target, t->aside))) {
        --ThePlan.targets.count;
        return nullptr;
    }
    return t;
}

void CloseHold(PlannedTarget* t) {
    if (t->hold != INVALID_HANDLE_VALUE) CloseHandle(t->hold);
    t->hold = INVALID_HANDLE_VALUE;
}

// Holds a target that the plan deletes, as a prepared update holds its own.
HANDLE HoldTarget(const char* target) {
    return CreateFileA(target, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

PlanStep StepOf(const PlannedTarget& t) {
    return PlanStep{t.kind, t.target, t.aside[0] ? t.aside : nullptr, t.staged[0] ? t.staged : nullptr};
}

void StartRun(const RunMark& run, CommitResult& result) {
    if (!result.committed) return;
    if (!StartEntryProgram(RunState.EntryPaths[run.entry], run.sync)) {
        result.committed = false;
        result.error = GetLastError();
        result.failedEntry = run.entry;
    }
}

void NoteRecovery(const char* what, const char* journal, DWORD error) {
    char reason[256] = {};
    if (error) FormatSystemError(error, reason, sizeof reason);
    LogLine("Recovery of an interrupted run: %s: %s%s%s", journal, what, error ? ": " : "", reason);
}

}  // namespace

bool Preparing() { return ThePlan.preparing; }

const char* StagingFolderFor(const char* target) {
    StagingSlot& slot = ThePlan.staging;
    char parent[kPathBufferSize];
    lstrcpynA(parent, target, sizeof parent);
    if (!PathRemoveFileSpecA(parent)) return nullptr;
    if (slot.names >= kNamesPerStagingFolder || lstrcmpiA(slot.parent, parent) != 0) {
        slot.parent[0] = '\0';
        if (!CreateScratchIn(parent, slot.folder, true)) return nullptr;
        if (!AddTarget(slot.folder, StepKind::StagingFolder, false)) {
            RemoveDirectoryA(slot.folder);
            return nullptr;
        }
        lstrcpynA(slot.parent, parent, sizeof slot.parent);
        slot.names = 0;
    }
    ++slot.names;
    return slot.folder;
}

const char* PreparedView(const char* target) {
    const PlannedTarget* t = FindViewable(target);
    if (!t) return target;
    if (t->gone) return nullptr;
    return t->staged[0] ? t->staged : target;
}

int StagePreparedFile(const char* target, const char* prepared, HANDLE hold, bool atRestart) {
    PlannedTarget* t = atRestart ? AddTarget(target, StepKind::ReplaceAtRestart, false) : FindViewable(target);
    if (!t && !atRestart) t = AddReplaced(target);
    if (!t) {
        if (hold != INVALID_HANDLE_VALUE) CloseHandle(hold);
        RemoveFile(prepared);
        return 0;
    }
    if (t->staged[0]) {
        // An earlier entry's result, read by this one and now replaced by
        // it; `hold` was on it.
        if (hold != INVALID_HANDLE_VALUE) CloseHandle(hold);
        RemoveFile(t->staged);
    } else if (t->hold == INVALID_HANDLE_VALUE) {
        t->hold = hold;
    } else if (hold != INVALID_HANDLE_VALUE) {
        CloseHandle(hold);
    }
    lstrcpynA(t->staged, prepared, sizeof t->staged);
    t->gone = false;
    t->entry = ThePlan.entry;
    return 1;
}

int StageDelete(const char* target, bool atRestart) {
    // Only the NT family deletes at the restart; elsewhere the delete is
    // made with the others.
    atRestart = atRestart && RunState.IsNT;
    PlannedTarget* t = atRestart ? nullptr : FindViewable(target);
    if (!t) {
        // Nothing there: nothing to delete, as ever.
        if (!Exists(target)) return 1;
        HANDLE hold = HoldTarget(target);
        if (hold == INVALID_HANDLE_VALUE) return 0;
        t = atRestart ? AddTarget(target, StepKind::DeleteAtRestart, false) : AddReplaced(target);
        if (!t) {
            CloseHandle(hold);
            return 0;
        }
        t->hold = hold;
    } else if (t->staged[0]) {
        RemoveFile(t->staged);
        t->staged[0] = '\0';
    }
    t->gone = !atRestart;
    t->entry = ThePlan.entry;
    return 1;
}

int StageRename(const char* target, const char* newPath) {
    const char* source = PreparedView(target);
    const char* existing = PreparedView(newPath);
    if (!source || !Exists(source)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    if (existing && Exists(existing)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return 0;
    }
    // The file under its new name is a copy, prepared like any other (with
    // the attributes a rename keeps); the old name is then deleted.
    FileSwap swap(RunPlatform());
    char copy[kPathBufferSize];
    swap.KeepAttributes(GetFileAttributesA(source));
    swap.ScratchIn(StagingFolderFor(newPath));
    if (!swap.Begin(newPath, TargetAccess::Free) || !swap.CopyIntoScratch(source) || !swap.Seal(copy)) return 0;
    return StagePreparedFile(newPath, copy, INVALID_HANDLE_VALUE, false) && StageDelete(target, false) ? 1 : 0;
}

namespace {

// Creates `folder` and the folders missing above it, the topmost first, each
// recorded as made (so undoing removes the deepest first).
int PrepareFolder(const char* folder) {
    if (Exists(folder)) return 1;
    char parent[kPathBufferSize];
    lstrcpynA(parent, folder, sizeof parent);
    // A root that does not exist (a drive that is not there) ends the climb.
    if (!PathRemoveFileSpecA(parent) || lstrcmpiA(parent, folder) == 0 || !PrepareFolder(parent)) return 0;
    return CreateDirectoryA(folder, nullptr) && AddTarget(folder, StepKind::CreatedFolder, false) ? 1 : 0;
}

}  // namespace

int PrepareFolderOf(const char* target) {
    char folder[kPathBufferSize];
    lstrcpynA(folder, target, sizeof folder);
    return PathRemoveFileSpecA(folder) ? PrepareFolder(folder) : 1;
}

void StageRunEntry(bool sync) {
    RunMark* run = ThePlan.runs.Add();
    if (!run) return;
    run->afterSteps = ThePlan.targets.count;
    run->entry = ThePlan.entry;
    run->sync = sync;
}

void BeginPreparing() {
    AbandonPrepared();
    ThePlan.preparing = true;
}

void PreparingEntry(uint32_t entry) { ThePlan.entry = entry; }

ByteBuffer& PriorRegistryState() { return ThePlan.registry; }

void AbandonPrepared() {
    for (uint32_t i = ThePlan.targets.count; i-- > 0;) {
        PlannedTarget* t = ThePlan.targets.At(i);
        CloseHold(t);
        if (t->kind == StepKind::CreatedFolder || t->kind == StepKind::StagingFolder) {
            RemoveDirectoryA(t->target);
            continue;
        }
        if (t->staged[0]) RemoveFile(t->staged);
        if (t->aside[0]) RemoveFile(t->aside);  // still the empty reservation, if any
    }
    ThePlan.targets.Clear();
    ThePlan.runs.Clear();
    ThePlan.registry.Clear();
    ThePlan.preparing = false;
    ThePlan.entry = 0;
    ThePlan.staging.parent[0] = '\0';
}

CommitResult CommitPrepared(int (*applyRegistry)()) {
    ThePlan.preparing = false;
    CommitResult result = {false, false, true, 0, 0};
    const SwapPlatform platform = RunPlatform();
    PlainList<PlannedTarget>& targets = ThePlan.targets;

    // The plan, whole, on the disk before the first target changes.
    ByteBuffer body;
    AppendPlanHeader(body, targets.count);
    for (uint32_t i = 0; i < targets.count; ++i) AppendPlanStep(body, StepOf(*targets.At(i)));
    AppendPlanRegistry(body, ThePlan.registry.Data(), ThePlan.registry.Size());
    ByteBuffer sealed;
    SealJournal(body, sealed);
    TransactionJournal journal;
    if (!journal.Write(sealed)) {
        result.error = sealed.Failed() ? ERROR_NOT_ENOUGH_MEMORY : GetLastError();
        AbandonPrepared();
        return result;
    }

    result.committed = true;
    uint32_t nextRun = 0;
    for (uint32_t i = 0; i < targets.count && result.committed; ++i) {
        while (nextRun < ThePlan.runs.count && ThePlan.runs.At(nextRun)->afterSteps <= i)
            StartRun(*ThePlan.runs.At(nextRun++), result);
        if (!result.committed) break;
        PlannedTarget* t = targets.At(i);
        // The hold ends only now: the rename needs the target free.
        CloseHold(t);
        if (!CommitStep(StepOf(*t), platform)) {
            result.committed = false;
            result.error = GetLastError();
            result.failedEntry = t->entry;
        }
        if (t->kind == StepKind::ReplaceAtRestart || t->kind == StepKind::DeleteAtRestart) result.atRestart = true;
    }
    while (result.committed && nextRun < ThePlan.runs.count) StartRun(*ThePlan.runs.At(nextRun++), result);
    if (result.committed && applyRegistry && !applyRegistry()) {
        result.committed = false;
        result.error = GetLastError();
        result.failedEntry = kRegistryEntry;
    }

    if (result.committed) {
        journal.MarkCommitted();
        for (uint32_t i = targets.count; i-- > 0;) FinishStep(StepOf(*targets.At(i)), platform);
        journal.Remove();
    } else {
        for (uint32_t i = 0; i < targets.count; ++i) CloseHold(targets.At(i));
        result.atRestart = false;
        result.undoneFully = RollBackJournal(sealed.Data(), sealed.Size(), platform);
        // What could not be undone now is tried again by the next start.
        if (result.undoneFully) journal.Remove();
    }
    for (uint32_t i = 0; i < targets.count; ++i) CloseHold(targets.At(i));
    targets.Clear();
    ThePlan.runs.Clear();
    ThePlan.registry.Clear();
    ThePlan.staging.parent[0] = '\0';
    return result;
}

bool RecoverInterruptedRunsAtStart() {
    return RecoverInterruptedRuns(RunPlatform(), NoteRecovery) != RecoveryOutcome::Blocked;
}
