// Reads and writes one profile (INI) file through the platform's profile
// functions. It keeps no file open and caches nothing: a value written is seen
// by the next read, by this reader or any other program.
#pragma once
#include "core/neutral/HeapText.h"

#include <cstdint>

class ProfileReader {
public:
    void Clear();
    void SetFile(const char* path);       // keeps a copy
    void SetSection(const char* name);    // keeps a copy
    HeapText CopyFilePath() const;        // none when no file is set
    HeapText CopySectionName() const;     // none when no section is set

    // The key's value in the current section, or none when the key is absent
    // or empty (the two read alike).
    HeapText ReadValue(const char* key) const;
    // The value parsed leniently as a 32-bit integer; 0 when none.
    int32_t ReadInteger(const char* key) const;
    // A script flag: set by any non-empty text ("1", but "0" and "no" too).
    bool ReadFlag(const char* key) const;
    // Passes key and value through unchanged: a none value removes the key,
    // a none key the whole current section. 1 on success, else 0.
    int WriteValue(const char* key, const char* value) const;

private:
    HeapText file_;
    HeapText section_;
};
