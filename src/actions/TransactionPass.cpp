#include "actions/TransactionPass.h"

#include <windows.h>

#include <cstdint>

#include "actions/EntryAction.h"
#include "actions/RegistrySections.h"
#include "actions/Report.h"
#include "actions/ScratchCopy.h"
#include "actions/Transaction.h"
#include "core/ResourceIds.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "core/SystemErrorText.h"
#include "script/EntrySection.h"
#include "script/neutral/PassHost.h"
#include "script/neutral/SkipMark.h"

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

// An entry after the one that failed while preparing is looked up, never
// run, so that the report still names it: nothing of it was changed.
void NoteUnreached(uint32_t n, EntryRecord& entry) {
    const char* path = RunState.EntryPaths[n];
    char section[kEntrySectionNameSize] = {};
    FormatEntrySectionName(section, n);
    RunState.ScriptReader.SetSection(section);
    entry.action = FindAction(RunState.ScriptReader.ReadInteger(kActKey));
    if (!entry.action || !path) entry.state = Untouched;
    else if (HasSkipMark(path)) entry.state = Skipped;
    else entry.state = entry.action->hasAction ? Unreached : Untouched;
}

void Label(char* label, const ActionInfo& action) {
    wsprintfA(label, "Action %d (%s)", static_cast<int>(action.code), action.name);
}

// Reports entry `n` once the transaction has ended.
void ReportEntry(uint32_t n, const EntryRecord& entry, const CommitResult& result) {
    char label[64];
    Label(label, *entry.action);
    const char* path = RunState.EntryPaths[n];
    const int code = entry.action->reportCode;
    const EntryState state = entry.state;
    if (state == Skipped) {
        ReportEntryResult(*entry.action, path, 0, true);
    } else if (state == Failed || (!result.committed && n == result.failedEntry)) {
        char reason[512] = {};
        FormatSystemError(result.error, reason, sizeof reason);
        SetLastError(result.error);
        NoteActionResult(label, path, 0, false);
        AppendReportOutcome(code, path, ResResultFailure, reason);
    } else if (!result.committed) {
        NoteActionOutcome(label, path, "rolled back");
        AppendReportOutcome(code, path, ResResultRolledBack, nullptr);
    } else if (state == PreparedForRestart) {
        NoteActionOutcome(label, path, "replaced at the restart");
        AppendReportOutcome(code, path, ResResultAtRestart, nullptr);
    } else {
        NoteActionOutcome(label, path, entry.action->code == kActDelete ? "deleted" : "replaced");
        AppendReportOutcome(code, path, ResResultSuccess, nullptr);
    }
}

void ReportRegistry(const CommitResult& result) {
    if (result.committed) {
        NoteActionOutcome("Registry sections", nullptr, "done");
        AppendReportOutcome(kRegistryReportCode, " ", ResResultSuccess, nullptr);
    } else if (result.failedEntry == kRegistryEntry) {
        SetLastError(result.error);
        NoteActionResult("Registry sections", nullptr, 0, false);
        AppendReportOutcome(kRegistryReportCode, " ", ResResultFailure, nullptr);
    } else {
        NoteActionOutcome("Registry sections", nullptr, "rolled back");
        AppendReportOutcome(kRegistryReportCode, " ", ResResultRolledBack, nullptr);
    }
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
    for (uint32_t n = 1; n <= count && prepared; ++n) {
        host.ShowProgress(n);
        PreparingEntry(n);
        const EntryAction done = RunEntryAction(n);
        EntryState& state = entries[n].state;
        entries[n].action = done.action;
        if (!done.action) continue;
        if (done.skipped) state = Skipped;
        if (!done.acted) continue;
        if (done.result == 0) {
            state = Failed;
            result.error = GetLastError();
            result.failedEntry = n;
            prepared = false;
            break;
        }
        state = done.action->changesFile && EntryWantsRestart() ? PreparedForRestart : Prepared;
        char label[64];
        Label(label, *done.action);
        NoteActionOutcome(label, done.target, "prepared");
    }
    if (!prepared && entries && result.failedEntry != kRegistryEntry)
        for (uint32_t n = result.failedEntry + 1; n <= count; ++n) NoteUnreached(n, entries[n]);
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
    if (registry) ReportRegistry(result);
    if (result.committed) {
        if (result.atRestart) RunState.RebootPending = 1;
        LogLine("Transaction: committed; the application was changed%s", result.atRestart ? " (some files at the restart)" : "");
        return;
    }
    RunState.RebootPending = 0;
    AppendReportText(ResTransactionUndone);
    LogLine(result.undoneFully ? "Transaction: rolled back; the application was not changed"
                               : "Transaction: NOT fully rolled back; the next start of a patch tries again");
}
