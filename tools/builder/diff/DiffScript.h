// The patch script (Setup.ini) that "zulibuild diff" writes: one entry that
// finds the installed folder, then one entry per changed, added or removed
// file, then the registry lines.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "diff/DiffOptions.h"

enum class EntryAction { Update, BinaryUpdate, WholeFile, IniKeys, Add, Remove };

struct DiffEntry {
    EntryAction action;
    std::string relative;            // path below the installed folder
    std::string note;                // what the comment above the entry says
    uint32_t oldCrc = 0;             // Update, BinaryUpdate: the installed file's CRC-32
    uint32_t newCrc = 0;             // Update, BinaryUpdate: the new file's CRC-32
    std::vector<std::string> lines;  // IniKeys
    bool delayed = false;            // Update, BinaryUpdate: replace at restart
    bool required = false;           // may not be skipped
    std::string payload;             // the Proc file's bytes (Update, WholeFile, Add)
};

// The script text, CR LF line ends. Entry 1 finds the installed folder and
// checks that it holds `anchor`, a file or folder at the top of both
// versions; every later entry ("Pre") starts from that folder. The entries
// of `entries` are Proc2, Proc3, ...
std::string DiffScriptText(const DiffOptions& options, const std::string& anchor, const std::vector<DiffEntry>& entries);

// The signed decimal the script writes a CRC-32 in.
std::string SignedCrc(uint32_t crc);
