// Joining path parts as plain text, for paths too long for the platform's own
// join: the verification pass keeps such a path whole so that its message and
// the report name the path the script really describes.
#pragma once
#include "core/neutral/HeapText.h"

// A new text: `part` joined onto `base` the way the platform's path join does
// it, without its length limit: leading backslashes of `part` are dropped
// (unless it is a UNC path), a `part` with a drive letter or a UNC `part`
// replaces `base`, and one backslash separates the two. An absent `part`
// gives a copy of `base`; an absent `base` reads as empty. None when out of
// memory. No "." or ".." is resolved.
HeapText JoinPathText(const char* base, const char* part);
