#include "wizard/Progress.h"

#include <commctrl.h>

#include "core/RunState.h"

namespace {

// Thirty pictures a second look smooth.
constexpr DWORD kProgressPaceMs = 33;

DWORD g_shownAt;          // when the bar last changed
uint32_t g_waitingEntry;  // the entry not shown yet, 0 for none

}  // namespace

void SetProgressRange(HWND dialog, int controlId, int low, int high) {
    RunState.ProgressBarWindow = GetDlgItem(dialog, controlId);
    SendMessageA(RunState.ProgressBarWindow, PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
    SendMessageA(RunState.ProgressBarWindow, PBM_SETSTEP, 1, 0);
}

void SetProgressPosition(int position) {
    SendMessageA(RunState.ProgressBarWindow, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void ShowEntryProgress(uint32_t entry) {
    g_waitingEntry = entry;
    if (GetTickCount() - g_shownAt >= kProgressPaceMs) FlushEntryProgress();
}

void FlushEntryProgress() {
    if (g_waitingEntry == 0) return;
    g_shownAt = GetTickCount();
    SetProgressPosition(static_cast<int>(g_waitingEntry));
    g_waitingEntry = 0;
}

HCURSOR SetClassCursor(HWND window, const char* cursorPath) {
    HCURSOR cursor;
    if (cursorPath)
        cursor = LoadCursorFromFileA(cursorPath);  // may be an animated cursor
    else
        cursor = LoadCursorA(nullptr, window == RunState.DialogWindow ? IDC_WAIT : IDC_HAND);
    // The cursor of the whole window class: the busy cursor shows over every
    // dialog of the program, message boxes included.
    HCURSOR replaced = reinterpret_cast<HCURSOR>(
        SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor)));
    // A second swap on the same class (the link cursor of both credit pages)
    // keeps the class's own cursor as the one to put back.
    if (!RunState.PreviousCursor || window != RunState.CursorWindow) RunState.PreviousCursor = replaced;
    RunState.CursorWindow = window;
    // Every page entry loads its cursor file anew; the one it replaces is
    // used by nothing else.
    if (replaced && replaced == RunState.FileCursor) DestroyCursor(replaced);
    RunState.FileCursor = cursorPath ? cursor : nullptr;
    return RunState.PreviousCursor;
}

void RestoreClassCursor() {
    if (RunState.PreviousCursor) {
        HCURSOR replaced = reinterpret_cast<HCURSOR>(SetClassLongPtrA(
            RunState.CursorWindow, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(RunState.PreviousCursor)));
        if (replaced && replaced == RunState.FileCursor) {
            DestroyCursor(replaced);
            RunState.FileCursor = nullptr;
        }
    }
    RunState.PreviousCursor = nullptr;
}
