// The processing pass as one transaction, against the faults it is there
// for. One patch touches files in every way an entry can (an add into a new
// folder and one over an installed file, XOR delta, binary delta, byte
// patch, delete, rename, INI keys, and a byte patch over an earlier entry's
// result) and registry values under a
// key of the test's own; it runs once per fault. Every row holds the same
// promise: afterwards every file and every value is byte for byte the old
// version or the new one (a file replaced at the restart new after the
// restart), no scratch file and no journal is left, and the report, the
// failure count and the log say which.
//
// The test runs under a limit on the size of the files it writes
// (limited/file_size_limit.sh: the row of a new version that cannot be
// written), and alone: the restart row's wineboot carries out every pending
// rename of the prefix.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "BinaryDeltaEncoder.h"
#include "PatchTestSupport.h"
#include "actions/ProcessingPass.h"
#include "core/RunLog.h"
#include "core/RunState.h"
#include "script/Verification.h"
#include "support/PassSetup.h"
#include "support/PayloadBytes.h"
#include "support/TestFiles.h"

namespace {

// Set by the launcher: the size limit and a delta file of kBigPayloadSize
// bytes made before the limit took hold.
constexpr DWORD kWriteLimit = ZULI_WRITE_LIMIT;
constexpr DWORD kBigPayloadSize = ZULI_BIG_PAYLOAD_SIZE;
const char kBigPayload[] = ZULI_BIG_PAYLOAD;
static_assert(kBigPayloadSize > kWriteLimit, "the delta must rebuild a file beyond the limit");

// ---- contents ----

std::string BinaryDeltaOf(const std::string& oldContent, const std::string& newContent) {
    std::vector<uint8_t> old(oldContent.begin(), oldContent.end()), now(newContent.begin(), newContent.end()), out;
    EXPECT_TRUE(EncodeBinaryDelta(old, now, out));
    return std::string(out.begin(), out.end());
}

const std::string kAdded = "a file the patch adds, in a folder of its own";
const std::string kLibOld = "the installed library, version one";
const std::string kLibXored = "the library, version two, longer than the first";
const std::string kCoreOld = CodeLike(4096, 7);
const std::string kCoreNew = kCoreOld.substr(0, 1500) + CodeLike(300, 11) + kCoreOld.substr(1700) + "tail";
const std::string kDataOld = "the installed data block";
const std::string kDataNew = "NEW installed data block";
const std::string kObsolete = "a file the new version no longer has";
const std::string kRenamed = "a file the new version keeps under another name";
const std::string kSettingsOld = "[Main]\r\nMode=1\r\nKeep=yes\r\n";
const std::string kReadmeOld = "the installed readme";
const std::string kReadmeNew = "the readme of the new version";
// Entry 8 patches what entry 2 made of lib.dll, not the installed file.
const std::string kLibNew = "LIB2" + kLibXored.substr(4);

// ---- the entries ----

constexpr uint32_t kEntries = 9;
constexpr uint32_t kHeldEntry = 3;  // core.dll, the third target
constexpr uint32_t kRegistry = 0xFFFFFFFFu;

struct EntryInfo {
    const char* label;       // the log's
    const char* reportName;  // the report's (texts 3000 to 3008 of the .rc)
    const char* file;
};
const EntryInfo kEntryInfo[kEntries + 1] = {
    {nullptr, nullptr, nullptr},
    {"Action 1 (add)", "Add file", "new\\added.txt"},
    {"Action 2 (XOR-delta update)", "Update file", "lib.dll"},
    {"Action 8 (binary-delta update)", "Update file", "core.dll"},
    {"Action 3 (byte-pattern patch)", "Replace bytes", "data.bin"},
    {"Action 4 (delete)", "Delete file", "obsolete.txt"},
    {"Action 6 (rename)", "Rename file", "old-name.txt"},
    {"Action 5 (INI keys)", "Update INI file", "settings.ini"},
    {"Action 3 (byte-pattern patch)", "Replace bytes", "lib.dll"},
    {"Action 1 (add)", "Add file", "readme.txt"},
};

// ---- what the machine holds ----

// Files by path below the application folder ("sub\" for a folder), values
// by "key|name" below the test's key ("key\" for a key): the contents and
// type-and-bytes, compared whole.
using Snapshot = std::map<std::string, std::string>;

std::string Hex(const std::string& bytes) {
    std::string text;
    char cell[4];
    for (unsigned char b : bytes) {
        wsprintfA(cell, "%02X ", b);
        text += cell;
    }
    return text;
}

// A registry value as the snapshots hold it.
std::string TypedValue(DWORD type, const std::string& bytes) {
    return "type " + std::to_string(type) + ": " + Hex(bytes);
}

// One line per item, short enough to read in a failure message.
std::string Describe(const Snapshot& snapshot) {
    std::string text;
    for (const auto& item : snapshot) {
        text += item.first + " = ";
        if (item.second.size() <= 48) {
            for (unsigned char c : item.second) {
                char cell[8];
                wsprintfA(cell, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
                text += cell;
            }
        } else {
            char digest[64];
            wsprintfA(digest, "%u bytes, CRC %08lX", static_cast<unsigned>(item.second.size()),
                      Crc32Of(item.second));
            text += digest;
        }
        text += "\n";
    }
    return text;
}

void ListFiles(const std::string& folder, const std::string& relative, Snapshot& out) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + relative + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out[relative + name + "\\"] = "(folder)";
            ListFiles(folder, relative + name + "\\", out);
        } else {
            out[relative + name] = ReadTestFile(folder + relative + name);
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }
std::string Narrow(const wchar_t* wide) {
    std::string out;
    for (; *wide; ++wide) out += static_cast<char>(*wide);
    return out;
}

// The key `base` + `relative` and everything below it, named relative to
// `base`. Values are read through the wide interface, so that text comes
// back exactly as stored.
void ListKey(const std::string& base, const std::string& relative, Snapshot& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(base + relative).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        BYTE data[512];
        DWORD size = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        out[relative + "|" + Narrow(name)] = TypedValue(type, std::string(reinterpret_cast<char*>(data), size));
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys.push_back(Narrow(name));
    }
    RegCloseKey(key);
    for (const std::string& sub : subkeys) {
        out[relative + "\\" + sub + "\\"] = "(key)";
        ListKey(base, relative + "\\" + sub, out);
    }
}

