// The read-out against a radio that misbehaves at every point: each handshake attempt, the
// go-ahead and each record of the read-out, with every kind of misbehaviour. Each ends with its
// own message, within the read-out's own waits, and leaves the caller's image as it was.

#include "core/link/generation.h"
#include "core/link/link_messages.h"
#include "core/link/link_steps.h"
#include "core/link/readout.h"
#include "core/model/defaults.h"
#include "tests/core/link/recording_link_ui.h"
#include "tests/core/link/test_streams.h"
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

const LinkTarget kCom2 { "COM2", "/dev/ttyUSB1" };
const Bytes kRead { 'r', 'E', 'A', 'D' };
const Bytes kGoAhead { 'O', 'K' };
constexpr std::size_t kRecordSize = 12;

enum class RadioKind { Older, Newer, UnknownVersion };

std::string radioName(RadioKind k)
{
    switch (k) {
    case RadioKind::Older:
        return "OlderRadio";
    case RadioKind::Newer:
        return "NewerRadio";
    case RadioKind::UnknownVersion:
        return "UnknownVersion";
    }
    return "?";
}

Bytes handshakeReply(RadioKind k)
{
    switch (k) {
    case RadioKind::Older:
        return { 0x03 };
    case RadioKind::Newer:
        return { 0x03, 0x01 };
    case RadioKind::UnknownVersion:
        return { 0x03, 0x05 };
    }
    return {};
}

Bytes radioReadout(RadioKind k)
{
    model::RadioImage radio = model::defaultImage(3);
    for (int c = 0; c < 16; ++c)
        radio.channels[c][13] = static_cast<std::uint8_t>(0xC0 + c);
    if (k == RadioKind::Newer) return fakes::newerReadout(radio.channels, radio.settings, radio.parameters, 3);
    return fakes::olderReadout(radio.channels, radio.settings, 3);
}

// The image the user is editing: nothing a radio sends looks like it.
model::RadioImage userImage()
{
    model::RadioImage image = model::defaultImage(0);
    image.channels[5][0] = 0x42;
    image.settings[3] = 0x5A;
    image.parameters[2][7] = 0x66;
    image.alignment[1][0] = 0x77;
    return image;
}

struct Phase {
    enum Kind { Attempt, GoAhead, Record } kind;
    int index = 0; // attempt 1..6, record 0..

    std::string name() const
    {
        switch (kind) {
        case Attempt:
            return "handshake attempt " + std::to_string(index);
        case GoAhead:
            return "go-ahead";
        case Record:
            return "read-out record " + std::to_string(index);
        }
        return "?";
    }
};

std::vector<Phase> phases(RadioKind k)
{
    std::vector<Phase> all;
    for (int a = 1; a <= kHandshakeAttempts; ++a)
        all.push_back({ Phase::Attempt, a });
    all.push_back({ Phase::GoAhead, 0 });
    const auto records = static_cast<int>(radioReadout(k).size() / kRecordSize);
    for (int r = 0; r < records; ++r)
        all.push_back({ Phase::Record, r });
    return all;
}

// Plays the radio up to the phase, then misbehaves there.
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
    Bytes readout = radioReadout(kind);
    int attempts = 0;
    std::optional<Clock::TimePoint> dropsAt; // a drop the radio scheduled in time

    void hear(FakeSerialPort& port, const Bytes& written, Clock::TimePoint leftAt)
    {
        const Clock::TimePoint answer = leftAt + kTurnAround;
        if (written == kRead) {
            ++attempts;
            if (phase.kind == Phase::Attempt) {
                if (attempts == phase.index) act(port, answer, leftAt + kHandshakePause / 2);
                return;
            }
            if (attempts == 1) port.deliver(answer, handshakeReply(kind));
            return;
        }
        if (written != kGoAhead) return;
        if (phase.kind == Phase::GoAhead) {
            act(port, answer, answer + kReadoutPollInterval * 3 / 2);
            return;
        }
        const std::size_t cut = kRecordSize * static_cast<std::size_t>(phase.index);
        port.deliver(answer, Bytes(readout.begin(), readout.begin() + static_cast<long>(cut)));
        const Clock::TimePoint recordStart = answer + static_cast<long>(cut) * kByteTime;
        act(port, recordStart, recordStart + 6 * kByteTime);
    }

    void act(FakeSerialPort& port, Clock::TimePoint at, Clock::TimePoint midway)
    {
        if (how == Misbehaviour::DropAtStart) dropsAt = at;
        if (how == Misbehaviour::DropMidway) dropsAt = midway;
        misbehave(port, how, at, midway);
    }
};

