// Programming against a radio that misbehaves at every point: each handshake attempt, each
// record and the completion reply, with every kind of misbehaviour. Each ends with its own
// message, within programming's own waits, and the image is unchanged (apart from the 5 kHz
// rounding the user agreed to before the records).

#include "core/link/five_khz_rounding.h"
#include "core/link/generation.h"
#include "core/link/link_messages.h"
#include "core/link/link_steps.h"
#include "core/link/programming.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"
#include "tests/core/link/recording_link_ui.h"
#include "tests/hostile/hostile_line.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::link::hostile;
using namespace std::chrono_literals;
using fakes::RecordingLinkUi;

namespace {

const LinkTarget kCom1 { "COM1", "/dev/ttyUSB0" };
const Bytes kProgram { 'p', 'R', 'O', 'G', 'R', 'A', 'M' };
const Bytes kCompletion { 'O', 'K' };

enum class RadioKind {
    Older,
    Newer,
    OlderRounded, // an older radio, and an image off the 5 kHz grid that the user agrees to round
};

std::string radioName(RadioKind k)
{
    switch (k) {
    case RadioKind::Older:
        return "OlderRadio";
    case RadioKind::Newer:
        return "NewerRadio";
    case RadioKind::OlderRounded:
        return "OlderRadioRounded";
    }
    return "?";
}

Bytes handshakeReply(RadioKind k) { return k == RadioKind::Newer ? Bytes { 0x03, 0x01 } : Bytes { 0x00 }; }
int recordCount(RadioKind k)
{
    return programmingRecordCount(k == RadioKind::Newer ? Generation::Newer : Generation::Older);
}

// The image to program: the radio's own model, so no question about it; on the 5 kHz grid
// unless the rounding is what the sweep is about.
model::RadioImage imageFor(RadioKind k)
{
    model::RadioImage image = model::defaultImage(k == RadioKind::Newer ? 3 : 0);
    image.channels[4][13] = 0x5A;
    image.parameters[6][2] = 0x33;
    if (k == RadioKind::OlderRounded) model::setFrequencyCount(image.channels[0], model::Side::Receive, 58405);
    return image;
}

model::RadioImage rounded(model::RadioImage image)
{
    roundOnto5kHzGrid(image.channels, sidesOff5kHzGrid(image.channels));
    return image;
}

struct Phase {
    enum Kind { Attempt, Record, Completion } kind;
    int index = 0; // attempt 1..6, record 0..

    std::string name() const
    {
        switch (kind) {
        case Attempt:
            return "handshake attempt " + std::to_string(index);
        case Record:
            return "record " + std::to_string(index);
        case Completion:
            return "completion";
        }
        return "?";
    }
};

std::vector<Phase> phases(RadioKind k)
{
    std::vector<Phase> all;
    for (int a = 1; a <= kHandshakeAttempts; ++a)
        all.push_back({ Phase::Attempt, a });
    for (int r = 0; r < recordCount(k); ++r)
        all.push_back({ Phase::Record, r });
    all.push_back({ Phase::Completion, 0 });
    return all;
}

bool isRecord(const Bytes& written) { return written.size() == 12 && written[0] == 0x57; }

// Plays the radio up to the phase, then misbehaves there and says nothing more.
struct HostileRadio {
    HostileRadio(RadioKind k, Phase p, Misbehaviour m)
        : kind(k)
        , phase(p)
        , how(m)
    {
    }

    RadioKind kind;
    Phase phase;
    Misbehaviour how;
    int attempts = 0;
    int records = 0;
    bool misbehaved = false;
    std::optional<Clock::TimePoint> dropsAt;

