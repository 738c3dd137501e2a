// Mail and web links and the folder browser.
#pragma once
#include <windows.h>

#include "core/neutral/HeapText.h"

int OpenMailLink(const char* address);
int OpenWebLink(const char* address);
// The registry value's text (expanded), or none.
HeapText ReadRegistryString(HKEY root, const char* subkey, const char* valueName);
// 0 when the shell allocator is unavailable, else 1.
int BrowseForFolder(HWND folderBox, const char* title);