// UTF-16LE bytes of an ASCII text and its terminator, as the registry
// stores a text value.
std::string WideText(const char* text) {
    std::string bytes;
    for (const char* p = text; *p; ++p) bytes += std::string(1, *p) + '\0';
    return bytes + std::string(2, '\0');
}

std::string JournalFolder(int csidl) {
    char folder[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, csidl, FALSE)) return std::string();
    return std::string(folder) + "\\Zuli\\Transactions\\";
}

// The journals in the machine's and the user's journal folders.
std::vector<std::string> Journals() {
    std::vector<std::string> names;
    for (int csidl : {CSIDL_COMMON_APPDATA, CSIDL_LOCAL_APPDATA}) {
        const std::string base = JournalFolder(csidl);
        if (base.empty()) continue;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((base + "*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) continue;
        do
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(base + found.cFileName);
        while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return names;
}

std::vector<std::string> ScratchFilesOf(const Snapshot& files) {
    std::vector<std::string> names;
    for (const auto& item : files) {
        const std::string& path = item.first;
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        if (name.size() > 4 && StrCmpNIA(name.c_str(), "QVR", 3) == 0 &&
            lstrcmpiA(name.c_str() + name.size() - 4, ".tmp") == 0)
            names.push_back(path);
    }
    return names;
}

// ---- the restart ----

void SetPendingRenames(const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items) list += item + '\0';
    list += '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", 0, KEY_SET_VALUE,
                      &key) != ERROR_SUCCESS)
        return;
    if (items.empty())
        RegDeleteValueA(key, "PendingFileRenameOperations");
    else
        RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list.data()),
                       static_cast<DWORD>(list.size()));
    RegCloseKey(key);
}

