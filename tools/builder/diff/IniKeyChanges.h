// Whether a changed INI file can be patched by writing keys into it instead
// of shipping a delta, and which key lines do it.
#pragma once
#include <string>
#include <vector>

// The "section,key,value" lines (and "section,key" lines that delete a key)
// that turn `oldText` into exactly `newText` when written one after another
// with the system's profile writer. False when that is not certain:
//  - either file is not plain INI text: every line "[section]" or
//    "key=value", CR LF line ends (the last one too), no blank or comment
//    lines, no blanks around names and values, names unique within the file
//    (sections) or section (keys), no comma or double quote anywhere (the
//    script's key lines are split at commas), no empty value;
//  - the sections differ (added, removed, reordered or renamed);
//  - within a section, the new keys are not the old ones (minus deleted
//    ones, values changed in place) followed by added keys at its end.
// Such files are rewritten by the profile writer exactly as they stand, so
// the result is byte for byte the new file.
bool IniKeyChanges(const std::string& oldText, const std::string& newText, std::vector<std::string>& lines);
