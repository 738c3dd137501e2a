#include "script/FolderResolution.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "core/ResourceIds.h"
#include "core/Resources.h"
#include "core/RunState.h"
#include "script/ScriptKeys.h"
#include "script/neutral/FieldSplitter.h"
#include "script/neutral/PassHost.h"

namespace {

// The longest folder that PreviousFolder and CurrentFolder can hold.
constexpr std::size_t kLongestFolder = kPathBufferSize - 1;

struct FixedFolder {
    const char* token;
    char* RunStateRecord::*field;
};

// The folders fetched once at start-up, by token.
const FixedFolder kFixedFolders[] = {
    {kDirMe, &RunStateRecord::CurrentFolder},
    {kDirWin, &RunStateRecord::WindowsFolder},
    {kDirSys, &RunStateRecord::SystemFolder},
    {kDirStartMenu, &RunStateRecord::StartMenuFolder},
    {kDirPrograms, &RunStateRecord::ProgramsFolder},
    {kDirFavorites, &RunStateRecord::FavoritesFolder},
    {kDirDocuments, &RunStateRecord::DocumentsFolder},
    {kDirTemplates, &RunStateRecord::TemplatesFolder},
    {kDirDesktop, &RunStateRecord::DesktopFolder},
    {kDirAppData, &RunStateRecord::AppDataFolder},
};

// The folder cannot be found: the registry-folder message, then the
// question whether to choose the folder again.
HeapText FailFolder() {
    ComposeError(ResErrRegistryFolder, 0, "", ResErrChooseAgain);
    return HeapText();
}

// The folder the token names, or none. Only "Ask" sets ErrorText itself.
HeapText FolderForToken(const char* token, PassHost& host, bool* errorSet) {
    *errorSet = false;
    if (!token) return HeapText();  // an entry without "Dir" names no folder
    for (const FixedFolder& fixed : kFixedFolders)
        if (std::strcmp(token, fixed.token) == 0) return CopyText(RunState.*fixed.field);
    if (std::strcmp(token, kDirReg) == 0) return ReadRegistryFolder();
    if (std::strcmp(token, kDirPre) == 0) return CopyText(RunState.PreviousFolder);
    if (std::strcmp(token, kDirAsk) == 0) {
        HeapText answer;
        if (host.AskForFolder(&answer) != 1) {
            ComposeError(ResErrChooseAgain, 0, "", 0);
            *errorSet = true;
            return HeapText();
        }
        return answer;  // too long for a folder: refused below
    }
    return CopyText(token);
}

}  // namespace

HeapText ResolveFolder(const char* token, PassHost& host) {
    bool errorSet = false;
    HeapText folder = FolderForToken(token, host, &errorSet);
    if (!folder) return errorSet ? HeapText() : FailFolder();
    std::size_t length = std::strlen(folder.get());
    // PreviousFolder, and CurrentFolder after the first entry, hold at most
    // this much; a longer folder would not fit either, nor any path in it.
    if (length > kLongestFolder) return FailFolder();
    if (RunState.PreviousFolder) std::memcpy(RunState.PreviousFolder, folder.get(), length + 1);
    return folder;
}

HeapText ReadRegistryFolder() {
    HeapText regKey = RunState.ScriptReader.ReadValue(kRegKeyKey);
    if (!regKey) return HeapText();
    HeapText fields[3];  // hive token, subkey, value name
    SplitFields(regKey.get(), fields, 3);
    RunState.Registry.SetRoot(fields[0].get());
    HeapText folder = RunState.Registry.ReadPathValue(fields[1].get(), fields[2].get());
    if (!folder) return HeapText();
    // Too long for any folder buffer; the path functions below assume less.
    if (std::strlen(folder.get()) > kLongestFolder) return HeapText();
    // A value naming a program's file gives that program's folder. The
    // platform's path functions step over double-byte characters, so a
    // trail byte that looks like a backslash never splits a name.
    if (!PathIsDirectoryA(folder.get())) PathRemoveFileSpecA(folder.get());
    return folder;
}
