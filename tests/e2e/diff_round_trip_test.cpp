// zulibuild diff, end to end: a project made from an old and a new folder
// builds unchanged, and the built patch, walked through as a user would,
// turns an installed copy of the old folder into exactly the new one.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "harness/Driver.h"
#include "harness/PatchEnvironment.h"
#include "support/TestFiles.h"

namespace {

constexpr const char* kKey = "Software\\ZuliDiffE2E";

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
std::string Builder() { return std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe"; }
std::string Runtime() { return std::string(ZULI_DIST_DIR_WINE) + "/zulirt.exe"; }
std::string NoSlash(const std::string& folder) { return folder.substr(0, folder.size() - 1); }

// Bytes that do not compress: a changed part of a binary file.
std::string Noise(std::size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// A plain INI file with many keys after the one that changes length, so
// that its XOR delta is large and key writes are the smaller payload.
std::string Settings(const std::string& version, bool newer) {
    std::string text = "[Main]\r\nVersion=" + version + "\r\n";
    for (int i = 0; i < 60; ++i) text += "Option" + std::to_string(i) + "=value number " + std::to_string(i * 7) + "\r\n";
    if (newer) text += "Channel=stable\r\n";
    text += "[View]\r\nZoom=" + std::string(newer ? "125" : "100") + "\r\n";
    if (!newer) text += "Obsolete=1\r\n";
    return text;
}

using Tree = std::map<std::string, std::string>;  // relative path -> content

Tree OldTree() {
    std::string core = Noise(4000, 1);
    std::string table = Noise(6000, 2);
    return {
        {"core.bin", core},
        {"data\\big table.dat", table},
        {"data\\same file.txt", "this file does not change\r\n"},
        {"read me.txt", "Example application, version 1.0.\r\n"},
        {"settings.ini", Settings("1.0", false)},
        {"rewritten.txt", Noise(3000, 3)},
        {"bin\\moved.bin", Noise(20000, 6)},
        {"empty later.txt", "this file becomes empty"},
        {"old stuff.txt", "no longer needed"},
        {" leading blank.txt", "a name that starts with a blank, version 1"},
        {"data\\gone\\deep file.txt", "removed with its folder's only file"},
    };
}

Tree NewTree() {
    Tree old = OldTree();
    std::string core = old["core.bin"];
    core.replace(100, 50, Noise(50, 4));
    core += Noise(2000, 5);  // grows
    std::string table = old["data\\big table.dat"].substr(0, 2500);  // shrinks
    table[10] = 'X';
    // Data inserted and a block moved: every byte after them shifts.
    std::string moved = old["bin\\moved.bin"];
    moved.insert(1000, Noise(100, 7));
    moved = moved.substr(0, 5000) + moved.substr(15000) + moved.substr(5000, 10000);
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + " of the new text\r\n";
    return {
        {"core.bin", core},
        {"data\\big table.dat", table},
        {"data\\same file.txt", "this file does not change\r\n"},
        {"read me.txt", "Example application, version 1.1, with a longer read-me.\r\n"},
        {"settings.ini", Settings("1.10.2", true)},
        {"rewritten.txt", text},
        {"bin\\moved.bin", moved},
        {"empty later.txt", ""},
        {"plugins\\new plugin\\extra file.txt", "a new plug-in"},
        {"added empty.dat", ""},
        {" leading blank.txt", "a name that starts with a blank, version 2"},
    };
}

void WriteTree(const std::string& root, const Tree& tree) {
    for (const auto& [relative, content] : tree) {
        for (std::size_t at = 0; (at = relative.find('\\', at)) != std::string::npos; ++at)
            CreateDirectoryA((root + relative.substr(0, at)).c_str(), nullptr);
        WriteTestFile(root + relative, content);
    }
}

void ListFiles(const std::string& root, const std::string& relative, std::vector<std::string>& files) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((root + relative + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListFiles(root, relative + name + "\\", files);
        else files.push_back(relative + name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

// The Act of the script entry for `relative`, from the project's Setup.ini;
// -1 when no entry names it.
int ActFor(const std::string& script, const std::string& relative) {
    int count = static_cast<int>(GetPrivateProfileIntA("Setup", "ProcCount", 0, script.c_str()));
    for (int n = 2; n <= count; ++n) {  // entry 1 finds the folder
        std::string section = "Proc" + std::to_string(n);
        char file[MAX_PATH] = {}, sub[MAX_PATH] = {};
        GetPrivateProfileStringA(section.c_str(), "File", "", file, sizeof file, script.c_str());
        GetPrivateProfileStringA(section.c_str(), "Sub", "", sub, sizeof sub, script.c_str());
        std::string path = sub[0] ? std::string(sub) + "\\" + file : std::string(file);
        if (path == relative) return static_cast<int>(GetPrivateProfileIntA(section.c_str(), "Act", -1, script.c_str()));
    }
    return -1;
}

void ExpectNewVersion(const std::string& app) {
    std::vector<std::string> installed;
    ListFiles(app, "", installed);
    std::vector<std::string> expected;
    for (const auto& entry : NewTree()) expected.push_back(entry.first);
    std::sort(installed.begin(), installed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(installed, expected) << "files removed in the new version must be gone, new ones there";
    for (const auto& [relative, content] : NewTree())
        EXPECT_TRUE(ReadTestFile(app + relative) == content) << relative << " is not byte for byte the new version";
}

}  // namespace

TEST(DiffRoundTrip, BuiltPatchTurnsTheInstalledOldFolderIntoExactlyTheNewOne) {
    DeleteRegistryTree(HKEY_CURRENT_USER, kKey);
    RemoveZuliWorkFolders();
    ScratchFolder work("diff round trip");
    std::string oldRoot = work / "old version\\", newRoot = work / "new version\\", app = work / "installed app\\";
    for (const std::string& folder : {oldRoot, newRoot, app}) CreateDirectoryA(folder.c_str(), nullptr);
    WriteTree(oldRoot, OldTree());
    WriteTree(newRoot, NewTree());
    WriteTree(app, OldTree());
    ASSERT_TRUE(SetRegistryString(HKEY_CURRENT_USER, std::string(kKey) + "\\App", "Install Dir", NoSlash(app)));

    std::string project = work / "patch project";
    std::string diff = Quoted(Builder()) + " diff " + Quoted(NoSlash(oldRoot)) + " " + Quoted(NoSlash(newRoot)) + " " +
                       Quoted(project) + " --dir Reg --regkey " + Quoted(std::string("HKCU,") + kKey + "\\App,Install Dir") +
                       " --delay none --name " + Quoted("Example 1.1 Update") + " --addreg " +
                       Quoted(std::string("HKCU,") + kKey + "\\App,Version,1,4,1.1");
    ASSERT_EQ(RunProgram(diff), 0) << diff;
    // Each way of carrying a change is taken where it is the smallest.
    std::string script = project + "\\Setup.ini";
    EXPECT_EQ(ActFor(script, "core.bin"), 2) << "XOR delta";
    EXPECT_EQ(ActFor(script, "data\\big table.dat"), 2) << "XOR delta";
    EXPECT_EQ(ActFor(script, "rewritten.txt"), 1) << "whole file: its delta compresses worse";
    EXPECT_EQ(ActFor(script, "bin\\moved.bin"), 8) << "binary delta: data inserted and moved";
    EXPECT_EQ(ActFor(script, "settings.ini"), 5) << "INI keys";
    EXPECT_EQ(ActFor(script, "old stuff.txt"), 4);
    EXPECT_EQ(ActFor(script, "plugins\\new plugin\\extra file.txt"), 1);
    EXPECT_EQ(ActFor(script, "data\\same file.txt"), -1) << "unchanged files are left out";
    std::string patch = work / "patch.exe";
    ASSERT_EQ(RunProgram(Quoted(Builder()) + " " + Quoted(Runtime()) + " " + Quoted(project) + " " + Quoted(patch)), 0)
        << "the project diff made does not build";

    // The unattended user: every page with its defaults, Next to the end.
    ASSERT_EQ(RunProgram(Quoted(ExecutableFolder() + "demo_walker.exe") + " " + Quoted(patch), std::string(), 300000), 0)
        << "the wizard did not run to its end";

    ExpectNewVersion(app);
    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, std::string(kKey) + "\\App", "Version", &type, &data));
    EXPECT_EQ(data, std::string("1.1", 4));
    EXPECT_FALSE(FolderExists(ZuliWorkFolder())) << "the working folder stays";

    // Run a second time on the patched copy: every updated file is known as
    // up to date by its new CRC, the check passes, and no file changes. The
    // registry line, written again, shows that the update ran.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kKey) + "\\App").c_str(), 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    RegDeleteValueA(key, "Version");
    RegCloseKey(key);
    ASSERT_EQ(RunProgram(Quoted(ExecutableFolder() + "demo_walker.exe") + " " + Quoted(patch), std::string(), 300000), 0)
        << "the second run did not run to its end";
    ExpectNewVersion(app);
    EXPECT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, std::string(kKey) + "\\App", "Version", &type, &data))
        << "the second run stopped at the check";
    DeleteRegistryTree(HKEY_CURRENT_USER, kKey);
}
