// The check and the processing pass over many small entries, each updating
// one 4 KB file from an XOR delta, against the floors measured in the same
// run on the same script and folder:
//   check floor      = per entry, the profile reads the check needs (FILE,
//                      Dir, Sub, Act, NewCRC, CRC) plus opening, reading and
//                      closing the entry's file with plain calls;
//   processing floor = per entry, the profile reads the pass needs (Act,
//                      CRC, NewCRC, Delay) plus making a scratch file beside
//                      the target, writing it and renaming it over the target.
// Goals: each pass costs at most 2 x its floor per entry, and the cost per
// entry at the largest count is within 1.25 x of that at the smallest.
// For information, the processing floor is also measured with the scratch
// file flushed to the disk before the rename, as the runtime does it.
//
//   many_entries_bench [runs [count ...]]     (default: 3 runs of 250 1000 2000)
//   bench/win/pinned.sh build/win64/bench/many_entries_bench.exe 3 250 1000 2000
//       the same, with the program and its Wine server on one processor
//
// The passes run in this process, as the wizard runs them, under a visible
// window that carries the progress bar. Each figure is the best of the runs.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "actions/ProcessingPass.h"
#include "core/RunState.h"
#include "script/Verification.h"
#include "support/PassSetup.h"
#include "wizard/WizardHost.h"

namespace {

constexpr std::size_t kFileSize = 4096;
constexpr DWORD kScriptAgeMs = 3000;

bool PutFile(const std::string& path, const std::vector<unsigned char>& data) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    BOOL ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
    CloseHandle(h);
    return ok && put == data.size();
}

std::vector<unsigned char> GetFile(const std::string& path) {
    std::vector<unsigned char> out(kFileSize * 2);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    if (h == INVALID_HANDLE_VALUE || !ReadFile(h, out.data(), static_cast<DWORD>(out.size()), &got, nullptr)) got = 0;
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    out.resize(got);
    return out;
}

// Removes a folder and the files in it (no subfolders are made here).
void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + found.cFileName).c_str());
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

// A visible stand-in for the wizard: a window with the progress bar (1024)
// and the folder box (1015) that the wizard's host addresses.
class BenchWindow {
public:
    BenchWindow() {
        InitCommonControls();
        HINSTANCE instance = GetModuleHandleA(nullptr);
        window_ = CreateWindowExA(0, "STATIC", "many entries", WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 400, 120,
                                  nullptr, nullptr, instance, nullptr);
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 300, 20, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(1015)), instance, nullptr);
        CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 50, 300, 20, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(1024)), instance, nullptr);
        RunState.DialogWindow = window_;
        Pump();
    }
    ~BenchWindow() {
        RunState.DialogWindow = nullptr;
        RunState.ProgressBarWindow = nullptr;
        DestroyWindow(window_);
    }
    // Lets the window paint between passes, as the wizard does between pages.
    void Pump() const {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

private:
    HWND window_ = nullptr;
};

// One patch of `count` entries: the working folder with Setup.ini and the
// deltas Proc1..ProcN, and the application folder with file1..fileN.
class ManyEntries {
public:
    ManyEntries(const std::string& root, uint32_t count) : count_(count) {
        work_ = root + "work\\";
        app_ = root + "app\\";
        RemoveFolder(work_);
        RemoveFolder(app_);
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA(work_.c_str(), nullptr);
        CreateDirectoryA(app_.c_str(), nullptr);
        for (uint32_t n = 1; n <= count; ++n) {
            std::vector<unsigned char> old = Bytes(kFileSize, n);
            std::vector<unsigned char> delta = Bytes(kFileSize, n + 0x10000u);
            std::vector<unsigned char> updated = old;
            for (std::size_t i = 0; i < kFileSize; ++i) updated[i] ^= delta[i];
            PutFile(Target(n), old);
            PutFile(work_ + "Proc" + std::to_string(n), delta);
            crcOld_.push_back(Crc32Of(std::string(old.begin(), old.end())));
            crcNew_.push_back(Crc32Of(std::string(updated.begin(), updated.end())));
        }
        WriteScript();
    }
    ~ManyEntries() {
        RemoveFolder(work_);
        RemoveFolder(app_);
    }

    const std::string& Work() const { return work_; }
    std::string Script() const { return work_ + "Setup.ini"; }
    std::string Target(uint32_t n) const { return app_ + "file" + std::to_string(n) + ".dat"; }
    uint32_t Count() const { return count_; }

