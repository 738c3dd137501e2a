#include "harness/WizardRun.h"

#include "core/ResourceIds.h"
#include "harness/WizardPages.h"

namespace {

// The wizard's pages in the order Next shows them, by caption.
const int kPageOrder[] = {ResIntroCaption,   ResInfoCaption,   ResAgreementCaption, ResOptionsCaption,
                          ResFolderCaption,  ResCheckCaption,  ResWorkCaption,      ResReportCaption,
                          ResClosingCaption, ResAuthorCaption, ResMakerCaption};
constexpr int kPageCount = static_cast<int>(sizeof kPageOrder / sizeof kPageOrder[0]);

int PagePosition(int captionId) {
    for (int i = 0; i < kPageCount; ++i)
        if (kPageOrder[i] == captionId) return i;
    return -1;
}

int PagePositionOfTitle(const std::string& title) {
    for (int i = 0; i < kPageCount; ++i)
        if (title == PageTitle(kPageOrder[i])) return i;
    return -1;
}

}  // namespace

bool WizardRun::Start(const std::string& patchExe, const std::string& arguments) {
    if (!program_.Start("\"" + patchExe + "\"" + (arguments.empty() ? "" : " " + arguments))) return false;
    dialog_ = program_.WaitForWindow("#32770", PageTitle(ResIntroCaption));
    return dialog_ != nullptr && program_.WaitIdle(dialog_);
}

bool WizardRun::PressTo(int controlId, int captionId) {
    if (!PressButton(dialog_, controlId)) return false;
    // The click is posted; the title changes once the page is entered.
    std::string title = PageTitle(captionId);
    if (!WaitUntil([&] { return WindowText(dialog_) == title || !program_.Running(); })) return false;
    if (captionId == ResCheckCaption || captionId == ResWorkCaption) {
        // The work pages drain their messages before the pass starts, so an
        // idle program proves nothing there: the pass has ended once Next
        // is enabled again (or an error box has come up).
        WaitUntil([&] {
            if (!program_.Running() || ControlEnabled(dialog_, IdNext)) return true;
            for (HWND window : program_.TopWindows())
                if (window != dialog_ && ClassNameOf(window) == "#32770") return true;
            return false;
        });
        if (!ControlEnabled(dialog_, IdNext)) return false;
    }
    return program_.Running() && program_.WaitIdle(dialog_) && WindowText(dialog_) == title;
}

bool WizardRun::WalkTo(int captionId) {
    const int target = PagePosition(captionId);
    int here = PagePositionOfTitle(WindowText(dialog_));
    if (target < 0 || here < 0 || here > target) return false;
    for (; here < target; ++here) {
        // Next stays disabled on the agreement page until "I agree" is ticked.
        if (kPageOrder[here] == ResAgreementCaption && IsDlgButtonChecked(dialog_, IdAgree) != BST_CHECKED &&
            !Click(IdAgree))
            return false;
        if (!NextTo(kPageOrder[here + 1])) return false;
    }
    return true;
}

HWND WizardRun::PressForMessageBox(int controlId) {
    if (!PressButton(dialog_, controlId)) return nullptr;
    return program_.WaitForMessageBox(dialog_);
}

int WizardRun::PressToExit(int controlId) {
    if (!PressButton(dialog_, controlId)) return -2;
    return program_.WaitForExit();
}

bool WizardRun::Click(int controlId) {
    HWND control = GetDlgItem(dialog_, controlId);
    LRESULT before = SendMessageA(control, BM_GETCHECK, 0, 0);
    if (!PressButton(dialog_, controlId)) return false;
    // Radio buttons already ticked do not change; check boxes always do.
    WaitUntil([&] { return SendMessageA(control, BM_GETCHECK, 0, 0) != before; }, 2000);
    return program_.WaitIdle(dialog_);
}

std::string BoxCaption(HWND box) { return WindowText(box); }