// The next start of the system as Wine has it: "wineboot -r" carries out
// the pending renames. Those that are not the test's own (another test's,
// left behind) are set aside for it and put back after. The exit code of
// wineboot, or -1.
int RestartTheSystem(const std::string& ownFolder) {
    const std::vector<std::string> items = PendingRenames();
    std::vector<std::string> own, others;
    for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
        std::vector<std::string>& list = StrStrIA(items[i].c_str(), ownFolder.c_str()) ? own : others;
        list.push_back(items[i]);
        list.push_back(items[i + 1]);
    }
    SetPendingRenames(own);
    char system[MAX_PATH + 1] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const int code = RunProgram(std::string(system) + "\\wineboot.exe -r");
    std::vector<std::string> left = PendingRenames();
    left.insert(left.end(), others.begin(), others.end());
    SetPendingRenames(left);
    return code;
}

bool RenameIsPendingFor(const std::string& target) {
    const std::vector<std::string> items = PendingRenames();
    for (std::size_t i = 1; i < items.size(); i += 2)
        if (StrStrIA(items[i].c_str(), target.c_str())) return true;
    return false;
}

// ---- the patch ----

struct PatchOptions {
    bool delayHeldEntry = false;   // Delay=1 on entry 3
    bool failingRegistryLine = false;
};

// The installed application, its registry key, the patch's working folder
// and the run state of the passes; everything goes with the object.
class PatchUnderTest {
public:
    FakeHost host;  // answers the passes instead of a window

    explicit PatchUnderTest(const std::string& name)
        : scratch_("transaction faults " + name),
          state_(scratch_ / "work\\"),
          key_("Software\\ZuliTest\\Transaction-" + std::to_string(GetCurrentProcessId())) {}

    ~PatchUnderTest() {
        SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ZuliTest");  // only when no other test's key is left
        ForgetPendingRenamesFrom(scratch_);
        RunState.TransactionOn = 0;
        RunState.Registry = RegistryAccessor();
    }

    std::string App(const std::string& relative = "") const { return scratch_ / ("app\\" + relative); }
    std::string Work(const std::string& name) const { return scratch_ / ("work\\" + name); }
    std::string LogPath() const { return scratch_ / "run.log"; }
    std::string Folder() const { return scratch_.Path(); }

    // The old version installed, the patch unpacked, and the check passed.
    void Prepare(const PatchOptions& options) {
        RunState.IsNT = 1;
        RunState.Registry = RegistryAccessor();
        CreateDirectoryA((scratch_ / "work").c_str(), nullptr);
        CreateDirectoryA((scratch_ / "app").c_str(), nullptr);
        WriteTestFile(App("lib.dll"), kLibOld);
        WriteTestFile(App("core.dll"), kCoreOld);
        WriteTestFile(App("data.bin"), kDataOld);
        WriteTestFile(App("obsolete.txt"), kObsolete);
        WriteTestFile(App("old-name.txt"), kRenamed);
        WriteTestFile(App("settings.ini"), kSettingsOld);
        WriteTestFile(App("readme.txt"), kReadmeOld);

        SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
        SetValue("", "Version", REG_SZ, WideText("1"));
        SetValue("", "Obsolete", REG_DWORD, Le32(7));
        SetValue("", "OldName", REG_SZ, WideText("renamed value"));
        SetValue("\\Movable", "Inner", REG_SZ, WideText("x"));

        WriteTestFile(Work("Proc1"), kAdded);
        WriteTestFile(Work("Proc2"), XorOf(kLibOld, kLibXored));
        WriteTestFile(Work("Proc3"), BinaryDeltaOf(kCoreOld, kCoreNew));
        WriteTestFile(Work("Proc4"), WriteAtOffsetPatch(0, "NEW"));
        WriteTestFile(Work("Proc8"), WriteAtOffsetPatch(0, "LIB2"));
        WriteTestFile(Work("Proc9"), kReadmeNew);
        WriteTestFile(Work("Setup.ini"), Script(options));
        RunState.ReportText.reset();
        ASSERT_EQ(VerifyEntries(VerifyMode::Checking, host), 1)
            << (RunState.ErrorText ? RunState.ErrorText.get() : "the check failed");
    }

    Snapshot Files() const {
        Snapshot files;
        ListFiles(App(), "", files);
        return files;
    }
    Snapshot Registry() const {
        Snapshot values;
        ListKey(key_, "", values);
        return values;
    }

