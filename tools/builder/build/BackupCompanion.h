// [Backup] of the manifest: with Enabled=1 the builder packs the backup
// companion (zuliundo.exe, found beside zulibuild.exe) into the cabinet as
// "Uninstaller.exe", and gives the script a [Backup] Folder= for it.
#pragma once
#include <string>

#include "project/Manifest.h"
#include "project/Project.h"

// Adds the companion to `project` when the manifest asks for it
// (project.backup: LoadProject has read the section and marked the patch),
// with the execution level `level` in its manifest, as the patch has it.
// The script and the companion it packs then are scratch copies,
// `scratchScript` and `scratchCompanion` (empty when none), which the caller
// deletes once the cabinet is built. False with `error` set when the
// companion cannot be packed.
bool AddBackupCompanion(const Manifest& manifest, PatchProject& project, const std::string& output,
                        const std::string& level, std::string& scratchScript, std::string& scratchCompanion,
                        std::string& error);
