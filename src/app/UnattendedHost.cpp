#include "app/UnattendedHost.h"

#include "app/AdminRun.h"
#include "core/RunLog.h"
#include "wizard/ControlIds.h"
#include "wizard/Progress.h"

HeapText UnattendedHost::ConfirmedFolder() {
    // /dir= stands for the folder the user would have confirmed.
    if (RunOptions.Dir[0]) return CopyText(RunOptions.Dir);
    return CopyText(offered_.get());
}

void UnattendedHost::OfferFolder(const char* folder) { offered_ = CopyText(folder); }

int UnattendedHost::AskForFolder(HeapText* folder) {
    if (RunOptions.Dir[0]) {
        *folder = CopyText(RunOptions.Dir);
        return 1;
    }
    LogLine("The patch asks for a folder: give it with /dir=FOLDER");
    return 0;
}

void UnattendedHost::BeginProgress(uint32_t entries) {
    if (progressWindow_) SetProgressRange(progressWindow_, IdProgressBar, 0, static_cast<int>(entries));
}

void UnattendedHost::ShowProgress(uint32_t entry) {
    if (progressWindow_) ShowEntryProgress(entry);
}

void UnattendedHost::EndProgress() {
    if (progressWindow_) FlushEntryProgress();
}
