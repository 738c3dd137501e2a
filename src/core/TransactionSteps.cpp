#include "core/TransactionSteps.h"

#include <windows.h>

namespace {

bool Exists(const char* path) { return path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool RemoveFile(const char* path) {
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path) != 0;
}

// A rename within one folder, on the disk when it returns.
bool Rename(const char* from, const char* to, const SwapPlatform& platform) {
    if (!platform.nt) return MoveFileA(from, to) != 0;
    return MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH) != 0;
}

// The old version steps aside onto its name, which may be reserved (an
// empty file) until then.
bool StepAside(const char* target, const char* aside, const SwapPlatform& platform) {
    if (!platform.nt) {
        DeleteFileA(aside);
        return MoveFileA(target, aside) != 0;
    }
    return MoveFileExA(target, aside, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// Gives `target` the second name `aside` (a hard link). False where the
// system or the volume has no links, or the name is taken (a reservation).
bool LinkAside(const char* target, const char* aside) {
    typedef BOOL(WINAPI * CreateLink)(LPCSTR, LPCSTR, LPSECURITY_ATTRIBUTES);
    // Looked up at run time: the Windows 95 family and NT 4 have none.
    const CreateLink link = reinterpret_cast<CreateLink>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateHardLinkA")));
    return link && link(aside, target, nullptr);
}

int CommitReplace(const PlanStep& step, const SwapPlatform& platform) {
    if (step.aside) {
        if (HeldAgainstRename(step.target)) {
            SetLastError(ERROR_SHARING_VIOLATION);
            return 0;
        }
        // The old version keeps a second name and the new one is renamed
        // over the target: the target's name never goes missing, and a
        // rename onto a name that exists is the quicker one. A read-only
        // target cannot be renamed over, and steps aside as ever.
        if (platform.nt && step.staged && !(GetFileAttributesA(step.target) & FILE_ATTRIBUTE_READONLY) &&
            LinkAside(step.target, step.aside))
            return MoveFileExA(step.staged, step.target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
        if (!StepAside(step.target, step.aside, platform)) return 0;
    }
    if (step.staged && !Rename(step.staged, step.target, platform)) {
        const DWORD error = GetLastError();
        if (step.aside) Rename(step.aside, step.target, platform);
        SetLastError(error);
        return 0;
    }
    return 1;
}

int UndoReplace(const PlanStep& step, const SwapPlatform& platform) {
    int ok = 1;
    if (step.aside && Exists(step.aside)) {
        // The aside name holds the old version once the target stepped
        // aside (the target is then gone, or the new version), and is an
        // empty reservation, or a second name of the target, while the new
        // version has not taken the target's place.
        const bool targetThere = Exists(step.target);
        if (!targetThere || (step.staged && !Exists(step.staged))) {
            if (targetThere && !RemoveFile(step.target)) ok = 0;
            if (ok && !Rename(step.aside, step.target, platform)) ok = 0;
        } else if (!DeleteFileA(step.aside) && !RemoveFile(step.aside)) {
            // Attributes are cleared only when they stop the delete: a
            // second name shares them with the target.
            ok = 0;
        }
    } else if (!step.aside && step.staged && !Exists(step.staged) && Exists(step.target)) {
        // A new file that had no old version, already in place.
        if (!RemoveFile(step.target)) ok = 0;
    }
    if (Exists(step.staged) && !RemoveFile(step.staged)) ok = 0;
    return ok;
}

}  // namespace

int CommitStep(const PlanStep& step, const SwapPlatform& platform) {
    switch (step.kind) {
    case StepKind::Replace: return CommitReplace(step, platform);
    case StepKind::ReplaceAtRestart: return ScheduleRenameAtRestart(step.staged, step.target, platform) ? 1 : 0;
    case StepKind::DeleteAtRestart:
        return MoveFileExA(step.target, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? 1 : 0;
    case StepKind::CreatedFolder:
    case StepKind::StagingFolder: return 1;  // made while preparing
    }
    return 0;
}

int UndoStep(const PlanStep& step, const SwapPlatform& platform) {
    switch (step.kind) {
    case StepKind::Replace: return UndoReplace(step, platform);
    case StepKind::ReplaceAtRestart: {
        int ok = CancelRenameAtRestart(step.staged, step.target, platform);
        if (Exists(step.staged) && !RemoveFile(step.staged)) ok = 0;
        return ok;
    }
    case StepKind::DeleteAtRestart: return CancelRenameAtRestart(step.target, nullptr, platform);
    case StepKind::CreatedFolder:
    case StepKind::StagingFolder:
        // Only an empty folder goes: anything in it is no longer the run's.
        RemoveDirectoryA(step.target);
        return 1;
    }
    return 0;
}

void FinishStep(const PlanStep& step, const SwapPlatform& platform) {
    // The old version goes; a committed step's prepared file is the target
    // now. Attributes are cleared only when they stop the delete.
    if (step.kind == StepKind::StagingFolder) {
        // An old version a program still runs goes at the restart, and the
        // folder after it.
        if (!RemoveDirectoryA(step.target) && platform.nt)
            MoveFileExA(step.target, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return;
    }
    if (step.kind != StepKind::Replace || !step.aside || DeleteFileA(step.aside) || !Exists(step.aside)) return;
    if (!RemoveFile(step.aside) && platform.nt) MoveFileExA(step.aside, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
