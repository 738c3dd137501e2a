// Mail and web links and the folder browser.
#pragma once
#include <windows.h>

#include "core/neutral/HeapText.h"

// The mail and web links of the credit pages. A run with an elevated token
// never starts a program named under HKEY_CLASSES_ROOT itself: that key
// merges the user's own writable classes, so any program of the user could
// choose what runs as administrator. It hands the address to the desktop
// shell's user instead (OpenAsDesktopUser). Other runs start the registered
// program directly. 1 when something was started.
int OpenMailLink(const char* mailText);
int OpenWebLink(const char* address);
// The program registered for mail addresses, started with its registered
// arguments, "%1" replaced by `mailText`.
int OpenMailWithRegisteredCommand(const char* mailText);
// The program registered for web addresses, started with `address` as its
// only argument.
int OpenWebWithRegisteredCommand(const char* address);
// Whether this process runs with an elevated token.
bool RunsElevated();
// Starts the system's URL opener (rundll32 url.dll,FileProtocolHandler) with
// a copy of the token of the desktop shell's process, so that the address is
// opened with the rights of a link clicked on the desktop. 0 when there is no
// desktop shell or its token cannot be had.
int OpenAsDesktopUser(const char* url);
// The registry value's text (expanded), or none.
HeapText ReadRegistryString(HKEY root, const char* subkey, const char* valueName);
// 0 when the shell allocator is unavailable, else 1.
int BrowseForFolder(HWND folderBox, const char* title);
