#include "diff/DiffOptions.h"

#include <windows.h>

#include <cctype>

#include "actions/neutral/RegistryLine.h"
#include "common/Files.h"
#include "core/neutral/HiveTokens.h"
#include "script/neutral/FieldSplitter.h"

const char* const kDiffUsage =
    "usage: zulibuild diff OLD NEW PROJECT [options]\n"
    "  OLD      the folder of the installed version\n"
    "  NEW      the folder of the version the patch makes of it\n"
    "  PROJECT  the patch project to write (a new or empty folder)\n"
    "options:\n"
    "  --dir TOKEN|FOLDER   where the installed folder is: Ask (default: the user chooses),\n"
    "                       Reg (with --regkey), Me, Win, Sys, STMU, PROG, FAVO, DOC, TEMP,\n"
    "                       DESK, APPD, or a folder path\n"
    "  --regkey HIVE,KEY,VALUE  the registry value naming the folder, for --dir Reg\n"
    "  --required PATTERN   files that may not be skipped (name or relative path, * and ?\n"
    "                       allowed; \"*\" for all); may be repeated\n"
    "  --delay EXT,EXT,...  extensions of files replaced at restart (default .exe,.dll,.ocx,.sys;\n"
    "                       \"none\" for none)\n"
    "  --addreg LINE|@FILE  a registry line to add (or the lines of a file); may be repeated\n"
    "  --delreg LINE|@FILE  a registry line to delete\n"
    "  --renreg LINE|@FILE  a registry line to rename\n"
    "  --name TEXT          the patch's title (default: NEW's folder name and \"Update\")\n"
    "  --template FOLDER    start the project from this one: its patch.ini (texts, settings,\n"
    "                       font, cursors), text files and images\n"
    "  --no-ini-keys        always ship changed INI files as deltas, never as key writes\n";

