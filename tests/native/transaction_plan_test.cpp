// The journal of a transaction: a plan written by the run comes back step
// for step, and anything that is not one whole, unchanged journal is
// refused. Every journal is read from a heap copy of exactly its size, so
// that a read past its end trips the address sanitizer.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/neutral/ByteBuffer.h"
#include "core/neutral/TransactionPlan.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A step as the test keeps it: texts owned, none told apart from "".
struct Step {
    StepKind kind;
    const char* target;
    const char* aside;
    const char* staged;
};

std::string Shown(const char* text) { return text ? "\"" + std::string(text) + "\"" : "none"; }

// The bytes in a heap block of exactly their size.
class ExactCopy {
public:
    explicit ExactCopy(const Bytes& bytes) : size_(bytes.size()), data_(new unsigned char[bytes.size() ? bytes.size() : 1]) {
        if (size_) std::memcpy(data_.get(), bytes.data(), size_);
    }
    ExactCopy(const Bytes& bytes, std::size_t size) : ExactCopy(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(size))) {}
    const unsigned char* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }
    bool Holds(const void* p, std::size_t length) const {
        const unsigned char* at = static_cast<const unsigned char*>(p);
        return at >= data_.get() && length <= size_ && at - data_.get() <= static_cast<std::ptrdiff_t>(size_ - length);
    }

private:
    std::size_t size_;
    std::unique_ptr<unsigned char[]> data_;
};

Bytes ToBytes(const ByteBuffer& buffer) {
    EXPECT_FALSE(buffer.Failed());
    return Bytes(buffer.Data(), buffer.Data() + buffer.Size());
}

Bytes Body(const std::vector<Step>& steps, const Bytes& registry) {
    ByteBuffer body;
    AppendPlanHeader(body, static_cast<uint32_t>(steps.size()));
    for (const Step& s : steps) AppendPlanStep(body, PlanStep{s.kind, s.target, s.aside, s.staged});
    AppendPlanRegistry(body, registry.data(), registry.size());
    return ToBytes(body);
}

Bytes Seal(const Bytes& body) {
    ByteBuffer in;
    in.Append(body.data(), body.size());
    ByteBuffer file;
    SealJournal(in, file);
    return ToBytes(file);
}

