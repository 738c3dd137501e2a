#include "app/Startup.h"

#include <cstring>

#include "actions/Transaction.h"
#include "app/AdminRun.h"
#include "core/CreditProtection.h"
#include "core/Payload.h"
#include "core/ProcessorFeatures.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "core/Session.h"
#include "core/SingleRun.h"
#include "core/SystemLibraries.h"
#include "wizard/ControlIds.h"
#include "wizard/Wizard.h"

namespace {
// Copies up to `size` bytes of resource `id` (missing bytes stay 0).
void CopyResourceBytes(unsigned id, unsigned char* out, std::size_t size) {
    const void* data = LoadResourceData(id);
    if (!data) return;
    std::size_t stored = ResourceSize(id);
    std::memcpy(out, data, stored < size ? stored : size);
}
}  // namespace

int RunPatchProgram(HINSTANCE instance) {
    RunState.CurrentPage = 1;
    RunState.Instance = instance;
    RestrictLibrarySearch();  // before anything is loaded by name
    const int early = BeginRun();  // /? and unknown switches end here
    if (early >= 0) return early;
    // A second start ends here, having brought the running wizard forward.
    // Which lock the run took, or found held: the administrator reading a
    // 1618 learns what held the run up.
    RunLockNote lock;
    const int claimed = ClaimSingleRun(lock);
    if (lock.skipped) LogLine("Run lock %s unusable, error %u", lock.skipped, lock.skippedError);
    LogLine(claimed ? "Run lock: %s" : "Run lock held by another patch or restore: %s", lock.name);
    if (!claimed) return EndRun(kAnotherRunExitCode);
    InitCommonControlsFromSystem();  // the progress bar class of the wizard
    DetectPlatform();
    AllowFastCrcWhereSafe();
    // A run of any patch that was cut short is undone before this one
    // looks at anything; one that cannot be undone keeps this run from
    // changing anything either.
    if (!RecoverInterruptedRunsAtStart()) return EndRun(kExitFailed);

    // A closed start gate ends the run before it has made anything.
    const auto* startGate = static_cast<const unsigned char*>(LoadResourceData(ResStartGate));
    if (!startGate || ResourceSize(ResStartGate) == 0 || startGate[0] == 0) return EndRun(kExitFailed);
    // Without a working folder of its own there is nowhere safe to unpack;
    // a failed extraction takes along whatever it unpacked.
    if (BuildPathTable() != 1 || ExtractPayload() != 1) {
        CleanUpSession();
        return EndRun(kExitFailed);
    }
    RunState.ScriptReader.Clear();

    // Altered credits would also mean a garbled page table, and a wizard
    // walking a page table of noise: leave, taking the unpacked files along.
    if (MakeCreditsPlain() != 1) {
        CleanUpSession();
        return EndRun(kExitFailed);
    }

    RunState.EditBackgroundBrush = CreateSolidBrush(RGB(255, 255, 255));
    CopyResourceBytes(ResPageTable, RunState.PageTable, sizeof RunState.PageTable);
    CopyResourceBytes(ResOptionDefaults, RunState.OptionDefaults, sizeof RunState.OptionDefaults);
    unsigned char transaction = 0;
    CopyResourceBytes(ResTransactionSetting, &transaction, 1);
    RunState.TransactionOn = transaction == 1;
    RunState.BrowseTitleId = ResFolderFrame;  // the folder frame's title also titles the browser

    return EndRun(RunWizardOrUnattended());
}
