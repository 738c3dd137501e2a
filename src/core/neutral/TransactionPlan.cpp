#include "core/neutral/TransactionPlan.h"

#include <cstring>

#include "core/neutral/Crc32.h"

namespace {

constexpr char kMagic[4] = {'Z', 'T', 'J', '1'};
constexpr std::size_t kFrameSize = sizeof kMagic + 4 + 4;  // magic, length, CRC
// A step holds at least its kind and its three texts' lengths.
constexpr std::size_t kLeastStepSize = 4 + 3 * 4;

uint32_t ReadLe32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool IsKnownKind(uint32_t kind) { return kind >= 1 && kind <= kLastStepKind; }

}  // namespace

void AppendPlanHeader(ByteBuffer& body, uint32_t stepCount) { body.AppendU32(stepCount); }

void AppendPlanStep(ByteBuffer& body, const PlanStep& step) {
    body.AppendU32(static_cast<uint32_t>(step.kind));
    body.AppendText(step.target);
    body.AppendText(step.aside);
    body.AppendText(step.staged);
}

void AppendPlanRegistry(ByteBuffer& body, const unsigned char* records, std::size_t size) {
    body.AppendBlock(records, static_cast<uint32_t>(size));
}

void SealJournal(const ByteBuffer& body, ByteBuffer& file) {
    file.Append(kMagic, sizeof kMagic);
    file.AppendU32(static_cast<uint32_t>(body.Size()));
    file.Append(body.Data(), body.Size());
    file.AppendU32(Crc32Update(0, body.Data(), body.Size()));
    if (body.Failed()) file.MarkFailed();
}

bool PlanReader::Open(const unsigned char* file, std::size_t size) {
    stepCount_ = stepsRead_ = 0;
    reader_ = ByteReader(nullptr, 0);
    if (!file || size < kFrameSize || std::memcmp(file, kMagic, sizeof kMagic) != 0) return false;
    const uint32_t bodySize = ReadLe32(file + sizeof kMagic);
    if (bodySize != size - kFrameSize) return false;
    const unsigned char* body = file + sizeof kMagic + 4;
    if (Crc32Update(0, body, bodySize) != ReadLe32(body + bodySize)) return false;
    reader_ = ByteReader(body, bodySize);
    // A count the body cannot hold is no plan the run wrote; whoever keeps
    // the steps in an array sizes it by the count, and on a 32-bit system
    // such a count times the step's size wraps to a small array.
    if (!reader_.ReadU32(&stepCount_) || stepCount_ > (bodySize - 4) / kLeastStepSize) {
        stepCount_ = 0;
        reader_ = ByteReader(nullptr, 0);
        return false;
    }
    return true;
}

bool PlanReader::NextStep(PlanStep* step) {
    if (stepsRead_ >= stepCount_) return false;
    uint32_t kind = 0;
    if (!reader_.ReadU32(&kind) || !IsKnownKind(kind) || !reader_.ReadText(&step->target) ||
        !reader_.ReadText(&step->aside) || !reader_.ReadText(&step->staged) || !step->target)
        return false;
    step->kind = static_cast<StepKind>(kind);
    ++stepsRead_;
    return true;
}

bool PlanReader::Registry(const unsigned char** records, std::size_t* size) {
    if (stepsRead_ != stepCount_) return false;
    uint32_t blockSize = 0;
    if (!reader_.ReadBlock(records, &blockSize) || !reader_.AtEnd()) return false;
    *size = blockSize;
    return true;
}