    static Snapshot OldFiles() {
        return {{"lib.dll", kLibOld},          {"core.dll", kCoreOld},         {"data.bin", kDataOld},
                {"obsolete.txt", kObsolete},   {"old-name.txt", kRenamed},     {"settings.ini", kSettingsOld},
                {"readme.txt", kReadmeOld}};
    }
    Snapshot NewFiles() const {
        return {{"new\\", "(folder)"},     {"new\\added.txt", kAdded}, {"lib.dll", kLibNew},
                {"core.dll", kCoreNew},    {"data.bin", kDataNew},     {"new-name.txt", kRenamed},
                {"settings.ini", NewSettings()}, {"readme.txt", kReadmeNew}};
    }
    static Snapshot OldRegistry() {
        return {{"|Version", TypedValue(REG_SZ, WideText("1"))},
                {"|Obsolete", TypedValue(REG_DWORD, Le32(7))},
                {"|OldName", TypedValue(REG_SZ, WideText("renamed value"))},
                {"\\Movable\\", "(key)"},
                {"\\Movable|Inner", TypedValue(REG_SZ, WideText("x"))}};
    }
    static Snapshot NewRegistry() {
        return {{"|Version", TypedValue(REG_SZ, WideText("2"))},
                {"|NewName", TypedValue(REG_SZ, WideText("renamed value"))},
                {"\\Fresh\\", "(key)"},
                {"\\Fresh|Count", TypedValue(REG_DWORD, Le32(5))},
                {"\\Movable\\", "(key)"},
                {"\\Movable|Inner", TypedValue(REG_SZ, WideText("x"))}};
    }

private:
    std::string Script(const PatchOptions& options) const {
        const std::string dir = "Dir=" + (scratch_ / "app") + "\r\n";
        const auto crc = [](const std::string& content) { return "CRC=" + std::to_string(Crc32Of(content)) + "\r\n"; };
        return "[Setup]\r\nProcCount=9\r\nAddReg=2\r\nDelReg=1\r\nRenReg=" +
               std::string(options.failingRegistryLine ? "2" : "1") + "\r\n" +
               "[Proc1]\r\nFile=new\\added.txt\r\nAct=1\r\n" + dir +
               "[Proc2]\r\nFile=lib.dll\r\nAct=2\r\n" + crc(kLibOld) + dir +
               "[Proc3]\r\nFile=core.dll\r\nAct=8\r\n" + crc(kCoreOld) +
               (options.delayHeldEntry ? "Delay=1\r\n" : "") + dir +
               "[Proc4]\r\nFile=data.bin\r\nAct=3\r\n" + crc(kDataOld) + dir +
               "[Proc5]\r\nFile=obsolete.txt\r\nAct=4\r\n" + dir +
               "[Proc6]\r\nFile=old-name.txt\r\nAct=6\r\nNewName=new-name.txt\r\n" + dir +
               "[Proc7]\r\nFile=settings.ini\r\nAct=5\r\nCount=1\r\nINIKey1=Main,Mode,2\r\n" + dir +
               "[Proc8]\r\nFile=lib.dll\r\nAct=3\r\nDONTChk=1\r\nCRC=1\r\n" + dir +
               "[Proc9]\r\nFile=readme.txt\r\nAct=1\r\n" + dir +
               "[AddReg]\r\n1=HKCU," + key_ + ",Version,1,2,2\r\n2=HKCU," + key_ + "\\Fresh,Count,4,4,5\r\n" +
               "[DelReg]\r\n1=HKCU," + key_ + ",Obsolete\r\n" +
               // The key moves to a folder whose parent does not exist: the
               // registry refuses the line.
               "[RenReg]\r\n1=HKCU," + key_ + ",OldName,1,8,NewName\r\n2=HKCU," + key_ +
               "\\Movable,\"\",1,14,Missing\\Moved\r\n";
    }

    // The INI file as the system's own profile functions write the entry's
    // line into it.
    std::string NewSettings() const {
        const std::string reference = scratch_ / "reference.ini";
        WriteTestFile(reference, kSettingsOld);
        WritePrivateProfileStringA("Main", "Mode", "2", reference.c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, reference.c_str());
        const std::string content = ReadTestFile(reference);
        DeleteFileA(reference.c_str());
        return content;
    }

