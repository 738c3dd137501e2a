// The journal reader over arbitrary bytes, twice: once as a journal file,
// where nearly every input fails the frame, and once with the input sealed
// as a body, so that the CRC holds and the body's parser meets every shape.
// It never reads outside the bytes, hands out only texts that end inside
// them, and whatever it reads through whole is written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/neutral/ByteBuffer.h"
#include "core/neutral/TransactionPlan.h"

namespace {

bool Inside(const void* p, std::size_t length, const unsigned char* begin, std::size_t size) {
    const unsigned char* at = static_cast<const unsigned char*>(p);
    return at >= begin && length <= size && static_cast<std::size_t>(at - begin) <= size - length;
}

void CheckText(const char* text, const unsigned char* begin, std::size_t size) {
    if (!text) return;
    // The terminator must be inside the journal: look for it within bounds.
    const unsigned char* at = reinterpret_cast<const unsigned char*>(text);
    if (!Inside(at, 1, begin, size)) std::abort();
    const void* end = std::memchr(at, 0, size - static_cast<std::size_t>(at - begin));
    if (!end) std::abort();
}

// Reads `file` through; when the plan reads whole, the journal written from
// what was read must be the very same bytes.
void ReadThrough(const unsigned char* file, std::size_t size) {
    PlanReader reader;
    if (!reader.Open(file, size)) return;
    ByteBuffer body;
    AppendPlanHeader(body, reader.StepCount());
    PlanStep step;
    uint32_t read = 0;
    while (reader.NextStep(&step)) {
        if (++read > reader.StepCount()) std::abort();
        const uint32_t kind = static_cast<uint32_t>(step.kind);
        if (kind < 1 || kind > kLastStepKind || !step.target) std::abort();
        CheckText(step.target, file, size);
        CheckText(step.aside, file, size);
        CheckText(step.staged, file, size);
        AppendPlanStep(body, step);
    }
    const unsigned char* records = nullptr;
    std::size_t recordsSize = 0;
    if (!reader.Registry(&records, &recordsSize)) return;
    if (read != reader.StepCount() || !Inside(records, recordsSize, file, size)) std::abort();
    AppendPlanRegistry(body, records, recordsSize);
    ByteBuffer again;
    SealJournal(body, again);
    if (again.Failed() || again.Size() != size || std::memcmp(again.Data(), file, size) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    ReadThrough(data, size);

    ByteBuffer body;
    body.Append(data, size);
    ByteBuffer sealed;
    SealJournal(body, sealed);
    if (sealed.Failed()) return 0;
    // In a block of exactly its size: the buffer's spare room would hide a
    // read past the end.
    std::unique_ptr<unsigned char[]> exact(new unsigned char[sealed.Size()]);
    std::memcpy(exact.get(), sealed.Data(), sealed.Size());
    ReadThrough(exact.get(), sealed.Size());
    return 0;
}
