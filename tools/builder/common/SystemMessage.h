// The system's own text for a Win32 error code, for the builder's messages.
#pragma once
#include <windows.h>

#include <string>

// FormatMessageA's text without its trailing line break, or "error N" when
// the system has none.
std::string SystemMessage(DWORD code);
