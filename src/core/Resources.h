// Access to the numbered RT_RCDATA resources of the running module.
#pragma once
#include <windows.h>

#include <cstddef>

// The resource's data in place (neither locked nor copied), or null when the
// module has no such item. Resources made plain at start-up are served from
// their plain copy instead.
const void* LoadResourceData(unsigned id);

// The stored size of the resource in bytes, 0 when it is absent.
std::size_t ResourceSize(unsigned id);

// The resource as a zero-terminated text: it ends at the first zero byte or at
// the end of the data. A text stored without its terminator is served from a
// terminated copy made once. Null when the resource is absent.
const char* ResourceText(unsigned id);

// Replaces what LoadResourceData/ResourceText give for `id` by `size` bytes of
// `data` (copied; kept for the life of the process). Used once at start-up to
// serve the scrambled resources in their plain form.
bool SetPlainResource(unsigned id, const void* data, std::size_t size);

// SetDlgItemTextA with the text of the resource (empty when absent).
void SetControlText(HWND window, int controlId, unsigned resourceId);

// Window title: resource 1, " - ", resource `resourceId`.
void SetPageTitle(HWND window, unsigned resourceId);

// Builds RunState.ErrorText: first text, LF, second text (if any), path, LF,
// last text (if any). Ids of 0 mean none. Returns the new ErrorText.
const char* ComposeError(unsigned firstId, unsigned secondId, const char* path, unsigned lastId);