    // The script expects the files as they are now: the old versions before
    // a processing pass, the new ones after it (XOR twice gives the old back).
    void Flip() {
        updated_ = !updated_;
        WriteScript();
    }

    // Wine reads a profile file afresh at every call for about two seconds
    // after it was written (a change within the file time's resolution could
    // go unseen otherwise). In the wizard the script is seconds old when the
    // check starts; so is it here, for the floors and the passes alike.
    void LetScriptAge() const { Sleep(kScriptAgeMs); }

private:
    void WriteScript() const {
        std::string text = "[Setup]\r\nProcCount=" + std::to_string(count_) + "\r\n";
        const std::string folder = app_.substr(0, app_.size() - 1);
        for (uint32_t n = 1; n <= count_; ++n) {
            const unsigned long crc = (updated_ ? crcNew_ : crcOld_)[n - 1];
            text += "[Proc" + std::to_string(n) + "]\r\nFILE=file" + std::to_string(n) + ".dat\r\nDir=" + folder +
                    "\r\nAct=2\r\nCRC=" + std::to_string(static_cast<int32_t>(static_cast<uint32_t>(crc))) + "\r\n";
        }
        PutFile(Script(), std::vector<unsigned char>(text.begin(), text.end()));
    }

    uint32_t count_;
    bool updated_ = false;
    std::string work_;
    std::string app_;
    std::vector<unsigned long> crcOld_;
    std::vector<unsigned long> crcNew_;
};

DWORD ReadKey(const char* section, const char* key, const std::string& script) {
    char value[512];
    return GetPrivateProfileStringA(section, key, "", value, sizeof value, script.c_str());
}

// The check's floor over all entries: its profile reads and a plain read of
// each file.
void CheckFloor(const ManyEntries& patch) {
    const std::string script = patch.Script();
    std::vector<unsigned char> buffer(kFileSize * 2);
    ReadKey("Setup", "ProcCount", script);
    for (uint32_t n = 1; n <= patch.Count(); ++n) {
        const std::string section = "Proc" + std::to_string(n);
        for (const char* key : {"FILE", "Dir", "Sub", "Act", "NewCRC", "CRC"}) ReadKey(section.c_str(), key, script);
        HANDLE h = CreateFileA(patch.Target(n).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                               nullptr);
        DWORD got = 0;
        ReadFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
        CloseHandle(h);
    }
}

