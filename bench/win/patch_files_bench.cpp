// The file updates on a 256 MiB target: time of ApplyXorDelta against a
// CopyFileA of the same file, time of a pattern search by ApplyBytePatch
// against the same search over the bytes in memory, and how far each raises
// the process' peak memory. All measured in this one run.
#include <cstdio>
#include <vector>

#include "BenchFiles.h"
#include "actions/BytePatch.h"
#include "actions/XorDelta.h"
#include "actions/neutral/ByteSearch.h"
#include "core/RunState.h"
#include "script/FileCrc32.h"

namespace {

constexpr uint64_t kSize = 256ull << 20;

// The updates apply only to the version the check accepted: the script
// carries the target's present CRC, as the check would have found it.
void AcceptPresentVersion(const std::string& script, const std::string& target) {
    char crc[16] = {};
    std::snprintf(crc, sizeof crc, "%lu", static_cast<unsigned long>(FileCrc32(target.c_str())));
    WritePrivateProfileStringA("Proc1", "CRC", crc, script.c_str());
}

// An installed file: on the disk and in the cache, as the target is.
void SettleFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FlushFileBuffers(h);
    CloseHandle(h);
    WarmFile(path);
}

void Put32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

}  // namespace

int main() {
    std::string folder = BenchFolder();
    std::string target = folder + "target.bin";
    std::string copy = folder + "copy.bin";
    std::string delta = folder + "Proc1";
    std::string patch = folder + "Proc2";
    std::string script = folder + "Setup.ini";
    WritePrivateProfileStringA("Proc1", "Act", "2", script.c_str());
    RunState.IsNT = 1;
    RunState.ScriptReader.SetFile(script.c_str());
    RunState.ScriptReader.SetSection("Proc1");

    WriteBigFile(target, kSize, 1);
    WriteBigFile(delta, kSize, 2);
    WarmFile(target);
    WarmFile(delta);

    // Baselines: the system's own copy of the file, once into a new file
    // and once over an existing cached copy of the same size. The second is
    // what putting a new version in place costs when done by copying: the
    // file system frees the old version's blocks and cached pages, as it
    // does for the target the update's rename replaces.
    double tCopy = 1e9;
    double tCopyOver = 1e9;
    for (int i = 0; i < 3; ++i) {
        double t = Seconds();
        CopyFileA(target.c_str(), copy.c_str(), FALSE);
        t = Seconds() - t;
        if (t < tCopy) tCopy = t;
        SettleFile(copy);
        t = Seconds();
        CopyFileA(target.c_str(), copy.c_str(), FALSE);
        t = Seconds() - t;
        if (t < tCopyOver) tCopyOver = t;
        DeleteFileA(copy.c_str());
    }

    PeakMemory before = Peaks();
    double tXor = 1e9;
    int ok = 1;
    for (int i = 0; i < 3; ++i) {
        AcceptPresentVersion(script, target);
        double t = Seconds();
        ok &= ApplyXorDelta(target.c_str(), delta.c_str());
        t = Seconds() - t;
        if (t < tXor) tXor = t;
    }
    PeakMemory afterXor = Peaks();

    // A pattern placed only at the end of the content: the search runs
    // through all of it.
    std::vector<unsigned char> pattern = {0x00, 0x5A, 0xC3, 0x11, 0x7E, 0x42, 0x99, 0x01,
                                          0xF0, 0x0D, 0x3C, 0x68, 0xA7, 0x12, 0xEE, 0x5B};
    HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(kSize - pattern.size());
    SetFilePointerEx(h, end, nullptr, FILE_BEGIN);
    DWORD put = 0;
    WriteFile(h, pattern.data(), static_cast<DWORD>(pattern.size()), &put, nullptr);
    CloseHandle(h);
    std::vector<unsigned char> payload;
    Put32(payload, 1);
    Put32(payload, 0);
    Put32(payload, 2);
    Put32(payload, static_cast<uint32_t>(pattern.size()));
    payload.insert(payload.end(), pattern.begin(), pattern.end());
    Put32(payload, static_cast<uint32_t>(pattern.size()));
    payload.insert(payload.end(), pattern.begin(), pattern.end());  // replaced by itself
    h = CreateFileA(patch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    WriteFile(h, payload.data(), static_cast<DWORD>(payload.size()), &put, nullptr);
    CloseHandle(h);
    AcceptPresentVersion(script, target);
    WarmFile(target);

    PeakMemory beforePatch = Peaks();
    double tPatch = 1e9;
    for (int i = 0; i < 3; ++i) {
        double t = Seconds();
        ok &= ApplyBytePatch(target.c_str(), patch.c_str());
        t = Seconds() - t;
        if (t < tPatch) tPatch = t;
    }
    PeakMemory afterPatch = Peaks();

    // Reference for the patch: copy of the file plus the search over the
    // same bytes already in memory (the patch copies the target first too).
    std::vector<unsigned char> bytes(kSize);
    h = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    for (uint64_t done = 0; done < kSize;) {
        DWORD got = 0;
        if (!ReadFile(h, bytes.data() + done, 1u << 20, &got, nullptr) || !got) break;
        done += got;
    }
    CloseHandle(h);
    double tSearch = 1e9;
    for (int i = 0; i < 3; ++i) {
        double t = Seconds();
        std::size_t at = FindBytes(bytes.data(), bytes.size(), pattern.data(), pattern.size());
        t = Seconds() - t;
        if (at != kSize - pattern.size()) ok = 0;
        if (t < tSearch) tSearch = t;
    }

    DeleteFileA(target.c_str());
    DeleteFileA(delta.c_str());
    DeleteFileA(patch.c_str());
    DeleteFileA(script.c_str());

    std::printf("256 MiB target\n");
    std::printf("  CopyFileA into a new file      %7.3f s\n", tCopy);
    std::printf("  CopyFileA over an old version  %7.3f s\n", tCopyOver);
    std::printf("  ApplyXorDelta                  %7.3f s   ratio to copy over the old version %.2f (goal <= 2),"
                " to copy into a new file %.2f\n",
                tXor, tXor / tCopyOver, tXor / tCopy);
    std::printf("    peak working set growth      %7.1f MiB (goal <= 16)\n", MiB(afterXor.workingSet - before.workingSet));
    std::printf("    peak pagefile growth         %7.1f MiB (goal <= 16)\n", MiB(afterXor.pagefile - before.pagefile));
    std::printf("  ApplyBytePatch, type 2 search  %7.3f s   (copy + search in memory %.3f s, ratio %.2f)\n", tPatch,
                tCopy + tSearch, tPatch / (tCopy + tSearch));
    std::printf("    peak working set growth      %7.1f MiB\n", MiB(afterPatch.workingSet - beforePatch.workingSet));
    std::printf("    peak pagefile growth         %7.1f MiB\n", MiB(afterPatch.pagefile - beforePatch.pagefile));
    if (!ok) std::printf("  AN UPDATE FAILED\n");
    return ok ? 0 : 1;
}
