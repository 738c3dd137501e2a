// The plan of a transaction as its journal keeps it: what the run will do to
// each target, and the registry's state before the run. The journal is
// written once, before the first target changes; from then on the state of
// every step can be read from which of its files exist, so undoing (or
// finishing) a run cut short needs nothing else.
//
// A journal file is "ZTJ1", the body's length, the body and the body's
// CRC-32, and nothing more: a write cut short at any length, or a byte
// changed, makes it no journal at all, and a run whose journal never became
// whole had changed nothing yet.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/neutral/ByteBuffer.h"

enum class StepKind : uint32_t {
    // The target steps aside (when it exists) onto its reserved name (an
    // empty file until then) and the prepared file (when there is one)
    // takes its place. No prepared file: the target is deleted. Where the
    // volume has hard links, the old version is given the reserved name as
    // a second name instead, and the prepared file renamed over the target.
    Replace = 1,
    // The prepared file is renamed over the target at the next restart.
    ReplaceAtRestart = 2,
    // The target is deleted at the next restart.
    DeleteAtRestart = 3,
    // A folder the run created for a new file; undone by removing it.
    CreatedFolder = 4,
    // A folder beside the targets where prepared files and old versions
    // wait; removed when the run is undone and when it is finished, after
    // the steps that follow it in the plan (its files).
    StagingFolder = 5,
};
// The kinds a journal may hold are 1 to this.
constexpr uint32_t kLastStepKind = static_cast<uint32_t>(StepKind::StagingFolder);

struct PlanStep {
    StepKind kind;
    const char* target;
    const char* aside;   // where the old target goes; none when there was none
    const char* staged;  // the prepared new content; none for a delete
};

// Body: the step count, the steps, then the registry records as one block.
void AppendPlanHeader(ByteBuffer& body, uint32_t stepCount);
void AppendPlanStep(ByteBuffer& body, const PlanStep& step);
void AppendPlanRegistry(ByteBuffer& body, const unsigned char* records, std::size_t size);

// The whole journal file around `body`.
void SealJournal(const ByteBuffer& body, ByteBuffer& file);

// A plan read back from a journal file's bytes; its texts point into them.
class PlanReader {
public:
    // False for anything that is not one whole journal.
    bool Open(const unsigned char* file, std::size_t size);
    // Never more steps than the body has room for (16 bytes each at the
    // least): an array of StepCount() steps is no larger than the journal.
    uint32_t StepCount() const { return stepCount_; }
    // The steps in order; false past the last one or for a malformed step.
    // Undo takes them in reverse, and so does the clearing up after a
    // commit: a staging folder goes after the files in it.
    bool NextStep(PlanStep* step);
    // After the last step: the registry records.
    bool Registry(const unsigned char** records, std::size_t* size);

private:
    ByteReader reader_{nullptr, 0};
    uint32_t stepCount_ = 0;
    uint32_t stepsRead_ = 0;
};
