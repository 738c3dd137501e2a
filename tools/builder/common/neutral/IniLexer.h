// The lines of an INI text as every INI reader of the builder sees them:
// the manifest, the patch script, the INI files "diff" compares and the
// manifest templates it fills in. Each reader keeps its own rules on top
// (which lines it refuses, whether a comment mark means anything to it), so
// that they differ only where the programs they stand for differ.
#pragma once
#include <string>
#include <vector>

enum class IniLineKind {
    Blank,    // nothing but blanks
    Comment,  // starts with ';' or '#'
    Section,  // starts with '['
    Key,      // holds '=': key=value
    Text,     // anything else: a line without '='
};

struct IniLine {
    IniLineKind kind = IniLineKind::Blank;
    int number = 0;   // 1 for the first line
    std::string raw;  // as written, without its line end (LF or CR LF)
    // Section: between '[' and the ']' that ends the line (to the end of the
    // line when none does). Key, Comment and Text: before the first '=' (all
    // of it when there is none), so that a reader to which a comment mark
    // means nothing can take the line as a key.
    std::string name;
    std::string value;    // after the first '='; empty when there is none
    bool closed = false;  // Section: the line ends with ']'
};

// Splits `text` at line feeds; a text that ends with one has no empty line
// after it. The kind, name and value are read with blanks, tabs and carriage
// returns trimmed from the line and from each of them.
std::vector<IniLine> LexIni(const std::string& text);

// `text` without the blanks, tabs and carriage returns at either end.
std::string TrimIni(const std::string& text);

// True when `text` starts with the UTF-8 byte order mark, which the readers
// of a manifest and a script pass over.
bool HasUtf8Mark(const std::string& text);
constexpr std::size_t kUtf8MarkSize = 3;

// Section and key names match without regard to case.
bool SameName(const std::string& a, const std::string& b);
