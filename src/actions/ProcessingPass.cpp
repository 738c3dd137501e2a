#include "actions/ProcessingPass.h"

#include <windows.h>

#include <cstdint>

#include "actions/EntryAction.h"
#include "actions/RegistrySections.h"
#include "actions/Report.h"
#include "actions/TransactionPass.h"
#include "core/RunState.h"
#include "script/neutral/PassHost.h"

namespace {

void ProcessEntry(uint32_t n, PassHost& host) {
    host.ShowProgress(n);
    const EntryAction done = RunEntryAction(n);
    if (!done.action) return;
    if (done.skipped) ReportEntryResult(*done.action, done.target, 0, true);
    else if (done.acted) ReportEntryResult(*done.action, done.target, done.result, false);
}

}  // namespace

void RunProcessingPass(PassHost& host) {
    if (RunState.TransactionOn) {
        RunTransactionPass(host);
        return;
    }
    host.BeginProgress(RunState.EntryCount);
    if (RunState.EntryPaths)
        for (uint32_t n = 1; n <= RunState.EntryCount; ++n) ProcessEntry(n, host);
    host.EndProgress();
    const bool any = HasRegistryLines();
    const int result = RunRegistrySections();
    if (any) ReportRegistryResult(result);
}
