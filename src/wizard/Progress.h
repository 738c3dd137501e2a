// The progress bar of the work pages and the class-cursor swap.
#pragma once
#include <windows.h>

#include <cstdint>

void SetProgressRange(HWND dialog, int controlId, int low, int high);
void SetProgressPosition(int position);
// The position of a pass at `entry`. The bar repaints at every change of
// position, on some platforms at once, which costs more than the work on a
// small file; so an entry that comes within a thirtieth of a second of the
// last one shown waits, and a later one is shown in its place.
void ShowEntryProgress(uint32_t entry);
// Shows the entry that waits, if any: a pass calls it where it ends, so that
// the bar stops at the pass's last entry.
void FlushEntryProgress();
// Replaces the class cursor of `window` by the cursor file (or the system
// cursor when the path is absent); returns the class's own cursor, the one
// RestoreClassCursor puts back. A cursor file loaded by an earlier call and
// replaced now is destroyed.
HCURSOR SetClassCursor(HWND window, const char* cursorPath);
// Puts the class's own cursor back and destroys the file cursor it replaces.
void RestoreClassCursor();
