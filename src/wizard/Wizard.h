// The wizard dialog procedure and its navigation.
#pragma once
#include <windows.h>

INT_PTR CALLBACK WizardDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
