// Turning an entry's directory token into a folder path.
#pragma once
#include "core/neutral/HeapText.h"

class PassHost;

// A new folder string, or none (ErrorText set). On success PreviousFolder
// becomes the result. "Ask" asks the host.
HeapText ResolveFolder(const char* token, PassHost& host);
// The folder named by the current entry's "RegKey" value, or none.
HeapText ReadRegistryFolder();
