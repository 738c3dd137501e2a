#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "BinaryDeltaEncoder.h"
#include "BinaryDeltaMemory.h"
#include "actions/neutral/BinaryDelta.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes RandomBytes(std::size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& x : b) x = static_cast<uint8_t>(rng());
    return b;
}

// Program-like content: repeated instruction-ish records with addresses
// that change between versions, so that copies carry small differences.
Bytes CodeLike(std::size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes b;
    while (b.size() < n) {
        uint32_t address = rng() % 4096 * 16;
        const uint8_t record[] = {0x8B, 0x45, static_cast<uint8_t>(rng() % 8), 0xE8, static_cast<uint8_t>(address),
                                  static_cast<uint8_t>(address >> 8), 0, 0};
        b.insert(b.end(), record, record + sizeof record);
    }
    b.resize(n);
    return b;
}

Bytes Cut(const Bytes& b, std::size_t from, std::size_t to) { return Bytes(b.begin() + from, b.begin() + to); }
Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

uint32_t Crc(const Bytes& b) { return static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), b.data(), static_cast<uInt>(b.size()))); }

Bytes Encode(const Bytes& old, const Bytes& now) {
    Bytes delta;
    EXPECT_TRUE(EncodeBinaryDelta(old, now, delta));
    return delta;
}

struct RoundTrip {
    const char* name;
    std::function<Bytes()> old;
    std::function<Bytes(const Bytes&)> now;
};

TEST(BinaryDelta, RebuildsTheNewVersionFromTheOld) {
    const Bytes base = CodeLike(200000, 1);
    const RoundTrip cases[] = {
        {"identical", [&] { return base; }, [](const Bytes& o) { return o; }},
        {"insertions", [&] { return base; },
         [](const Bytes& o) {
             return Join({Cut(o, 0, 1000), RandomBytes(300, 2), Cut(o, 1000, 90000), RandomBytes(5000, 3),
                          Cut(o, 90000, o.size())});
         }},
        {"deletions", [&] { return base; },
         [](const Bytes& o) { return Join({Cut(o, 0, 5000), Cut(o, 7000, 150000), Cut(o, 190000, o.size())}); }},
        {"moved blocks", [&] { return base; },
         [](const Bytes& o) {
             return Join({Cut(o, 120000, 200000), Cut(o, 40000, 120000), Cut(o, 0, 40000)});
         }},
        {"changed bytes everywhere", [&] { return base; },
         [](const Bytes& o) {
             Bytes n = o;
             for (std::size_t i = 5; i < n.size(); i += 97) n[i] = static_cast<uint8_t>(n[i] + 3);
             return n;
         }},
        {"empty old", [] { return Bytes(); }, [](const Bytes&) { return RandomBytes(7000, 4); }},
        {"empty new", [&] { return base; }, [](const Bytes&) { return Bytes(); }},
        {"both empty", [] { return Bytes(); }, [](const Bytes&) { return Bytes(); }},
        {"one byte old", [] { return Bytes{7}; }, [](const Bytes&) { return Bytes{7, 7, 1}; }},
        {"unrelated", [] { return RandomBytes(30000, 5); }, [](const Bytes&) { return RandomBytes(20000, 6); }},
        {"long runs of one byte", [] { return Bytes(100000, 0); },
         [](const Bytes&) { return Join({Bytes(50000, 0), Bytes(10, 1), Bytes(60000, 0)}); }},
        // Long runs that both versions share but that differ here and there:
        // the scan skips through them instead of searching at every byte.
        {"long runs with scattered changes",
         [] {
             Bytes o(2u << 20, 0);
             for (std::size_t i = 0; i < o.size(); i += 100000) o[i] = 1;
             return o;
         },
         [](const Bytes& o) {
             Bytes n = Join({Cut(o, 0, 700000), Bytes(80, 2), Cut(o, 700000, o.size())});
             for (std::size_t i = 0; i < n.size(); i += 77777) n[i] = static_cast<uint8_t>(n[i] + 3);
             return n;
         }},
        // Larger than the output chunk and the old window, with a block
        // moved from the far end to the front, so copies cross both edges.
        {"beyond chunk and window", [] { return CodeLike(6u << 20, 7); },
         [](const Bytes& o) {
             return Join({Cut(o, o.size() - 300000, o.size()), RandomBytes(100, 8),
                          Cut(o, 0, o.size() - 300000)});
         }},
    };
    for (const RoundTrip& c : cases) {
        const Bytes old = c.old();
        const Bytes now = c.now(old);
        const Bytes delta = Encode(old, now);
        MemoryDeltaIo io;
        ASSERT_EQ(io.Apply(delta, old), 1) << c.name;
        EXPECT_TRUE(io.New.Written == now) << c.name;
        EXPECT_LE(io.New.LargestWrite, kBinaryDeltaChunkBytes) << c.name;
        EXPECT_LE(io.Old.LargestRead, kBinaryDeltaOldWindowBytes) << c.name;
    }
}

