#include "diff/neutral/BinaryDeltaEncoder.h"

#include <divsufsort.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "actions/neutral/BinaryDelta.h"
#include "core/neutral/Crc32.h"
#include "core/neutral/LittleEndian.h"

namespace {

using Index = int32_t;

Index MatchLength(const uint8_t* a, Index aLength, const uint8_t* b, Index bLength) {
    const Index n = std::min(aLength, bLength);
    Index i = 0;
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

// The longest prefix of `target` found anywhere in `old`: its length, and
// where it starts in *position. The suffix array orders every suffix of
// `old`; the longest match lies beside the place `target` would sort into.
Index LongestMatch(const std::vector<Index>& suffixes, const uint8_t* old, Index oldSize, const uint8_t* target,
                   Index targetLength, Index* position) {
    Index low = 0;
    Index high = oldSize - 1;
    while (high - low > 1) {
        const Index middle = low + (high - low) / 2;
        const Index start = suffixes[middle];
        const Index n = std::min(oldSize - start, targetLength);
        if (std::memcmp(old + start, target, static_cast<std::size_t>(n)) < 0) low = middle;
        else high = middle;
    }
    const Index lowLength = MatchLength(old + suffixes[low], oldSize - suffixes[low], target, targetLength);
    const Index highLength = MatchLength(old + suffixes[high], oldSize - suffixes[high], target, targetLength);
    if (lowLength >= highLength) {
        *position = suffixes[low];
        return lowLength;
    }
    *position = suffixes[high];
    return highLength;
}

// A new exact match is only worth a step of its own when it beats carrying
// on with the current alignment by this many bytes: a short detour costs
// more control bytes than the differences it saves.
constexpr Index kWorthANewStep = 8;
// A long match that the current alignment already (nearly) covers tells
// that no step is needed inside it: the scan skips to this far before its
// end instead of searching again at every byte, which would take time of
// the square of the match's length (long runs of one byte value do that).
constexpr Index kSkipMargin = 256;

class Encoder {
public:
    Encoder(const std::vector<uint8_t>& old, const std::vector<uint8_t>& now)
        : old_(old.data()), now_(now.data()), oldSize_(static_cast<Index>(old.size())),
          newSize_(static_cast<Index>(now.size())) {}

    bool Run(BinaryDeltaStreams& streams) {
        out_ = &streams;
        if (oldSize_ == 0) {
            streams.AddStep(0, static_cast<uint32_t>(newSize_), 0);
            streams.Extra.assign(now_, now_ + newSize_);
            return true;
        }
        suffixes_.resize(static_cast<std::size_t>(oldSize_));
        if (divsufsort(old_, suffixes_.data(), oldSize_) != 0) return false;
        Scan();
        return true;
    }

private:
    bool Agrees(Index newAt, Index oldAt) const { return oldAt >= 0 && oldAt < oldSize_ && old_[oldAt] == now_[newAt]; }

    // Walks the new file. Between two exact matches found through the suffix
    // array, the earlier one is stretched forward and the later one backward
    // as long as most bytes still agree (the differences are then mostly
    // zeros, which compress to almost nothing); what lies between them is
    // new data.
    void Scan() {
        Index scan = 0, length = 0, position = 0;
        Index lastScan = 0, lastPosition = 0, lastOffset = 0;
        while (scan < newSize_) {
            Index oldScore = 0;
            Index scored = scan += length;
            for (; scan < newSize_; ++scan) {
                length = LongestMatch(suffixes_, old_, oldSize_, now_ + scan, newSize_ - scan, &position);
                for (; scored < scan + length; ++scored)
                    if (Agrees(scored, scored + lastOffset)) ++oldScore;
                if ((length == oldScore && length != 0) || length > oldScore + kWorthANewStep) break;
                if (Agrees(scan, scan + lastOffset)) --oldScore;
                for (const Index skipTo = scan + length - kSkipMargin; scan + 1 < skipTo;) {
                    ++scan;
                    if (Agrees(scan, scan + lastOffset)) --oldScore;
                }
            }
            if (length == oldScore && scan != newSize_) continue;

            Index forward = StretchForward(lastScan, lastPosition, scan);
            Index backward = scan < newSize_ ? StretchBackward(lastScan, scan, position) : 0;
            if (lastScan + forward > scan - backward) {
                const Index overlap = (lastScan + forward) - (scan - backward);
                const Index split = BestSplit(lastScan + forward - overlap, lastPosition + forward - overlap,
                                              scan - backward, position - backward, overlap);
                forward += split - overlap;
                backward -= split;
            }
            EmitStep(lastScan, lastPosition, forward, scan - backward, position - backward);
            lastScan = scan - backward;
            lastPosition = position - backward;
            lastOffset = position - scan;
        }
    }

    // How far the alignment at (newAt, oldAt) is worth carrying on forward,
    // up to `limit` in the new file: where agreeing bytes most outnumber the
    // others.
    Index StretchForward(Index newAt, Index oldAt, Index limit) const {
        Index agreeing = 0, best = 0, bestLength = 0;
        for (Index i = 0; newAt + i < limit && oldAt + i < oldSize_;) {
            if (old_[oldAt + i] == now_[newAt + i]) ++agreeing;
            ++i;
            if (agreeing * 2 - i > best * 2 - bestLength) {
                best = agreeing;
                bestLength = i;
            }
        }
        return bestLength;
    }

    // The same backward from the match at (newAt, oldAt), not past `floor`.
    Index StretchBackward(Index floor, Index newAt, Index oldAt) const {
        Index agreeing = 0, best = 0, bestLength = 0;
        for (Index i = 1; newAt >= floor + i && oldAt >= i; ++i) {
            if (old_[oldAt - i] == now_[newAt - i]) ++agreeing;
            if (agreeing * 2 - i > best * 2 - bestLength) {
                best = agreeing;
                bestLength = i;
            }
        }
        return bestLength;
    }

    // When both stretches claim the same new bytes, each byte goes to the
    // alignment it agrees with: the split point where the earlier one wins most.
    Index BestSplit(Index newA, Index oldA, Index newB, Index oldB, Index overlap) const {
        Index score = 0, best = 0, split = 0;
        for (Index i = 0; i < overlap; ++i) {
            if (now_[newA + i] == old_[oldA + i]) ++score;
            if (now_[newB + i] == old_[oldB + i]) --score;
            if (score > best) {
                best = score;
                split = i + 1;
            }
        }
        return split;
    }

    void EmitStep(Index newAt, Index oldAt, Index copy, Index extraEnd, Index nextOld) {
        for (Index i = 0; i < copy; ++i) out_->AddDifference(static_cast<uint8_t>(now_[newAt + i] - old_[oldAt + i]));
        out_->Extra.insert(out_->Extra.end(), now_ + newAt + copy, now_ + extraEnd);
        out_->AddStep(static_cast<uint32_t>(copy), static_cast<uint32_t>(extraEnd - (newAt + copy)),
                      nextOld - (oldAt + copy));
    }

    const uint8_t* old_;
    const uint8_t* now_;
    Index oldSize_;
    Index newSize_;
    std::vector<Index> suffixes_;
    BinaryDeltaStreams* out_ = nullptr;
};

void AppendNumber(std::vector<uint8_t>& to, uint32_t value) {
    while (value >= 0x80) {
        to.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    to.push_back(static_cast<uint8_t>(value));
}

}  // namespace

void BinaryDeltaStreams::AddStep(uint32_t copy, uint32_t extra, int32_t seek) {
    AppendNumber(Control, copy);
    AppendNumber(Control, extra);
    const uint32_t magnitude = seek < 0 ? 0u - static_cast<uint32_t>(seek) : static_cast<uint32_t>(seek);
    AppendNumber(Control, seek < 0 ? ((magnitude - 1) << 1) | 1 : magnitude << 1);
}

void BinaryDeltaStreams::AddDifference(uint8_t difference) {
    if (difference == 0) {
        ++PendingZeros;
        return;
    }
    AppendNumber(Gaps, PendingZeros);
    Difference.push_back(difference);
    PendingZeros = 0;
}

void AssembleBinaryDelta(uint32_t oldSize, uint32_t newSize, uint32_t newCrc, const BinaryDeltaStreams& streams,
                         std::vector<uint8_t>& out) {
    BinaryDeltaHeader header = {oldSize,
                                newSize,
                                newCrc,
                                static_cast<uint32_t>(streams.Control.size()),
                                static_cast<uint32_t>(streams.Gaps.size()),
                                static_cast<uint32_t>(streams.Difference.size()),
                                static_cast<uint32_t>(streams.Extra.size())};
    const uint32_t fields[7] = {header.OldSize, header.NewSize,        header.NewCrc,   header.ControlSize,
                                header.GapSize, header.DifferenceSize, header.ExtraSize};
    out.assign(kBinaryDeltaMagic, kBinaryDeltaMagic + 4);
    out.resize(kBinaryDeltaHeaderSize);
    for (int i = 0; i < 7; ++i) WriteLittleEndian32(out.data() + 4 + 4 * i, fields[i]);
    out.insert(out.end(), streams.Control.begin(), streams.Control.end());
    out.insert(out.end(), streams.Gaps.begin(), streams.Gaps.end());
    out.insert(out.end(), streams.Difference.begin(), streams.Difference.end());
    out.insert(out.end(), streams.Extra.begin(), streams.Extra.end());
}

bool EncodeBinaryDelta(const std::vector<uint8_t>& old, const std::vector<uint8_t>& now, std::vector<uint8_t>& out) {
    out.clear();
    // Up to 1 GiB each, every position and offset sum fits the suffix
    // array's 32-bit index.
    constexpr std::size_t kLargest = std::size_t{1} << 30;
    if (old.size() > kLargest || now.size() > kLargest) return false;
    try {
        BinaryDeltaStreams streams;
        if (!Encoder(old, now).Run(streams)) return false;
        const uint32_t crc = Crc32Update(0, now.data(), now.size());
        AssembleBinaryDelta(static_cast<uint32_t>(old.size()), static_cast<uint32_t>(now.size()), crc, streams, out);
        return true;
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
}
