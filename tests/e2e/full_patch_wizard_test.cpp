// Every page of the wizard in order, with a patch that uses every action and
// all three registry sections; then the machine afterwards.
#include "harness/E2eFixture.h"

TEST_F(WizardE2e, EverySlotSetWalksEveryPageAndPatchesTheApplication) {
    PatchProject project("full patch");
    AddFullPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));
    HWND dialog = run.Dialog();
    EXPECT_TRUE(FolderExists(ZuliWorkFolder())) << "the payload is unpacked while the wizard runs";

    EXPECT_TRUE(ExpectPage(dialog, 1));
    ASSERT_TRUE(run.NextTo(ResInfoCaption));
    EXPECT_TRUE(ExpectPage(dialog, 2));
    ASSERT_TRUE(run.NextTo(ResAgreementCaption));
    EXPECT_TRUE(ExpectPage(dialog, 3, PageState{true, true, false})) << "Next waits for the agreement";
    ASSERT_TRUE(run.Click(IdAgree));
    ASSERT_TRUE(run.NextTo(ResOptionsCaption));
    EXPECT_TRUE(ExpectPage(dialog, 4));
    EXPECT_TRUE(IsDlgButtonChecked(dialog, IdShowReportBox) == BST_CHECKED) << "slot 8 set ticks the show-report box";
    EXPECT_FALSE(IsDlgButtonChecked(dialog, IdBackupBox) == BST_CHECKED);
    ASSERT_TRUE(run.NextTo(ResFolderCaption));
    EXPECT_TRUE(ExpectPage(dialog, 5));
    EXPECT_EQ(ControlText(dialog, IdFolderBox), Dir()) << "the folder box shows entry 1's folder from the registry";

    ASSERT_TRUE(run.NextTo(ResCheckCaption));
    EXPECT_TRUE(ExpectPage(dialog, 6, PageState{false, false, true})) << "after the check Back is hidden";
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreOld()) << "the check changes nothing";

    ASSERT_TRUE(run.NextTo(ResWorkCaption));
    EXPECT_TRUE(ExpectPage(dialog, 7, PageState{false, false, true}));
    ASSERT_TRUE(run.NextTo(ResReportCaption));
    EXPECT_TRUE(ExpectPage(dialog, 8, PageState{false, false, true}, FullPatchReport(App())));
    ASSERT_TRUE(run.NextTo(ResClosingCaption));
    EXPECT_TRUE(ExpectPage(dialog, 9, PageState{false, false, true}));
    ASSERT_TRUE(run.NextTo(ResAuthorCaption));
    EXPECT_TRUE(ExpectPage(dialog, 10, PageState{false, false, true}));
    ASSERT_TRUE(run.NextTo(ResMakerCaption));
    EXPECT_TRUE(ExpectPage(dialog, 11, PageState{false, false, true}));
    EXPECT_EQ(run.PressToExit(IdNext), 0);
    ExpectSessionGone();

    // The files.
    EXPECT_EQ(ReadTestFile(App() + "core.dll"), AppFiles::CoreNew()) << "XOR delta";
    EXPECT_EQ(ReadTestFile(App() + "data.bin"), AppFiles::DataNew()) << "byte patch";
    EXPECT_EQ(ReadTestFile(App() + "plugins\\new.dll"), AppFiles::Plugin()) << "added with its folder";
    EXPECT_FALSE(FileExists(App() + "obsolete.txt")) << "deleted";
    EXPECT_FALSE(FileExists(App() + "old.txt"));
    EXPECT_EQ(ReadTestFile(App() + "renamed.txt"), "a file that gets a new name") << "renamed";
    EXPECT_EQ(ReadTestFile(App() + "readme.txt"), "read me") << "no action";
    EXPECT_TRUE(FileExists(App() + "tool.exe")) << "the run entry's program stays at its target";
    EXPECT_NE(ReadTestFile(App() + "recorded.txt").find("tool.exe"), std::string::npos)
        << "the run entry's program ran in the application's folder";

    // The INI file.
    char value[64] = {};
    GetPrivateProfileStringA("Main", "Version", "", value, sizeof value, (App() + "settings.ini").c_str());
    EXPECT_STREQ(value, "2");
    GetPrivateProfileStringA("Extra", "Flag", "", value, sizeof value, (App() + "settings.ini").c_str());
    EXPECT_STREQ(value, "on");

    // The registry.
    DWORD type = 0;
    std::string data;
    std::string root = kTestRoot;
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, root + "\\Patched", "Version", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, std::string("2.0", 4));
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, root + "\\Patched", "Count", &type, &data));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data, std::string("\x07\x00\x00\x00", 4));
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, root + "\\Old", "Stale", &type, &data)) << "value deleted";
    EXPECT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, root + "\\Old", "Keep", &type, &data)) << "neighbour kept";
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, root + "\\Gone")) << "key deleted";
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kAppKey, "OldName", &type, &data));
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, kAppKey, "NewName", &type, &data)) << "value renamed";
    EXPECT_EQ(data, std::string("renamed value", 14));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, root + "\\Moving")) << "key moved away";
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, root + "\\Moved\\Child", "Deep", &type, &data))
        << "key moved with its subkeys";
    EXPECT_EQ(data, std::string("down", 5));
}