    void SetValue(const std::string& subkey, const char* name, DWORD type, const std::string& bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key_ + subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, Wide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }

    ScratchFolder scratch_;
    PassState state_;
    std::string key_;
};

// What a row does to the machine between the check and the pass (another
// program's handles, a payload swapped), undone when the row's pass is over.
struct Fault {
    std::vector<HANDLE> handles;
    std::function<void()> undo;
    ~Fault() {
        for (HANDLE h : handles) CloseHandle(h);
        if (undo) undo();
    }
};

// Another program holds the file open for reading and lets others read it
// too, but neither write nor delete it.
void HoldForReading(PatchUnderTest& patch, Fault& fault, const char* file) {
    HANDLE h = CreateFileA(patch.App(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << file;
    fault.handles.push_back(h);
}

// ---- what the run says ----

std::vector<std::string> SplitAt(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + separator.size())
        parts.push_back(text.substr(start, end - start));
    if (start < text.size()) parts.push_back(text.substr(start));
    return parts;
}

// An expected line ending in "*" stands for that beginning and any text
// after it, as long as there is some (a system's reason for a failure).
bool LineMatches(const std::string& line, const std::string& expected) {
    if (expected.empty() || expected.back() != '*') return line == expected;
    const std::string start = expected.substr(0, expected.size() - 1);
    return line.size() > start.size() && line.compare(0, start.size(), start) == 0;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "  " + line + "\n";
    return text;
}

// The report's paragraphs, exactly and in order.
::testing::AssertionResult ReportIs(const std::string& report, const std::vector<std::string>& expected) {
    const std::vector<std::string> paragraphs = SplitAt(report, "\r\n\r\n");
    bool same = paragraphs.size() == expected.size();
    for (std::size_t i = 0; same && i < expected.size(); ++i) same = LineMatches(paragraphs[i], expected[i]);
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the report reads\n"
                                         << Joined(paragraphs) << "expected\n"
                                         << Joined(expected);
}

// The expected lines appear in the log in this order (others between them);
// a failure line names a system error other than 0.
::testing::AssertionResult LogHas(const std::string& log, const std::vector<std::string>& expected) {
    const std::vector<std::string> lines = SplitAt(log, "\r\n");
    std::size_t at = 0;
    for (const std::string& want : expected) {
        while (at < lines.size() && !LineMatches(lines[at], want)) ++at;
        if (at == lines.size())
            return ::testing::AssertionFailure() << "no line \"" << want << "\" (in this order) in the log\n"
                                                 << Joined(lines);
        const std::size_t error = lines[at].find("FAILED, error ");
        if (error != std::string::npos && std::strtoul(lines[at].c_str() + error + 14, nullptr, 10) == 0)
            return ::testing::AssertionFailure() << "a failure without the system's reason: " << lines[at];
        ++at;
    }
    return ::testing::AssertionSuccess();
}

// How a row's run ends.
enum class Ending { Committed, CommittedWithRestart, RolledBack };

struct Expectation {
    Ending ending;
    uint32_t failed;         // the entry whose step failed (kRegistry: a registry line); 0 none
    bool failedPreparing;    // it failed while the entries were prepared, before anything changed
};

std::string EntryPath(const PatchUnderTest& patch, uint32_t n) { return patch.App(kEntryInfo[n].file); }

std::vector<std::string> ExpectedReport(const PatchUnderTest& patch, const Expectation& e) {
    std::vector<std::string> paragraphs;
    for (uint32_t n = 1; n <= kEntries; ++n) {
        const std::string start = std::string(kEntryInfo[n].reportName) + " " + EntryPath(patch, n) + " ";
        if (e.ending == Ending::RolledBack)
            paragraphs.push_back(start + (n == e.failed ? "FAILED: *" : "rolled back"));
        else if (e.ending == Ending::CommittedWithRestart && n == kHeldEntry)
            paragraphs.push_back(start + "at restart");
        else
            paragraphs.push_back(start + "done");
    }
    const char* registry = e.ending != Ending::RolledBack ? "done" : e.failed == kRegistry ? "FAILED: *" : "rolled back";
    paragraphs.push_back(std::string("Update registry   ") + registry);
    if (e.ending == Ending::RolledBack)
        paragraphs.push_back("Nothing was changed: every change the update made was undone.  ");
    return paragraphs;
}

std::vector<std::string> ExpectedLog(const PatchUnderTest& patch, const Expectation& e) {
    std::vector<std::string> lines = {"Transaction: preparing " + std::to_string(kEntries) + " entries"};
    const uint32_t prepared = e.failedPreparing ? e.failed - 1 : kEntries;
    for (uint32_t n = 1; n <= prepared; ++n)
        lines.push_back(std::string(kEntryInfo[n].label) + ": " + EntryPath(patch, n) + ": prepared");
    for (uint32_t n = 1; n <= kEntries; ++n) {
        const std::string start = std::string(kEntryInfo[n].label) + ": " + EntryPath(patch, n) + ": ";
        if (e.ending == Ending::RolledBack)
            lines.push_back(start + (n == e.failed ? "FAILED, error *" : "rolled back"));
        else if (e.ending == Ending::CommittedWithRestart && n == kHeldEntry)
            lines.push_back(start + "replaced at the restart");
        else
            lines.push_back(start + (std::string(kEntryInfo[n].label).find("(delete)") != std::string::npos ? "deleted"
                                                                                                     : "replaced"));
    }
    switch (e.ending) {
    case Ending::Committed:
        lines.push_back("Registry sections: done");
        lines.push_back("Transaction: committed; the application was changed");
        break;
    case Ending::CommittedWithRestart:
        lines.push_back("Registry sections: done");
        lines.push_back("Transaction: committed; the application was changed (some files at the restart)");
        break;
    case Ending::RolledBack:
        lines.push_back(e.failed == kRegistry ? "Registry sections: FAILED, error *"
                                              : "Registry sections: rolled back");
        lines.push_back("Transaction: rolled back; the application was not changed");
        break;
    }
    return lines;
}

}  // namespace

