#include "harness/AppFixture.h"

#include <windows.h>

#include "harness/PatchEnvironment.h"
#include "harness/WizardPages.h"

void InstallApplication(const std::string& folder) {
    WriteTestFile(folder + "app.exe", "the application's program");
    WriteTestFile(folder + "core.dll", AppFiles::CoreOld());
    WriteTestFile(folder + "data.bin", AppFiles::DataOld());
    WriteTestFile(folder + "obsolete.txt", "no longer needed");
    WriteTestFile(folder + "settings.ini", AppFiles::Settings());
    WriteTestFile(folder + "old.txt", "a file that gets a new name");
    WriteTestFile(folder + "readme.txt", "read me");
    SetRegistryString(HKEY_CURRENT_USER, kAppKey, "Path", folder + "app.exe");
    SetRegistryString(HKEY_CURRENT_USER, kAppKey, "OldName", "renamed value");
    SetRegistryString(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Old", "Stale", "stale");
    SetRegistryString(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Old", "Keep", "kept");
    SetRegistryString(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Gone", "Value", "x");
    SetRegistryString(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Moving", "Moved", "along");
    SetRegistryString(HKEY_CURRENT_USER, std::string(kTestRoot) + "\\Moving\\Child", "Deep", "down");
}

std::string ResolvedFolder(const std::string& folder) {
    std::string resolved = folder;
    if (!resolved.empty() && resolved.back() == '\\') resolved.pop_back();
    return resolved;
}

std::string FullPatchScript() {
    return
        "[Setup]\r\nProcCount=8\r\nAddReg=2\r\nDelReg=2\r\nRenReg=2\r\n"
        "[Proc1]\r\nFILE=core.dll\r\nAct=2\r\nDir=Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path\r\nCRC=" +
        SignedDecimal(Crc32Of(AppFiles::CoreOld())) +
        "\r\nCANTMISS=1\r\n"
        "[Proc2]\r\nFILE=data.bin\r\nAct=3\r\nDir=Pre\r\nCRC=" +
        SignedDecimal(Crc32Of(AppFiles::DataOld())) +
        "\r\n"
        "[Proc3]\r\nFILE=new.dll\r\nSub=plugins\r\nAct=1\r\nDir=Pre\r\n"
        "[Proc4]\r\nFILE=obsolete.txt\r\nAct=4\r\nDir=Pre\r\n"
        "[Proc5]\r\nFILE=settings.ini\r\nAct=5\r\nDir=Pre\r\nCount=2\r\nINIKey1=Main,Version,2\r\n"
        "INIKey2=Extra,Flag,on\r\n"
        "[Proc6]\r\nFILE=old.txt\r\nAct=6\r\nDir=Pre\r\nNewName=renamed.txt\r\n"
        "[Proc7]\r\nFILE=readme.txt\r\nAct=7\r\nDir=Pre\r\n"
        "[Proc8]\r\nFILE=tool.exe\r\nAct=0\r\nDir=Pre\r\n"
        "[AddReg]\r\n1=HKCU,Software\\ZuliE2E\\Patched,Version,1,4,2.0\r\n"
        "2=HKCU,Software\\ZuliE2E\\Patched,Count,4,4,7\r\n"
        "[DelReg]\r\n1=HKCU,Software\\ZuliE2E\\Old,Stale,1,0\r\n"
        "2=HKCU,Software\\ZuliE2E\\Gone,\"\",1,0\r\n"
        "[RenReg]\r\n1=HKCU,Software\\ZuliE2E\\App,OldName,1,1,NewName\r\n"
        "2=HKCU,Software\\ZuliE2E\\Moving,\"\",1,1,Moved\r\n";
}

void AddFullPatch(PatchProject& project) {
    project.AddFile("Setup.ini", FullPatchScript());
    project.AddFile("Proc1", XorDeltaPayload(AppFiles::CoreOld(), AppFiles::CoreNew()));
    project.AddFile("Proc2", BytePatchPayload({{1, "AAAA", "aaaa"}, {2, "BB", "bb"}, {3, LittleEndian32(0), "H"}}));
    project.AddFile("Proc3", AppFiles::Plugin());
    project.AddFile("Proc8", ReadTestFile(ExecutableFolder() + "record_args.exe"));
}

void AddPresenceOnlyPatch(PatchProject& project) {
    project.AddFile("Setup.ini",
                    "[Setup]\r\nProcCount=1\r\n"
                    "[Proc1]\r\nFILE=readme.txt\r\nAct=7\r\nDir=Reg\r\nRegKey=HKCU,Software\\ZuliE2E\\App,Path\r\n");
}

std::string FullPatchReport(const std::string& folder) {
    std::string dir = ResolvedFolder(folder);
    auto line = [](int code, const std::string& path, int result) {
        return Res(ResReportNameFirst + code) + " " + path + " " + Res(result) + "\r\n\r\n";
    };
    return line(2, dir + "\\core.dll", ResResultSuccess) + line(3, dir + "\\data.bin", ResResultSuccess) +
           line(1, dir + "\\plugins\\new.dll", ResResultSuccess) + line(4, dir + "\\obsolete.txt", ResResultSuccess) +
           line(5, dir + "\\settings.ini", ResResultSuccess) + line(6, dir + "\\old.txt", ResResultSuccess) +
           line(0, dir + "\\tool.exe", ResResultSuccess) + line(8, " ", ResResultSuccess);
}
