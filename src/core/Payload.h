// Unpacking the payload cabinet (resource 2000) into the working folder.
#pragma once

// 1 when the extractor was run and waited for, else 0.
int ExtractPayload();
