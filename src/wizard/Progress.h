// The progress bar of the work pages and the class-cursor swap.
#pragma once
#include <windows.h>

void SetProgressRange(HWND dialog, int controlId, int low, int high);
void SetProgressPosition(int position);
// Replaces the class cursor of `window` by the cursor file (or the system
// cursor when the path is absent); returns the cursor it replaced.
HCURSOR SetClassCursor(HWND window, const char* cursorPath);
void RestoreClassCursor();
