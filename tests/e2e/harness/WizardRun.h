// One run of a patch executable's wizard, driven from outside.
#pragma once
#include <windows.h>

#include <string>

#include "harness/Driver.h"
#include "wizard/ControlIds.h"

class WizardRun {
public:
    // Starts the patch (with `arguments` on its command line) and waits for
    // the wizard on page 1 (caption ResIntroCaption).
    bool Start(const std::string& patchExe, const std::string& arguments = std::string());
    HWND Dialog() const { return dialog_; }
    DrivenProgram& Program() { return program_; }

    // Presses a button and waits until the window title shows the page of
    // `captionId` and the program is idle again. False on time-out.
    bool PressTo(int controlId, int captionId);
    bool NextTo(int captionId) { return PressTo(IdNext, captionId); }
    bool BackTo(int captionId) { return PressTo(IdBack, captionId); }
    // Walks forward with Next from the current page to the page of
    // `captionId`, page by page through every page between (a patch whose
    // page table shows them all), ticking "I agree" on the agreement page;
    // each step must land on the next page, as NextTo does. False when a
    // step fails or the page lies behind the current one.
    bool WalkTo(int captionId);
    // Presses a button and waits for the message box it brings up.
    HWND PressForMessageBox(int controlId);
    // Presses a button and waits for the program to end; its exit code.
    int PressToExit(int controlId);
    // Presses a check box or radio button and waits until it is handled.
    bool Click(int controlId);
    bool Idle() { return program_.WaitIdle(dialog_); }

private:
    DrivenProgram program_;
    HWND dialog_ = nullptr;
};

// The caption of a message box.
std::string BoxCaption(HWND box);
