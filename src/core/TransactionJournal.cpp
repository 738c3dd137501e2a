#include "core/TransactionJournal.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>

#include "core/AdministratorToken.h"
#include "core/RegistryPriorState.h"
#include "core/TransactionSteps.h"
#include "core/neutral/HeapText.h"
#include "core/neutral/TransactionPlan.h"

namespace {

constexpr char kJournalFolder[] = "Zuli\\Transactions";
constexpr char kCommittedSuffix[] = ".end";
// Administrators and the system may do anything; users may only see which
// journals exist (a run without the rights to undo one must know that it
// cannot). Nothing is inherited from the folder above, where users may
// create folders of their own. A self-relative security descriptor, built
// here rather than from its text form, which systems before Windows 2000
// cannot read: a protected access list of three entries, for SYSTEM
// (S-1-5-18) and Administrators (S-1-5-32-544) all access, inherited by the
// journals, and for Users (S-1-5-32-545) listing and reading attributes of
// the folder alone.
alignas(4) const unsigned char kMachineFolderSecurity[] = {
    1, 0, 0x04, 0x90,  // revision; control: self-relative, access list present and protected
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // no owner, group or audit list
    20, 0, 0, 0,                         // the access list follows
    2, 0, 76, 0, 3, 0, 0, 0,             // access list: revision, size, three entries
    0, 3, 20, 0, 0xFF, 0x01, 0x1F, 0,    // allowed, inherited by files and folders, all access
    1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0,
    0, 3, 24, 0, 0xFF, 0x01, 0x1F, 0,
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0,
    0, 0, 24, 0, 0xA9, 0, 0x12, 0,       // allowed, this folder only: list, read attributes, synchronise
    1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x21, 0x02, 0, 0,
};

// The journal folder under the special folder `csidl`, created when asked.
// 1 or 0.
int JournalFolder(int csidl, bool create, char* folder) {
    folder[0] = '\0';
    if (!SHGetSpecialFolderPathA(nullptr, folder, csidl, create ? TRUE : FALSE)) return 0;
    if (!PathAppendA(folder, kJournalFolder)) return 0;
    if (!create || GetFileAttributesA(folder) != INVALID_FILE_ATTRIBUTES) return 1;
    char parent[FileSwap::kPathSize];
    lstrcpynA(parent, folder, sizeof parent);
    PathRemoveFileSpecA(parent);
    CreateDirectoryA(parent, nullptr);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, const_cast<unsigned char*>(kMachineFolderSecurity), FALSE};
    const BOOL made = CreateDirectoryA(folder, csidl == CSIDL_COMMON_APPDATA ? &attributes : nullptr);
    return made || GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0;
}

bool EndsWith(const char* text, const char* suffix) {
    const int length = lstrlenA(text);
    const int suffixLength = lstrlenA(suffix);
    return length >= suffixLength && lstrcmpiA(text + length - suffixLength, suffix) == 0;
}

// The plan's steps in an array, so that they can be undone in reverse.
struct StepList {
    HeapBytes memory;
    PlanStep* steps = nullptr;
    uint32_t count = 0;
};

bool ReadSteps(PlanReader& plan, StepList& list) {
    list.memory = AllocBytes(static_cast<std::size_t>(plan.StepCount()) * sizeof(PlanStep));
    if (!list.memory && plan.StepCount()) return false;
    list.steps = reinterpret_cast<PlanStep*>(list.memory.get());
    for (list.count = 0; list.count < plan.StepCount(); ++list.count)
        if (!plan.NextStep(&list.steps[list.count])) return false;
    return true;
}

// Undoes every step in reverse and then the registry, or (a committed run)
// finishes every step, in reverse too.
int ApplyJournal(const unsigned char* journal, std::size_t size, const SwapPlatform& platform, bool undo) {
    PlanReader plan;
    StepList list;
    const unsigned char* records = nullptr;
    std::size_t recordsSize = 0;
    if (!plan.Open(journal, size) || !ReadSteps(plan, list) || !plan.Registry(&records, &recordsSize)) return 0;
    if (!undo) {
        for (uint32_t i = list.count; i-- > 0;) FinishStep(list.steps[i], platform);
        return 1;
    }
    int ok = 1;
    for (uint32_t i = list.count; i-- > 0;)
        if (!UndoStep(list.steps[i], platform)) ok = 0;
    if (recordsSize && !RestoreRegistryState(records, recordsSize)) ok = 0;
    return ok;
}

