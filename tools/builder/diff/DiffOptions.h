// The command line of "zulibuild diff OLD NEW PROJECT [options]".
#pragma once
#include <string>
#include <vector>

struct DiffOptions {
    std::string oldFolder, newFolder, project;  // full paths, folders with a trailing backslash
    std::string dir = "Ask";                   // where the installed folder is found
    std::string regKey;                        // with dir "Reg": hive,subkey,value name
    std::vector<std::string> required;         // file patterns that may not be skipped
    std::vector<std::string> delayed = {".exe", ".dll", ".ocx", ".sys"};  // replaced at restart
    std::vector<std::string> addReg, delReg, renReg;                       // registry lines
    std::string name;                          // the patch's title; empty: from NEW's folder name
    std::string templateFolder;                // texts, settings and images to start from
    bool iniKeys = true;                       // plain INI files may be patched by their keys
};

// Reads the arguments after "diff". False with a message naming the option.
bool ParseDiffOptions(int argc, char** argv, DiffOptions& options, std::string& error);

extern const char* const kDiffUsage;
