// What the transaction costs: the processing pass run plainly and as one
// transaction, alternately, on the same patch in the same run:
//   many small files  2,000 files of 4 KB in one folder, each updated from
//                     an XOR delta;
//   one big file      one 256 MiB file updated from an XOR delta;
//   for comparison    the same small files spread over folders of 100.
// Before every pass the old versions are written again and flushed, and the
// check accepts them, outside the timed region; only RunProcessingPass is
// timed. After every pass each target must hold its new version, the report
// must say so for every entry, and neither a scratch file beside the targets
// nor a journal (the machine's or the user's) may be left.
// Goal: transaction / plain <= 1.15 for both; the ratio of the best and that
// of the medians are printed (the best is the steadier on a shared machine).
// The host's progress calls split each pass (medians): "entries" runs from
// the first entry to the last one's start, "end" from there to the end of
// the pass (the last entry, and for the transaction its journal, commit and
// clearing up).
//
//   transaction_bench [runs [count [MiB [per folder]]]]
//       (default: 5 runs, 2000 files, 256 MiB, 100 files per folder; a count
//       of 0 leaves a case out)
//   bench/win/pinned.sh build/win64/bench/transaction_bench.exe 5
//       the same, with the program and its Wine server on one processor
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "actions/ProcessingPass.h"
#include "core/RunState.h"
#include "script/FileCrc32.h"
#include "script/Verification.h"
#include "support/PassSetup.h"

namespace {

constexpr std::size_t kSmallFileSize = 4096;
constexpr DWORD kScriptAgeMs = 3000;

// Written and flushed: an installed file is on the disk, and a flush left
// pending from here would be paid by the pass timed next.
bool PutFile(const std::string& path, const std::vector<unsigned char>& data) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    BOOL ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr) && FlushFileBuffers(h);
    CloseHandle(h);
    return ok && put == data.size();
}

bool FlushFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const BOOL ok = FlushFileBuffers(h);
    CloseHandle(h);
    return ok != 0;
}

unsigned long CrcOf(const std::vector<unsigned char>& data) { return Crc32Of(std::string(data.begin(), data.end())); }

std::vector<std::string> FilesMatching(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(pattern.c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    return names;
}

// Removes a folder and the files and folders in it.
void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(folder + name + "\\");
                continue;
            }
            SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

// The journals the transaction may have left: the machine's folder and the
// user's, where a run keeps its journal.
std::vector<std::string> JournalsLeft() {
    std::vector<std::string> left;
    for (int csidl : {CSIDL_COMMON_APPDATA, CSIDL_LOCAL_APPDATA}) {
        char folder[MAX_PATH + 1] = {};
        if (!SHGetSpecialFolderPathA(nullptr, folder, csidl, FALSE)) continue;
        const std::string journals = std::string(folder) + "\\Zuli\\Transactions\\";
        for (const std::string& name : FilesMatching(journals + "*")) left.push_back(journals + name);
    }
    return left;
}

// One patch: the working folder with Setup.ini and the deltas Proc1..ProcN,
// and the application folder with the N targets, all in it or `perFolder`
// in each of its subfolders. Every target is updated by an XOR delta; the
// script carries each old version's CRC.
class XorPatch {
public:
    // `count` files of `size` bytes; big ones are written a megabyte at a
    // time and never held in memory.
    XorPatch(const std::string& root, uint32_t count, uint64_t size, uint32_t perFolder = 0)
        : count_(count), size_(size), perFolder_(perFolder) {
        work_ = root + "work\\";
        app_ = root + "app\\";
        RemoveFolder(work_);
        RemoveFolder(app_);
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA(work_.c_str(), nullptr);
        CreateDirectoryA(app_.c_str(), nullptr);
        for (uint32_t n = 1; n <= count; ++n) {
            CreateDirectoryA(Folder(n).c_str(), nullptr);
            if (Small()) {
                std::vector<unsigned char> old = Bytes(size, n);
                std::vector<unsigned char> delta = Bytes(size, n + 0x10000u);
                std::vector<unsigned char> updated = old;
                for (std::size_t i = 0; i < updated.size(); ++i) updated[i] ^= delta[i];
                PutFile(Delta(n), delta);
                crcOld_.push_back(CrcOf(old));
                crcNew_.push_back(CrcOf(updated));
                old_.push_back(std::move(old));
            } else {
                WriteBigFile(Target(n), size, n);
                WriteBigFile(Delta(n), size, n + 0x10000u);
                FlushFile(Delta(n));
                crcOld_.push_back(FileCrc32(Target(n).c_str()));
                crcNew_.push_back(XorCrc(Target(n), Delta(n)));
            }
        }
        WriteScript();
    }
    ~XorPatch() {
        RemoveFolder(work_);
        RemoveFolder(app_);
    }