TEST(BinaryDelta, SmallEditsGiveASmallDelta) {
    const Bytes old = CodeLike(500000, 9);
    const Bytes now = Join({Cut(old, 0, 250000), RandomBytes(64, 10), Cut(old, 250000, old.size())});
    const Bytes delta = Encode(old, now);
    // Everything but the inserted bytes is copied: the extra stream holds
    // little more than those 64 bytes.
    BinaryDeltaHeader h;
    ASSERT_TRUE(ReadBinaryDeltaHeader(delta.data(), static_cast<uint32_t>(delta.size()), &h));
    EXPECT_LT(h.ExtraSize, 200u);
    EXPECT_EQ(h.OldSize, old.size());
    EXPECT_EQ(h.NewSize, now.size());
    EXPECT_EQ(h.NewCrc, Crc(now));
}

TEST(BinaryDelta, EveryTruncationFails) {
    const Bytes old = CodeLike(3000, 11);
    const Bytes now = Join({Cut(old, 0, 1000), RandomBytes(50, 12), Cut(old, 1500, 3000)});
    const Bytes delta = Encode(old, now);
    for (std::size_t n = 0; n < delta.size(); ++n) {
        MemoryDeltaIo io;
        EXPECT_EQ(io.Apply(Cut(delta, 0, n), old), 0) << "cut at " << n;
    }
}

// A payload built by hand: header fields as given (sizes of the streams
// filled in unless overridden), then the streams.
struct HandDelta {
    uint32_t oldSize;
    Bytes now;
    BinaryDeltaStreams streams;
    Bytes Build() const {
        Bytes out;
        AssembleBinaryDelta(oldSize, static_cast<uint32_t>(now.size()), Crc(now), streams, out);
        return out;
    }
};

