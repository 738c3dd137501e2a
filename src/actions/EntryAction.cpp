#include "actions/EntryAction.h"

#include <windows.h>

#include "actions/BinaryDeltaUpdate.h"
#include "actions/BytePatch.h"
#include "actions/FileActions.h"
#include "actions/XorDelta.h"
#include "core/FileUtils.h"
#include "core/RunState.h"
#include "script/EntrySection.h"
#include "script/ScriptKeys.h"
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

}  // namespace

EntryAction RunEntryAction(uint32_t n, bool run) {
    EntryAction done = {nullptr, nullptr, false, false, false, 0};
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
    done.target = RunState.EntryPaths ? RunState.EntryPaths[n] : nullptr;
    if (!done.target) return done;  // only a table the verification pass did not finish

    // Unknown codes get no report line; a check-only entry gets one only
    // when the check skipped it.
    done.action = FindAction(act);
    if (!done.action) return done;
    if (HasSkipMark(done.target)) {
        done.skipped = true;
        return done;
    }
    if (!done.action->hasAction) return done;
    if (!run) {
        done.unreached = true;
        return done;
    }
    done.acted = true;
    done.result = RunAction(act, payloadPath, done.target);
    return done;
}
