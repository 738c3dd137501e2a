#include "diff/DiffManifest.h"

#include <cctype>
#include <map>

#include "common/neutral/IniLexer.h"

namespace {

const char* const kDefaultSettings =
    "[Settings]\r\n"
    "; pages 0..13: 0 start, 1 intro, 2 info, 3 agreement, 4 options, 5 folder,\r\n"
    "; 6 check, 7 processing, 8 report, 9 closing, 10 author, 11 maker, 12 finish\r\n"
    "PageTable=1,1,0,0,1,1,1,1,1,1,0,1,1,0\r\n"
    "; backup, skip differing, skip missing\r\n"
    "OptionDefaults=0,0,0\r\n"
    "StartGate=1\r\n"
    "; 1: every file and registry line changes, or none (a failed run is undone)\r\n"
    "Transaction=1\r\n";
const char* const kDefaultFont = "[Font]\r\nFace=MS Sans Serif\r\nSize=8\r\n";

// The title as a manifest text: escapes for the characters that have them.
std::string EscapedTitle(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c == '\\') out += "\\\\";
        else if (c == '\r') continue;
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out;
}

std::string TitleLine(const std::string& name) { return "1=" + EscapedTitle(name) + "\r\n"; }

std::string CabinetSection(const std::vector<std::string>& files) {
    std::string text = "[Cabinet]\r\nFiles=";
    for (std::size_t i = 0; i < files.size(); ++i) text += (i ? "," : "") + files[i];
    return text + "\r\n";
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The manifest split into lines, each with the section it belongs to. Only
// a line that ends with ']' starts a section; any other line stays in the
// section before it, as written.
struct ManifestLine {
    std::string section;  // lower case; "" before the first header
    std::string key;      // of a key=value line, lower case; "" for any other line
    IniLine line;
};

std::vector<ManifestLine> ManifestLines(const std::string& text) {
    std::vector<ManifestLine> lines;
    std::string section;
    for (IniLine& line : LexIni(text)) {
        if (line.kind == IniLineKind::Section && line.closed) section = Lower(line.name);
        std::string key = line.kind == IniLineKind::Key ? Lower(line.name) : std::string();
        lines.push_back({section, key, std::move(line)});
    }
    return lines;
}

}  // namespace

std::string DefaultManifestText(const std::string& name, const std::vector<std::string>& files) {
    std::string text = "; Patch project made by zulibuild diff. Every text the wizard shows has a\r\n"
                       "; default; give [Texts] lines for the ones to change (\"\\n\" is a line break,\r\n"
                       "; \"@file\" reads a text from a file).\r\n\r\n";
    text += kDefaultSettings;
    text += "\r\n";
    text += kDefaultFont;
    text += "\r\n";
    text += CabinetSection(files);
    text += "\r\n[Texts]\r\n" + TitleLine(name);
    // A comment, so that a new project builds as before until the author
    // gives the address.
    text += "; SupportAddress=where users get help (mail or web address), named when a file is not the "
            "expected version\r\n";
    return text;
}

std::string TemplateManifestText(const std::string& templateText, const std::string& name,
                                 const std::vector<std::string>& files) {
    std::vector<ManifestLine> lines = ManifestLines(templateText);
    std::map<std::string, bool> sections;
    bool titled = false;
    for (const ManifestLine& line : lines) {
        sections[line.section] = true;
        titled |= line.section == "texts" && line.key == "1";
    }
    std::string missingTexts = titled ? std::string() : TitleLine(name);

    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ManifestLine& line = lines[i];
        if (line.section == "cabinet") continue;  // written anew below
        out += line.line.raw + "\r\n";
        // A missing title goes at the end of the [Texts] section.
        bool lastOfTexts = line.section == "texts" && (i + 1 == lines.size() || lines[i + 1].section != "texts");
        if (lastOfTexts && !missingTexts.empty()) {
            out += missingTexts;
            missingTexts.clear();
        }
    }
    if (!out.empty() && out.compare(out.size() - 4, 4, "\r\n\r\n") != 0) out += "\r\n";
    if (!sections.count("settings")) out += std::string(kDefaultSettings) + "\r\n";
    if (!sections.count("font")) out += std::string(kDefaultFont) + "\r\n";
    out += CabinetSection(files);
    if (!missingTexts.empty()) out += "\r\n[Texts]\r\n" + missingTexts;
    return out;
}

bool ManifestGivesKey(const std::string& manifestText, const std::string& section, const std::string& key) {
    for (const ManifestLine& line : ManifestLines(manifestText))
        if (line.section == Lower(section) && line.key == Lower(key)) return true;
    return false;
}

std::vector<std::string> ManifestCabinetFiles(const std::string& manifestText) {
    std::vector<std::string> files;
    for (const ManifestLine& line : ManifestLines(manifestText)) {
        if (line.section != "cabinet" || line.key != "files") continue;
        const std::string& value = line.line.value;
        std::size_t at = 0;
        while (at <= value.size()) {
            std::size_t comma = value.find(',', at);
            if (comma == std::string::npos) comma = value.size();
            std::string file = TrimIni(value.substr(at, comma - at));
            if (!file.empty()) files.push_back(file);
            at = comma + 1;
        }
    }
    return files;
}
