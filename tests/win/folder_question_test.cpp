// The folder question in the middle of the check: its own message loop ends
// on Next, on Back and on a request to quit, and leaves the check page on
// screen afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "core/RunState.h"
#include "wizard/FolderQuestion.h"
#include "wizard/Navigation.h"

namespace {

// The wizard's commands reach the navigation as they do in the dialog.
LRESULT CALLBACK WizardLikeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        OnCommand(window, LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A loop that misses its way out would wait for ever; this timer ends it
// with a code neither button gives and notes that it had to, so that the
// test fails instead of hanging (and never passes by the timer's hand).
constexpr UINT kGuardMs = 5000;
constexpr uint32_t kResumeByGuard = 77;
bool GuardFired = false;
void CALLBACK EndTheWait(HWND, UINT, UINT_PTR, DWORD) {
    GuardFired = true;
    RunState.ResumeCode = kResumeByGuard;
}

class FolderQuestionTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = WizardLikeProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "ZuliFolderQuestionTest";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("ZuliFolderQuestionTest", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        // Next and Back act only while their buttons are shown and enabled,
        // as in the dialog.
        for (int id : {1, 2000})
            ASSERT_NE(CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                    nullptr),
                      nullptr);
        GuardFired = false;
        RunState.DialogWindow = window_;
        RunState.CurrentPage = 6;
        RunState.ResumeCode = kResumeRunning;
        RunState.ErrorText.reset();
        guard_ = SetTimer(nullptr, 0, kGuardMs, EndTheWait);
        ASSERT_NE(guard_, 0u);
    }
    void TearDown() override {
        KillTimer(nullptr, guard_);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        DestroyWindow(window_);
        RunState.DialogWindow = nullptr;
        RunState.ErrorText.reset();
    }

    std::string Error() const { return RunState.ErrorText ? RunState.ErrorText.get() : "(none)"; }
    std::string Title() const {
        char text[128] = {};
        GetWindowTextA(window_, text, sizeof text);
        return text;
    }

    HWND window_ = nullptr;
    UINT_PTR guard_ = 0;
};

TEST_F(FolderQuestionTest, NextAnswersTheQuestion) {
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    EXPECT_EQ(AskForFolder(), 1);
    EXPECT_FALSE(GuardFired) << "Next did not end the question";
    EXPECT_EQ(RunState.ResumeCode, kResumeNext);
    EXPECT_EQ(Error(), "(none)");
    EXPECT_EQ(RunState.CurrentPage, 6) << "the check goes on";
    EXPECT_EQ(Title(), "Patch - Check");
}

TEST_F(FolderQuestionTest, BackEndsTheQuestionWithTheChooseAgainMessage) {
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(2000, BN_CLICKED), 0);
    EXPECT_EQ(AskForFolder(), 0);
    EXPECT_FALSE(GuardFired) << "Back did not end the question";
    EXPECT_EQ(RunState.ResumeCode, kResumeBack);
    EXPECT_EQ(Error(), "Choose the folder again?\n\n");
    EXPECT_EQ(RunState.CurrentPage, 6);
    EXPECT_EQ(Title(), "Patch - Check");
}

TEST_F(FolderQuestionTest, QuitRequestEndsTheQuestionAsBackAndIsKeptForTheOuterLoop) {
    PostQuitMessage(7);
    EXPECT_EQ(AskForFolder(), 0);
    EXPECT_FALSE(GuardFired) << "the quit request did not end the question";
    EXPECT_EQ(Error(), "Choose the folder again?\n\n");
    EXPECT_EQ(RunState.CurrentPage, 6);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request was swallowed";
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
