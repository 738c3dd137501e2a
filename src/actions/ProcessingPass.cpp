#include "actions/ProcessingPass.h"

#include <windows.h>

#include <cstdint>

#include "actions/BinaryDeltaUpdate.h"
#include "actions/BytePatch.h"
#include "actions/FileActions.h"
#include "actions/RegistrySections.h"
#include "actions/Report.h"
#include "actions/XorDelta.h"
#include "core/FileUtils.h"
#include "core/RunState.h"
#include "script/EntrySection.h"
#include "script/ScriptKeys.h"
#include "script/neutral/ActionCodes.h"
#include "script/neutral/PassHost.h"
#include "script/neutral/SkipMark.h"

namespace {

// Hands entry's target to the action its code names; only codes with an
// action come here.
int RunAction(int32_t act, const char* payloadPath, const char* targetPath) {
    switch (act) {
    case kActRun: return RunEntryFile(payloadPath, targetPath);
    case kActAdd: return AddEntryFile(payloadPath, targetPath);
    case kActXorDelta: return ApplyXorDelta(targetPath, payloadPath);
    case kActBytePatch: return ApplyBytePatch(targetPath, payloadPath);
    case kActDelete: return DeleteEntryFile(targetPath);
    case kActIniKeys: return UpdateIniEntries(targetPath);
    case kActRename: {
        HeapText newName = RunState.ScriptReader.ReadValue(kNewNameKey);
        return RenameEntryFile(targetPath, newName.get());
    }
    case kActBinaryDelta: return ApplyBinaryDelta(targetPath, payloadPath);
    default: return 0;
    }
}

void ProcessEntry(uint32_t n, PassHost& host) {
    host.ShowProgress(n);
    char section[kEntrySectionNameSize] = {};
    FormatEntrySectionName(section, n);
    // A payload path that cannot be built stays empty and fails every action
    // that needs it: the bare "Proc" name, or the working folder itself,
    // would name some other file or the whole folder.
    char payloadPath[kPathBufferSize] = {};
    if (RunState.WorkFolder && *RunState.WorkFolder) {
        lstrcpynA(payloadPath, RunState.WorkFolder, sizeof payloadPath);
        if (!AppendPath(payloadPath, section)) payloadPath[0] = '\0';
    }

    RunState.ScriptReader.SetSection(section);
    const int32_t act = RunState.ScriptReader.ReadInteger(kActKey);
    const char* targetPath = RunState.EntryPaths[n];
    if (!targetPath) return;  // only a table the verification pass did not finish

    // Unknown codes get no report line; a check-only entry gets one only
    // when the check skipped it.
    const ActionInfo* action = FindAction(act);
    if (!action) return;
    if (HasSkipMark(targetPath)) {
        ReportEntryResult(*action, targetPath, 0, true);
        return;
    }
    if (!action->hasAction) return;
    ReportEntryResult(*action, targetPath, RunAction(act, payloadPath, targetPath), false);
}

void RunRegistrySections() {
    ProfileReader& script = RunState.ScriptReader;
    script.SetSection(kSetupSection);
    const int32_t addCount = script.ReadInteger(kAddRegKey);
    const int32_t deleteCount = script.ReadInteger(kDelRegKey);
    const int32_t renameCount = script.ReadInteger(kRenRegKey);
    // All three run, whatever the others gave.
    const int added = RunRegistrySection(addCount, RegistryAdd);
    const int deleted = RunRegistrySection(deleteCount, RegistryDelete);
    const int renamed = RunRegistrySection(renameCount, RegistryRename);
    if (addCount > 0 || deleteCount > 0 || renameCount > 0)
        ReportRegistryResult(added && deleted && renamed ? 1 : 0);
}

}  // namespace

void RunProcessingPass(PassHost& host) {
    host.BeginProgress(RunState.EntryCount);
    if (RunState.EntryPaths)
        for (uint32_t n = 1; n <= RunState.EntryCount; ++n) ProcessEntry(n, host);
    host.EndProgress();
    RunRegistrySections();
}
