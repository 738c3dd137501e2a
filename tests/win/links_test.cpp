// Mail and web links reaching the programs registered for them, the registry
// reads behind them, and the folder browser.
#include <gtest/gtest.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <string>
#include <thread>

#include "core/Handles.h"
#include "core/RunState.h"
#include "support/StartedPrograms.h"
#include "support/TestFiles.h"
#include "support/WaitUntil.h"
#include "wizard/Links.h"

// Exported by user32 but not declared by the headers: how the desktop shell
// makes its window known.
extern "C" BOOL WINAPI SetShellWindow(HWND window);

namespace {

// Saves a registry value on construction and puts it back (or removes it, when
// there was none) on destruction, so the prefix keeps its real handlers.
class SavedValue {
public:
    SavedValue(HKEY root, std::string subkey) : root_(root), subkey_(std::move(subkey)) {
        UniqueKey key;
        if (RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return;
        DWORD size = 0;
        if (RegQueryValueExA(key.get(), nullptr, nullptr, &type_, nullptr, &size) != ERROR_SUCCESS) return;
        data_.resize(size);
        if (RegQueryValueExA(key.get(), nullptr, nullptr, &type_, reinterpret_cast<BYTE*>(data_.data()), &size) ==
            ERROR_SUCCESS)
            existed_ = true;
    }
    ~SavedValue() {
        UniqueKey key;
        if (RegCreateKeyExA(root_, subkey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS)
            return;
        if (existed_)
            RegSetValueExA(key.get(), nullptr, 0, type_, reinterpret_cast<const BYTE*>(data_.data()),
                           static_cast<DWORD>(data_.size()));
        else
            RegDeleteValueA(key.get(), nullptr);
    }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

private:
    HKEY root_;
    std::string subkey_;
    bool existed_ = false;
    DWORD type_ = REG_SZ;
    std::string data_;
};

void SetDefault(HKEY root, const char* subkey, DWORD type, const std::string& text) {
    UniqueKey key;
    ASSERT_EQ(RegCreateKeyExA(root, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS) << subkey;
    ASSERT_EQ(RegSetValueExA(key.get(), nullptr, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1)), ERROR_SUCCESS) << subkey;
}

void RemoveDefault(HKEY root, const char* subkey) {
    UniqueKey key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, key.put()) == ERROR_SUCCESS)
        RegDeleteValueA(key.get(), nullptr);
}

const char kMailKey[] = "mailto\\shell\\open\\command";
const char kWebKey[] = "http\\shell\\open\\command";

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("ZULI_LINK_RECORD", record_.c_str());
        DeleteFileA(record_.c_str());
    }
    void TearDown() override { SetEnvironmentVariableA("ZULI_LINK_RECORD", nullptr); }

    // The command line the registered program was started with, waiting
    // for it to be readable; empty when the program never ran. The record
    // can exist before it can be read: Wine's rename puts it in place while
    // the child still holds it open for the rename.
    std::string Recorded() {
        std::string line;
        WaitUntil([&] { return !(line = ReadTestFile(record_)).empty(); }, 20000);
        DeleteFileA(record_.c_str());
        return line;
    }
    // What follows the program on a recorded command line: the parameters.
    std::string ParametersOf(const std::string& line) {
        std::string quotedProgram = "\"" + child_ + "\"";
        if (line.compare(0, quotedProgram.size(), quotedProgram) == 0) return line.substr(quotedProgram.size());
        if (line.compare(0, child_.size(), child_) == 0) return line.substr(child_.size());
        ADD_FAILURE() << "the recorded command line does not start with the program: " << line;
        return line;
    }

    ScratchFolder scratch_{"links"};
    std::string record_ = scratch_ / "recorded.txt";
    std::string child_ = ExecutableFolder() + "record_link.exe";
    SavedValue savedMail_{HKEY_CLASSES_ROOT, kMailKey};
    SavedValue savedWeb_{HKEY_CLASSES_ROOT, kWebKey};
};