    void hear(FakeSerialPort& port, const Bytes& written, Clock::TimePoint leftAt)
    {
        const Clock::TimePoint answer = leftAt + kTurnAround;
        if (written == kProgram) {
            ++attempts;
            if (phase.kind == Phase::Attempt) {
                if (attempts == phase.index) act(port, answer, leftAt + kHandshakePause / 2);
                return;
            }
            if (attempts == 1) port.deliver(answer, handshakeReply(kind));
            return;
        }
        if (!isRecord(written) || misbehaved) return;
        ++records;
        if (phase.kind == Phase::Record && records - 1 == phase.index) {
            act(port, answer, leftAt + kRecordPause / 2);
            return;
        }
        if (records != recordCount(kind)) return;
        if (phase.kind == Phase::Completion)
            act(port, answer, leftAt + kRecordPause + kCompletionPause / 2);
        else
            port.deliver(answer, kCompletion);
    }

    void act(FakeSerialPort& port, Clock::TimePoint at, Clock::TimePoint midway)
    {
        misbehaved = true;
        if (how == Misbehaviour::DropAtStart) dropsAt = at;
        if (how == Misbehaviour::DropMidway) dropsAt = midway;
        misbehave(port, how, at, midway);
    }
};

// Six attempts whose replies never settle.
constexpr Clock::Duration kAttemptBound
    = 7 * kByteTime + kHandshakePause + kTakeReplySettleLimit + kTakeReplySettleStep;
constexpr Clock::Duration kHandshakeBound = kHandshakeAttempts * kAttemptBound;
// Then every record with its pause, the completion pause and a reply that never settles.
Clock::Duration programmingBound(RadioKind k)
{
    return kHandshakeBound + kPreDataPause + recordCount(k) * (12 * kByteTime + kRecordPause) + kCompletionPause
        + kTakeReplySettleLimit + kTakeReplySettleStep;
}
// The longest stretch without a look at the port: the last record's pause and the completion pause.
constexpr Clock::Duration kLongestBlindWait = kRecordPause + kCompletionPause;

struct Expected {
    util::Message message;
    std::vector<Bytes> written;
    bool recordPhaseReached = false; // the rounding question came, and its answer applies
    bool everyRecordSent = false;
    Clock::Duration bound {};
};

Expected expected(RadioKind kind, const Phase& phase, Misbehaviour how)
{
    const util::Message silent = communicationFailure(kCom1);
    const util::Message dropped = communicationFailure(kCom1, PortError { PortErrorKind::LineDropped, "", "", "" });
    Expected e;
    if (phase.kind == Phase::Attempt) {
        e.message = drops(how) ? dropped : silent;
        int attempts = phase.index;
        if (how == Misbehaviour::Nothing) attempts = kHandshakeAttempts;
        if (how == Misbehaviour::DropAtStart) attempts = phase.index - 1;
        e.written.assign(static_cast<std::size_t>(attempts), kProgram);
        e.bound = kHandshakeBound;
        return e;
    }
    e.recordPhaseReached = true;
    e.bound = programmingBound(kind);
    int sent = recordCount(kind);
    if (phase.kind == Phase::Record && how == Misbehaviour::DropAtStart) sent = phase.index;
    if (phase.kind == Phase::Record && how == Misbehaviour::DropMidway) sent = phase.index + 1;
    e.everyRecordSent = sent == recordCount(kind);
    if (drops(how))
        e.message = dropped;
    else if (how == Misbehaviour::ShortGarbage)
        e.message = silent; // a lone byte where the completion belongs
    else
        e.message = writeError();
    e.written.push_back(kProgram);
    // The records' own bytes are checked elsewhere; here only how many went out.
    e.written.resize(1 + static_cast<std::size_t>(sent));
    return e;
}

class HostileProgramming : public ::testing::TestWithParam<std::tuple<RadioKind, Misbehaviour>> { };

TEST_P(HostileProgramming, EveryPhase)
{
    const auto [kind, how] = GetParam();
    for (const Phase& phase : phases(kind)) {
        SCOPED_TRACE(phase.name());
        FakeClock clock;
        FakeSerialPort fake(clock);
        WatchedClock watchedClock(clock);
        WatchedPort port(fake, clock);
        RecordingLinkUi ui;
        if (kind == RadioKind::OlderRounded) ui.answers = { true };
        HostileRadio radio { kind, phase, how };
        fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
        // A drop as the program writes: the attempt, or record r after a first attempt that was
        // answered.
        if (how == Misbehaviour::DropAtStart && phase.kind == Phase::Attempt) fake.hangUpOnWrite(phase.index);
        if (how == Misbehaviour::DropAtStart && phase.kind == Phase::Record) fake.hangUpOnWrite(phase.index + 2);

        model::RadioImage image = imageFor(kind);
        const model::RadioImage before = image;
        std::optional<ProgramOutcome> out;
        try {
            out = programRadio(image, kCom1, port, watchedClock, ui);
        } catch (const Hang& hang) {
            ADD_FAILURE() << "programming hung: " << hang.what();
            continue;
        }
        const Expected want = expected(kind, phase, how);
        EXPECT_EQ(out->end, LinkEnd::Failed);
        EXPECT_EQ(ui.messages, std::vector<util::Message> { want.message });
        const std::vector<Bytes> chunks = fake.writtenChunks();
        ASSERT_EQ(chunks.size(), want.written.size());
        for (std::size_t w = 0; w < chunks.size(); ++w)
            if (want.written[w].empty()) {
                EXPECT_TRUE(isRecord(chunks[w])) << "write " << w;
            } else {
                EXPECT_EQ(chunks[w], want.written[w]) << "write " << w;
            }
        if (kind == RadioKind::OlderRounded && want.recordPhaseReached) {
            EXPECT_EQ(ui.questions, std::vector<util::Message> { roundingQuestion() });
            EXPECT_EQ(image, rounded(before)) << "only the rounding the user agreed to";
        } else {
            EXPECT_TRUE(ui.questions.empty());
            EXPECT_EQ(image, before) << "the image is byte for byte as it was";
        }
        EXPECT_EQ(out->fiveKhzForm.has_value(), want.everyRecordSent);
        EXPECT_LE(clock.elapsed(), want.bound);
        EXPECT_FALSE(fake.isOpen());
        EXPECT_FALSE(ui.progressShowing);
        if (radio.dropsAt) {
            ASSERT_TRUE(port.firstDropSeen());
            EXPECT_LE(*port.firstDropSeen() - *radio.dropsAt, kLongestBlindWait) << "the drop is seen at the next look";
        }
        if (drops(how)) {
            ASSERT_TRUE(port.firstDropSeen());
            EXPECT_EQ(clock.now(), *port.firstDropSeen()) << "nothing waits once the line has dropped";
        }
    }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<RadioKind, Misbehaviour>>& info)
{
    return radioName(std::get<0>(info.param)) + "_" + misbehaviourName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Sweep, HostileProgramming,
    ::testing::Combine(::testing::Values(RadioKind::Older, RadioKind::Newer, RadioKind::OlderRounded),
        ::testing::ValuesIn(kAllMisbehaviours)),
    caseName);

// A port that takes the program's bytes and never lets them leave, from each write on: the
// command, then every record. Programming gives up on that write with the port's message.
TEST(HostileProgrammingPort, OutputThatNeverLeaves)
{
    const util::Message stalled = communicationFailure(
        kCom1, PortError { PortErrorKind::Other, "/dev/ttyUSB0", "output does not leave the port", {} });
    for (const RadioKind kind : { RadioKind::Older, RadioKind::Newer }) {
        for (int write = 1; write <= 1 + recordCount(kind); ++write) {
            SCOPED_TRACE(radioName(kind) + ", stalled from write " + std::to_string(write));
            FakeClock clock;
            FakeSerialPort fake(clock);
            WatchedClock watchedClock(clock);
            WatchedPort port(fake, clock);
            port.stallFromWrite(write);
            RecordingLinkUi ui;
            HostileRadio radio(kind, { Phase::Record, recordCount(kind) }, Misbehaviour::Nothing);
            fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
            model::RadioImage image = imageFor(kind);
            const model::RadioImage before = image;
            std::optional<ProgramOutcome> out;
            try {
                out = programRadio(image, kCom1, port, watchedClock, ui);
            } catch (const Hang& hang) {
                ADD_FAILURE() << "programming hung: " << hang.what();
                continue;
            }
            EXPECT_EQ(out->end, LinkEnd::Failed);
            EXPECT_EQ(image, before);
            EXPECT_EQ(ui.messages, std::vector<util::Message> { stalled });
            EXPECT_EQ(fake.writtenChunks().size(), static_cast<std::size_t>(write));
            EXPECT_FALSE(out->fiveKhzForm);
            EXPECT_GE(clock.elapsed(), kWaitSentLimit);
            EXPECT_LE(clock.elapsed(), programmingBound(kind) + kWaitSentLimit + kWaitSentStep);
            EXPECT_FALSE(fake.isOpen());
            EXPECT_FALSE(ui.progressShowing);
        }
    }
}

// A driver that fails once, at any one call of programming: programming ends there, with the
// port's message and the driver's words in its detail, and the image as it was.
TEST(HostileProgrammingPort, EveryPortCallFailsOnce)
{
    const util::Message failed = communicationFailure(kCom1, WatchedPort::injectedError());
    for (const RadioKind kind : { RadioKind::Older, RadioKind::Newer }) {
        const Phase never { Phase::Record, recordCount(kind) };
        long calls = 0;
        {
            FakeClock clock;
            FakeSerialPort fake(clock);
            WatchedPort port(fake, clock);
            RecordingLinkUi ui;
            HostileRadio radio(kind, never, Misbehaviour::Nothing);
            fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
            model::RadioImage image = imageFor(kind);
            ASSERT_TRUE(programRadio(image, kCom1, port, clock, ui).success());
            calls = port.calls();
        }
        for (long call = 1; call <= calls; ++call) {
            SCOPED_TRACE(radioName(kind) + ", call " + std::to_string(call) + " of " + std::to_string(calls));
            FakeClock clock;
            FakeSerialPort fake(clock);
            WatchedClock watchedClock(clock);
            WatchedPort port(fake, clock);
            port.failCall(call);
            RecordingLinkUi ui;
            HostileRadio radio(kind, never, Misbehaviour::Nothing);
            fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
            model::RadioImage image = imageFor(kind);
            const model::RadioImage before = image;
            std::optional<ProgramOutcome> out;
            try {
                out = programRadio(image, kCom1, port, watchedClock, ui);
            } catch (const Hang& hang) {
                ADD_FAILURE() << "programming hung: " << hang.what();
                continue;
            }
            EXPECT_EQ(out->end, LinkEnd::Failed);
            EXPECT_EQ(image, before);
            EXPECT_EQ(ui.messages, std::vector<util::Message> { failed });
            EXPECT_LE(clock.elapsed(), programmingBound(kind));
            EXPECT_FALSE(fake.isOpen());
            EXPECT_FALSE(ui.progressShowing);
        }
    }
}

// The same rig with a radio that behaves.
TEST(HostileProgrammingRig, AWellBehavedRadioIsProgrammed)
{
    for (const RadioKind kind : { RadioKind::Older, RadioKind::Newer, RadioKind::OlderRounded }) {
        SCOPED_TRACE(radioName(kind));
        FakeClock clock;
        FakeSerialPort fake(clock);
        RecordingLinkUi ui;
        if (kind == RadioKind::OlderRounded) ui.answers = { true };
        // A record past the last never comes.
        HostileRadio radio { kind, { Phase::Record, recordCount(kind) }, Misbehaviour::Nothing };
        fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
        model::RadioImage image = imageFor(kind);
        const ProgramOutcome out = programRadio(image, kCom1, fake, clock, ui);
        EXPECT_TRUE(out.success());
        EXPECT_EQ(ui.messages, std::vector<util::Message> { writeComplete() });
        EXPECT_EQ(radio.records, recordCount(kind));
        EXPECT_LE(clock.elapsed(), programmingBound(kind));
    }
}

} // namespace
