// One run of a patch executable's wizard, driven from outside.
#pragma once
#include <windows.h>

#include <string>

#include "harness/Driver.h"

class WizardRun {
public:
    // Starts the patch (with `arguments` on its command line) and waits for
    // the wizard on page 1 (caption 200).
    bool Start(const std::string& patchExe, const std::string& arguments = std::string());
    HWND Dialog() const { return dialog_; }
    DrivenProgram& Program() { return program_; }

    // Presses a button and waits until the window title shows the page of
    // `captionId` and the program is idle again. False on time-out.
    bool PressTo(int controlId, int captionId);
    bool NextTo(int captionId) { return PressTo(1, captionId); }
    bool BackTo(int captionId) { return PressTo(2000, captionId); }
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