TEST_F(LinkTest, MailLinkStartsTheRegisteredMailProgram) {
    struct Case { std::string registered; DWORD type; std::string parameters; const char* what; };
    std::string padding(600, 'x');
    SetEnvironmentVariableA("ZULI_LINK_CHILD", child_.c_str());
    SetEnvironmentVariableA("ZULI_LINK_PADDING", padding.c_str());
    const Case cases[] = {
        {"\"" + child_ + "\" /compose %1", REG_SZ, "/compose a@b.example", "quoted program, blank, switch and %1"},
        {"\"" + child_ + "\" -m \"%1\"", REG_SZ, "-m \"a@b.example\"", "the quote after %1 is kept"},
        {"\"" + child_ + "\" /m %1 /quiet", REG_SZ, "/m a@b.example /quiet", "switches after %1 are kept"},
        {child_ + " %1", REG_SZ, "a@b.example", "unquoted program and %1"},
        {"\"%ZULI_LINK_CHILD%\" /pad:%ZULI_LINK_PADDING% %1", REG_EXPAND_SZ, "/pad:" + padding + " a@b.example",
         "expandable command, longer than 512 bytes once expanded"},
    };
    for (const Case& c : cases) {
        SetDefault(HKEY_CLASSES_ROOT, kMailKey, c.type, c.registered);
        EXPECT_EQ(OpenMailWithRegisteredCommand("a@b.example"), 1) << c.what;
        std::string line = Recorded();
        ASSERT_FALSE(line.empty()) << c.what << ": the mail program was not started";
        // The shell puts a blank between program and parameters.
        EXPECT_EQ(ParametersOf(line), " " + c.parameters) << c.what << "; command line: " << line;
    }
    SetEnvironmentVariableA("ZULI_LINK_CHILD", nullptr);
    SetEnvironmentVariableA("ZULI_LINK_PADDING", nullptr);
}

TEST_F(LinkTest, WebLinkGivesTheAddressAsTheOnlyParameter) {
    // A browser registered the usual way, with quotes around %1 as well.
    for (const std::string& registered : {"\"" + child_ + "\" -nohome %1 --extra", "\"" + child_ + "\" -url \"%1\""}) {
        SetDefault(HKEY_CLASSES_ROOT, kWebKey, REG_SZ, registered);
        EXPECT_EQ(OpenWebWithRegisteredCommand("http://www.example.com/"), 1) << registered;
        std::string line = Recorded();
        ASSERT_FALSE(line.empty()) << "the web program was not started for " << registered;
        EXPECT_EQ(ParametersOf(line), " http://www.example.com/") << line;
    }
}

TEST_F(LinkTest, WithoutARegisteredCommandNothingStarts) {
    RemoveDefault(HKEY_CLASSES_ROOT, kMailKey);
    RemoveDefault(HKEY_CLASSES_ROOT, kWebKey);
    EXPECT_EQ(OpenMailWithRegisteredCommand("a@b.example"), 0);
    EXPECT_EQ(OpenWebWithRegisteredCommand("http://www.example.com/"), 0);
    // Whatever was started has run to its end (and written its record).
    ASSERT_TRUE(WaitForStartedProgramsToEnd()) << "a program started by the links still runs";
    EXPECT_FALSE(FileExists(record_)) << "a program ran although none is registered";
}

// Wine gives every process an elevated administrator's token, as a patch
// run as administrator has. There is no desktop shell window in the test
// prefix, so an elevated link has nobody to ask and opens nothing; above all
// it never starts what HKEY_CLASSES_ROOT names.
TEST_F(LinkTest, AnElevatedRunNeverStartsTheRegisteredProgramItself) {
    ASSERT_TRUE(RunsElevated()) << "the test needs an elevated token";
    SetDefault(HKEY_CLASSES_ROOT, kMailKey, REG_SZ, "\"" + child_ + "\" %1");
    SetDefault(HKEY_CLASSES_ROOT, kWebKey, REG_SZ, "\"" + child_ + "\" %1");
    ASSERT_EQ(GetShellWindow(), nullptr);
    EXPECT_EQ(OpenMailLink("mailto:a@b.example"), 0);
    EXPECT_EQ(OpenWebLink("http://www.example.com/"), 0);
    // Whatever was started, directly or through an opener, has run to its end.
    ASSERT_TRUE(WaitForStartedProgramsToEnd()) << "a program started by the links still runs";
    EXPECT_FALSE(FileExists(record_)) << "an elevated run started the registered program";
}