TEST(TransactionFaults, EveryFileAndValueEndsAllOldOrAllNew) {
    struct Row {
        const char* fault;
        PatchOptions options;
        // Applied after the check passed, before the processing pass.
        std::function<void(PatchUnderTest&, Fault&)> apply;
        Expectation expected;
    };
    const Row rows[] = {
        {"no fault", {}, [](PatchUnderTest&, Fault&) {}, {Ending::Committed, 0, false}},
        {"payload of entry 4 missing", {},
         [](PatchUnderTest& patch, Fault&) { ASSERT_TRUE(DeleteFileA(patch.Work("Proc4").c_str())); },
         {Ending::RolledBack, 4, true}},
        {"new version of entry 2 beyond the disk's room (a size limit)", {},
         [](PatchUnderTest& patch, Fault& fault) {
             ASSERT_FALSE(CanWrite(patch.Folder() + "probe.bin", kBigPayloadSize))
                 << "a write of " << kBigPayloadSize << " bytes went through: the test does not run under the size "
                 << "limit of " << kWriteLimit << " bytes, and the row would prove nothing";
             // The delta made before the limit took hold rebuilds a file
             // beyond it; it is moved in, as no copy of it could be written.
             const std::string payload = patch.Work("Proc2");
             ASSERT_TRUE(DeleteFileA(payload.c_str()));
             ASSERT_TRUE(MoveFileA(kBigPayload, payload.c_str())) << kBigPayload << ", error " << GetLastError();
             fault.undo = [payload] { MoveFileA(payload.c_str(), kBigPayload); };
         },
         {Ending::RolledBack, 2, true}},
        {"third target held open by another program, reading shared, deleting not", {},
         [](PatchUnderTest& patch, Fault& fault) { HoldForReading(patch, fault, "core.dll"); },
         {Ending::RolledBack, kHeldEntry, false}},
        {"third target held the same way, its entry replacing it at the restart", {true, false},
         [](PatchUnderTest& patch, Fault& fault) { HoldForReading(patch, fault, "core.dll"); },
         {Ending::CommittedWithRestart, 0, false}},
        {"registry line the registry refuses", {false, true}, [](PatchUnderTest&, Fault&) {},
         {Ending::RolledBack, kRegistry, false}},
        {"registry line refused after a file was scheduled for the restart", {true, true},
         [](PatchUnderTest&, Fault&) {}, {Ending::RolledBack, kRegistry, false}},
    };
    int index = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        PatchUnderTest patch(std::to_string(++index));
        ASSERT_NO_FATAL_FAILURE(patch.Prepare(row.options));
        ASSERT_EQ(Describe(patch.Files()), Describe(PatchUnderTest::OldFiles()));
        ASSERT_EQ(Describe(patch.Registry()), Describe(PatchUnderTest::OldRegistry()));
        const std::vector<std::string> journalsBefore = Journals();
        const uint32_t failuresBefore = FailedActionCount();

        RunState.TransactionOn = 1;
        ASSERT_TRUE(OpenRunLog(patch.LogPath().c_str()));
        {
            Fault fault;
            row.apply(patch, fault);
            if (::testing::Test::HasFatalFailure()) {
                CloseRunLog(0);
                return;
            }
            RunProcessingPass(patch.host);
        }
        CloseRunLog(0);
        const std::string report = RunState.ReportText ? RunState.ReportText.get() : "";
        const Expectation& e = row.expected;

        EXPECT_TRUE(ReportIs(report, ExpectedReport(patch, e)));
        EXPECT_TRUE(LogHas(ReadTestFile(patch.LogPath()), ExpectedLog(patch, e)));
        EXPECT_EQ(FailedActionCount() - failuresBefore, e.ending == Ending::RolledBack ? 1u : 0u)
            << "failures counted for the exit code";
        EXPECT_EQ(RunState.RebootPending, e.ending == Ending::CommittedWithRestart ? 1u : 0u);
        EXPECT_EQ(Journals(), journalsBefore) << "a journal of the run is left behind";
        if (!e.failedPreparing) {
            EXPECT_TRUE(FileExists(JournalFolder(CSIDL_COMMON_APPDATA)))
                << "the commit kept no journal in the machine's folder";
        }

        const Snapshot files = patch.Files();
        if (e.ending == Ending::RolledBack) {
            EXPECT_EQ(Describe(files), Describe(PatchUnderTest::OldFiles())) << "the files are not all old";
            EXPECT_EQ(Describe(patch.Registry()), Describe(PatchUnderTest::OldRegistry())) << "the registry is not old";
            EXPECT_FALSE(RenameIsPendingFor(patch.Folder())) << "a rename at the restart was left registered";
            continue;
        }
        EXPECT_EQ(Describe(patch.Registry()), Describe(PatchUnderTest::NewRegistry())) << "the registry is not new";
        EXPECT_EQ(ReadTestFile(patch.App("lib.dll")), kLibNew)
            << "entry 8 must patch what entry 2 made of lib.dll, not the installed file";
        if (e.ending == Ending::Committed) {
            EXPECT_EQ(Describe(files), Describe(patch.NewFiles())) << "the files are not all new";
            EXPECT_TRUE(ScratchFilesOf(files).empty());
            continue;
        }
        // Every file new now but the one the restart replaces, whose new
        // version waits beside it.
        Snapshot now = files;
        EXPECT_EQ(now["core.dll"], kCoreOld) << "the held file changed before the restart";
        EXPECT_EQ(ScratchFilesOf(files).size(), 1u) << "the new version of core.dll waits beside it, alone";
        EXPECT_TRUE(RenameIsPendingFor(patch.App("core.dll"))) << "no rename over core.dll is registered";
        for (const std::string& name : ScratchFilesOf(files)) now.erase(name);
        now["core.dll"] = kCoreNew;
        EXPECT_EQ(Describe(now), Describe(patch.NewFiles())) << "the other files are not all new";

        ASSERT_EQ(RestartTheSystem(patch.Folder()), 0) << "wineboot -r";
        const Snapshot restarted = patch.Files();
        EXPECT_EQ(Describe(restarted), Describe(patch.NewFiles())) << "after the restart the files are not all new";
        EXPECT_TRUE(ScratchFilesOf(restarted).empty());
        EXPECT_FALSE(RenameIsPendingFor(patch.Folder())) << "the restart left a rename pending";
    }
}

