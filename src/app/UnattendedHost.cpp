#include "app/UnattendedHost.h"

#include "app/AdminRun.h"
#include "core/RunLog.h"

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
