// Mail and web links and the folder browser.
#pragma once
#include <windows.h>

#include "core/neutral/HeapText.h"

// The mail and web links of the credit pages. A run with an elevated token
// opens nothing: HKEY_CLASSES_ROOT merges the user's own writable classes, so
// starting the program named there would let any program of the user choose
// what runs as administrator. Other runs start the registered program
// directly. 1 when something was started.
int OpenMailLink(const char* mailText);
int OpenWebLink(const char* address);
// The program registered for mail addresses, started with its registered
// arguments, "%1" replaced by `mailText`.
int OpenMailWithRegisteredCommand(const char* mailText);
// The program registered for web addresses, started with `address` as its
// only argument.
int OpenWebWithRegisteredCommand(const char* address);
// Whether this process runs with an elevated token; false on systems that
// have no such notion.
bool RunsElevated();
// The registry value's text (expanded), or none.
HeapText ReadRegistryString(HKEY root, const char* subkey, const char* valueName);
// 0 when the shell allocator is unavailable, else 1.
int BrowseForFolder(HWND folderBox, const char* title);