// A target that another program holds open for reading, sharing reading
// only, passes every check and can be read and prepared; only putting the
// new version in its place fails. With the transaction on that one failure
// leaves the whole application as it was. Entry by entry (the transaction
// off) the pass goes on: every other file and the registry lines are
// written, and the application ends half old, half new.
TEST(TransactionFaults, HiddenFaultOfAFileHeldForReading) {
    struct Case {
        uint32_t transaction;
        bool allOld;
    } cases[] = {{1, true}, {0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.transaction ? "transaction on" : "transaction off");
        PatchUnderTest patch(c.transaction ? "hidden on" : "hidden off");
        ASSERT_NO_FATAL_FAILURE(patch.Prepare({}));
        const uint32_t failuresBefore = FailedActionCount();
        RunState.TransactionOn = c.transaction;
        {
            Fault fault;
            ASSERT_NO_FATAL_FAILURE(HoldForReading(patch, fault, "core.dll"));
            RunProcessingPass(patch.host);
        }
        const std::string report = RunState.ReportText ? RunState.ReportText.get() : "";
        EXPECT_EQ(FailedActionCount() - failuresBefore, 1u);
        const Snapshot files = patch.Files();
        EXPECT_TRUE(ScratchFilesOf(files).empty());
        if (c.allOld) {
            EXPECT_EQ(Describe(files), Describe(PatchUnderTest::OldFiles()));
            EXPECT_EQ(Describe(patch.Registry()), Describe(PatchUnderTest::OldRegistry()));
            EXPECT_TRUE(ReportIs(report, ExpectedReport(patch, {Ending::RolledBack, kHeldEntry, false})));
            continue;
        }
        Snapshot expected = patch.NewFiles();
        expected["core.dll"] = kCoreOld;
        EXPECT_EQ(Describe(files), Describe(expected)) << "entry by entry: all but the held file are new";
        EXPECT_EQ(Describe(patch.Registry()), Describe(PatchUnderTest::NewRegistry()))
            << "entry by entry: the registry lines are written";
        std::vector<std::string> paragraphs = ExpectedReport(patch, {Ending::Committed, 0, false});
        paragraphs[kHeldEntry - 1] = std::string("Update file ") + patch.App("core.dll") + " FAILED";
        EXPECT_TRUE(ReportIs(report, paragraphs));
    }
}

