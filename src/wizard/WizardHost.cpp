#include "wizard/WizardHost.h"

#include <windows.h>

#include "core/RunState.h"
#include "wizard/ControlIds.h"
#include "wizard/FolderQuestion.h"
#include "wizard/Progress.h"

namespace {

// The folder box's text, whole: a text too long for any folder must be
// named in full, never cut to a shorter folder that may exist.
HeapText ReadFolderBox() {
    HWND box = GetDlgItem(RunState.DialogWindow, IdFolderBox);
    const int length = box ? GetWindowTextLengthA(box) : 0;
    HeapText folder = AllocText(static_cast<std::size_t>(length) + 1);
    if (folder && box) GetWindowTextA(box, folder.get(), length + 1);
    return folder;
}

}  // namespace

HeapText WizardHost::ConfirmedFolder() { return ReadFolderBox(); }

void WizardHost::OfferFolder(const char* folder) { SetDlgItemTextA(RunState.DialogWindow, IdFolderBox, folder); }

int WizardHost::AskForFolder(HeapText* folder) {
    if (::AskForFolder() != 1) return 0;
    *folder = ReadFolderBox();
    return 1;
}

void WizardHost::BeginProgress(uint32_t entries) {
    SetProgressRange(RunState.DialogWindow, IdProgressBar, 0, static_cast<int>(entries));
}

void WizardHost::ShowProgress(uint32_t entry) { ShowEntryProgress(entry); }

void WizardHost::EndProgress() { FlushEntryProgress(); }