// The longest the read-out can take when every attempt and every wait runs out: six attempts
// whose replies never settle, the go-ahead, every look at the stream, and a last reply that
// never settles either.
constexpr Clock::Duration kAttemptBound
    = 4 * kByteTime + kHandshakePause + kTakeReplySettleLimit + kTakeReplySettleStep;
constexpr Clock::Duration kHandshakeBound = kHandshakeAttempts * kAttemptBound;
constexpr Clock::Duration kReadoutBound = kHandshakeBound + 2 * kByteTime + kReadoutPolls * kReadoutPollInterval
    + kTakeReplySettleLimit + kTakeReplySettleStep;
// Between two looks at the port the read-out never waits longer than this.
constexpr Clock::Duration kLongestBlindWait = std::max(kHandshakePause, kReadoutPollInterval);

struct Expected {
    std::vector<util::Message> messages;
    std::vector<Bytes> written;
    Clock::Duration bound;
};

Expected expected(RadioKind kind, const Phase& phase, Misbehaviour how)
{
    const util::Message silent = communicationFailure(kCom2);
    const util::Message dropped = communicationFailure(kCom2, PortError { PortErrorKind::LineDropped, "", "", "" });
    Expected e;
    if (phase.kind == Phase::Attempt) {
        e.bound = kHandshakeBound;
        e.messages = { drops(how) ? dropped : silent };
        // Silence runs through every attempt; a drop on the write takes that attempt with it.
        int reads = phase.index;
        if (how == Misbehaviour::Nothing) reads = kHandshakeAttempts;
        if (how == Misbehaviour::DropAtStart) reads = phase.index - 1;
        e.written.assign(static_cast<std::size_t>(reads), kRead);
        return e;
    }
    e.bound = kReadoutBound;
    if (kind == RadioKind::UnknownVersion) e.messages.push_back(versionMismatch());
    e.messages.push_back(drops(how) ? dropped : readError());
    e.written = { kRead };
    if (!(phase.kind == Phase::GoAhead && how == Misbehaviour::DropAtStart)) e.written.push_back(kGoAhead);
    return e;
}

class HostileReadout : public ::testing::TestWithParam<std::tuple<RadioKind, Misbehaviour>> { };

TEST_P(HostileReadout, EveryPhase)
{
    const auto [kind, how] = GetParam();
    for (const Phase& phase : phases(kind)) {
        SCOPED_TRACE(phase.name());
        FakeClock clock;
        FakeSerialPort fake(clock);
        WatchedClock watchedClock(clock);
        WatchedPort port(fake, clock);
        RecordingLinkUi ui;
        HostileRadio radio { kind, phase, how };
        fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
        // A drop as the program writes: the write of the attempt, or the go-ahead after a first
        // attempt that was answered.
        if (how == Misbehaviour::DropAtStart && phase.kind == Phase::Attempt) fake.hangUpOnWrite(phase.index);
        if (how == Misbehaviour::DropAtStart && phase.kind == Phase::GoAhead) fake.hangUpOnWrite(2);

        const model::RadioImage before = userImage();
        std::optional<ReadOutcome> out;
        try {
            out = readRadio(before, kCom2, port, watchedClock, ui);
        } catch (const Hang& hang) {
            ADD_FAILURE() << "the read-out hung: " << hang.what();
            continue;
        }
        const Expected want = expected(kind, phase, how);
        EXPECT_EQ(out->end, LinkEnd::Failed);
        EXPECT_EQ(out->image, before) << "the caller's image comes back as it was";
        EXPECT_FALSE(out->fiveKhzForm);
        EXPECT_EQ(ui.messages, want.messages);
        EXPECT_EQ(fake.writtenChunks(), want.written);
        EXPECT_LE(clock.elapsed(), want.bound);
        EXPECT_FALSE(fake.isOpen());
        EXPECT_FALSE(ui.progressShowing);
        if (radio.dropsAt) {
            ASSERT_TRUE(port.firstDropSeen());
            EXPECT_LE(*port.firstDropSeen() - *radio.dropsAt, kLongestBlindWait) << "the drop is seen at the next look";
            EXPECT_EQ(clock.now(), *port.firstDropSeen()) << "nothing waits once the line has dropped";
        }
    }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<RadioKind, Misbehaviour>>& info)
{
    return radioName(std::get<0>(info.param)) + "_" + misbehaviourName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Sweep, HostileReadout,
    ::testing::Combine(::testing::Values(RadioKind::Older, RadioKind::Newer, RadioKind::UnknownVersion),
        ::testing::ValuesIn(kAllMisbehaviours)),
    caseName);

