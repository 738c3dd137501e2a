// The "installed application" the e2e patches work on, and the patch that
// uses every action on it. The application lives in a scratch folder; its
// folder is published in the registry as the full name of its program, so
// the patch finds it through a registry value ("Reg").
#pragma once
#include <string>

#include "harness/PatchProject.h"
#include "support/TestFiles.h"

constexpr const char* kTestRoot = "Software\\ZuliE2E";
constexpr const char* kAppKey = "Software\\ZuliE2E\\App";

// Original and patched contents of the application's files.
struct AppFiles {
    static std::string CoreOld() { return "core library, version 1.0; padding padding padding"; }
    static std::string CoreNew() { return "core library, version 2.0 with a longer tail than before"; }
    static std::string DataOld() { return "header AAAA middle BB BB BB end AAAA"; }
    static std::string DataNew() { return "Header aaaa middle bb bb bb end AAAA"; }
    static std::string Plugin() { return "a plug-in the patch adds"; }
    static std::string Settings() { return "[Main]\r\nVersion=1\r\n"; }
};

// Installs the application's files into `folder` and publishes the folder
// in the registry; also the registry entries the full patch changes.
void InstallApplication(const std::string& folder);

// The folder as the patch resolves it: `folder` without its last backslash.
std::string ResolvedFolder(const std::string& folder);

// Gives `project` a Setup.ini and payloads that use every action (0 to 7)
// and all three registry sections on the installed application.
void AddFullPatch(PatchProject& project);
// That Setup.ini ("ProcCount=8", entries Proc1 to Proc8).
std::string FullPatchScript();

// A one-entry script: Act 7 (no action) on the application's readme, found
// through the registry.
void AddPresenceOnlyPatch(PatchProject& project);

// The report the full patch leaves on page 8.
std::string FullPatchReport(const std::string& folder);
