#include "DiffManifest.h"

#include <cctype>
#include <cstdlib>
#include <map>

namespace {

struct DefaultText {
    unsigned id;
    const char* text;  // "%s" stands for the patch's title
};

// Product-neutral wording; the patch's title where the user needs it.
const DefaultText kDefaultTexts[] = {
    {1, "%s"},
    {113, "Cancel"},
    {114, "&Next >"},
    {115, "< &Back"},
    {116, "&Finish"},
    {117, "B&rowse..."},
    {200, "Welcome"},
    {201, "This program updates your installed copy to the new version (%s).\\n\\nClose the program before you go on. Press Next to continue."},
    {202, "Information"},
    {203, "Press Next to continue."},
    {204, "Agreement"},
    {205, "Read the agreement; press Next only when you accept it."},
    {206, "I &agree"},
    {207, "I do &not agree"},
    {208, "Options"},
    {209, "Options"},
    {210, "&Keep a backup of the changed files"},
    {211, "Skip files that &differ from the expected version"},
    {212, "Skip &missing files"},
    {213, "Show the &report"},
    {214, "Installed folder"},
    {215, "The update looks for the installed files in this folder. Choose another one if it is installed elsewhere."},
    {216, "Press Next to check the installed files."},
    {217, "Folder"},
    {220, "Checking the installed files..."},
    {221, "Please wait."},
    {223, "Checking"},
    {224, "Installed files"},
    {230, "Updating"},
    {231, "Progress"},
    {232, "Updating the files..."},
    {233, "Please wait."},
    {235, "Report"},
    {240, "Done"},
    {241, "The update has finished."},
    {242, "Name:"},
    {243, "E-mail:"},
    {244, "Web:"},
    {245, "The patch author"},
    {246, "author@example.com"},
    {247, "http://www.example.com/"},
    {248, "This update was prepared by"},
    {249, "Patch author"},
    {250, "mailto:author@example.com"},
    {251, "Author"},
    {260, "Made with Zuli"},
    {261, "This patch was built with the Zuli patch maker."},
    {262, "Zuli"},
    {263, "zuli@zuli.example"},
    {264, "http://zuli.example/"},
    {265, "mailto:zuli@zuli.example"},
    {267, "Patch maker"},
    {268, "Name:"},
    {269, "E-mail:"},
    {270, "Web:"},
    {1200, "This file is required and cannot be skipped because it is missing:"},
    {1201, "This file is required and cannot be skipped because it differs from the expected version:"},
    {1202, "\"Missing file: \""},
    {1203, "\"File does not match: \""},
    {1204, "The installed folder named in the registry was not found."},
    {1250, "Do you want to choose the folder again?"},
    {3000, "Run file"},
    {3001, "Add file"},
    {3002, "Update file"},
    {3003, "Replace bytes"},
    {3004, "Delete file"},
    {3005, "Update INI file"},
    {3006, "Rename file"},
    {3007, "Update document"},
    {3008, "Update registry"},
    {3100, "done"},
    {3101, "FAILED"},
    {3102, "skipped"},
    {3200, "All files are as expected. Press Next to start the update."},
    {3201, "The update is complete."},
    {3202, "Press Next to continue."},
    {3203, "The update needs a restart to finish. Restart now?"},
    {3204, "Restart"},
    {3205, "Check failed"},
};

const char* const kDefaultSettings =
    "[Settings]\r\n"
    "; pages 0..13: 0 start, 1 intro, 2 info, 3 agreement, 4 options, 5 folder,\r\n"
    "; 6 check, 7 processing, 8 report, 9 closing, 10 author, 11 maker, 12 finish\r\n"
    "PageTable=1,1,0,0,1,1,1,1,1,1,0,1,1,0\r\n"
    "; backup, skip differing, skip missing\r\n"
    "OptionDefaults=0,0,0\r\n"
    "StartGate=1\r\n";
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

std::string TextLine(const DefaultText& text, const std::string& name) {
    std::string value = text.text;
    std::size_t at = value.find("%s");
    if (at != std::string::npos) value.replace(at, 2, EscapedTitle(name));
    return std::to_string(text.id) + "=" + value + "\r\n";
}

std::string CabinetSection(const std::vector<std::string>& files) {
    std::string text = "[Cabinet]\r\nFiles=";
    for (std::size_t i = 0; i < files.size(); ++i) text += (i ? "," : "") + files[i];
    return text + "\r\n";
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trimmed(const std::string& s) {
    std::size_t first = s.find_first_not_of(" \t\r"), last = s.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

// The manifest split into lines, each with the section it belongs to.
struct ManifestLine {
    std::string section;  // lower case; "" before the first header
    std::string text;     // without its line end
};

std::vector<ManifestLine> ManifestLines(const std::string& text) {
    std::vector<ManifestLine> lines;
    std::string section;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        at = end + 1;
        std::string trimmed = Trimmed(line);
        if (trimmed.size() > 1 && trimmed.front() == '[' && trimmed.back() == ']')
            section = Lower(Trimmed(trimmed.substr(1, trimmed.size() - 2)));
        lines.push_back({section, line});
    }
    return lines;
}

// The key of a "key=value" line, lower case; "" for comments and others.
std::string KeyOf(const std::string& line) {
    std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#' || trimmed[0] == '[') return std::string();
    std::size_t equals = trimmed.find('=');
    return equals == std::string::npos ? std::string() : Lower(Trimmed(trimmed.substr(0, equals)));
}

}  // namespace

std::string DefaultManifestText(const std::string& name, const std::vector<std::string>& files) {
    std::string text = "; Patch project made by zulibuild diff. Change the texts as you like;\r\n"
                       "; \"\\n\" is a line break, \"@file\" reads a text from a file.\r\n\r\n";
    text += kDefaultSettings;
    text += "\r\n";
    text += kDefaultFont;
    text += "\r\n";
    text += CabinetSection(files);
    text += "\r\n[Texts]\r\n";
    for (const DefaultText& t : kDefaultTexts) text += TextLine(t, name);
    return text;
}

std::string TemplateManifestText(const std::string& templateText, const std::string& name,
                                 const std::vector<std::string>& files) {
    std::vector<ManifestLine> lines = ManifestLines(templateText);
    std::map<std::string, bool> sections;
    std::map<unsigned, bool> texts;
    for (const ManifestLine& line : lines) {
        sections[line.section] = true;
        if (line.section == "texts" && !KeyOf(line.text).empty())
            texts[static_cast<unsigned>(std::strtoul(KeyOf(line.text).c_str(), nullptr, 10))] = true;
    }
    std::string missingTexts;
    for (const DefaultText& t : kDefaultTexts)
        if (!texts.count(t.id)) missingTexts += TextLine(t, name);

    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ManifestLine& line = lines[i];
        if (line.section == "cabinet") continue;  // written anew below
        out += line.text + "\r\n";
        // The missing texts go at the end of the [Texts] section.
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

std::vector<std::string> ManifestCabinetFiles(const std::string& manifestText) {
    std::vector<std::string> files;
    for (const ManifestLine& line : ManifestLines(manifestText)) {
        if (line.section != "cabinet" || KeyOf(line.text) != "files") continue;
        std::string value = line.text.substr(line.text.find('=') + 1);
        std::size_t at = 0;
        while (at <= value.size()) {
            std::size_t comma = value.find(',', at);
            if (comma == std::string::npos) comma = value.size();
            std::string file = Trimmed(value.substr(at, comma - at));
            if (!file.empty()) files.push_back(file);
            at = comma + 1;
        }
    }
    return files;
}
