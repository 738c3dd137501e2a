// The binary delta on real program updates, against Debian's bsdiff (4.3)
// and xdelta3 -9, all measured in this one run:
//   - patch size: our payload as the payload cabinet stores it (MSZIP),
//     against bsdiff's and xdelta3's patch files;
//   - encode time (processor seconds) and peak memory, each encoder run as a
//     process of its own.
// The pairs are folders <name>/old and <name>/new under $ZULI_DELTA_PAIRS
// (default: delta-pairs beside this program), made by
// bench/fetch_delta_pairs.sh from two versions of Debian packages.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BinaryDeltaEncoder.h"
#include "actions/neutral/XorCombine.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string PairsFolder() {
    const char* set = std::getenv("ZULI_DELTA_PAIRS");
    return set ? set : ZULI_BENCH_DIR "/delta-pairs";
}

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The payload cabinet's MSZIP method: the data is cut into blocks of 32 KiB,
// each deflated on its own (the system cabinet library under Wine starts a
// fresh deflate stream per block), and each block carries an 8-byte header
// and the two-byte "CK" mark.
std::size_t MszipSize(const Bytes& data) {
    constexpr std::size_t kBlock = 32768;
    std::size_t total = 0;
    std::vector<unsigned char> out(kBlock * 2);
    for (std::size_t at = 0; at < data.size(); at += kBlock) {
        const std::size_t n = std::min(kBlock, data.size() - at);
        z_stream z{};
        deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        z.next_in = const_cast<unsigned char*>(data.data() + at);
        z.avail_in = static_cast<uInt>(n);
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, Z_FINISH);
        total += z.total_out + 2 + 8;
        deflateEnd(&z);
    }
    return total;
}

struct ProcessCost {
    bool ok;
    double seconds;
    double peakMiB;
};

// Runs a command as a child process: its processor time (user and system;
// wall time on a machine shared with other work says more about the others)
// and its peak resident memory.
ProcessCost Run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    const double seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, seconds, usage.ru_maxrss / 1024.0};
}

std::size_t FileSize(const std::string& path) {
    struct stat s {};
    return stat(path.c_str(), &s) == 0 ? static_cast<std::size_t>(s.st_size) : 0;
}

void PatchSizeAndEncodeCost(benchmark::State& state, const std::string& pair) {
    const std::string old = pair + "/old", now = pair + "/new";
    const std::string ours = pair + "/zuli.delta", bsdiff = pair + "/bsdiff.patch", xdelta = pair + "/xdelta3.vcdiff";
    ProcessCost encode{}, reference{}, other{};
    for (auto _ : state) {
        encode = Run({ZULI_BENCH_DIR "/zuli_delta_encode", old, now, ours});
        reference = Run({"bsdiff", old, now, bsdiff});
        other = Run({"xdelta3", "-9", "-e", "-f", "-s", old, now, xdelta});
    }
    if (!encode.ok || !reference.ok || !other.ok) {
        state.SkipWithError("an encoder failed (bsdiff and xdelta3 come from scripts/install-deps.sh)");
        return;
    }
    const Bytes delta = ReadAll(ours), oldBytes = ReadAll(old), newBytes = ReadAll(now);
    Bytes xor_ = newBytes;
    XorCombine(xor_.data(), oldBytes.data(), std::min(oldBytes.size(), xor_.size()));
    const double cab = static_cast<double>(MszipSize(delta));
    const double bs = static_cast<double>(FileSize(bsdiff));
    const double xd = static_cast<double>(FileSize(xdelta));
    state.counters["new_KiB"] = static_cast<double>(newBytes.size()) / 1024;
    state.counters["new_cab_KiB"] = static_cast<double>(MszipSize(newBytes)) / 1024;
    state.counters["xor_cab_KiB"] = static_cast<double>(MszipSize(xor_)) / 1024;
    state.counters["zuli_cab_KiB"] = cab / 1024;
    state.counters["bsdiff_KiB"] = bs / 1024;
    state.counters["xdelta3_KiB"] = xd / 1024;
    state.counters["size_vs_bsdiff"] = cab / bs;     // goal <= 1.15
    state.counters["size_vs_xdelta3"] = cab / xd;    // goal <= 0.5
    state.counters["encode_s"] = encode.seconds;
    state.counters["bsdiff_s"] = reference.seconds;
    state.counters["time_vs_bsdiff"] = encode.seconds / reference.seconds;  // goal <= 1
    state.counters["encode_MiB"] = encode.peakMiB;
    state.counters["bsdiff_MiB"] = reference.peakMiB;
    state.counters["memory_vs_bsdiff"] = encode.peakMiB / reference.peakMiB;  // goal <= 1
}

int RegisterPairs() {
    const std::string folder = PairsFolder();
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        std::fprintf(stderr, "no program pairs in %s: run bench/fetch_delta_pairs.sh first\n", folder.c_str());
        return 0;
    }
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir)) {
        struct stat s {};
        const std::string name = entry->d_name;
        if (name[0] != '.' && stat((folder + "/" + name + "/old").c_str(), &s) == 0) names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        benchmark::RegisterBenchmark(("BinaryDelta/" + name).c_str(), PatchSizeAndEncodeCost, folder + "/" + name)
            ->Iterations(1)
            ->Unit(benchmark::kSecond);
    return static_cast<int>(names.size());
}

const int kRegistered = RegisterPairs();

}  // namespace
