#include "script/Verification.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "core/FileUtils.h"
#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "script/FileCrc32.h"
#include "script/FolderResolution.h"
#include "script/NewCrc.h"
#include "script/EntrySection.h"
#include "script/ScriptKeys.h"
#include "script/neutral/PassHost.h"
#include "script/neutral/PathText.h"
#include "script/neutral/SkipMark.h"

namespace {

// The page-table slot of the folder page: set, entry 1 takes the folder the
// user confirmed instead of its own "Dir".
constexpr int kFolderPageSlot = 5;

int Fail(PassHost& host) {
    host.EndProgress();  // the bar stops at the failing entry
    LogCheckFailure();
    ClearEntryPaths();
    return 0;
}

// Ends the fill-folder mode: it only ever offers a folder, never fills the
// table.
int FinishFillFolder(PassHost& host) {
    host.EndProgress();
    ClearEntryPaths();
    return 1;
}

bool IsFlagSet(const char* key) {
    return static_cast<bool>(RunState.ScriptReader.ReadValue(key));
}

// The file is there and reachable through the ANSI calls. A path beyond
// their limit is never looked at under a shortened name.
bool FileIsPresent(const char* path) {
    return IsReachablePath(path) && PathFileExistsA(path) == 1;
}

// Marks the entry to be skipped. Every slot has room for its path plus the
// mark (see BuildEntrySlot).
void MarkSkipped(char* path) {
    AppendSkipMark(path, std::strlen(path) + kSkipMarkLength + 1);
}

int MissingCase(char* path) {
    if (RunState.SkipMissingOption != 1) {
        ComposeError(ResErrMissingPrefix, 0, path, ResErrChooseAgain);
        return 0;
    }
    if (IsFlagSet(kCantMissKey)) {
        ComposeError(ResErrRequiredMissing, ResErrMissingPrefix, path, ResErrChooseAgain);
        return 0;
    }
    MarkSkipped(path);
    return 1;
}

int DifferingCase(char* path) {
    if (RunState.SkipDifferingOption != 1) {
        ComposeError(ResErrDiffersPrefix, 0, path, ResErrChooseAgain);
        return 0;
    }
    if (IsFlagSet(kCantDiffKey)) {
        ComposeError(ResErrRequiredDiffers, ResErrDiffersPrefix, path, ResErrChooseAgain);
        return 0;
    }
    MarkSkipped(path);
    return 1;
}

// Entry 1's folder when the folder page is part of the wizard: the text the
// user confirmed, which also becomes the folder of "Pre" and "Me". None
// (ErrorText set) when the text is longer than any folder the runtime can
// reach: it is named in the message whole, not cut short.
HeapText ReadConfirmedFolder(PassHost& host) {
    HeapText whole = host.ConfirmedFolder();
    if (whole && std::strlen(whole.get()) > kLongestPath) {
        ComposeError(ResErrMissingPrefix, 0, whole.get(), ResErrChooseAgain);
        return HeapText();
    }
    HeapText folder = AllocText(kPathBufferSize);
    if (!folder) {
        ComposeError(ResErrChooseAgain, 0, "", 0);
        return folder;
    }
    if (whole) lstrcpynA(folder.get(), whole.get(), kPathBufferSize);
    if (RunState.PreviousFolder) lstrcpynA(RunState.PreviousFolder, folder.get(), kPathBufferSize);
    if (RunState.CurrentFolder) lstrcpynA(RunState.CurrentFolder, folder.get(), kPathBufferSize);
    return folder;
}

// A new slot holding `folder` with `sub` and then `file` joined onto it (each
// left out when none). Within the platform's limit the parts are joined by
// AppendPath into a slot of kEntryPathSlotSize bytes. A path that grows beyond
// the limit is kept whole as text in a slot of its own size (plus the mark),
// so that it is treated as a missing file and named in full.
char* BuildEntrySlot(const char* folder, const char* sub, const char* file) {
    HeapText slot = AllocText(kEntryPathSlotSize);
    if (!slot) return nullptr;
    HeapText overlong;
    if (IsReachablePath(folder)) {
        lstrcpynA(slot.get(), folder, kPathBufferSize);
    } else {
        overlong = CopyText(folder);
        if (!overlong) return nullptr;
    }
    for (const char* part : {sub, file}) {
        if (!part) continue;
        if (!overlong) {
            char before[kPathBufferSize] = {};
            lstrcpynA(before, slot.get(), sizeof before);
            if (AppendPath(slot.get(), part)) continue;
            overlong = JoinPathText(before, part);
        } else {
            overlong = JoinPathText(overlong.get(), part);
        }
        if (!overlong) return nullptr;
    }
    if (!overlong) return slot.release();

    const std::size_t length = std::strlen(overlong.get());
    HeapText wide = AllocText(length + kSkipMarkLength + 1);
    if (!wide) return nullptr;
    std::memcpy(wide.get(), overlong.get(), length);
    return wide.release();
}

}  // namespace

