#include "actions/TransactionPass.h"

#include <windows.h>

#include <cstdint>

#include "actions/EntryAction.h"
#include "actions/Handoff.h"
#include "actions/RegistrySections.h"
#include "actions/Report.h"
#include "actions/ScratchCopy.h"
#include "actions/Transaction.h"
#include "core/ResourceIds.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "core/SystemErrorText.h"
#include "script/neutral/PassHost.h"

namespace {

// What became of an entry while preparing (Unreached: an earlier entry
// failed first).
enum EntryState : unsigned char { Untouched, Skipped, Prepared, PreparedForRestart, Failed, Unreached };

struct EntryRecord {
    const ActionInfo* action;
    EntryState state;
};

int ApplyRegistryLines() {
    if (RunRegistrySections()) return 1;
    SetLastError(ERROR_CANTWRITE);
    return 0;
}

// One outcome in the log (`label`, `path`) and the report (`code`): a
// failure is logged with its reason and counted, anything else is logged
// with `word`.
void ReportOutcome(const char* label, const char* path, int code, unsigned wordId, const char* word,
                   const CommitResult& result) {
    const char* detail = nullptr;
    char reason[512] = {};
    if (wordId == ResResultFailure) {
        FormatSystemError(result.error, reason, sizeof reason);
        detail = reason;
        SetLastError(result.error);
        NoteActionResult(label, path, 0, false);
    } else {
        NoteActionOutcome(label, path, word);
    }
    AppendReportOutcome(code, path ? path : " ", wordId, detail);
}

// Reports entry `n` (0: the registry's lines) once the transaction has ended.
void ReportEntry(uint32_t n, const EntryRecord& entry, const CommitResult& result) {
    char label[kActionLabelSize] = "Registry sections";
    const char* path = nullptr;
    int code = kRegistryReportCode;
    if (n != 0) {
        if (entry.state == Skipped) {
            ReportEntryResult(*entry.action, RunState.EntryPaths[n], 0, true);
            return;
        }
        FormatActionLabel(label, *entry.action);
        path = RunState.EntryPaths[n];
        code = entry.action->reportCode;
    }
    const bool failed = n ? entry.state == Failed || (!result.committed && n == result.failedEntry)
                          : result.failedEntry == kRegistryEntry;
    if (failed) ReportOutcome(label, path, code, ResResultFailure, nullptr, result);
    else if (!result.committed) ReportOutcome(label, path, code, ResResultRolledBack, "rolled back", result);
    else if (entry.state == PreparedForRestart)
        ReportOutcome(label, path, code, ResResultAtRestart, "replaced at the restart", result);
    else
        ReportOutcome(label, path, code, ResResultSuccess,
                      n == 0 ? "done" : entry.action->code == kActDelete ? "deleted" : "replaced", result);
}

}  // namespace

void RunTransactionPass(PassHost& host) {
    const uint32_t count = RunState.EntryPaths ? RunState.EntryCount : 0;
    HeapBytes memory = AllocBytes((static_cast<std::size_t>(count) + 1) * sizeof(EntryRecord));
    EntryRecord* entries = reinterpret_cast<EntryRecord*>(memory.get());
    CommitResult result = {false, false, true, 0, ERROR_NOT_ENOUGH_MEMORY};
    host.BeginProgress(RunState.EntryCount);
    LogLine("Transaction: preparing %u entries", count);
    bool prepared = entries != nullptr;
    BeginPreparing();
    // After an entry fails, the rest are only looked up, so that the report
    // still names them: nothing of them was changed.
    for (uint32_t n = 1; n <= count && entries; ++n) {
        host.ShowProgress(n);
        PreparingEntry(n);
        const EntryAction done = RunEntryAction(n, prepared);
        EntryState& state = entries[n].state;
        entries[n].action = done.action;
        if (!done.action) continue;
        if (done.skipped) state = Skipped;
        if (done.unreached) state = Unreached;
        if (!done.acted) continue;
        if (done.result == 0) {
            state = Failed;
            result.error = GetLastError();
            result.failedEntry = n;
            prepared = false;
            continue;
        }
        state = done.action->changesFile && EntryWantsRestart() ? PreparedForRestart : Prepared;
        char label[kActionLabelSize];
        FormatActionLabel(label, *done.action);
        NoteActionOutcome(label, done.target, "prepared");
    }
    const bool registry = HasRegistryLines();
    if (prepared && registry && !CapturePriorRegistryState(PriorRegistryState())) {
        result.error = GetLastError();
        result.failedEntry = kRegistryEntry;
        prepared = false;
    }
    if (prepared) {
        result = CommitPrepared(ApplyRegistryLines);
        if (!result.committed && result.failedEntry == 0) {
            // Neither an entry nor the registry: the journal could not be written.
            SetLastError(result.error);
            NoteActionResult("Transaction journal", nullptr, 0, false);
        }
    } else {
        AbandonPrepared();
    }
    host.EndProgress();

    for (uint32_t n = 1; n <= count && entries; ++n)
        if (entries[n].action && entries[n].state != Untouched) ReportEntry(n, entries[n], result);
    if (registry) ReportEntry(0, EntryRecord{nullptr, Prepared}, result);
    if (result.committed) {
        if (result.atRestart) RunState.RebootPending = 1;
        LogLine("Transaction: committed; the application was changed%s", result.atRestart ? " (some files at the restart)" : "");
        return;
    }
    RunState.RebootPending = 0;
    AppendReportText(ResTransactionUndone);
    LogLine(result.undoneFully ? "Transaction: rolled back; the application was not changed"
                               : "Transaction: NOT fully rolled back; the next start retries");
    if (result.undoneFully) GiveUpBackupOfUnchangedRun();
}
