// Splitting of the script's multi-field values ("RegKey", the "INIKey" lines,
// the registry lines) at commas. A run of commas is one separator and commas
// at either end separate nothing, so no field is ever empty and none holds a
// comma. A byte-wise search is safe for double-byte texts: no trail byte of
// Big5, Shift-JIS or GBK is a comma.
#pragma once
#include <cstddef>

#include "core/neutral/HeapText.h"

class FieldSplitter {
public:
    explicit FieldSplitter(const char* text) : next_(text) {}

    // The next field in place (not terminated); false when none is left.
    bool NextSpan(const char** begin, std::size_t* length);
    // The next field as a new string; none when no field is left.
    HeapText Next();

private:
    const char* next_;  // null once the text is used up (or was none)
};

// Fills fields[0..maxFields) with new strings of the first fields of `text`;
// the slots past the last field are set to none. Text after field maxFields
// is ignored. Returns the number of fields filled.
int SplitFields(const char* text, HeapText* fields, int maxFields);
