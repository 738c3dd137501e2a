// Next and Back: the walk over the page table and the command dispatch.
#pragma once
#include <windows.h>

void OnCommand(HWND window, int controlId, HWND control, int notification);
void GoNext();
void GoBack();
// The walks over RunState.PageTable.
int NextShownPage(int page);
int PreviousShownPage(int page);
// Leaves the current page (CurrentPage still names it).
void HidePageControls();
