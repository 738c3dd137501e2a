// The mail and web links of the credit pages end to end: a click on the
// author page opens the author's mail and web links, on the maker credits
// page the maker's, on any other page nothing. The programs registered for
// mail and web addresses are the test's record_link, which writes the
// command line it was given to the file named by ZULI_LINK_RECORD.
#include "harness/E2eFixture.h"

#include <tlhelp32.h>

// Exported by user32 but not declared by the headers: how the desktop shell
// makes its window known.
extern "C" BOOL WINAPI SetShellWindow(HWND window);

namespace {

const char kMailKey[] = "mailto\\shell\\open\\command";
const char kWebKey[] = "http\\shell\\open\\command";

const char kAuthorMail[] = "mailto:author@example.com";
const char kAuthorWeb[] = "http://author.example/";
const char kMakerMail[] = "mailto:maker@example.com";
const char kMakerWeb[] = "http://maker.example/";

// The default value of an HKEY_CLASSES_ROOT key, put back afterwards.
class SavedClassCommand {
public:
    explicit SavedClassCommand(const char* subkey) : subkey_(subkey) {
        existed_ = ReadRegistryValue(HKEY_CLASSES_ROOT, subkey_, "", &type_, &data_);
    }
    ~SavedClassCommand() {
        if (existed_) {
            SetRegistryBytes(HKEY_CLASSES_ROOT, subkey_, "", type_, data_);
        } else {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey_.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
                RegDeleteValueA(key, nullptr);
                RegCloseKey(key);
            }
        }
    }
    SavedClassCommand(const SavedClassCommand&) = delete;
    SavedClassCommand& operator=(const SavedClassCommand&) = delete;

private:
    std::string subkey_;
    bool existed_ = false;
    DWORD type_ = REG_SZ;
    std::string data_;
};

// How many processes run one of these programs (names without case).
int RunningCount(std::initializer_list<const char*> names) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        for (const char* name : names)
            if (lstrcmpiA(entry.szExeFile, name) == 0) ++count;
    CloseHandle(snapshot);
    return count;
}

}  // namespace

class CreditLinksE2e : public WizardE2e {
protected:
    void SetUp() override {
        WizardE2e::SetUp();
        ASSERT_TRUE(FileExists(child_));
        std::string command = "\"" + child_ + "\" %1";
        ASSERT_TRUE(SetRegistryString(HKEY_CLASSES_ROOT, kMailKey, "", command));
        ASSERT_TRUE(SetRegistryString(HKEY_CLASSES_ROOT, kWebKey, "", command));
        // The patch inherits it from this process.
        SetEnvironmentVariableA("ZULI_LINK_RECORD", record_.c_str());
        // Wine's tokens are elevated, as a patch run as administrator has,
        // and such a patch hands its links to the desktop shell's user. The
        // prefix has no desktop shell: this process stands in for it.
        shell_ = CreateWindowExA(0, "STATIC", "desktop shell", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(shell_ && SetShellWindow(shell_));
    }
    void TearDown() override {
        if (shell_) DestroyWindow(shell_);
        SetEnvironmentVariableA("ZULI_LINK_RECORD", nullptr);
        WizardE2e::TearDown();
    }

    // A user's click on a label of the dialog.
    bool ClickLabel(WizardRun& run, int controlId) {
        HWND label = GetDlgItem(run.Dialog(), controlId);
        if (!label || !IsWindowVisible(label)) return false;
        PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        return run.Idle();
    }
    // On pages where the labels are hidden no click can reach them; the
    // command they would send is sent in their place.
    bool SendLabelCommand(WizardRun& run, int controlId) {
        HWND label = GetDlgItem(run.Dialog(), controlId);
        PostMessageA(run.Dialog(), WM_COMMAND, MAKEWPARAM(controlId, STN_CLICKED), reinterpret_cast<LPARAM>(label));
        return run.Idle();
    }
    // What the registered program recorded since the last look; empty when
    // nothing was started. The wizard starts it before it handles the next
    // message, so once the wizard is idle and no started program is left,
    // its record is there.
    std::string Opened() {
        EXPECT_TRUE(WaitUntil([] { return RunningCount({"record_link.exe", "rundll32.exe"}) == 0; }));
        std::string line = ReadTestFile(record_);
        DeleteFileA(record_.c_str());
        return line;
    }
    // Waits for the record of a link that must open.
    std::string OpenedLink() {
        WaitUntil([&] { return FileExists(record_); });
        return Opened();
    }

    SavedClassCommand savedMail_{kMailKey};
    SavedClassCommand savedWeb_{kWebKey};
    ScratchFolder scratch_{"zuli e2e links"};
    std::string record_ = scratch_ / "opened.txt";
    std::string child_ = ExecutableFolder() + "record_link.exe";
    HWND shell_ = nullptr;
};

TEST_F(CreditLinksE2e, EachCreditPageOpensItsOwnLinksAndOtherPagesNone) {
    PatchProject project("credit links");
    project.SetText(ResAuthorWeb, kAuthorWeb);
    project.SetText(ResAuthorMailTarget, kAuthorMail);
    project.SetText(ResMakerWeb, kMakerWeb);
    project.SetText(ResMakerMailTarget, kMakerMail);
    AddPresenceOnlyPatch(project);
    WizardRun run;
    ASSERT_TRUE(Launch(project, run));

    auto expectNothingOpens = [&](const char* page) {
        ASSERT_TRUE(SendLabelCommand(run, IdMailLink) && SendLabelCommand(run, IdWebLink)) << page;
        EXPECT_EQ(Opened(), "") << "a link opened on the " << page;
    };
    expectNothingOpens("introduction page");
    ASSERT_TRUE(run.WalkTo(ResFolderCaption));
    expectNothingOpens("folder page");
    ASSERT_TRUE(run.WalkTo(ResClosingCaption));
    expectNothingOpens("closing page");

    ASSERT_TRUE(run.NextTo(ResAuthorCaption));
    ASSERT_TRUE(ClickLabel(run, IdMailLink));
    std::string opened = OpenedLink();
    EXPECT_NE(opened.find(kAuthorMail), std::string::npos) << opened;
    ASSERT_TRUE(ClickLabel(run, IdWebLink));
    opened = OpenedLink();
    EXPECT_NE(opened.find(kAuthorWeb), std::string::npos) << opened;

    ASSERT_TRUE(run.NextTo(ResMakerCaption));
    ASSERT_TRUE(ClickLabel(run, IdMailLink));
    opened = OpenedLink();
    EXPECT_NE(opened.find(kMakerMail), std::string::npos) << opened;
    ASSERT_TRUE(ClickLabel(run, IdWebLink));
    opened = OpenedLink();
    EXPECT_NE(opened.find(kMakerWeb), std::string::npos) << opened;

    EXPECT_EQ(run.PressToExit(IdNext), 0);
    EXPECT_EQ(Opened(), "") << "finishing opened a link";
}