// One journal left behind. Held without sharing while it is read and acted
// on: a live run holds its own, and is left alone.
RecoveryOutcome RecoverJournal(const char* path, const SwapPlatform& platform, RecoveryNote note) {
    UniqueFile file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_FILE_NOT_FOUND) return RecoveryOutcome::Nothing;
        note("cannot roll back", path, error);
        return RecoveryOutcome::Blocked;
    }
    DWORD high = 0;
    const DWORD size = GetFileSize(file.get(), &high);
    HeapBytes bytes = AllocBytes(size);
    DWORD got = 0;
    if (size == INVALID_FILE_SIZE || high || !bytes || !ReadFile(file.get(), bytes.get(), size, &got, nullptr) ||
        got != size) {
        note("cannot roll back", path, GetLastError());
        return RecoveryOutcome::Blocked;
    }
    PlanReader plan;
    const char* what = "removed an incomplete journal";
    int done = 1;
    if (plan.Open(bytes.get(), size)) {
        const bool committed = EndsWith(path, kCommittedSuffix);
        what = committed ? "finished" : "rolled back";
        done = ApplyJournal(bytes.get(), size, platform, !committed);
    }
    file.reset();
    if (!done) {
        note("cannot roll back", path, GetLastError());
        return RecoveryOutcome::Blocked;
    }
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path);
    note(what, path, 0);
    return RecoveryOutcome::Recovered;
}

RecoveryOutcome RecoverFolder(int csidl, const SwapPlatform& platform, RecoveryNote note) {
    char folder[FileSwap::kPathSize];
    if (!JournalFolder(csidl, false, folder)) return RecoveryOutcome::Nothing;
    char pattern[FileSwap::kPathSize];
    lstrcpynA(pattern, folder, sizeof pattern);
    if (!PathAppendA(pattern, "*")) return RecoveryOutcome::Nothing;
    WIN32_FIND_DATAA found;
    UniqueFindHandle search(FindFirstFileA(pattern, &found));
    if (!search.valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES)
            return RecoveryOutcome::Nothing;
        note("cannot roll back", folder, error);
        return RecoveryOutcome::Blocked;
    }
    RecoveryOutcome outcome = RecoveryOutcome::Nothing;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        char path[FileSwap::kPathSize];
        lstrcpynA(path, folder, sizeof path);
        if (!PathAppendA(path, found.cFileName)) continue;
        const RecoveryOutcome one = RecoverJournal(path, platform, note);
        if (one == RecoveryOutcome::Blocked) return one;
        if (one == RecoveryOutcome::Recovered) outcome = one;
    } while (FindNextFileA(search.get(), &found));
    return outcome;
}

}  // namespace

const void* MachineJournalFolderSecurity() { return kMachineFolderSecurity; }

int TransactionJournal::Write(const ByteBuffer& sealed) {
    if (sealed.Failed()) return 0;
    // The machine's folder first; a run that may not write there keeps its
    // journal in the user's own. An administrator's run never does: its
    // recovery does not look there.
    const int places[] = {CSIDL_COMMON_APPDATA, CSIDL_LOCAL_APPDATA};
    const int placeCount = RunsAsAdministrator() ? 1 : 2;
    for (int i = 0; i < placeCount; ++i) {
        const int csidl = places[i];
        char folder[FileSwap::kPathSize];
        if (!JournalFolder(csidl, true, folder) || !GetTempFileNameA(folder, "ZTJ", 0, path_)) continue;
        // Others may read it (and find it held); only its run may write or
        // delete it until the run ends.
        file_.reset(CreateFileA(path_, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(sealed.Size());  // a plan is far below 4 GiB
        if (file_ && WriteFile(file_.get(), sealed.Data(), size, &written, nullptr) && written == size &&
            FlushFileBuffers(file_.get()))
            return 1;
        file_.reset();
        DeleteFileA(path_);
        path_[0] = '\0';
    }
    return 0;
}

int TransactionJournal::MarkCommitted() {
    char committed[FileSwap::kPathSize];
    lstrcpynA(committed, path_, sizeof committed);
    if (lstrlenA(committed) + lstrlenA(kCommittedSuffix) >= static_cast<int>(sizeof committed)) return 0;
    lstrcatA(committed, kCommittedSuffix);
    if (!MoveFileExA(path_, committed, MOVEFILE_WRITE_THROUGH)) return 0;
    lstrcpynA(path_, committed, sizeof path_);
    return 1;
}

void TransactionJournal::Remove() {
    file_.reset();
    if (path_[0]) DeleteFileA(path_);
    path_[0] = '\0';
}

int RollBackJournal(const unsigned char* journal, std::size_t size, const SwapPlatform& platform) {
    return ApplyJournal(journal, size, platform, true);
}

int FinishJournal(const unsigned char* journal, std::size_t size, const SwapPlatform& platform) {
    return ApplyJournal(journal, size, platform, false);
}

RecoveryOutcome RecoverInterruptedRuns(const SwapPlatform& platform, RecoveryNote note) {
    RecoveryOutcome outcome = RecoveryOutcome::Nothing;
    // The user's own folder is the user's to write: an administrator's run
    // must not carry out what any program of that user could plant there.
    // Only runs without the administrators' rights keep journals in it, and
    // only such runs undo them.
    const int places[] = {CSIDL_COMMON_APPDATA, CSIDL_LOCAL_APPDATA};
    const int placeCount = RunsAsAdministrator() ? 1 : 2;
    for (int i = 0; i < placeCount; ++i) {
        const int csidl = places[i];
        const RecoveryOutcome one = RecoverFolder(csidl, platform, note);
        if (one == RecoveryOutcome::Blocked) return one;
        if (one == RecoveryOutcome::Recovered) outcome = one;
    }
    return outcome;
}
