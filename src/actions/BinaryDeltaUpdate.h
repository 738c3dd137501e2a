// Binary delta update of a target file: the new version rebuilt from the
// installed one and a payload of copies, differences and new bytes.
#pragma once

// 1 on success (done now or scheduled for the restart), else 0; on failure
// the target keeps its old content.
int ApplyBinaryDelta(const char* targetPath, const char* payloadPath);
