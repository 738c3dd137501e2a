// A patch built as one transaction, killed from outside in the middle of its
// commit, again and again at a different step each time: the next start of
// the patch finds the journal the killed run left, and the application ends
// exactly as it was (rolled back) or, when the kill came after every step
// was committed, exactly new (finished); never a mix, never a scratch file
// left. A normal run afterwards patches it as if nothing had happened.
//
// The kill points come from a seeded generator, printed so that a failing
// round can be repeated (ZULI_TX_KILL_SEED, ZULI_TX_KILL_ROUNDS). The run is
// watched through states only: the journal whole on the disk, then the k-th
// target of the plan changed (or stepped aside), the first registry line
// applied, or the journal marked committed.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/neutral/TransactionPlan.h"
#include "harness/PatchEnvironment.h"
#include "harness/UnattendedRun.h"
#include "support/TestFiles.h"

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
std::string NoSlash(const std::string& folder) { return folder.substr(0, folder.size() - 1); }
std::string Builder() { return std::string(ZULI_DIST_DIR_WINE) + "/zulibuild.exe"; }
std::string Runtime() { return std::string(ZULI_DIST_DIR_WINE) + "/zulirt.exe"; }

unsigned EnvironmentNumber(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

// ---------------------------------------------------------------------------
// The application's two releases: files by relative path, and folders.

struct Tree {
    std::map<std::string, std::string> files;
    std::set<std::string> folders;  // relative, with a trailing backslash
};

std::string RandomBytes(std::mt19937& random, std::size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

constexpr int kInPlaceUpdates = 120;  // a few bytes changed, a few appended: an XOR delta
constexpr int kInsertUpdates = 120;   // bytes inserted in the middle: a binary delta
constexpr int kAdded = 30;
constexpr int kRemoved = 29;
constexpr int kTargets = kInPlaceUpdates + kInsertUpdates + kAdded + kRemoved + 1;  // + the INI file

// Every changed file changes its size, so that a target's state can be told
// from its size alone, without opening it (an open handle could get in the
// way of the run's renames).
void MakeReleases(Tree& old, Tree& now) {
    std::mt19937 random(7);  // the content is the same every time; only the kill points vary
    for (const char* folder : {"lib\\", "lib\\part0\\", "lib\\part1\\", "lib\\part2\\", "lib\\part3\\"}) {
        old.folders.insert(folder);
        now.folders.insert(folder);
    }
    now.folders.insert("plugins\\");
    for (const char* name : {"app.txt", "readme.txt"}) {
        old.files[name] = now.files[name] = std::string("unchanged: ") + name + "\r\n";
    }
    old.files["settings.ini"] = "[Main]\r\nVersion=1\r\nName=Demo\r\n";
    now.files["settings.ini"] = "[Main]\r\nVersion=2.5\r\nName=Demo\r\n";

    char name[64];
    for (int i = 0; i < kInPlaceUpdates + kInsertUpdates; ++i) {
        wsprintfA(name, "lib\\part%d\\f%03d.dat", i % 4, i);
        const std::string before = RandomBytes(random, 256 + random() % 256);
        std::string after = before;
        if (i < kInPlaceUpdates) {
            for (int n = 0; n < 6; ++n) after[random() % after.size()] ^= 0x5A;
            after += RandomBytes(random, 3);
        } else {
            after.insert(after.size() / 2, RandomBytes(random, 24));
        }
        old.files[name] = before;
        now.files[name] = after;
    }
    for (int i = 0; i < kAdded; ++i) {
        if (i < 20)
            wsprintfA(name, "plugins\\p%02d.dat", i);
        else
            wsprintfA(name, "lib\\part%d\\added%02d.dat", i % 4, i);
        now.files[name] = RandomBytes(random, 100 + random() % 200);
    }
    for (int i = 0; i < kRemoved; ++i) {
        wsprintfA(name, "lib\\part%d\\obsolete%02d.dat", i % 4, i);
        old.files[name] = RandomBytes(random, 100 + random() % 200);
    }
}

void WriteTree(const std::string& root, const Tree& tree) {
    CreateDirectoryA(root.c_str(), nullptr);
    for (const std::string& folder : tree.folders) CreateDirectoryA((root + folder).c_str(), nullptr);
    for (const auto& file : tree.files) WriteTestFile(root + file.first, file.second);
}

void ReadTree(const std::string& root, const std::string& relative, Tree& tree) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((root + relative + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            tree.folders.insert(relative + name + "\\");
            ReadTree(root, relative + name + "\\", tree);
        } else {
            tree.files[relative + name] = ReadTestFile(root + relative + name);
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

Tree TreeOnDisk(const std::string& root) {
    Tree tree;
    ReadTree(root, "", tree);
    return tree;
}

// What differs between the tree on the disk and `expected`, a line each (at
// most a dozen); empty when they are the same.
std::string Differences(const Tree& actual, const Tree& expected) {
    std::vector<std::string> lines;
    for (const auto& file : expected.files) {
        auto there = actual.files.find(file.first);
        if (there == actual.files.end())
            lines.push_back("missing " + file.first);
        else if (there->second != file.second)
            lines.push_back("differs " + file.first + " (" + std::to_string(there->second.size()) + " bytes, expected " +
                            std::to_string(file.second.size()) + ")");
    }
    for (const auto& file : actual.files)
        if (!expected.files.count(file.first)) lines.push_back("extra " + file.first);
    for (const std::string& folder : expected.folders)
        if (!actual.folders.count(folder)) lines.push_back("missing folder " + folder);
    for (const std::string& folder : actual.folders)
        if (!expected.folders.count(folder)) lines.push_back("extra folder " + folder);
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < 12; ++i) text += "  " + lines[i] + "\n";
    if (lines.size() > 12) text += "  ... " + std::to_string(lines.size()) + " differences in all\n";
    return text;
}

// Scratch files of the run ("QVR*.tmp"), anywhere in the tree.
std::vector<std::string> ScratchFilesIn(const Tree& tree) {
    std::vector<std::string> scratch;
    for (const auto& file : tree.files) {
        const std::size_t slash = file.first.rfind('\\');
        const std::string name = file.first.substr(slash == std::string::npos ? 0 : slash + 1);
        if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str(), 3, "QVR", 3) == CSTR_EQUAL)
            scratch.push_back(file.first);
    }
    return scratch;
}

// ---------------------------------------------------------------------------
// The registry lines: a key of this test's own, as both releases have it.

constexpr const char* kRegistryRoot = "Software\\ZuliTransactionKill";

const char* const kAddRegLines[] = {
    "HKCU,Software\\ZuliTransactionKill\\App,Version,1,4,2.0",
    "HKCU,Software\\ZuliTransactionKill\\App,Build,4,4,200",
    "HKCU,Software\\ZuliTransactionKill\\App,Added,1,4,new",
    "HKCU,Software\\ZuliTransactionKill\\Fresh\\Deep,Made,4,4,1",
};
const char* const kDelRegLines[] = {
    "HKCU,Software\\ZuliTransactionKill\\App,Stale",
    "HKCU,Software\\ZuliTransactionKill\\Obsolete,\"\"",
};

std::string Dword(uint32_t value) { return LittleEndian32(value); }
std::string Text(const char* text) { return std::string(text, lstrlenA(text) + 1); }

void WriteOldRegistry() {
    DeleteRegistryTree(HKEY_CURRENT_USER, kRegistryRoot);
    const std::string app = std::string(kRegistryRoot) + "\\App";
    SetRegistryBytes(HKEY_CURRENT_USER, app, "Version", REG_SZ, Text("1.0"));
    SetRegistryBytes(HKEY_CURRENT_USER, app, "Build", REG_DWORD, Dword(100));
    SetRegistryBytes(HKEY_CURRENT_USER, app, "Stale", REG_SZ, Text("old value"));
    SetRegistryBytes(HKEY_CURRENT_USER, std::string(kRegistryRoot) + "\\Obsolete", "Left", REG_SZ, Text("x"));
}

// The state the lines above make of the old one, written directly.
void WriteNewRegistry() {
    DeleteRegistryTree(HKEY_CURRENT_USER, kRegistryRoot);
    const std::string app = std::string(kRegistryRoot) + "\\App";
    SetRegistryBytes(HKEY_CURRENT_USER, app, "Version", REG_SZ, Text("2.0"));
    SetRegistryBytes(HKEY_CURRENT_USER, app, "Build", REG_DWORD, Dword(200));
    SetRegistryBytes(HKEY_CURRENT_USER, app, "Added", REG_SZ, Text("new"));
    SetRegistryBytes(HKEY_CURRENT_USER, std::string(kRegistryRoot) + "\\Fresh\\Deep", "Made", REG_DWORD, Dword(1));
}

void DescribeKey(HKEY root, const std::string& subkey, std::string& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    out += "[" + subkey + "]\n";
    std::map<std::string, std::string> values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::string data(size, '\0');
        nameSize = sizeof name;
        RegEnumValueA(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        char hex[4];
        std::string line = std::to_string(type) + ":";
        for (unsigned char c : data.substr(0, size)) {
            wsprintfA(hex, "%02x", c);
            line += hex;
        }
        values[name] = line;
    }
    for (const auto& value : values) out += value.first + "=" + value.second + "\n";
    std::set<std::string> children;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.insert(name);
    }
    RegCloseKey(key);
    for (const std::string& child : children) DescribeKey(root, subkey + "\\" + child, out);
}