// A port that takes the program's bytes and never lets them leave, from each write of the
// read-out on: the wait for them gives up, and the read-out ends with the port's message.
TEST(HostileReadoutPort, OutputThatNeverLeaves)
{
    const util::Message stalled = communicationFailure(
        kCom2, PortError { PortErrorKind::Other, "/dev/ttyUSB1", "output does not leave the port", {} });
    const std::vector<Bytes> writes { kRead, kGoAhead };
    for (const RadioKind kind : { RadioKind::Older, RadioKind::Newer }) {
        for (std::size_t write = 1; write <= writes.size(); ++write) {
            SCOPED_TRACE(radioName(kind) + ", stalled from write " + std::to_string(write));
            FakeClock clock;
            FakeSerialPort fake(clock);
            WatchedClock watchedClock(clock);
            WatchedPort port(fake, clock);
            port.stallFromWrite(static_cast<int>(write));
            RecordingLinkUi ui;
            HostileRadio radio(kind, { Phase::Record, static_cast<int>(radioReadout(kind).size() / kRecordSize) },
                Misbehaviour::Nothing);
            fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
            const model::RadioImage before = userImage();
            std::optional<ReadOutcome> out;
            try {
                out = readRadio(before, kCom2, port, watchedClock, ui);
            } catch (const Hang& hang) {
                ADD_FAILURE() << "the read-out hung: " << hang.what();
                continue;
            }
            EXPECT_EQ(out->end, LinkEnd::Failed);
            EXPECT_EQ(out->image, before);
            EXPECT_EQ(ui.messages, std::vector<util::Message> { stalled });
            EXPECT_EQ(
                fake.writtenChunks(), std::vector<Bytes>(writes.begin(), writes.begin() + static_cast<long>(write)));
            EXPECT_GE(clock.elapsed(), kWaitSentLimit);
            EXPECT_LE(clock.elapsed(), kAttemptBound + 2 * kByteTime + kWaitSentLimit + kWaitSentStep);
            EXPECT_FALSE(fake.isOpen());
            EXPECT_FALSE(ui.progressShowing);
        }
    }
}

// A driver that fails once, at any one call of the read-out: the read-out ends there, with the
// port's message and the driver's words in its detail.
TEST(HostileReadoutPort, EveryPortCallFailsOnce)
{
    const util::Message failed = communicationFailure(kCom2, WatchedPort::injectedError());
    for (const RadioKind kind : { RadioKind::Older, RadioKind::Newer }) {
        const Phase never { Phase::Record, static_cast<int>(radioReadout(kind).size() / kRecordSize) };
        long calls = 0;
        {
            FakeClock clock;
            FakeSerialPort fake(clock);
            WatchedPort port(fake, clock);
            RecordingLinkUi ui;
            HostileRadio radio(kind, never, Misbehaviour::Nothing);
            fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
            ASSERT_TRUE(readRadio(userImage(), kCom2, port, clock, ui).success());
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
            const model::RadioImage before = userImage();
            std::optional<ReadOutcome> out;
            try {
                out = readRadio(before, kCom2, port, watchedClock, ui);
            } catch (const Hang& hang) {
                ADD_FAILURE() << "the read-out hung: " << hang.what();
                continue;
            }
            EXPECT_EQ(out->end, LinkEnd::Failed);
            EXPECT_EQ(out->image, before);
            EXPECT_FALSE(out->fiveKhzForm);
            EXPECT_EQ(ui.messages, std::vector<util::Message> { failed });
            EXPECT_LE(clock.elapsed(), kReadoutBound);
            EXPECT_FALSE(fake.isOpen());
            EXPECT_FALSE(ui.progressShowing);
        }
    }
}

// The same rig with a radio that behaves: whatever fails above fails because of the misbehaviour.
TEST(HostileReadoutRig, AWellBehavedRadioReads)
{
    for (const RadioKind kind : { RadioKind::Older, RadioKind::Newer, RadioKind::UnknownVersion }) {
        SCOPED_TRACE(radioName(kind));
        FakeClock clock;
        FakeSerialPort fake(clock);
        RecordingLinkUi ui;
        // A phase past the end of the read-out never comes.
        HostileRadio radio { kind, { Phase::Record, static_cast<int>(radioReadout(kind).size() / kRecordSize) },
            Misbehaviour::Nothing };
        fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
        const ReadOutcome out = readRadio(userImage(), kCom2, fake, clock, ui);
        EXPECT_TRUE(out.success());
        EXPECT_EQ(out.image.modelIndex, 3);
        EXPECT_LE(clock.elapsed(), kReadoutBound);
    }
}

} // namespace