void ClearEntryPaths() {
    if (RunState.EntryPaths) {
        for (uint32_t n = 0; n <= RunState.EntryCount; ++n) std::free(RunState.EntryPaths[n]);
        std::free(RunState.EntryPaths);
    }
    RunState.EntryPaths = nullptr;
    RunState.EntryCount = 0;
}

int CheckEntry(char* path) {
    const ProfileReader& script = RunState.ScriptReader;
    const int32_t act = script.ReadInteger(kActKey);
    const ActionInfo* action = FindAction(act);
    // Run, add, delete and unknown actions need nothing to be there.
    if (!action || !action->needsExisting) return 1;
    if (!FileIsPresent(path)) return MissingCase(path);
    if (!action->checksCrc) return 1;

    uint32_t newCrc = 0;
    const bool knowsNewCrc = ReadNewCrc(&newCrc);
    const bool checksCrc = act != kActBytePatch || script.ReadInteger(kDontCheckKey) == 0;
    if (!knowsNewCrc && !checksCrc) return 1;
    const uint32_t crc = FileCrc32(path);
    // Already the new version (a second run of the same patch): it passes
    // and is left alone; the report says skipped.
    if (knowsNewCrc && crc == newCrc) {
        MarkSkipped(path);
        return 1;
    }
    // Signed and unsigned decimal forms of the CRC read as the same bits.
    const uint32_t expected = static_cast<uint32_t>(script.ReadInteger(kCrcKey));
    if (checksCrc) NoteCrc(crc, expected);
    if (!checksCrc || crc == expected) return 1;
    return DifferingCase(path);
}

int VerifyEntries(VerifyMode mode, PassHost& host) {
    ProfileReader& script = RunState.ScriptReader;
    script.SetFile(RunState.ScriptPath);
    script.SetSection(kSetupSection);
    ClearEntryPaths();

    const int32_t procCount = script.ReadInteger(kProcCountKey);
    const uint32_t count = procCount < 1 ? 0 : static_cast<uint32_t>(procCount);
    // calloc checks the size: a count no table can hold fails here.
    auto** table = static_cast<char**>(std::calloc(static_cast<std::size_t>(count) + 1, sizeof(char*)));
    if (!table) {
        ComposeError(ResErrChooseAgain, 0, "", 0);
        return 0;
    }
    RunState.EntryPaths = table;
    RunState.EntryCount = count;

    host.BeginProgress(count);
    for (uint32_t n = 1; n <= count; ++n) {
        host.ShowProgress(n);
        char section[kEntrySectionNameSize] = {};
        FormatEntrySectionName(section, n);
        script.SetSection(section);

        HeapText file = script.ReadValue(kFileKey);
        HeapText dir = script.ReadValue(kDirKey);
        if (mode == VerifyMode::FillFolder && dir && std::strcmp(dir.get(), kDirAsk) == 0)
            return FinishFillFolder(host);  // the offer stays as it was

        HeapText folder;
        HeapText sub;
        if (mode == VerifyMode::Checking && n == 1 && RunState.PageTable[kFolderPageSlot] == 1) {
            // The box already shows entry 1's folder with its Sub joined on
            // (see the fill-folder mode): the folder the user confirms is the
            // one checked, and Sub is not joined a second time.
            folder = ReadConfirmedFolder(host);
        } else {
            folder = ResolveFolder(dir.get(), host);
            sub = script.ReadValue(kSubKey);
        }
        if (!folder) return Fail(host);  // ErrorText was set there

        const char* fileName = mode == VerifyMode::Checking ? file.get() : nullptr;
        char* slot = BuildEntrySlot(folder.get(), sub.get(), fileName);
        if (!slot) {
            ComposeError(ResErrChooseAgain, 0, "", 0);
            return Fail(host);
        }
        RunState.EntryPaths[n] = slot;

        if (mode == VerifyMode::FillFolder) {
            host.OfferFolder(slot);
            return FinishFillFolder(host);
        }
        const int passed = CheckEntry(slot);
        LogEntryCheck(n, slot, passed == 0 ? CheckOutcome::Failed
                               : HasSkipMark(slot) ? CheckOutcome::Skipped
                                                   : CheckOutcome::Passed);
        if (passed == 0) return Fail(host);
    }
    host.EndProgress();
    return 1;
}