// With a desktop shell, the address goes to the system's URL opener started
// with the shell's token; the opener, not the runtime, reads the registration
// and starts the program with the registration's own arguments.
TEST_F(LinkTest, AnElevatedRunHandsTheAddressToTheDesktopShellsUser) {
    HWND shell = CreateWindowExA(0, "STATIC", "shell", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(shell, nullptr);
    ASSERT_TRUE(SetShellWindow(shell));
    SetDefault(HKEY_CLASSES_ROOT, kWebKey, REG_SZ, "\"" + child_ + "\" -nohome \"%1\" --extra");
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    PathAddBackslashA(system);
    RunState.SystemFolder = system;
    EXPECT_EQ(OpenWebLink("http://www.example.com/"), 1) << GetLastError();
    RunState.SystemFolder = nullptr;
    std::string line = Recorded();
    DestroyWindow(shell);
    ASSERT_FALSE(line.empty()) << "the address was not opened";
    EXPECT_EQ(ParametersOf(line), " -nohome \"http://www.example.com/\" --extra") << line;
}

class RegistryStringTest : public ::testing::Test {
protected:
    void SetUp() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key_.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        key_.reset();
        SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }
    void Set(const char* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetValueExA(key_.get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    static constexpr const char* kKey = "Software\\ZuliTest\\RegistryString";
    UniqueKey key_;
};

TEST_F(RegistryStringTest, TextsOfEveryLength) {
    // Expanded lengths around the 512-byte steps of the expansion buffer.
    for (std::size_t length : {1u, 510u, 511u, 512u, 513u, 1023u, 1024u, 3000u}) {
        std::string plain(length, 'p');
        Set("plain", REG_SZ, plain.c_str(), static_cast<DWORD>(plain.size() + 1));
        HeapText read = ReadRegistryString(HKEY_CURRENT_USER, kKey, "plain");
        ASSERT_TRUE(read) << "REG_SZ of " << length;
        EXPECT_EQ(std::string(read.get()), plain) << "REG_SZ of " << length;

        std::string expanded(length, 'e');
        SetEnvironmentVariableA("ZULI_TEST_LONG", expanded.c_str());
        const char stored[] = "%ZULI_TEST_LONG%";
        Set("expand", REG_EXPAND_SZ, stored, sizeof stored);
        read = ReadRegistryString(HKEY_CURRENT_USER, kKey, "expand");
        ASSERT_TRUE(read) << "REG_EXPAND_SZ expanding to " << length;
        EXPECT_EQ(std::string(read.get()), expanded)
            << "REG_EXPAND_SZ expanding to " << length;
    }
    SetEnvironmentVariableA("ZULI_TEST_LONG", nullptr);
}

TEST_F(RegistryStringTest, DefaultValueMissingValuesAndKeys) {
    const char text[] = "default text";
    Set(nullptr, REG_SZ, text, sizeof text);
    HeapText read = ReadRegistryString(HKEY_CURRENT_USER, kKey, nullptr);
    ASSERT_TRUE(read) << "the key's default value";
    EXPECT_STREQ(read.get(), "default text");
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kKey, "absent")) << "a missing value gives none";
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, "Software\\ZuliTest\\NoSuchKey", nullptr))
        << "a missing key gives none";
}

TEST_F(RegistryStringTest, AKeyThatMayOnlyBeReadIsRead) {
    const char text[] = "\"C:\\Browser\\browser.exe\" \"%1\"";
    Set(nullptr, REG_SZ, text, sizeof text);
    ASSERT_TRUE(SetKeyAccessList(key_.get(), kReadOnlyKeyAccess));
    HKEY probe = nullptr;
    ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &probe), ERROR_SUCCESS)
        << "the fixture: the key refuses changes";
    HeapText read = ReadRegistryString(HKEY_CURRENT_USER, kKey, nullptr);
    EXPECT_TRUE(read) << "asked for more than reading";
    EXPECT_STREQ(read ? read.get() : "", text);
    EXPECT_TRUE(SetKeyAccessList(key_.get(), kFullKeyAccess));
}

TEST_F(RegistryStringTest, AValueStoredWithoutTerminatorStillEnds) {
    const char bytes[] = {'a', 'b', 'c'};
    Set("bare", REG_SZ, bytes, sizeof bytes);
    HeapText read = ReadRegistryString(HKEY_CURRENT_USER, kKey, "bare");
    ASSERT_TRUE(read);
    EXPECT_STREQ(read.get(), "abc");
}

// A visible dialog of this process: the folder browser once it is up.
BOOL CALLBACK FindBrowserWindow(HWND window, LPARAM found) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && std::string(name) == "#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Presses a button of the folder browser from another thread, as a user would.
void AnswerFolderBrowser(int button) {
    HWND browser = nullptr;
    WaitUntil([&] {
        EnumWindows(FindBrowserWindow, reinterpret_cast<LPARAM>(&browser));
        return browser != nullptr;
    }, 20000);
    if (browser) PostMessageA(browser, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

TEST(BrowseForFolder, CancellingKeepsTheFolderBox) {
    HWND box = CreateWindowExA(0, "EDIT", "C:\\Kept\\Folder", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(box, nullptr);
    std::thread user(AnswerFolderBrowser, IDCANCEL);
    EXPECT_EQ(BrowseForFolder(box, "Choose the folder"), 1);
    user.join();
    char text[MAX_PATH] = {};
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "C:\\Kept\\Folder");
    DestroyWindow(box);
}

TEST(BrowseForFolder, ChoosingAFolderPutsItsPathInTheBox) {
    HWND box = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(box, nullptr);
    // The browser opens on the desktop, which is a file system folder.
    std::thread user(AnswerFolderBrowser, IDOK);
    EXPECT_EQ(BrowseForFolder(box, "Choose the folder"), 1);
    user.join();
    char text[MAX_PATH] = {};
    GetWindowTextA(box, text, sizeof text);
    char desktop[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_STREQ(text, desktop) << "the desktop's path, without a trailing backslash";
    DestroyWindow(box);
}

}  // namespace
