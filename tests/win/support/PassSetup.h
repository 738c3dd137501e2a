// Header only, so that it links with exactly the runtime the test uses.
// Run-time state for tests of the verification and processing passes: the
// path buffers the passes read, a fake host that answers the passes and
// records what they hand it, and (for the wizard's own page tests) a
// stand-in dialog window that carries the folder box (1015) and the
// progress bar (1024).
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/RunState.h"
#include "script/Verification.h"
#include "script/neutral/PassHost.h"

// Allocates the path buffers of RunState that the passes use, fills
// WorkFolder and ScriptPath from `workFolder` (with a trailing backslash) and
// WindowsFolder from the platform, and resets options, page table, entry
// table, report and error text. The destructor frees and clears them again.
class PassState {
public:
    explicit PassState(const std::string& workFolder);
    ~PassState();
    PassState(const PassState&) = delete;
    PassState& operator=(const PassState&) = delete;
};

// A host that answers from its fields and records what the passes hand it.
class FakeHost : public PassHost {
public:
    // Answers: the folder the user confirmed, and one answer per folder
    // question in turn (none left: nobody answers).
    std::string confirmed;
    std::vector<std::string> answers;
    // Records.
    std::vector<std::string> offers;
    int questions = 0;
    int begins = 0;
    int ends = 0;
    uint32_t range = 0;
    uint32_t shown = 0;

    HeapText ConfirmedFolder() override { return CopyText(confirmed.c_str()); }
    void OfferFolder(const char* folder) override { offers.push_back(folder ? folder : "(null)"); }
    int AskForFolder(HeapText* folder) override {
        if (static_cast<std::size_t>(questions) >= answers.size()) {
            ++questions;
            return 0;
        }
        *folder = CopyText(answers[static_cast<std::size_t>(questions++)].c_str());
        return 1;
    }
    void BeginProgress(uint32_t entries) override {
        ++begins;
        range = entries;
    }
    void ShowProgress(uint32_t entry) override { shown = entry; }
    void EndProgress() override { ++ends; }
};

// A hidden top-level window with an edit control 1015 and a progress bar
// 1024, set as RunState.DialogWindow while it lives.
class PassWindow {
public:
    PassWindow();
    ~PassWindow();
    PassWindow(const PassWindow&) = delete;
    PassWindow& operator=(const PassWindow&) = delete;

    HWND Window() const { return window_; }
    std::string FolderBoxText() const;
    void SetFolderBoxText(const std::string& text) const;
    int ProgressPosition() const;
    int ProgressHigh() const;

private:
    HWND window_ = nullptr;
};

// CRC-32 (IEEE 802.3) of `data`, computed bit by bit, independently of the
// runtime's table-driven one.
unsigned long Crc32Of(const std::string& data);

// ---- definitions ----

namespace pass_setup_detail {

inline char* RunStateRecord::*const kPassPaths[] = {
    &RunStateRecord::WorkFolder,     &RunStateRecord::ScriptPath,    &RunStateRecord::WindowsFolder,
    &RunStateRecord::SystemFolder,   &RunStateRecord::CurrentFolder, &RunStateRecord::PreviousFolder,
};

inline void ResetPassState() {
    ClearEntryPaths();
    RunState.ReportText.reset();
    RunState.ErrorText.reset();
    RunState.ScriptReader.Clear();
    RunState.SkipMissingOption = 0;
    RunState.SkipDifferingOption = 0;
    RunState.RebootPending = 0;
    std::memset(RunState.PageTable, 0, sizeof RunState.PageTable);
}

}  // namespace pass_setup_detail

inline PassState::PassState(const std::string& workFolder) {
    for (char* RunStateRecord::*field : pass_setup_detail::kPassPaths) RunState.*field = NewPathBuffer();
    std::strcpy(RunState.WorkFolder, workFolder.c_str());
    std::strcpy(RunState.ScriptPath, (workFolder + "Setup.ini").c_str());
    GetWindowsDirectoryA(RunState.WindowsFolder, MAX_PATH);
    std::strcat(RunState.WindowsFolder, "\\");
    GetSystemDirectoryA(RunState.SystemFolder, MAX_PATH);
    std::strcat(RunState.SystemFolder, "\\");
    GetCurrentDirectoryA(MAX_PATH, RunState.CurrentFolder);
    std::strcat(RunState.CurrentFolder, "\\");
    pass_setup_detail::ResetPassState();
}

inline PassState::~PassState() {
    pass_setup_detail::ResetPassState();
    for (char* RunStateRecord::*field : pass_setup_detail::kPassPaths) {
        std::free(RunState.*field);
        RunState.*field = nullptr;
    }
}

inline PassWindow::PassWindow() {
    InitCommonControls();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    window_ = CreateWindowExA(0, "STATIC", "pass", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, instance, nullptr);
    CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 300, 20, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(1015)), instance, nullptr);
    CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD, 0, 40, 300, 20, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(1024)), instance, nullptr);
    // Edit controls start with a limit of 32767 characters; long folders are
    // part of what the tests type.
    SendDlgItemMessageA(window_, 1015, EM_LIMITTEXT, 0, 0);
    RunState.DialogWindow = window_;
}

inline PassWindow::~PassWindow() {
    RunState.DialogWindow = nullptr;
    RunState.ProgressBarWindow = nullptr;
    DestroyWindow(window_);
}

inline std::string PassWindow::FolderBoxText() const {
    char text[2048] = {};
    GetDlgItemTextA(window_, 1015, text, sizeof text);
    return text;
}

inline void PassWindow::SetFolderBoxText(const std::string& text) const { SetDlgItemTextA(window_, 1015, text.c_str()); }

inline int PassWindow::ProgressPosition() const {
    return static_cast<int>(SendDlgItemMessageA(window_, 1024, PBM_GETPOS, 0, 0));
}

inline int PassWindow::ProgressHigh() const {
    return static_cast<int>(SendDlgItemMessageA(window_, 1024, PBM_GETRANGE, FALSE, 0));
}

inline unsigned long Crc32Of(const std::string& data) {
    unsigned long crc = 0xFFFFFFFFul;
    for (unsigned char octet : data) {
        crc ^= octet;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320ul & (0ul - (crc & 1ul)));
    }
    return (crc ^ 0xFFFFFFFFul) & 0xFFFFFFFFul;
}