// The processing pass's floor over all entries: its profile reads, then a
// scratch file beside the target written with the target's content (so the
// folder stays as it was) and renamed over the target.
void ProcessingFloor(const ManyEntries& patch, const std::vector<std::vector<unsigned char>>& contents, bool flush) {
    const std::string script = patch.Script();
    for (uint32_t n = 1; n <= patch.Count(); ++n) {
        const std::string section = "Proc" + std::to_string(n);
        for (const char* key : {"Act", "CRC", "NewCRC", "Delay"}) ReadKey(section.c_str(), key, script);
        const std::string target = patch.Target(n);
        const std::string scratch = target.substr(0, target.rfind('\\') + 1) + "QVR0.TMP";
        HANDLE h = CreateFileA(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD put = 0;
        WriteFile(h, contents[n - 1].data(), static_cast<DWORD>(contents[n - 1].size()), &put, nullptr);
        if (flush) FlushFileBuffers(h);
        CloseHandle(h);
        MoveFileExA(scratch.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

struct Figures {
    double check = 1e9, checkFloor = 1e9, processing = 1e9, processingFloor = 1e9, flushedFloor = 1e9;
    bool ok = true;
};

void Keep(double* best, double t) {
    if (t < *best) *best = t;
}

Figures Measure(const std::string& root, uint32_t count, int runs, const BenchWindow& window) {
    Figures f;
    ManyEntries patch(root, count);
    PassState state(patch.Work());
    WizardHost host;  // the wizard's own progress, on the stand-in's bar
    RunState.IsNT = 1;
    for (int run = 0; run < runs; ++run) {
        patch.LetScriptAge();
        // The markers delimit the phases in a WINEDEBUG=+debugstr trace.
        OutputDebugStringA("bench: check floor");
        double t = Seconds();
        CheckFloor(patch);
        Keep(&f.checkFloor, Seconds() - t);

        OutputDebugStringA("bench: check");
        t = Seconds();
        const int verified = VerifyEntries(VerifyMode::Checking, host);
        Keep(&f.check, Seconds() - t);
        if (verified != 1 || RunState.EntryCount != count) {
            std::printf("  CHECK FAILED: %s\n", RunState.ErrorText ? RunState.ErrorText.get() : "");
            f.ok = false;
            return f;
        }
        window.Pump();

        std::vector<std::vector<unsigned char>> contents;
        for (uint32_t n = 1; n <= count; ++n) contents.push_back(GetFile(patch.Target(n)));
        OutputDebugStringA("bench: processing floor");
        t = Seconds();
        ProcessingFloor(patch, contents, false);
        Keep(&f.processingFloor, Seconds() - t);
        t = Seconds();
        ProcessingFloor(patch, contents, true);
        Keep(&f.flushedFloor, Seconds() - t);

        RunState.ReportText.reset();
        OutputDebugStringA("bench: processing");
        t = Seconds();
        RunProcessingPass(host);
        Keep(&f.processing, Seconds() - t);
        OutputDebugStringA("bench: end of run");
        window.Pump();
        patch.Flip();

        // Every entry was updated and reported, and nothing else was left
        // in the application folder.
        const std::string report = RunState.ReportText ? RunState.ReportText.get() : "";
        uint32_t lines = 0;
        for (std::size_t at = report.find(" OK\r\n"); at != std::string::npos; at = report.find(" OK\r\n", at + 1))
            ++lines;
        if (lines != count) {
            std::printf("  PROCESSING REPORTED %u OF %u ENTRIES AS DONE\n", lines, count);
            f.ok = false;
        }
    }
    return f;
}

double PerEntryMs(double seconds, uint32_t count) { return 1000.0 * seconds / count; }

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    if (runs < 1) runs = 1;
    std::vector<uint32_t> counts;
    for (int i = 2; i < argc; ++i) counts.push_back(static_cast<uint32_t>(std::strtoul(argv[i], nullptr, 10)));
    if (counts.empty()) counts = {250, 1000, 2000};

    // Every file and profile call is a round trip to the Wine server. With
    // the two on different processors of a virtual machine, each trip may
    // wait for an idle processor to wake, and the figures then measure that
    // wait (up to 8 x the call itself) rather than the runtime.
    DWORD_PTR processMask = 0, systemMask = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask) && (processMask & (processMask - 1)))
        std::printf("NOTE: not pinned to one processor; run through bench/win/pinned.sh for steady figures\n");

    const std::string root = BenchFolder() + "many\\";
    BenchWindow window;
    std::vector<Figures> all;
    bool ok = true;
    std::printf("XOR update of 4 KB files, best of %d runs, ms per entry\n", runs);
    std::printf("  entries   check  floor ratio  processing  floor ratio  (flushed floor ratio)\n");
    for (uint32_t count : counts) {
        Figures f = Measure(root, count, runs, window);
        ok = ok && f.ok;
        all.push_back(f);
        std::printf("  %7u  %6.3f %6.3f %5.2f      %6.3f %6.3f %5.2f   (%6.3f %5.2f)\n", count,
                    PerEntryMs(f.check, count), PerEntryMs(f.checkFloor, count), f.check / f.checkFloor,
                    PerEntryMs(f.processing, count), PerEntryMs(f.processingFloor, count),
                    f.processing / f.processingFloor, PerEntryMs(f.flushedFloor, count),
                    f.processing / f.flushedFloor);
        std::fflush(stdout);
    }
    RemoveDirectoryA(root.c_str());
    std::printf("  goal: ratio to floor <= 2 for both passes\n");
    if (counts.size() > 1) {
        const uint32_t first = counts.front(), last = counts.back();
        const Figures& a = all.front();
        const Figures& b = all.back();
        std::printf("  per entry at %u / at %u: check %.2f, processing %.2f (goal <= 1.25)\n", last, first,
                    PerEntryMs(b.check, last) / PerEntryMs(a.check, first),
                    PerEntryMs(b.processing, last) / PerEntryMs(a.processing, first));
        std::printf("  (the floors themselves: check %.2f, processing %.2f, flushed %.2f)\n",
                    PerEntryMs(b.checkFloor, last) / PerEntryMs(a.checkFloor, first),
                    PerEntryMs(b.processingFloor, last) / PerEntryMs(a.processingFloor, first),
                    PerEntryMs(b.flushedFloor, last) / PerEntryMs(a.flushedFloor, first));
    }
    if (!ok) std::printf("  A PASS FAILED\n");
    return ok ? 0 : 1;
}