namespace {

constexpr const char* kTokens[] = {"Me", "Win", "Sys", "Reg", "Ask", "STMU", "PROG",
                                   "FAVO", "DOC", "TEMP", "DESK", "APPD"};

std::string FolderPath(const std::string& path) {
    char full[MAX_PATH * 2] = {};
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    std::string result = n && n < sizeof full ? std::string(full) : path;
    if (result.empty() || result.back() != '\\') result += '\\';
    return result;
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Inside(const std::string& inner, const std::string& outer) {
    return inner.size() >= outer.size() && lstrcmpiA(inner.substr(0, outer.size()).c_str(), outer.c_str()) == 0;
}

// One registry line, or "@file" for the lines of a small file (blank lines
// and lines starting with ';' left out). Each line must be one the runtime
// can carry out.
bool AddRegistryLines(const std::string& option, const std::string& value, int kind, std::vector<std::string>& lines,
                      std::string& error) {
    std::vector<std::string> given;
    if (!value.empty() && value[0] == '@') {
        std::string text;
        if (!ReadFileBytes(value.substr(1), text)) {
            error = option + ": cannot read \"" + value.substr(1) + "\"";
            return false;
        }
        std::size_t at = 0;
        while (at <= text.size()) {
            std::size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(at, end - at);
            at = end + 1;
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
            std::size_t first = line.find_first_not_of(" \t");
            if (first == std::string::npos || line[first] == ';') continue;
            given.push_back(line.substr(first));
        }
    } else {
        given.push_back(value);
    }
    for (const std::string& line : given) {
        RegistryLine parsed;
        if (line.find_first_of("\r\n") != std::string::npos || !ParseRegistryLine(line.c_str(), kind, parsed)) {
            error = option + ": \"" + line +
                    "\" is not a registry line the patch can carry out (fields: hive, key, value name or \"\", "
                    "type, size, data; the size must match the data)";
            return false;
        }
        lines.push_back(line);
    }
    return true;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    FieldSplitter splitter(text.c_str());
    const char* begin = nullptr;
    std::size_t length = 0;
    while (splitter.NextSpan(&begin, &length)) {
        std::string item(begin, length);
        std::size_t first = item.find_first_not_of(" \t"), last = item.find_last_not_of(" \t");
        if (first != std::string::npos) items.push_back(item.substr(first, last - first + 1));
    }
    return items;
}

}  // namespace

bool ParseDiffOptions(int argc, char** argv, DiffOptions& options, std::string& error) {
    std::vector<std::string> positional;
    for (int i = 0; i < argc; ++i) {
        std::string option = argv[i];
        if (option.rfind("--", 0) != 0) {
            positional.push_back(option);
            continue;
        }
        if (option == "--no-ini-keys") {
            options.iniKeys = false;
            continue;
        }
        if (i + 1 == argc) {
            error = option + " needs a value";
            return false;
        }
        std::string value = argv[++i];
        if (option == "--dir") {
            if (value.empty() || value == "Pre") {
                error = "--dir: \"" + value + "\" cannot name the installed folder";
                return false;
            }
            options.dir = value;
        } else if (option == "--regkey") {
            options.regKey = value;
        } else if (option == "--required") {
            options.required.push_back(value);
        } else if (option == "--delay") {
            options.delayed.clear();
            if (value != "none")
                for (std::string extension : SplitList(value)) {
                    if (extension[0] != '.') extension = "." + extension;
                    options.delayed.push_back(extension);
                }
        } else if (option == "--addreg") {
            if (!AddRegistryLines(option, value, RegistryAdd, options.addReg, error)) return false;
        } else if (option == "--delreg") {
            if (!AddRegistryLines(option, value, RegistryDelete, options.delReg, error)) return false;
        } else if (option == "--renreg") {
            if (!AddRegistryLines(option, value, RegistryRename, options.renReg, error)) return false;
        } else if (option == "--name") {
            options.name = value;
        } else if (option == "--template") {
            options.templateFolder = FolderPath(value);
            if (!IsFolder(options.templateFolder)) {
                error = "--template: \"" + value + "\" is not a folder";
                return false;
            }
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    if (positional.size() != 3) {
        error = "diff needs three folders: OLD NEW PROJECT";
        return false;
    }
    options.oldFolder = FolderPath(positional[0]);
    options.newFolder = FolderPath(positional[1]);
    options.project = FolderPath(positional[2]);
    for (const std::string* folder : {&options.oldFolder, &options.newFolder})
        if (!IsFolder(*folder)) {
            error = "\"" + *folder + "\" is not a folder";
            return false;
        }
    for (const std::string* folder : {&options.oldFolder, &options.newFolder})
        if (Inside(options.project, *folder) || Inside(*folder, options.project)) {
            error = "the project folder \"" + options.project + "\" must lie outside \"" + *folder + "\"";
            return false;
        }

    bool reg = options.dir == "Reg";
    if (reg && SplitList(options.regKey).size() < 2) {
        error = options.regKey.empty() ? "--dir Reg needs --regkey HIVE,KEY,VALUE"
                                       : "--regkey: \"" + options.regKey + "\" needs a hive, a key and a value name";
        return false;
    }
    if (!reg && !options.regKey.empty()) {
        error = "--regkey is only used with --dir Reg";
        return false;
    }
    if (reg) {
        std::string hive = SplitList(options.regKey)[0];
        if (!FindHiveToken(hive.c_str())) {
            error = "--regkey: \"" + hive + "\" is not a hive (HKCR, HKCU, HKLM, HKUS, HKCC, ...)";
            return false;
        }
    }
    bool token = false;
    for (const char* t : kTokens) token |= options.dir == t;
    // A literal folder must be a full one: a relative folder would depend on
    // wherever the patch happens to be started.
    const std::string& dir = options.dir;
    bool drive = dir.size() >= 3 && std::isalpha(static_cast<unsigned char>(dir[0])) && dir[1] == ':' &&
                 (dir[2] == '\\' || dir[2] == '/');
    bool network = dir.size() > 2 && dir[0] == '\\' && dir[1] == '\\';
    if (!token && !drive && !network) {
        error = "--dir: \"" + dir + "\" is neither a directory token nor a full folder path such as "
                "C:\\Program Files\\App (tokens are case-sensitive: Me, Win, Sys, Reg, Ask, STMU, PROG, FAVO, DOC, "
                "TEMP, DESK, APPD)";
        return false;
    }
    return true;
}