void Put32(Bytes& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A text as AppendText writes it, or any length and bytes at all.
void PutText(Bytes& out, uint32_t length, const std::string& bytes) {
    Put32(out, length);
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// Shift-JIS: the second byte of U+8868 is a backslash.
const char kDoubleByteFolder[] = "C:\\\x95\x5c\\lib.dll";

const std::vector<Step> kEveryKind = {
    {StepKind::StagingFolder, "C:\\app\\QVR19.tmp", nullptr, nullptr},
    {StepKind::Replace, "C:\\app\\lib.dll", "C:\\app\\QVR1A.tmp", "C:\\app\\QVR1B.tmp"},
    {StepKind::Replace, "C:\\app\\old.txt", "C:\\app\\QVR1C.tmp", nullptr},  // deleted
    {StepKind::Replace, "C:\\app\\new\\added.txt", nullptr, "C:\\app\\new\\QVR1D.tmp"},  // no old version
    {StepKind::CreatedFolder, "C:\\app\\new", nullptr, nullptr},
    {StepKind::ReplaceAtRestart, "C:\\app\\busy.dll", nullptr, "C:\\app\\QVR1E.tmp"},
    {StepKind::DeleteAtRestart, "C:\\app\\gone.dll", nullptr, nullptr},
    {StepKind::Replace, kDoubleByteFolder, "", ""},  // empty texts are texts, not none
};

const Bytes kRegistry = {'R', 0, 0, 0, 0xFF, 0x00, 'x', 0x01};

struct ReadPlan {
    bool opened = false;
    std::vector<PlanStep> steps;
    bool registry = false;
    const unsigned char* records = nullptr;
    std::size_t recordsSize = 0;
};

// Reads as the recovery does: open, every step the count promises, then
// the registry; stops at the first refusal. Every text handed out must lie
// inside the journal and end at its terminator.
ReadPlan Read(const ExactCopy& file) {
    ReadPlan read;
    PlanReader reader;
    read.opened = reader.Open(file.Data(), file.Size());
    if (!read.opened) return read;
    PlanStep step;
    while (read.steps.size() < reader.StepCount() && reader.NextStep(&step)) {
        for (const char* text : {step.target, step.aside, step.staged})
            if (text) {
                EXPECT_TRUE(file.Holds(text, std::strlen(text) + 1)) << "a text outside the journal";
            }
        EXPECT_NE(step.target, nullptr);
        read.steps.push_back(step);
    }
    if (read.steps.size() == reader.StepCount()) {
        EXPECT_FALSE(reader.NextStep(&step)) << "a step past the count";
    }
    read.registry = reader.Registry(&read.records, &read.recordsSize);
    if (read.registry) {
        EXPECT_TRUE(file.Holds(read.records, read.recordsSize)) << "records outside the journal";
    }
    return read;
}

// Whether the whole plan came through: opened, all steps, the registry.
bool Accepted(const ReadPlan& read, std::size_t steps) {
    return read.opened && read.steps.size() == steps && read.registry;
}

void ExpectSame(const char* what, const char* read, const char* written, std::size_t n) {
    if (!written) {
        EXPECT_EQ(read, nullptr) << what << " of step " << n << ": none written, " << Shown(read) << " read";
        return;
    }
    ASSERT_NE(read, nullptr) << what << " of step " << n << ": " << Shown(written) << " written, none read";
    EXPECT_STREQ(read, written) << what << " of step " << n;
}

}  // namespace

TEST(TransactionPlan, EveryKindOfStepAndTheRegistryComeBack) {
    struct Case {
        const char* what;
        std::vector<Step> steps;
        Bytes registry;
    } cases[] = {
        {"every kind, with and without aside and staged, registry records", kEveryKind, kRegistry},
        {"no registry records", kEveryKind, {}},
        {"no steps, registry only", {}, kRegistry},
        {"nothing at all", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ExactCopy file(Seal(Body(c.steps, c.registry)));
        const ReadPlan read = Read(file);
        ASSERT_TRUE(read.opened);
        ASSERT_EQ(read.steps.size(), c.steps.size());
        for (std::size_t n = 0; n < c.steps.size(); ++n) {
            EXPECT_EQ(read.steps[n].kind, c.steps[n].kind) << "step " << n;
            ExpectSame("target", read.steps[n].target, c.steps[n].target, n);
            ExpectSame("aside", read.steps[n].aside, c.steps[n].aside, n);
            ExpectSame("staged", read.steps[n].staged, c.steps[n].staged, n);
        }
        ASSERT_TRUE(read.registry);
        EXPECT_EQ(Bytes(read.records, read.records + read.recordsSize), c.registry);
    }
}

TEST(TransactionPlan, FrameIsMagicLengthBodyAndCrc) {
    const Bytes body = Body(kEveryKind, kRegistry);
    const Bytes file = Seal(body);
    ASSERT_EQ(file.size(), body.size() + 12);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "ZTJ1");
    Bytes length;
    Put32(length, static_cast<uint32_t>(body.size()));
    EXPECT_EQ(Bytes(file.begin() + 4, file.begin() + 8), length);
    EXPECT_EQ(Bytes(file.begin() + 8, file.end() - 4), body);
    // The CRC-32 of ZIP over the body alone: that of "123456789" is CBF43926.
    const Bytes check = Seal(Bytes{'1', '2', '3', '4', '5', '6', '7', '8', '9'});
    EXPECT_EQ(Bytes(check.end() - 4, check.end()), (Bytes{0x26, 0x39, 0xF4, 0xCB}));
}

TEST(TransactionPlan, RegistryIsOnlyReadAfterTheLastStep) {
    const ExactCopy file(Seal(Body(kEveryKind, kRegistry)));
    PlanReader reader;
    ASSERT_TRUE(reader.Open(file.Data(), file.Size()));
    const unsigned char* records = nullptr;
    std::size_t size = 0;
    EXPECT_FALSE(reader.Registry(&records, &size)) << "before any step";
    PlanStep step;
    ASSERT_TRUE(reader.NextStep(&step));
    EXPECT_FALSE(reader.Registry(&records, &size)) << "after one step of " << kEveryKind.size();
}

TEST(TransactionPlan, OpeningAgainStartsOver) {
    const ExactCopy first(Seal(Body(kEveryKind, kRegistry)));
    const ExactCopy second(Seal(Body({{StepKind::DeleteAtRestart, "C:\\b", nullptr, nullptr}}, {})));
    PlanReader reader;
    ASSERT_TRUE(reader.Open(first.Data(), first.Size()));
    PlanStep step;
    ASSERT_TRUE(reader.NextStep(&step));
    ASSERT_TRUE(reader.Open(second.Data(), second.Size()));
    EXPECT_EQ(reader.StepCount(), 1u);
    ASSERT_TRUE(reader.NextStep(&step));
    EXPECT_STREQ(step.target, "C:\\b");
    // A failed open leaves nothing of the journal before to read.
    EXPECT_FALSE(reader.Open(first.Data(), first.Size() - 1));
    EXPECT_EQ(reader.StepCount(), 0u);
    EXPECT_FALSE(reader.NextStep(&step));
}

TEST(TransactionPlan, EveryShorterLengthIsRefused) {
    const Bytes file = Seal(Body(kEveryKind, kRegistry));
    for (std::size_t length = 0; length < file.size(); ++length) {
        const ExactCopy cut(file, length);
        PlanReader reader;
        EXPECT_FALSE(reader.Open(cut.Data(), cut.Size())) << "cut to " << length << " of " << file.size();
    }
    PlanReader reader;
    EXPECT_FALSE(reader.Open(nullptr, 0));
}

TEST(TransactionPlan, EveryChangedByteIsRefused) {
    const Bytes file = Seal(Body(kEveryKind, kRegistry));
    for (std::size_t at = 0; at < file.size(); ++at)
        for (unsigned flip : {0x01u, 0x80u, 0xFFu, 0x5Au}) {
            Bytes changed = file;
            changed[at] = static_cast<unsigned char>(changed[at] ^ flip);
            const ExactCopy copy(changed);
            PlanReader reader;
            EXPECT_FALSE(reader.Open(copy.Data(), copy.Size())) << "byte " << at << " ^ " << flip;
        }
}

TEST(TransactionPlan, AppendedBytesAreRefused) {
    const Bytes file = Seal(Body(kEveryKind, kRegistry));
    const std::vector<Bytes> tails = {{0}, {0, 0, 0, 0}, {'Z', 'T', 'J', '1'}, file};
    for (const Bytes& tail : tails) {
        Bytes longer = file;
        longer.insert(longer.end(), tail.begin(), tail.end());
        const ExactCopy copy(longer);
        PlanReader reader;
        EXPECT_FALSE(reader.Open(copy.Data(), copy.Size())) << tail.size() << " bytes appended";
    }
}

// Bodies the runtime never writes, sealed so that the frame is whole: the
// reader must refuse them step by step, never read past them, and never
// hand out the registry of a plan it could not read through.
TEST(TransactionPlan, MalformedBodiesAreRefusedWithinTheirBytes) {
    // A well-formed step, as bytes.
    auto step = [](uint32_t kind) {
        Bytes out;
        Put32(out, kind);
        PutText(out, 5, std::string("C:\\a", 5));
        PutText(out, 0, "");
        PutText(out, 5, std::string("C:\\s", 5));
        return out;
    };
    auto join = [](std::initializer_list<Bytes> parts) {
        Bytes out;
        for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    auto u32 = [](uint32_t v) {
        Bytes out;
        Put32(out, v);
        return out;
    };
    auto text = [](uint32_t length, const std::string& bytes) {
        Bytes out;
        PutText(out, length, bytes);
        return out;
    };
    const Bytes noRecords = u32(0);
    const Bytes someRecords = join({u32(3), {1, 2, 3}});
    struct Case {
        const char* what;
        Bytes body;
        std::size_t stepsWritten;  // well-formed steps before the fault
    } cases[] = {
        {"empty body, no step count", {}, 0},
        {"step count cut short", {1, 0}, 0},
        {"kind 0", join({u32(1), step(0), noRecords}), 0},
        {"kind 6", join({u32(1), step(6), noRecords}), 0},
        {"kind FFFFFFFF", join({u32(1), step(0xFFFFFFFFu), noRecords}), 0},
        {"bad kind after a good step", join({u32(2), step(1), step(7), noRecords}), 1},
        {"count one more than the steps, then records", join({u32(3), step(1), step(2), someRecords}), 2},
        {"count one more than the steps, no records", join({u32(3), step(1), step(2)}), 2},
        {"count one more than the steps, empty records", join({u32(3), step(1), step(2), noRecords}), 2},
        {"count far beyond the body", join({u32(0x10000002u), step(1), step(1), step(1), noRecords}), 3},
        {"count FFFFFFFF", join({u32(0xFFFFFFFFu), step(1), noRecords}), 1},
        {"registry block missing", join({u32(1), step(1)}), 1},
        {"registry block length cut short", join({u32(1), step(1), {3, 0}}), 1},
        {"registry block longer than the rest", join({u32(1), step(1), u32(4), {1, 2, 3}}), 1},
        {"registry block length FFFFFFFF", join({u32(1), step(1), u32(0xFFFFFFFFu), {1, 2, 3}}), 1},
        {"bytes after the registry block", join({u32(1), step(1), noRecords, {0}}), 1},
        {"fewer steps counted than written", join({u32(1), step(1), step(1), noRecords}), 1},
        {"target none", join({u32(1), u32(1), text(0, ""), text(0, ""), text(0, ""), noRecords}), 0},
        {"target without terminator", join({u32(1), u32(1), text(3, "abc"), text(0, ""), text(0, ""), noRecords}), 0},
        {"target with a terminator inside", join({u32(1), u32(1), text(4, std::string("ab\0\0", 4)), text(0, ""),
                                                   text(0, ""), noRecords}), 0},
        {"aside without terminator", join({u32(1), u32(1), text(2, std::string("a\0", 2)), text(2, "bc"),
                                            text(0, ""), noRecords}), 0},
        {"staged without terminator, at the very end",
         join({u32(1), u32(1), text(2, std::string("a\0", 2)), text(0, ""), text(2, "bc")}), 0},
        {"text longer than the body", join({u32(1), u32(1), text(40, std::string("a\0", 2)), noRecords}), 0},
        {"text length FFFFFFFF", join({u32(1), u32(1), text(0xFFFFFFFFu, std::string("a\0", 2)), noRecords}), 0},
        {"step cut inside its texts' lengths", join({u32(1), u32(1), text(2, std::string("a\0", 2)), {0, 0}}), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ExactCopy file(Seal(c.body));
        const ReadPlan read = Read(file);
        PlanReader counter;
        const uint32_t counted = counter.Open(file.Data(), file.Size()) ? counter.StepCount() : 0;
        EXPECT_FALSE(Accepted(read, counted)) << "taken for a whole plan";
        EXPECT_LE(read.steps.size(), c.stepsWritten) << "more steps read than were written";
        EXPECT_FALSE(read.registry) << "registry handed out";
    }
}

// The reader's promise to whoever keeps the steps in memory: the count never
// exceeds what the body can hold, so an array of that many steps is no
// larger than a small multiple of the journal itself.
TEST(TransactionPlan, StepCountIsBoundedByTheBody) {
    Bytes body;
    Put32(body, 0x10000002u);
    for (int i = 0; i < 3; ++i) {
        Put32(body, 1);
        PutText(body, 3, std::string("C:", 3));
        PutText(body, 0, "");
        PutText(body, 0, "");
    }
    Put32(body, 0);
    const ExactCopy file(Seal(body));
    PlanReader reader;
    const bool opened = reader.Open(file.Data(), file.Size());
    // On a 32-bit system 0x10000002 steps of 16 bytes would wrap to 32 bytes.
    EXPECT_TRUE(!opened || static_cast<uint64_t>(reader.StepCount()) * 16 <= body.size())
        << "a count of " << reader.StepCount() << " from a body of " << body.size() << " bytes";
}
