// The binary delta update on a 256 MiB target with scattered insertions and
// small changes (100 new bytes after every MiB, one changed byte in every
// 4 KiB, as relocated addresses give), against the XOR-delta update of a
// target of the same size; time and growth of the process' peak memory, all
// measured in this one run.
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "BinaryDeltaEncoder.h"
#include "actions/BinaryDeltaUpdate.h"
#include "actions/XorDelta.h"
#include "core/RunState.h"
#include "script/FileCrc32.h"

namespace {

constexpr uint32_t kSize = 256u << 20;
constexpr uint32_t kBlock = 1u << 20;
constexpr uint32_t kInserted = 100;
constexpr uint32_t kChangeEvery = 4096;

bool WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) && put == bytes.size();
    CloseHandle(h);
    return ok;
}

// The delta of the edit above, built step by step while the old file is
// read a block at a time (the new file is never held whole): per block one
// copy with its changed bytes, then the inserted bytes.
bool WriteInsertionDelta(const std::string& oldPath, const std::string& deltaPath) {
    HANDLE h = CreateFileA(oldPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BinaryDeltaStreams streams;
    std::vector<uint8_t> block(kBlock);
    uLong crc = crc32(0L, Z_NULL, 0);
    uint32_t newSize = 0, seed = 7;
    for (uint32_t done = 0; done < kSize; done += kBlock) {
        DWORD got = 0;
        if (!ReadFile(h, block.data(), kBlock, &got, nullptr) || got != kBlock) break;
        for (uint32_t i = 0; i < kBlock; ++i) {
            const uint8_t difference = i % kChangeEvery == 0 ? 1 : 0;
            streams.AddDifference(difference);
            block[i] = static_cast<uint8_t>(block[i] + difference);
        }
        std::vector<uint8_t> inserted(kInserted);
        for (auto& b : inserted) b = static_cast<uint8_t>((seed = seed * 1664525u + 1013904223u) >> 24);
        streams.Extra.insert(streams.Extra.end(), inserted.begin(), inserted.end());
        streams.AddStep(kBlock, kInserted, 0);
        crc = crc32(crc, block.data(), kBlock);
        crc = crc32(crc, inserted.data(), kInserted);
        newSize += kBlock + kInserted;
    }
    CloseHandle(h);
    std::vector<uint8_t> payload;
    AssembleBinaryDelta(kSize, newSize, static_cast<uint32_t>(crc), streams, payload);
    return WriteAll(deltaPath, payload);
}

void SetScriptCrc(const std::string& script, const std::string& target) {
    char crc[16];
    std::snprintf(crc, sizeof crc, "%lu", static_cast<unsigned long>(FileCrc32(target.c_str())));
    WritePrivateProfileStringA("Proc1", "CRC", crc, script.c_str());
}

}  // namespace

int main() {
    const std::string folder = BenchFolder();
    const std::string target = folder + "target.bin", pristine = folder + "pristine.bin";
    const std::string xorDelta = folder + "Proc1", binaryDelta = folder + "Proc2";
    const std::string script = folder + "Setup.ini";
    // Taken before the files are made: the growth below is an upper bound
    // that includes the buffers that made them.
    const PeakMemory before = Peaks();
    WritePrivateProfileStringA("Proc1", "Act", "2", script.c_str());
    RunState.IsNT = 1;
    RunState.ScriptReader.SetFile(script.c_str());
    RunState.ScriptReader.SetSection("Proc1");

    WriteBigFile(pristine, kSize, 1);
    WriteBigFile(xorDelta, kSize, 2);
    if (!WriteInsertionDelta(pristine, binaryDelta)) {
        std::printf("cannot make the binary delta\n");
        return 1;
    }
    CopyFileA(pristine.c_str(), target.c_str(), FALSE);
    WarmFile(target);
    WarmFile(xorDelta);
    WarmFile(binaryDelta);

    // The binary delta first, so that its peak memory is not hidden by
    // the XOR update's.
    int ok = 1;
    double tBinary = 1e9;
    for (int i = 0; i < 3; ++i) {
        CopyFileA(pristine.c_str(), target.c_str(), FALSE);
        WarmFile(target);
        double t = Seconds();
        ok &= ApplyBinaryDelta(target.c_str(), binaryDelta.c_str());
        t = Seconds() - t;
        if (t < tBinary) tBinary = t;
    }
    const PeakMemory afterBinary = Peaks();
    const double newSize = static_cast<double>(kSize) + static_cast<double>(kSize / kBlock) * kInserted;
    HANDLE h = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const double written = static_cast<double>(GetFileSize(h, nullptr));
    CloseHandle(h);
    if (written != newSize) ok = 0;

    // Baseline: the XOR update of the same size. Each run turns the target
    // into the other version; the entry's CRC follows it.
    CopyFileA(pristine.c_str(), target.c_str(), FALSE);
    WarmFile(target);
    double tXor = 1e9;
    for (int i = 0; i < 3; ++i) {
        SetScriptCrc(script, target);
        double t = Seconds();
        ok &= ApplyXorDelta(target.c_str(), xorDelta.c_str());
        t = Seconds() - t;
        if (t < tXor) tXor = t;
    }

    for (const std::string& f : {target, pristine, xorDelta, binaryDelta, script}) DeleteFileA(f.c_str());

    std::printf("256 MiB target, 100 bytes inserted after every MiB, a byte changed in every 4 KiB\n");
    std::printf("  ApplyXorDelta (same size)      %7.3f s\n", tXor);
    std::printf("  ApplyBinaryDelta               %7.3f s   ratio to XOR %.2f (goal <= 2)\n", tBinary, tBinary / tXor);
    std::printf("    peak working set growth      %7.1f MiB at most (goal <= 16)\n",
                MiB(afterBinary.workingSet - before.workingSet));
    std::printf("    peak pagefile growth         %7.1f MiB at most (goal <= 16)\n", MiB(afterBinary.pagefile - before.pagefile));
    if (!ok) std::printf("  AN UPDATE FAILED\n");
    return ok ? 0 : 1;
}
