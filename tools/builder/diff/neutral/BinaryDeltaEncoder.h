// The encoder of the binary delta payload (format: the runtime's
// src/actions/neutral/BinaryDelta.h, and docs/authoring.md). Plain C++ with
// no Windows API, so the native tests and benchmarks use the same code.
#pragma once
#include <cstdint>
#include <vector>

// Writes into `out` the binary delta that rebuilds `now` from `old`. Finds
// the stretches of `now` that appear in `old` (through a suffix array of
// `old`), wherever they lie there. False when a file is larger than 1 GiB or
// memory runs out; `out` is then empty.
bool EncodeBinaryDelta(const std::vector<uint8_t>& old, const std::vector<uint8_t>& now, std::vector<uint8_t>& out);

// The three streams of a payload, for callers that know the edit already
// (tests and benchmarks building a delta step by step).
struct BinaryDeltaStreams {
    std::vector<uint8_t> Control;
    std::vector<uint8_t> Gaps;
    std::vector<uint8_t> Difference;
    std::vector<uint8_t> Extra;
    // Appends one step's numbers to the control stream; the extra bytes are
    // appended by the caller.
    void AddStep(uint32_t copy, uint32_t extra, int32_t seek);
    // The difference of the next copied byte (over all copies in order);
    // only non-zero ones take room.
    void AddDifference(uint8_t difference);

    // Zero differences since the last non-zero one.
    uint32_t PendingZeros = 0;
};

// Header plus the streams, for an old file of `oldSize` bytes and a new one
// of `newSize` bytes with CRC-32 `newCrc`.
void AssembleBinaryDelta(uint32_t oldSize, uint32_t newSize, uint32_t newCrc, const BinaryDeltaStreams& streams,
                         std::vector<uint8_t>& out);
