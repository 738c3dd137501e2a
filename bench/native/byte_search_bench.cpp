// Pattern search over 256 MiB: the runtime's FindBytes against glibc's
// memmem and the position-by-position compare, on random bytes and on
// executable-like content full of zeros.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "actions/neutral/ByteSearch.h"

namespace {

constexpr std::size_t kSize = 256u << 20;

const std::vector<unsigned char>& Content(int kind) {
    static std::vector<unsigned char> random, sparse;
    std::vector<unsigned char>& v = kind == 0 ? random : sparse;
    if (v.empty()) {
        v.resize(kSize);
        std::mt19937 rng(1);
        for (auto& b : v) b = kind == 0 ? static_cast<unsigned char>(rng()) : (rng() % 4 ? 0 : static_cast<unsigned char>(rng()));
    }
    return v;
}

// A pattern that occurs only at the very end.
std::vector<unsigned char> PatternAtEnd(std::vector<unsigned char>& content, std::size_t length) {
    std::vector<unsigned char> p(length);
    for (std::size_t i = 0; i < length; ++i) p[i] = static_cast<unsigned char>(0xA5 ^ (i * 7));
    p[0] = 0;
    std::memcpy(content.data() + content.size() - length, p.data(), length);
    return p;
}

void Search(benchmark::State& state, int which) {
    auto content = Content(static_cast<int>(state.range(0)));
    auto pattern = PatternAtEnd(content, static_cast<std::size_t>(state.range(1)));
    for (auto _ : state) {
        std::size_t at = 0;
        if (which == 0) {
            at = FindBytes(content.data(), content.size(), pattern.data(), pattern.size());
        } else if (which == 1) {
            const void* hit = memmem(content.data(), content.size(), pattern.data(), pattern.size());
            at = hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - content.data()) : 0;
        } else {
            for (at = 0; at + pattern.size() <= content.size(); ++at) {
                std::size_t k = 0;
                while (k < pattern.size() && content[at + k] == pattern[k]) ++k;
                if (k == pattern.size()) break;
            }
        }
        benchmark::DoNotOptimize(at);
        if (at != content.size() - pattern.size()) state.SkipWithError("wrong position");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * content.size()));
}

void FindBytesBench(benchmark::State& s) { Search(s, 0); }
void MemmemBench(benchmark::State& s) { Search(s, 1); }
void NaiveBench(benchmark::State& s) { Search(s, 2); }

// Arguments: content (0 random, 1 mostly zeros), pattern length.
#define ZULI_ARGS ->Args({0, 4})->Args({0, 16})->Args({0, 64})->Args({1, 4})->Args({1, 16})->Args({1, 64})->Unit(benchmark::kMillisecond)
BENCHMARK(FindBytesBench) ZULI_ARGS;
BENCHMARK(MemmemBench) ZULI_ARGS;
BENCHMARK(NaiveBench) ZULI_ARGS;

}  // namespace
