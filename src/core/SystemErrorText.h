// The system's own words for a Win32 error code, as the runtime's log, the
// builder and the backup companion print them.
#pragma once
#include <windows.h>

// Writes FormatMessageA's text for `error` into `text` (`size` bytes, at
// least 1), without the line break the system ends it with. Returns the
// length; 0 (and an empty text) when the system has no text for the code.
DWORD FormatSystemError(DWORD error, char* text, DWORD size);
