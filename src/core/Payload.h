// Unpacking the payload cabinet (resource 2000) into the working folder, and
// what the rest of the run may know about it.
#pragma once

// Writes the cabinet into the working folder, runs the extractor and checks
// the result: 1 only when every file the cabinet lists is there with its
// listed size and "Setup.ini" is among them, else 0.
int ExtractPayload();
// 1 when this run's cabinet lists a file of that name (case ignored).
int PayloadCarries(const char* name);
// Deletes the files the cabinet lists, and the cabinet file, from the
// working folder: exactly what the run unpacked, links themselves rather
// than what they lead to.
void RemoveUnpackedFiles();
