#include "harness/PatchProject.h"

#include <windows.h>

#include "support/TestFiles.h"

namespace {

std::string CommaBytes(const std::string& digits) {
    std::string out;
    for (char digit : digits) {
        if (!out.empty()) out += ',';
        out += digit;
    }
    return out;
}

// Backslashes would read as escapes in the manifest's texts.
std::string ManifestText(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c != '\r') out += c;
    }
    return out;
}

}  // namespace

const int kPatchTextIds[] = {1,    113,  114,  115,  116,  117,  200,  201,  202,  203,  204,  205,  206,  207,
                             208,  209,  210,  211,  212,  213,  214,  215,  216,  217,  220,  221,  223,  224,
                             230,  231,  232,  233,  235,  240,  241,  242,  243,  244,  245,  246,  247,  248,
                             249,  250,  251,  260,  261,  262,  263,  264,  265,  267,  268,  269,  270,  1200,
                             1201, 1202, 1203, 1204, 1250, 3000, 3001, 3002, 3003, 3004, 3005, 3006, 3007, 3008,
                             3100, 3101, 3102, 3200, 3201, 3202, 3203, 3204, 3205};
const int kPatchTextIdCount = static_cast<int>(sizeof kPatchTextIds / sizeof kPatchTextIds[0]);

PatchProject::PatchProject(const std::string& name) : name_(name) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "zuli project " + name + "\\";
    RemoveTree(folder_);
    CreateDirectoryA(folder_.c_str(), nullptr);
}

PatchProject::~PatchProject() { RemoveTree(folder_); }

std::string PatchProject::Build() {
    std::string manifest = "[Texts]\r\n";
    for (int i = 0; i < kPatchTextIdCount; ++i) {
        int id = kPatchTextIds[i];
        if (defaultTexts_.count(id)) continue;
        auto given = texts_.find(id);
        manifest += std::to_string(id) + "=" +
                    ManifestText(given != texts_.end() ? given->second : "R" + std::to_string(id)) + "\r\n";
    }
    manifest += textLines_;
    manifest += "[Settings]\r\nPageTable=" + CommaBytes(pageTable_) + "\r\nOptionDefaults=" + CommaBytes(options_) +
                "\r\nStartGate=1\r\n" + settings_;
    manifest += "[Font]\r\nFace=MS Sans Serif\r\nSize=9\r\n";
    std::string files;
    for (const auto& file : files_) {
        WriteTestFile(folder_ + file.first, file.second);
        if (!files.empty()) files += ",";
        files += file.first;
    }
    manifest += "[Cabinet]\r\nFiles=" + files + "\r\n";
    manifest += extraManifest_;
    WriteTestFile(folder_ + "patch.ini", manifest);

    std::string output = folder_ + name_ + ".exe";
    std::string dist = ZULI_DIST_DIR_WINE;
    const std::string builder = (builderFolder_.empty() ? dist + "/" : builderFolder_) + "zulibuild.exe";
    // Started directly, its output captured: no shell between the test and
    // the builder whose failure to start a program would read as the
    // builder's own exit code. Under a loaded Wine a start now and then
    // fails outright; it is tried once more, and the log says so.
    const std::string command =
        "\"" + builder + "\" \"" + dist + "/zulirt.exe\" \"" + folder_ + "patch.ini\" \"" + output + "\"";
    std::string captured;
    int code = RunCaptured(command, captured);
    log_.clear();
    if (code == -1) {
        log_ = "first start failed (" + captured + "), started again\n";
        code = RunCaptured(command, captured);
    }
    log_ += "exit code " + std::to_string(code) + "\n" + captured;
    return code == 0 && FileExists(output) ? output : std::string();
}