TEST(BinaryDelta, MalformedPayloadsFail) {
    const Bytes old = {1, 2, 3, 4, 5, 6, 7, 8};
    const Bytes now = {1, 2, 5, 4, 9, 9};
    // A good delta to start from: copy 4 with a difference of 2 at the third
    // byte, then 2 new bytes.
    HandDelta good{8, now, {}};
    good.streams.AddStep(4, 2, 0);
    good.streams.Gaps = {2};
    good.streams.Difference = {2};
    good.streams.Extra = {9, 9};
    {
        MemoryDeltaIo io;
        ASSERT_EQ(io.Apply(good.Build(), old), 1);
        ASSERT_EQ(io.New.Written, now);
    }

    struct Case {
        const char* name;
        std::function<Bytes()> payload;
        Bytes oldFile;
    };
    auto edited = [&](std::function<void(HandDelta&)> edit) {
        return [=] {
            HandDelta d = good;
            edit(d);
            return d.Build();
        };
    };
    auto patched = [&](std::size_t at, uint8_t value) {
        return [=] {
            Bytes p = good.Build();
            p[at] = value;
            return p;
        };
    };
    const Case cases[] = {
        {"wrong mark", patched(0, 'X'), old},
        {"old size differs from the old file", edited([](HandDelta& d) { d.oldSize = 9; }), old},
        {"result CRC differs", edited([](HandDelta& d) { d.streams.Extra = {9, 8}; }), old},
        {"new size in header too small", patched(8, 5), old},
        {"new size in header too large", patched(8, 7), old},
        {"control size beyond the payload", patched(16, 200), old},
        {"stream sizes leave bytes over",
         [&] {
             Bytes p = good.Build();
             p.push_back(0);
             return p;
         },
         old},
        {"copy beyond the old file's end",
         edited([](HandDelta& d) {
             d.streams = {};
             d.streams.AddStep(0, 0, 6);
             d.streams.AddStep(4, 2, 0);
             d.streams.Gaps = {2};
             d.streams.Difference = {2};
             d.streams.Extra = {9, 9};
         }),
         old},
        {"seek before the old file's start",
         edited([](HandDelta& d) {
             d.streams = {};
             d.streams.AddStep(0, 0, -1);
             d.streams.AddStep(4, 2, 0);
             d.streams.Gaps = {2};
             d.streams.Difference = {2};
             d.streams.Extra = {9, 9};
         }),
         old},
        {"seek past the old file's end", edited([](HandDelta& d) { d.streams.Control.back() = 2 * 5; }), old},
        {"most negative seek", edited([](HandDelta& d) {
             d.streams.Control.pop_back();
             for (uint8_t b : {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}) d.streams.Control.push_back(b);
         }),
         old},
        {"number longer than 32 bits", edited([](HandDelta& d) {
             d.streams.Control.pop_back();
             for (uint8_t b : {0x80, 0x80, 0x80, 0x80, 0x10}) d.streams.Control.push_back(b);
         }),
         old},
        {"number never ends", edited([](HandDelta& d) { d.streams.Control.back() = 0x80; }), old},
        {"step cut short", edited([](HandDelta& d) { d.streams.Control.pop_back(); }), old},
        {"difference byte without its gap", edited([](HandDelta& d) { d.streams.Gaps.clear(); }), old},
        {"gap without its difference byte", edited([](HandDelta& d) { d.streams.Difference.clear(); }), old},
        {"difference beyond the copied bytes", edited([](HandDelta& d) {
             d.streams.Gaps = {4};
             d.streams.Difference = {1};
         }),
         old},
        {"gap beyond 32 bits of position", edited([](HandDelta& d) {
             d.streams.Gaps = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
             d.streams.Difference = {1, 1};
         }),
         old},
        {"gap stream cut inside a number", edited([](HandDelta& d) {
             d.streams.Gaps = {0x81};
             d.streams.Difference = {1};
         }),
         old},
        {"extra bytes left over", edited([](HandDelta& d) { d.streams.Extra.push_back(0); }), old},
        {"copy longer than the new file", edited([](HandDelta& d) {
             d.streams = {};
             d.streams.AddStep(7, 0, 0);
         }),
         old},
        {"extra longer than the new file", edited([](HandDelta& d) {
             d.streams = {};
             d.streams.AddStep(0, 7, 0);
             d.streams.Extra.assign(7, 9);
         }),
         old},
        {"steps end before the new file does", edited([](HandDelta& d) {
             d.streams.Control.assign({4, 1, 0});
             d.streams.Extra = {9};
         }),
         old},
        {"old file shorter than the header says", [&] { return good.Build(); }, Bytes{1, 2, 3}},
    };
    for (const Case& c : cases) {
        MemoryDeltaIo io;
        EXPECT_EQ(io.Apply(c.payload(), c.oldFile), 0) << c.name;
    }
}

TEST(BinaryDelta, UnreadableFilesFail) {
    const Bytes old = CodeLike(5000, 13);
    const Bytes now = Join({Cut(old, 100, 5000), RandomBytes(10, 14)});
    const Bytes delta = Encode(old, now);
    const char* names[] = {"payload", "old file", "new file"};
    for (int which = 0; which < 3; ++which) {
        MemoryDeltaIo io;
        MemoryFile* files[] = {&io.Payload, &io.Old, &io.New};
        files[which]->Fails = true;
        EXPECT_EQ(io.Apply(delta, old), 0) << names[which] << " fails";
    }
}

}  // namespace
