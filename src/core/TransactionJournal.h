// The journal of a transaction: its plan (core/neutral/TransactionPlan.h),
// written once and flushed before the first target changes, and held open
// by its run, so that no other start takes a live run for one cut short.
//
// Journals live in "Zuli\Transactions" under the machine's application
// data (readable and writable by administrators and the system only), or,
// for a run that may not write there (a per-user, unelevated run), under
// the user's local application data. A run with the administrators' rights
// neither writes nor undoes journals in the user's folder, which any
// program of the user could plant. "NAME.tmp" is a run in progress;
// "NAME.tmp.end" a run whose every step was committed and that was still
// clearing up.
//
// The first thing every start of a patch, and of the backup companion, does
// is RecoverInterruptedRuns: a run in progress that nobody holds is undone
// (files, restart-time renames and registry), a committed one is finished,
// and a journal that is not whole (its write was cut short: nothing had
// changed yet) is removed.
#pragma once
#include <windows.h>

#include "core/FileSwap.h"
#include "core/Handles.h"
#include "core/neutral/ByteBuffer.h"

// The security descriptor (self-relative) the machine's journal folder is
// created with.
const void* MachineJournalFolderSecurity();

class TransactionJournal {
public:
    // Writes `sealed` (SealJournal's) into a new journal file, flushed, and
    // holds it. 1 or 0.
    int Write(const ByteBuffer& sealed);
    // Every step was committed: the journal says so, with one rename.
    int MarkCommitted();
    // The run is over: the journal goes.
    void Remove();
    const char* Path() const { return path_; }

private:
    char path_[FileSwap::kPathSize] = {};
    UniqueFile file_;
};

// Undoes a run from the bytes of its journal: every step in reverse, then
// the registry. 1 when everything is as before the run; 0 also for bytes
// that are no whole journal.
int RollBackJournal(const unsigned char* journal, std::size_t size, const SwapPlatform& platform);
// Finishes a committed run from its journal's bytes.
int FinishJournal(const unsigned char* journal, std::size_t size, const SwapPlatform& platform);

enum class RecoveryOutcome { Nothing, Recovered, Blocked };
// Tells the caller's log what recovery did: `what` is one of "rolled back",
// "finished", "removed an incomplete journal", "cannot roll back".
using RecoveryNote = void (*)(const char* what, const char* journalPath, DWORD error);
// Blocked when a journal left behind cannot be read or undone (no rights):
// the caller must then change nothing.
RecoveryOutcome RecoverInterruptedRuns(const SwapPlatform& platform, RecoveryNote note);
