// The wizard dialog's look: initialisation, fonts, colours, side image, icons.
#pragma once
#include <windows.h>

INT_PTR InitializeDialog(HWND window);
HBRUSH OnCtlColorStatic(HDC dc, HWND control);
void SetDialogIcons(HWND window, int bigIconId, int smallIconId);
void CreateDialogFonts(HWND window, const char* faceName, int height);
void LoadSideImage(const char* path);
void DrawSideImage(HDC dc);