    const std::string& Work() const { return work_; }
    uint32_t Count() const { return count_; }
    std::string Target(uint32_t n) const { return Folder(n) + "file" + std::to_string(n) + ".dat"; }

    // Scratch files left in any folder of the targets.
    std::vector<std::string> ScratchLeft() const {
        std::vector<std::string> left;
        for (uint32_t n = 1; n <= count_; ++n) {
            if (n > 1 && Folder(n) == Folder(n - 1)) continue;
            for (const std::string& name : FilesMatching(Folder(n) + "QVR*.tmp")) left.push_back(Folder(n) + name);
        }
        return left;
    }

    // The old versions again, on the disk, as an installed application
    // keeps them.
    bool RestoreOldVersions() const {
        bool ok = true;
        for (uint32_t n = 1; n <= count_; ++n) {
            if (Small()) {
                ok = PutFile(Target(n), old_[n - 1]) && ok;
            } else {
                ok = WriteBigFile(Target(n), size_, n) && FlushFile(Target(n)) && ok;
                WarmFile(Target(n));
            }
        }
        return ok;
    }

    // How many targets hold their new version.
    uint32_t UpdatedTargets() const {
        uint32_t updated = 0;
        for (uint32_t n = 1; n <= count_; ++n)
            if (FileCrc32(Target(n).c_str()) == crcNew_[n - 1]) ++updated;
        return updated;
    }

    // Wine reads a profile file afresh at every call for about two seconds
    // after it was written; in the wizard the script is older than that.
    void LetScriptAge() const { Sleep(kScriptAgeMs); }

private:
    bool Small() const { return size_ <= (1u << 20); }
    std::string Folder(uint32_t n) const {
        return perFolder_ ? app_ + "d" + std::to_string((n - 1) / perFolder_) + "\\" : app_;
    }
    std::string Delta(uint32_t n) const { return work_ + "Proc" + std::to_string(n); }

