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
#include "script/neutral/SkipMark.h"
#include "wizard/Progress.h"

namespace {

// Hands entry's target to the action its code names. False for codes that
// have no action (7, above 8, negative): they get no report line.
bool RunAction(int32_t act, const char* payloadPath, const char* targetPath, int* result) {
    switch (act) {
    case 0: *result = RunEntryFile(payloadPath, targetPath); return true;
    case 1: *result = AddEntryFile(payloadPath, targetPath); return true;
    case 2: *result = ApplyXorDelta(targetPath, payloadPath); return true;
    case 3: *result = ApplyBytePatch(targetPath, payloadPath); return true;
    case 4: *result = DeleteEntryFile(targetPath); return true;
    case 5: *result = UpdateIniEntries(targetPath); return true;
    case 6: {
        HeapText newName = RunState.ScriptReader.ReadValue(kNewNameKey);
        *result = RenameEntryFile(targetPath, newName.get());
        return true;
    }
    case kActBinaryDelta: *result = ApplyBinaryDelta(targetPath, payloadPath); return true;
    default: return false;
    }
}

void ProcessEntry(uint32_t n) {
    ShowEntryProgress(n);
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

    // The binary delta is an update like the XOR delta and reads as one in
    // the report (its own code would name the registry line).
    const int reportCode = act == kActBinaryDelta ? 2 : act;
    if (HasSkipMark(targetPath)) {
        AppendReportLine(reportCode, targetPath, 0, true);
        return;
    }
    int result = 0;
    if (RunAction(act, payloadPath, targetPath, &result)) AppendReportLine(reportCode, targetPath, result, false);
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
        AppendReportLine(kRegistryActionCode, " ", added && deleted && renamed ? 1 : 0, false);
}

}  // namespace

void RunProcessingPass() {
    if (RunState.EntryPaths)
        for (uint32_t n = 1; n <= RunState.EntryCount; ++n) ProcessEntry(n);
    FlushEntryProgress();
    RunRegistrySections();
}