// The test's key goes with the test, however it ends.
struct RegistryRootRemoval {
    ~RegistryRootRemoval() { DeleteRegistryTree(HKEY_CURRENT_USER, kRegistryRoot); }
};

// The first AddReg line has changed the version.
bool FirstRegistryLineApplied() {
    DWORD type = 0;
    std::string data;
    return ReadRegistryValue(HKEY_CURRENT_USER, std::string(kRegistryRoot) + "\\App", "Version", &type, &data) &&
           data == Text("2.0");
}

// The whole key tree as text: keys, values, types and data.
std::string RegistryState() {
    std::string text;
    DescribeKey(HKEY_CURRENT_USER, kRegistryRoot, text);
    return text;
}

// ---------------------------------------------------------------------------
// The journals, where the runtime keeps them.

std::vector<std::string> JournalFolders() {
    std::vector<std::string> folders;
    for (int csidl : {CSIDL_COMMON_APPDATA, CSIDL_LOCAL_APPDATA}) {
        char path[MAX_PATH] = {};
        if (SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) folders.push_back(std::string(path) + "\\Zuli\\Transactions\\");
    }
    return folders;
}

// Every journal file ("ZTJ*"), full paths.
std::vector<std::string> Journals() {
    std::vector<std::string> journals;
    for (const std::string& folder : JournalFolders()) {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + "ZTJ*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            journals.push_back(folder + found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return journals;
}

std::string Listed(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += " " + name;
    return text;
}

// A file's bytes, read while its run may still hold it open for writing;
// empty when it cannot be read.
std::string ReadShared(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    if (!bytes.empty() && !ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

bool IsWholeJournal(const std::string& bytes) {
    PlanReader plan;
    return plan.Open(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// A journal of a run in progress ("ZTJ*.tmp") that is whole on the disk:
// its path and bytes; false while there is none.
bool FindWholeJournal(std::string& path, std::string& bytes) {
    for (const std::string& journal : Journals()) {
        if (journal.size() < 4 || lstrcmpiA(journal.c_str() + journal.size() - 4, ".tmp") != 0) continue;
        std::string read = ReadShared(journal);
        if (!IsWholeJournal(read)) continue;
        path = journal;
        bytes = read;
        return true;
    }
    return false;
}

// What one step of the plan does to its file, and how the test sees that it
// has been done: an update or an addition puts the new file (of its new
// size) in place, a removal takes the file away.
struct WatchedStep {
    std::string target;
    std::string relative;
    enum { Update, Add, Remove } change;
    DWORD newSize;
};

bool StepDone(const WatchedStep& step) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    const bool exists = GetFileAttributesExA(step.target.c_str(), GetFileExInfoStandard, &data) != 0;
    switch (step.change) {
    case WatchedStep::Update: return exists && data.nFileSizeHigh == 0 && data.nFileSizeLow == step.newSize;
    case WatchedStep::Add: return exists;
    case WatchedStep::Remove: return !exists;
    }
    return false;
}

// The file steps of the journal's plan in the order the commit takes them;
// failures of the plan's form are test failures. `folderSteps` counts the
// folders the run created.
std::vector<WatchedStep> PlanSteps(const std::string& journal, const std::string& app, const Tree& now,
                                   int* folderSteps) {
    std::vector<WatchedStep> steps;
    *folderSteps = 0;
    PlanReader plan;
    if (!plan.Open(reinterpret_cast<const unsigned char*>(journal.data()), journal.size())) {
        ADD_FAILURE() << "the journal is not whole";
        return steps;
    }
    PlanStep step;
    for (uint32_t i = 0; i < plan.StepCount(); ++i) {
        if (!plan.NextStep(&step)) {
            ADD_FAILURE() << "step " << i << " of " << plan.StepCount() << " does not read";
            return steps;
        }
        const std::string target = step.target;
        if (target.size() <= app.size() ||
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, target.c_str(), static_cast<int>(app.size()),
                           app.c_str(), static_cast<int>(app.size())) != CSTR_EQUAL) {
            ADD_FAILURE() << "a step outside the application: " << target;
            continue;
        }
        const std::string relative = target.substr(app.size());
        if (step.kind == StepKind::CreatedFolder) {
            ++*folderSteps;
            continue;
        }
        if (step.kind == StepKind::StagingFolder) continue;
        if (step.kind != StepKind::Replace) {
            ADD_FAILURE() << "a step for the restart in a patch without any: " << target;
            continue;
        }
        WatchedStep watched{target, relative, WatchedStep::Update, 0};
        if (!step.staged) watched.change = WatchedStep::Remove;
        else if (!step.aside) watched.change = WatchedStep::Add;
        auto file = now.files.find(relative);
        if (watched.change != WatchedStep::Remove) {
            if (file == now.files.end()) {
                ADD_FAILURE() << "the plan makes a file the new release does not have: " << relative;
                continue;
            }
            watched.newSize = static_cast<DWORD>(file->second.size());
        } else if (file != now.files.end()) {
            ADD_FAILURE() << "the plan removes a file the new release has: " << relative;
        }
        steps.push_back(watched);
    }
    return steps;
}

// Every length of the journal short of whole is no journal at all (a write
// cut short there changed nothing yet); the whole one is.
void ExpectOnlyTheWholeJournalReads(const std::string& journal) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(journal.data());
    std::size_t accepted = 0, firstAccepted = 0;
    for (std::size_t length = 0; length < journal.size(); ++length) {
        PlanReader plan;
        if (plan.Open(bytes, length) && accepted++ == 0) firstAccepted = length;
    }
    EXPECT_EQ(accepted, 0u) << "journal of " << journal.size() << " bytes cut to " << firstAccepted
                            << " bytes reads as whole";
    PlanReader whole;
    EXPECT_TRUE(whole.Open(bytes, journal.size())) << "the whole journal does not read";
}

// ---------------------------------------------------------------------------
// The run that is killed.

constexpr DWORD kKilledExitCode = 0xDEAD;

class PatchProcess {
public:
    PatchProcess() = default;
    ~PatchProcess() {
        if (!process_) return;
        if (Running()) Kill();
        CloseHandle(process_);
    }
    PatchProcess(const PatchProcess&) = delete;
    PatchProcess& operator=(const PatchProcess&) = delete;

    bool Start(const std::string& commandLine) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!StartProcess(commandLine, std::string(), false, 0, startup, info)) return false;
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        return true;
    }
    bool Running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

    // Ends the run from outside and waits until the process is gone; its
    // exit code (kKilledExitCode when the kill ended it, not the run
    // itself), or -1 when it is still there after the bound.
    int Kill() {
        TerminateProcess(process_, kKilledExitCode);
        if (WaitForSingleObject(process_, 60000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return static_cast<int>(code);
    }

private:
    HANDLE process_ = nullptr;
};

// Looks at `state` again and again, giving up the processor between looks,
// until it holds or the run has ended. Closer than WaitUntil: the whole
// commit may take less time than one of its pauses.
template <typename State>
bool WatchClosely(State state, const PatchProcess& run, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!state()) {
        if (!run.Running() || GetTickCount() - start > timeoutMs) return false;
        SwitchToThread();
    }
    return true;
}

enum class KillPoint { AfterStep, InStep, AfterFiles, InRegistry, AfterCommit };

std::string KillPointText(KillPoint point, std::size_t k) {
    switch (point) {
    case KillPoint::AfterStep: return "after step " + std::to_string(k) + ",";
    case KillPoint::InStep: return "in step " + std::to_string(k) + ",";
    case KillPoint::AfterFiles: return "after the files,";
    case KillPoint::InRegistry: return "in the registry,";
    case KillPoint::AfterCommit: return "after the commit,";
    }
    return std::string();
}

// The recovery's word for `journal` in a run's log: "rolled back",
// "finished", "removed an incomplete journal", ...; empty when the log does
// not name it.
std::string RecoveryOf(const std::string& log, const std::string& journal) {
    const std::string name = journal.substr(journal.rfind('\\') + 1);
    const std::string lead = "Recovery of an interrupted run: ";
    for (std::size_t at = log.find(lead); at != std::string::npos; at = log.find(lead, at + 1)) {
        std::size_t end = log.find_first_of("\r\n", at);
        if (end == std::string::npos) end = log.size();
        const std::string line = log.substr(at, end - at);
        // ZTJxxxx.tmp or, once committed, ZTJxxxx.tmp.end.
        const std::size_t named = line.find("\\" + name);
        if (named == std::string::npos) continue;
        const std::size_t word = line.find(": ", named);
        return word == std::string::npos ? line : line.substr(word + 2);
    }
    return std::string();
}

int CountActs(const std::string& script, int act) {
    const int count = static_cast<int>(GetPrivateProfileIntA("Setup", "ProcCount", 0, script.c_str()));
    int found = 0;
    for (int n = 1; n <= count; ++n)
        if (static_cast<int>(GetPrivateProfileIntA(("Proc" + std::to_string(n)).c_str(), "Act", -1, script.c_str())) ==
            act)
            ++found;
    return found;
}

void WriteLines(const std::string& path, const char* const* lines, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += std::string(lines[i]) + "\r\n";
    WriteTestFile(path, text);
}

}  // namespace