    // The CRC of the new version, from the two files a megabyte at a time.
    static unsigned long XorCrc(const std::string& oldPath, const std::string& deltaPath) {
        HANDLE a = CreateFileA(oldPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        HANDLE b = CreateFileA(deltaPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        std::vector<unsigned char> x(1u << 20), y(1u << 20);
        unsigned long crc = 0xFFFFFFFFul;
        DWORD gotA = 0, gotB = 0;
        while (ReadFile(a, x.data(), static_cast<DWORD>(x.size()), &gotA, nullptr) && gotA &&
               ReadFile(b, y.data(), static_cast<DWORD>(y.size()), &gotB, nullptr) && gotB == gotA) {
            for (DWORD i = 0; i < gotA; ++i) {
                crc ^= static_cast<unsigned char>(x[i] ^ y[i]);
                for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320ul & (0ul - (crc & 1ul)));
            }
        }
        CloseHandle(a);
        CloseHandle(b);
        return (crc ^ 0xFFFFFFFFul) & 0xFFFFFFFFul;
    }

    void WriteScript() const {
        std::string text = "[Setup]\r\nProcCount=" + std::to_string(count_) + "\r\n";
        for (uint32_t n = 1; n <= count_; ++n) {
            const std::string folder = Folder(n).substr(0, Folder(n).size() - 1);
            const unsigned long crc = crcOld_[n - 1];
            text += "[Proc" + std::to_string(n) + "]\r\nFILE=file" + std::to_string(n) + ".dat\r\nDir=" + folder +
                    "\r\nAct=2\r\nCRC=" + std::to_string(static_cast<int32_t>(static_cast<uint32_t>(crc))) + "\r\n";
        }
        PutFile(work_ + "Setup.ini", std::vector<unsigned char>(text.begin(), text.end()));
    }

    uint32_t count_;
    uint64_t size_;
    uint32_t perFolder_;
    std::string work_;
    std::string app_;
    std::vector<std::vector<unsigned char>> old_;
    std::vector<unsigned long> crcOld_;
    std::vector<unsigned long> crcNew_;
};

// The fake host, with the time of its progress calls: the pass begins, the
// last entry starts, the pass ends its progress.
class TimingHost : public FakeHost {
public:
    double begun = 0, lastEntry = 0, ended = 0;
    void BeginProgress(uint32_t entries) override {
        FakeHost::BeginProgress(entries);
        begun = lastEntry = Seconds();
    }
    void ShowProgress(uint32_t entry) override {
        FakeHost::ShowProgress(entry);
        if (entry == range) lastEntry = Seconds();
    }
    void EndProgress() override {
        ended = Seconds();
        FakeHost::EndProgress();
    }
};

struct Phases {
    std::vector<double> entries;
    std::vector<double> end;
};

struct Times {
    std::vector<double> plain;
    std::vector<double> transaction;
    Phases plainPhases;
    Phases transactionPhases;
    bool ok = true;
};

double Best(const std::vector<double>& t) { return t.empty() ? 0 : *std::min_element(t.begin(), t.end()); }

double Median(std::vector<double> t) {
    if (t.empty()) return 0;
    std::sort(t.begin(), t.end());
    const std::size_t m = t.size() / 2;
    return t.size() % 2 ? t[m] : (t[m - 1] + t[m]) / 2;
}

uint32_t ReportedDone(const std::string& report) {
    uint32_t lines = 0;
    for (std::size_t at = report.find(" OK\r\n"); at != std::string::npos; at = report.find(" OK\r\n", at + 1)) ++lines;
    return lines;
}

// One timed pass, plain or as a transaction, on freshly restored old
// versions; false when it did not leave exactly the new versions behind.
bool TimedPass(const XorPatch& patch, TimingHost& host, bool transaction, double* seconds, Phases* phases) {
    if (!patch.RestoreOldVersions()) {
        std::printf("  COULD NOT WRITE THE OLD VERSIONS\n");
        return false;
    }
    RunState.ReportText.reset();
    RunState.ErrorText.reset();
    if (VerifyEntries(VerifyMode::Checking, host) != 1 || RunState.EntryCount != patch.Count()) {
        std::printf("  CHECK FAILED: %s\n", RunState.ErrorText ? RunState.ErrorText.get() : "");
        return false;
    }
    RunState.ReportText.reset();
    RunState.TransactionOn = transaction ? 1 : 0;
    OutputDebugStringA(transaction ? "bench: transaction" : "bench: plain");
    const double t = Seconds();
    RunProcessingPass(host);
    *seconds = Seconds() - t;
    OutputDebugStringA("bench: end of pass");
    phases->entries.push_back(host.lastEntry - host.begun);
    phases->end.push_back(host.ended - host.lastEntry);
    RunState.TransactionOn = 0;

    bool ok = true;
    const char* mode = transaction ? "transaction" : "plain";
    const uint32_t done = ReportedDone(RunState.ReportText ? RunState.ReportText.get() : "");
    if (done != patch.Count()) {
        std::printf("  %s: REPORTED %u OF %u ENTRIES AS DONE\n", mode, done, patch.Count());
        ok = false;
    }
    const uint32_t updated = patch.UpdatedTargets();
    if (updated != patch.Count()) {
        std::printf("  %s: %u OF %u TARGETS HOLD THEIR NEW VERSION\n", mode, updated, patch.Count());
        ok = false;
    }
    const std::vector<std::string> scratch = patch.ScratchLeft();
    if (!scratch.empty()) {
        std::printf("  %s: %u SCRATCH FILES LEFT, e.g. %s\n", mode, static_cast<unsigned>(scratch.size()),
                    scratch.front().c_str());
        ok = false;
    }
    for (const std::string& journal : JournalsLeft()) {
        std::printf("  %s: JOURNAL LEFT: %s\n", mode, journal.c_str());
        ok = false;
    }
    return ok;
}

Times Measure(const XorPatch& patch, int runs) {
    Times times;
    PassState state(patch.Work());
    TimingHost host;
    RunState.IsNT = 1;
    patch.LetScriptAge();
    for (int run = 0; run < runs && times.ok; ++run) {
        // Alternate which mode goes first, so that neither always meets the
        // disk just after the other's writes.
        for (int k = 0; k < 2 && times.ok; ++k) {
            const bool transaction = (run + k) % 2 == 1;
            double seconds = 0;
            times.ok = TimedPass(patch, host, transaction, &seconds,
                                 transaction ? &times.transactionPhases : &times.plainPhases);
            (transaction ? times.transaction : times.plain).push_back(seconds);
        }
    }
    return times;
}

void Print(const char* what, const Times& t, double unit, const char* unitName) {
    const double bestPlain = Best(t.plain), bestTransaction = Best(t.transaction);
    const double medianPlain = Median(t.plain), medianTransaction = Median(t.transaction);
    std::printf("  %-24s plain %9.3f %s best, %9.3f median | transaction %9.3f best, %9.3f median |"
                " ratio %.3f best, %.3f median\n",
                what, bestPlain * unit, unitName, medianPlain * unit, bestTransaction * unit, medianTransaction * unit,
                bestTransaction / bestPlain, medianTransaction / medianPlain);
    std::printf("    phases (median s): plain entries %.3f, end %.3f; transaction entries %.3f, end %.3f\n",
                Median(t.plainPhases.entries), Median(t.plainPhases.end), Median(t.transactionPhases.entries),
                Median(t.transactionPhases.end));
    std::printf("    runs (s): plain");
    for (double s : t.plain) std::printf(" %.3f", s);
    std::printf("; transaction");
    for (double s : t.transaction) std::printf(" %.3f", s);
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    if (runs < 1) runs = 1;
    const uint32_t count = argc > 2 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 2000;
    const uint64_t mib = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 256;
    const uint32_t perFolder = argc > 4 ? static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10)) : 100;

    DWORD_PTR processMask = 0, systemMask = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask) && (processMask & (processMask - 1)))
        std::printf("NOTE: not pinned to one processor; run through bench/win/pinned.sh for steady figures\n");
    const std::vector<std::string> stale = JournalsLeft();
    if (!stale.empty()) {
        std::printf("A JOURNAL IS LEFT FROM BEFORE: %s\n", stale.front().c_str());
        return 1;
    }

    const std::string root = BenchFolder() + "transaction\\";
    bool ok = true;
    std::printf("Processing pass, plain and as one transaction, %d runs each, XOR delta updates\n", runs);
    if (count > 0) {
        XorPatch patch(root, count, kSmallFileSize);
        const Times t = Measure(patch, runs);
        ok = ok && t.ok;
        char what[64];
        std::snprintf(what, sizeof what, "%u files of 4 KB", count);
        Print(what, t, 1000.0 / count, "ms/entry");
    }
    if (count > 0 && perFolder > 0) {
        XorPatch patch(root, count, kSmallFileSize, perFolder);
        const Times t = Measure(patch, runs);
        ok = ok && t.ok;
        char what[64];
        std::snprintf(what, sizeof what, "%u files, %u a folder", count, perFolder);
        Print(what, t, 1000.0 / count, "ms/entry");
    }
    if (mib > 0) {
        XorPatch patch(root, 1, mib << 20);
        const Times t = Measure(patch, runs);
        ok = ok && t.ok;
        char what[64];
        std::snprintf(what, sizeof what, "one file of %llu MiB", static_cast<unsigned long long>(mib));
        Print(what, t, 1.0, "s");
    }
    RemoveDirectoryA(root.c_str());
    std::printf("  goal: ratio transaction / plain <= 1.15\n");
    if (!ok) std::printf("  A PASS FAILED\n");
    return ok ? 0 : 1;
}
