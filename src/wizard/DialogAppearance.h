// The wizard dialog's look: initialisation, fonts, colours, side image, icons.
#pragma once
#include <windows.h>

INT_PTR InitializeDialog(HWND window);
HBRUSH OnCtlColorStatic(HDC dc, HWND control);
void SetDialogIcons(HWND window, int bigIconId, int smallIconId);
void CreateDialogFonts(HWND window, const char* faceName, int height);
// The font's pixel height: the point size of resource 1001 at the window's
// vertical resolution (12 for 9 points at 96 pixels per inch).
int DialogFontHeight(HWND window);
void LoadSideImage(const char* path);
void DrawSideImage(HDC dc);