TEST(TransactionKillE2e, AKillInTheCommitIsRolledBackOrFinishedByTheNextStart) {
    const unsigned seed = EnvironmentNumber("ZULI_TX_KILL_SEED", 20261210);
    const unsigned rounds = EnvironmentNumber("ZULI_TX_KILL_ROUNDS", 20);
    std::printf("kill points from seed %u, %u rounds (ZULI_TX_KILL_SEED, ZULI_TX_KILL_ROUNDS)\n", seed, rounds);
    std::fflush(stdout);
    std::mt19937 random(seed);
    const DWORD began = GetTickCount();

    Tree old, now;
    MakeReleases(old, now);
    for (const auto& file : old.files) {
        auto next = now.files.find(file.first);
        ASSERT_TRUE(next == now.files.end() || next->second == file.second ||
                    next->second.size() != file.second.size())
            << file.first << " changes without changing its size";
    }

    // The project as zulibuild diff makes it (Transaction=1 among its
    // settings), with the registry lines; then the patch.
    RemoveZuliWorkFolders();
    ScratchFolder work("transaction kill");
    const std::string oldRoot = work / "old\\", newRoot = work / "new\\", app = work / "app\\";
    const std::string nowhere = work / "no such folder";
    WriteTree(oldRoot, old);
    WriteTree(newRoot, now);
    WriteLines(work / "addreg.txt", kAddRegLines, sizeof kAddRegLines / sizeof kAddRegLines[0]);
    WriteLines(work / "delreg.txt", kDelRegLines, sizeof kDelRegLines / sizeof kDelRegLines[0]);
    const std::string project = work / "project";
    const std::string diff = Quoted(Builder()) + " diff " + Quoted(NoSlash(oldRoot)) + " " + Quoted(NoSlash(newRoot)) +
                             " " + Quoted(project) + " --delay none --addreg " + Quoted("@" + work / "addreg.txt") +
                             " --delreg " + Quoted("@" + work / "delreg.txt");
    std::string diffOutput;
    ASSERT_EQ(RunCaptured(diff, diffOutput), 0) << diff << "\n" << diffOutput;
    const std::string manifest = ReadTestFile(project + "\\patch.ini");
    ASSERT_NE(manifest.find("Transaction=1"), std::string::npos) << manifest;
    const std::string script = project + "\\Setup.ini";
    const int xorDelta = CountActs(script, 2), binary = CountActs(script, 8), added = CountActs(script, 1),
              removed = CountActs(script, 4), ini = CountActs(script, 5);
    std::printf("script: %d XOR delta, %d binary delta, %d added, %d removed, %d INI keys\n", xorDelta, binary, added,
                removed, ini);
    EXPECT_GE(xorDelta, kInPlaceUpdates / 2) << "mostly XOR delta updates";
    EXPECT_GE(binary, kInsertUpdates / 2) << "and binary delta updates";
    EXPECT_EQ(removed, kRemoved);
    EXPECT_EQ(ini, 1);
    EXPECT_EQ(xorDelta + binary + added + removed + ini, kTargets);
    const std::string patch = work / "patch.exe";
    ASSERT_EQ(RunProgram(Quoted(Builder()) + " " + Quoted(Runtime()) + " " + Quoted(project) + " " + Quoted(patch)), 0)
        << "the project diff made does not build";

    // A journal some earlier run left in this prefix would be recovered by
    // the first start below and blur what it says: any start clears it.
    RunUnattended(patch, "/quiet /dir=" + Quoted(nowhere));
    ASSERT_TRUE(Journals().empty()) << "journals left by an earlier run stay:" << Listed(Journals());
    RemoveZuliWorkFolders();

    RegistryRootRemoval registryRemoval;
    WriteNewRegistry();
    const std::string newRegistry = RegistryState();
    WriteOldRegistry();
    const std::string oldRegistry = RegistryState();
    ASSERT_NE(oldRegistry, newRegistry);

    const std::string appFolder = NoSlash(app);
    unsigned rolledBack = 0, finished = 0, over = 0, midStep = 0, registryTouched = 0;
    std::size_t fewestDone = kTargets, mostDone = 0;
    for (unsigned round = 1; round <= rounds && !HasFatalFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round) + " of seed " + std::to_string(seed));
        RemoveTree(app);
        WriteTree(app, old);
        WriteOldRegistry();
        ASSERT_TRUE(Journals().empty()) << Listed(Journals());
        const std::string killedLog = work / ("killed " + std::to_string(round) + ".log");
        const std::string recoveryLog = work / ("recovery " + std::to_string(round) + ".log");
        const std::string applyLog = work / ("apply " + std::to_string(round) + ".log");

        // Where this round's kill lands (after the state, a short spin of a
        // random length): mostly right after the k-th file step of the plan
        // is done (k = 0: as soon as the journal is whole); sometimes inside
        // an update's step, once its old version has stepped aside (or, when
        // that moment is missed, once the step is done); now and then after
        // the last file step, once the first registry line has been applied,
        // or once the journal says that every step is committed.
        const unsigned choice = random() % 10;
        const KillPoint point = choice == 0   ? KillPoint::AfterCommit
                                : choice == 1 ? KillPoint::InRegistry
                                : choice == 2 ? KillPoint::AfterFiles
                                : choice <= 4 ? KillPoint::InStep
                                              : KillPoint::AfterStep;
        const unsigned pick = random();
        const unsigned spin = random() % 400;

        PatchProcess run;
        ASSERT_TRUE(run.Start(Quoted(patch) + " /quiet /dir=" + Quoted(appFolder) + " /log=" + Quoted(killedLog)));
        std::string journalPath, journal;
        // Preparing 300 entries under Wine on a loaded machine: minutes at
        // the very most. Looked at every millisecond or so, for the commit
        // starts right after the journal is written.
        const DWORD start = GetTickCount();
        while (!FindWholeJournal(journalPath, journal) && run.Running() && GetTickCount() - start < 300000) Sleep(1);
        ASSERT_FALSE(journal.empty()) << "no whole journal before the run "
                                      << (run.Running() ? "took too long" : "ended") << ":\n"
                                      << ReadTestFile(killedLog);
        int folderSteps = 0;
        const std::vector<WatchedStep> steps = PlanSteps(journal, app, now, &folderSteps);
        ASSERT_EQ(steps.size(), static_cast<std::size_t>(kTargets)) << "file steps in the plan";
        EXPECT_EQ(folderSteps, 1) << "the new plug-in folder";

        std::vector<std::size_t> updates;
        for (std::size_t i = 0; i < steps.size(); ++i)
            if (steps[i].change == WatchedStep::Update) updates.push_back(i + 1);
        ASSERT_FALSE(updates.empty());
        std::size_t k = pick % (steps.size() + 1);
        if (point == KillPoint::InStep) k = updates[pick % updates.size()];
        if (point == KillPoint::AfterFiles || point == KillPoint::InRegistry) k = steps.size();
        if (point == KillPoint::AfterCommit) {
            WatchClosely([&] { return FileExists(journalPath + ".end"); }, run, 60000);
        } else if (point == KillPoint::InRegistry) {
            WatchClosely([&] { return FirstRegistryLineApplied(); }, run, 60000);
        } else if (point == KillPoint::InStep) {
            WatchClosely([&] { return !FileExists(steps[k - 1].target) || StepDone(steps[k - 1]); }, run, 60000);
        } else if (k > 0) {
            WatchClosely([&] { return StepDone(steps[k - 1]); }, run, 60000);
        }
        for (unsigned i = 0; i < spin; ++i) SwitchToThread();
        const int killedCode = run.Kill();
        ASSERT_NE(killedCode, -1) << "the killed run is still there";
        const bool killed = killedCode == static_cast<int>(kKilledExitCode);

        // How far the run had come.
        std::size_t done = 0, aside = 0;
        for (const WatchedStep& step : steps) {
            done += StepDone(step) ? 1 : 0;
            aside += step.change == WatchedStep::Update && !FileExists(step.target) ? 1 : 0;
        }
        const std::string registryAtKill = RegistryState();
        const char* registryWord = registryAtKill == oldRegistry   ? "old"
                                   : registryAtKill == newRegistry ? "new"
                                                                   : "partly changed";
        std::string left = ReadShared(journalPath);
        if (left.empty()) left = ReadShared(journalPath + ".end");
        if (!left.empty()) {
            EXPECT_EQ(left, journal) << "the journal changed after it was written";
            ExpectOnlyTheWholeJournalReads(left);
        }
        RemoveZuliWorkFolders();  // the killed run never got to clear up its own

        // The next start recovers first; then its check of a folder that
        // does not exist fails, and it changes nothing more.
        const UnattendedResult recovery =
            RunUnattended(patch, "/quiet /dir=" + Quoted(nowhere) + " /log=" + Quoted(recoveryLog));
        const std::string recoveryText = ReadTestFile(recoveryLog);
        EXPECT_EQ(recovery.exitCode, 1603) << recoveryText;
        const std::string outcome = RecoveryOf(recoveryText, journalPath);
        const Tree& expected = outcome == "rolled back" ? old : now;
        const std::string& expectedRegistry = outcome == "rolled back" ? oldRegistry : newRegistry;
        std::printf("round %2u: kill %-20s %3zu of %d file steps done, %zu aside, registry %-14s -> %s\n", round,
                    KillPointText(point, k).c_str(), done, kTargets, aside, registryWord,
                    !killed ? "the run had ended" : outcome.empty() ? "no journal left" : outcome.c_str());
        std::fflush(stdout);
        if (outcome == "rolled back") {
            ++rolledBack;
            fewestDone = done < fewestDone ? done : fewestDone;
            mostDone = done > mostDone ? done : mostDone;
            midStep += aside ? 1 : 0;
            registryTouched += registryAtKill != oldRegistry ? 1 : 0;
        } else if (outcome == "finished") {
            ++finished;
        } else {
            // Nothing to recover: the run had removed its journal, so every
            // step was done and cleared up.
            EXPECT_EQ(outcome, "") << recoveryText;
            EXPECT_TRUE(left.empty()) << "a journal was there, and its recovery is not logged:\n" << recoveryText;
            ++over;
        }
        const Tree recovered = TreeOnDisk(app);
        EXPECT_EQ(Differences(recovered, expected), "")
            << "after the kill (" << (outcome.empty() ? "nothing recovered" : outcome) << ") the application is not all "
            << (&expected == &old ? "old" : "new") << ":\n"
            << recoveryText << (outcome.empty() ? "\nThe killed run's log:\n" + ReadTestFile(killedLog) : "");
        EXPECT_TRUE(ScratchFilesIn(recovered).empty()) << "scratch files left:" << Listed(ScratchFilesIn(recovered));
        EXPECT_EQ(RegistryState(), expectedRegistry);
        EXPECT_TRUE(Journals().empty()) << "journals left:" << Listed(Journals());
        EXPECT_TRUE(ZuliTmpEntries(TemporaryFolder()).empty()) << "the recovering run's working folder stays";

        // And the patch then works as ever. On an application that is new
        // already its DelReg lines would find nothing to delete, which fails
        // them by design: it starts from the old release again.
        if (&expected != &old) {
            RemoveTree(app);
            WriteTree(app, old);
            WriteOldRegistry();
        }
        const UnattendedResult apply =
            RunUnattended(patch, "/quiet /dir=" + Quoted(appFolder) + " /log=" + Quoted(applyLog));
        EXPECT_EQ(apply.exitCode, 0) << ReadTestFile(applyLog);
        const Tree patched = TreeOnDisk(app);
        EXPECT_EQ(Differences(patched, now), "") << "after the normal run the application is not all new:\n"
                                                 << ReadTestFile(applyLog);
        EXPECT_EQ(RegistryState(), newRegistry);
        EXPECT_TRUE(Journals().empty()) << "journals left:" << Listed(Journals());
        EXPECT_TRUE(ZuliTmpEntries(TemporaryFolder()).empty()) << "the working folder stays";
    }

    std::printf("%u rounds: %u rolled back (%zu to %zu file steps done at the kill; %u inside a step, %u with the "
                "registry changed), %u finished, %u over before the kill; %lu s\n",
                rounds, rolledBack, rolledBack ? fewestDone : 0, mostDone, midStep, registryTouched, finished, over,
                static_cast<unsigned long>((GetTickCount() - began) / 1000));
    EXPECT_GT(rolledBack * 2, rounds) << "most kills land in the commit and are rolled back";
}
