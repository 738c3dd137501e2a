// Drives a Windows program from outside, as a user would: starts it, finds
// its windows, presses buttons, reads texts and answers message boxes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/WaitUntil.h"

class DrivenProgram {
public:
    DrivenProgram() = default;
    ~DrivenProgram();  // ends the program if it still runs
    DrivenProgram(const DrivenProgram&) = delete;
    DrivenProgram& operator=(const DrivenProgram&) = delete;

    // Starts `commandLine` with `workFolder` as its current directory.
    bool Start(const std::string& commandLine, const std::string& workFolder = std::string());
    DWORD ProcessId() const { return pid_; }
    bool Running() const;
    // Waits for the program to end; its exit code, or -1 on time-out.
    int WaitForExit(DWORD timeoutMs = 30000);

    // The program's visible top-level windows.
    std::vector<HWND> TopWindows() const;
    // Every window the program owns that is not a child: top-level ones,
    // shown or hidden, and message-only ones.
    std::vector<HWND> OwnedWindows() const;
    // The first visible top-level window whose class is `className` (e.g.
    // "#32770" for dialogs) and whose title contains `titlePart`; waits up
    // to `timeoutMs`. Null on time-out.
    HWND WaitForWindow(const std::string& className, const std::string& titlePart = std::string(),
                       DWORD timeoutMs = 30000) const;
    // A message box of the program: a visible dialog other than `mainWindow`.
    HWND WaitForMessageBox(HWND mainWindow, DWORD timeoutMs = 30000) const;
    // Waits until `window` has no visible dialog owned by the program besides
    // it (no message box pending) and the program has processed its queue.
    bool WaitIdle(HWND window, DWORD timeoutMs = 30000) const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Window and control queries, all safe across processes.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int controlId);
std::string ClassNameOf(HWND window);
bool ControlVisible(HWND dialog, int controlId);
bool ControlEnabled(HWND dialog, int controlId);
// The text of a message box (its static text).
std::string MessageBoxText(HWND box);

// Presses a button as a user would: fails (false) when the control is
// missing, hidden or disabled. Returns without waiting for the work it starts.
bool PressButton(HWND dialog, int controlId);
// Types text into an edit control (replaces its content).
bool TypeText(HWND dialog, int controlId, const std::string& text);
// Escape on the focused control, Alt+F4 and the close box.
void PressEscape(HWND dialog);
void PressAltF4(HWND dialog);
void PressCloseBox(HWND dialog);
// Waiting for a state: WaitUntil (support/WaitUntil.h).