// The commit renames each new version over its target and keeps the old one
// under a second name where the volume allows, or moves the old one aside
// first (a read-only target): either way an undone run leaves the old
// versions with their own attributes, and a committed one gives the new
// versions the attributes they take over (read-only is left behind).
TEST(TransactionFaults, AttributesSurviveTheCommitAndTheRollBack) {
    for (const bool rollBack : {true, false}) {
        SCOPED_TRACE(rollBack ? "rolled back" : "committed");
        PatchUnderTest patch(rollBack ? "attributes back" : "attributes on");
        PatchOptions options;
        options.failingRegistryLine = rollBack;
        ASSERT_NO_FATAL_FAILURE(patch.Prepare(options));
        ASSERT_TRUE(SetFileAttributesA(patch.App("lib.dll").c_str(), FILE_ATTRIBUTE_HIDDEN));
        ASSERT_TRUE(SetFileAttributesA(patch.App("data.bin").c_str(), FILE_ATTRIBUTE_READONLY));
        RunState.TransactionOn = 1;
        RunProcessingPass(patch.host);

        const DWORD lib = GetFileAttributesA(patch.App("lib.dll").c_str());
        const DWORD data = GetFileAttributesA(patch.App("data.bin").c_str());
        SetFileAttributesA(patch.App("lib.dll").c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(patch.App("data.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
        const Snapshot files = patch.Files();
        EXPECT_TRUE(ScratchFilesOf(files).empty());
        EXPECT_EQ(Describe(files), Describe(rollBack ? PatchUnderTest::OldFiles() : patch.NewFiles()));
        ASSERT_NE(lib, INVALID_FILE_ATTRIBUTES);
        ASSERT_NE(data, INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(lib & FILE_ATTRIBUTE_HIDDEN) << "lib.dll lost its hidden attribute";
        EXPECT_EQ((data & FILE_ATTRIBUTE_READONLY) != 0, rollBack) << "data.bin's read-only attribute";
    }
}
