// An item adjustment against a radio that misbehaves at every step: each attempt of the start,
// the first packet, the item command and the packet of a value change, and the end. A start that
// fails says so with the port's message; a change or an end that fails is skipped without a word.
// Every step ends within its own waits, and the image's alignment table is never touched.

#include "core/link/alignment.h"
#include "core/link/alignment_items.h"
#include "core/link/link_messages.h"
#include "core/link/link_steps.h"
#include "core/model/defaults.h"
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

const LinkTarget kCom2 { "COM2", "/dev/ttyUSB1" };
constexpr int kModel = 3; // model code 3
constexpr int kItem = 5;
constexpr std::uint8_t kRadioValue = 0x80;
constexpr std::uint8_t kNewValue = 0x90;

Bytes text(std::string_view s) { return Bytes(s.begin(), s.end()); }
const Bytes kItemCommand = text(alignmentItemCommand(kItem));
const Bytes kEnd = text("END");

enum class RadioKind { Older, Newer };

std::string radioName(RadioKind k) { return k == RadioKind::Older ? "OlderRadio" : "NewerRadio"; }

Bytes startReply(RadioKind k)
{
    return k == RadioKind::Older ? Bytes { 0x03, kRadioValue } : Bytes { 0x03, 0x01, kRadioValue };
}

model::RadioImage userImage()
{
    model::RadioImage image = model::defaultImage(kModel);
    image.alignment[1][0] = 0x9A;
    image.alignment[1][15] = 0x44;
    image.alignment[0][3] = 0x21;
    return image;
}

// The steps of one adjustment: start, one change, OK. Each is one write of the program.
struct Phase {
    enum Kind { Attempt, FirstPacket, ChangeCommand, ChangePacket, End } kind;
    int index = 0; // attempt 1..6

    std::string name() const
    {
        switch (kind) {
        case Attempt:
            return "start attempt " + std::to_string(index);
        case FirstPacket:
            return "first packet";
        case ChangeCommand:
            return "item command of a change";
        case ChangePacket:
            return "packet of a change";
        case End:
            return "end";
        }
        return "?";
    }
    // The program's write (1-based) that begins the phase, when the first attempt is answered.
    int write() const
    {
        switch (kind) {
        case Attempt:
            return index;
        case FirstPacket:
            return 2;
        case ChangeCommand:
            return 3;
        case ChangePacket:
            return 4;
        case End:
            return 5;
        }
        return 0;
    }
};

std::vector<Phase> phases()
{
    std::vector<Phase> all;
    for (int a = 1; a <= kHandshakeAttempts; ++a)
        all.push_back({ Phase::Attempt, a });
    for (const Phase::Kind k : { Phase::FirstPacket, Phase::ChangeCommand, Phase::ChangePacket, Phase::End })
        all.push_back({ k, 0 });
    return all;
}

// A radio in its alignment mode up to the phase; there it misbehaves and says nothing more.
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
    int writes = 0;
    bool misbehaved = false;
    std::optional<Clock::TimePoint> dropsAt;

    void hear(FakeSerialPort& port, const Bytes& written, Clock::TimePoint leftAt)
    {
        ++writes;
        const Clock::TimePoint answer = leftAt + kTurnAround;
        if (writes == phase.write()) {
            const Clock::Duration wait = written == kItemCommand ? kItemReplyPause
                : written == kEnd                                ? kEndPause
                                                                 : kAdjustPause;
            misbehaved = true;
            if (how == Misbehaviour::DropAtStart) dropsAt = answer;
            if (how == Misbehaviour::DropMidway) dropsAt = leftAt + wait / 2;
            misbehave(port, how, answer, leftAt + wait / 2);
            return;
        }
        if (misbehaved || phase.kind == Phase::Attempt) return;
        // The first command starts the item; the radio answers the repeated one the same way.
        if (written == kItemCommand) port.deliver(answer, startReply(kind));
    }
};

// Six start attempts whose replies never settle, then the first packet; a change with its item
// command; the end. None of their replies ever settles.
constexpr Clock::Duration kSettle = kTakeReplySettleLimit + kTakeReplySettleStep;
constexpr Clock::Duration kCommandBound = 5 * kByteTime + kItemReplyPause + kSettle;
constexpr Clock::Duration kPacketBound = 12 * kByteTime + kAdjustPause + kSettle;
constexpr Clock::Duration kStartBound = kHandshakeAttempts * kCommandBound + kPacketBound;
constexpr Clock::Duration kChangeBound = kCommandBound + kPacketBound;
constexpr Clock::Duration kEndBound = 3 * kByteTime + kEndPause + kSettle;
constexpr Clock::Duration kLongestBlindWait = std::max({ kItemReplyPause, kAdjustPause, kEndPause });

class HostileAlignment : public ::testing::TestWithParam<std::tuple<RadioKind, Misbehaviour>> { };

TEST_P(HostileAlignment, EveryStep)
{
    const auto [kind, how] = GetParam();
    const util::Message silent = communicationFailure(kCom2);
    const util::Message dropped = communicationFailure(kCom2, PortError { PortErrorKind::LineDropped, "", "", "" });
    for (const Phase& phase : phases()) {
        SCOPED_TRACE(phase.name());
        FakeClock clock;
        FakeSerialPort fake(clock);
        WatchedClock watchedClock(clock);
        WatchedPort port(fake, clock);
        RecordingLinkUi ui;
        HostileRadio radio { kind, phase, how };
        fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
        if (how == Misbehaviour::DropAtStart) fake.hangUpOnWrite(phase.write());

        const model::RadioImage image = userImage();
        const model::RadioImage before = image;
        AlignmentStart started;
        std::size_t writesAfterStart = 0;
        Clock::Duration startTook {};
        try {
            AlignmentSession session(port, watchedClock);
            started = session.start(kCom2, kItem, kModel, image.alignment, ui);
            writesAfterStart = fake.writes().size();
            startTook = clock.elapsed();
            session.change(image.alignment, started.fiveKhzForm.value_or(false), kNewValue);
            session.end(ItemEnd::Keep);
            EXPECT_FALSE(session.open());
        } catch (const Hang& hang) {
            ADD_FAILURE() << "the adjustment hung: " << hang.what();
            continue;
        }
        EXPECT_EQ(image, before) << "the alignment table is only read";
        EXPECT_FALSE(fake.isOpen());
        EXPECT_LE(startTook, kStartBound);
        EXPECT_LE(clock.elapsed(), kStartBound + kChangeBound + kEndBound);
        const std::vector<Bytes> chunks = fake.writtenChunks();

        if (phase.kind == Phase::Attempt) {
            EXPECT_FALSE(started.success());
            EXPECT_EQ(ui.messages, std::vector<util::Message> { drops(how) ? dropped : silent });
            // A lone byte is no reply, so the attempts go on into silence.
            int attempts = phase.index;
            if (how == Misbehaviour::Nothing || how == Misbehaviour::ShortGarbage) attempts = kHandshakeAttempts;
            if (how == Misbehaviour::DropAtStart) attempts = phase.index - 1;
            EXPECT_EQ(chunks, std::vector<Bytes>(static_cast<std::size_t>(attempts), kItemCommand));
            EXPECT_EQ(writesAfterStart, chunks.size()) << "a failed start leaves nothing to change or end";
            if (drops(how)) {
                ASSERT_TRUE(port.firstDropSeen());
                EXPECT_EQ(clock.now(), *port.firstDropSeen()) << "nothing waits once the line has dropped";
            }
        } else {
            EXPECT_TRUE(started.success()) << "a failing value change is not the start's failure";
            EXPECT_EQ(started.value, kRadioValue);
            EXPECT_TRUE(ui.messages.empty()) << "changes and ends fail without a word";
            std::size_t writes = 5;
            if (how == Misbehaviour::DropAtStart) writes = static_cast<std::size_t>(phase.write() - 1);
            if (how == Misbehaviour::DropMidway) writes = static_cast<std::size_t>(phase.write());
            ASSERT_EQ(chunks.size(), writes);
            const std::vector<std::size_t> sizes { 5, 12, 5, 12, 3 };
            for (std::size_t w = 0; w < writes; ++w)
                EXPECT_EQ(chunks[w].size(), sizes[w]) << "write " << w;
            if (writes == 5) {
                EXPECT_EQ(chunks.back(), kEnd);
            }
        }
        if (radio.dropsAt) {
            ASSERT_TRUE(port.firstDropSeen());
            EXPECT_LE(*port.firstDropSeen() - *radio.dropsAt, kLongestBlindWait) << "the drop is seen at the next look";
        }
    }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<RadioKind, Misbehaviour>>& info)
{
    return radioName(std::get<0>(info.param)) + "_" + misbehaviourName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Sweep, HostileAlignment,
    ::testing::Combine(::testing::Values(RadioKind::Older, RadioKind::Newer), ::testing::ValuesIn(kAllMisbehaviours)),
    caseName);

// A port that takes the program's bytes and never lets them leave, from each write of the
// adjustment on. The start gives up with the port's message; later steps give up in silence,
// each after the same bounded wait.
TEST(HostileAlignmentPort, OutputThatNeverLeaves)
{
    const util::Message stalled = communicationFailure(
        kCom2, PortError { PortErrorKind::Other, "/dev/ttyUSB1", "output does not leave the port", {} });
    constexpr int kWrites = 5;
    for (int write = 1; write <= kWrites; ++write) {
        SCOPED_TRACE("stalled from write " + std::to_string(write));
        FakeClock clock;
        FakeSerialPort fake(clock);
        WatchedClock watchedClock(clock);
        WatchedPort port(fake, clock);
        port.stallFromWrite(write);
        RecordingLinkUi ui;
        HostileRadio radio(RadioKind::Newer, { Phase::End, 0 }, Misbehaviour::Nothing);
        fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
        const model::RadioImage image = userImage();
        AlignmentStart started;
        try {
            AlignmentSession session(port, watchedClock);
            started = session.start(kCom2, kItem, kModel, image.alignment, ui);
            session.change(image.alignment, false, kNewValue);
            session.end(ItemEnd::Keep);
            EXPECT_FALSE(session.open());
        } catch (const Hang& hang) {
            ADD_FAILURE() << "the adjustment hung: " << hang.what();
            continue;
        }
        EXPECT_EQ(image, userImage());
        EXPECT_FALSE(fake.isOpen());
        if (write == 1) {
            EXPECT_FALSE(started.success());
            EXPECT_EQ(ui.messages, std::vector<util::Message> { stalled });
            EXPECT_EQ(fake.writtenChunks().size(), 1u);
        } else {
            EXPECT_TRUE(started.success());
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_EQ(fake.writtenChunks().size(), static_cast<std::size_t>(kWrites));
        }
        // Every stalled write waits once for its bytes, and no longer.
        const int stalledWrites = write == 1 ? 1 : kWrites - write + 1;
        EXPECT_LE(
            clock.elapsed(), kStartBound + kChangeBound + kEndBound + stalledWrites * (kWaitSentLimit + kWaitSentStep));
    }
}

// A driver that fails once, at any one call of an adjustment. Until the radio's answer is in,
// the start fails with the port's message and the driver's words; from the first packet on the
// failing step is skipped in silence and the adjustment goes on to its end.
TEST(HostileAlignmentPort, EveryPortCallFailsOnce)
{
    const util::Message failed = communicationFailure(kCom2, WatchedPort::injectedError());
    const model::RadioImage image = userImage();
    for (const RadioKind kind : { RadioKind::Older, RadioKind::Newer }) {
        const auto run = [&](WatchedPort& port, Clock& clock, RecordingLinkUi& ui) {
            AlignmentSession session(port, clock);
            const AlignmentStart started = session.start(kCom2, kItem, kModel, image.alignment, ui);
            session.change(image.alignment, started.fiveKhzForm.value_or(false), kNewValue);
            session.end(ItemEnd::Keep);
            EXPECT_FALSE(session.open());
            return started;
        };
        long calls = 0;
        long startCalls = 0; // the calls up to the radio's answer
        long endWrite = 0; // the call that writes "END"
        {
            FakeClock clock;
            FakeSerialPort fake(clock);
            WatchedPort port(fake, clock);
            RecordingLinkUi ui;
            HostileRadio radio(kind, { Phase::End, 0 }, Misbehaviour::Nothing);
            fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) {
                if (w.size() == kAdjustPacketSize && startCalls == 0) startCalls = port.calls() - 1;
                if (w == kEnd) endWrite = port.calls();
                radio.hear(p, w, t);
            });
            ASSERT_TRUE(run(port, clock, ui).success());
            calls = port.calls();
        }
        ASSERT_GT(startCalls, 0);
        ASSERT_GT(endWrite, startCalls);
        for (long call = 1; call <= calls; ++call) {
            SCOPED_TRACE(radioName(kind) + ", call " + std::to_string(call) + " of " + std::to_string(calls));
            FakeClock clock;
            FakeSerialPort fake(clock);
            WatchedClock watchedClock(clock);
            WatchedPort port(fake, clock);
            port.failCall(call);
            RecordingLinkUi ui;
            HostileRadio radio(kind, { Phase::End, 0 }, Misbehaviour::Nothing);
            fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
            AlignmentStart started;
            try {
                started = run(port, watchedClock, ui);
            } catch (const Hang& hang) {
                ADD_FAILURE() << "the adjustment hung: " << hang.what();
                continue;
            }
            if (call <= startCalls) {
                EXPECT_FALSE(started.success());
                EXPECT_EQ(ui.messages, std::vector<util::Message> { failed });
            } else {
                EXPECT_TRUE(started.success());
                EXPECT_TRUE(ui.messages.empty());
                if (call != endWrite) {
                    EXPECT_EQ(fake.writtenChunks().back(), kEnd) << "the end still goes out";
                }
            }
            EXPECT_EQ(image, userImage());
            EXPECT_FALSE(fake.isOpen());
            EXPECT_LE(clock.elapsed(), kStartBound + kChangeBound + kEndBound);
        }
    }
}

// A radio of another model: the program tells the user, sends "CANCEL" and reads nothing more.
// Whatever the line does with that "CANCEL" (it drops, it stalls, noise comes back), the user
// hears of the model only, and nothing waits longer than the stalled bytes.
TEST(HostileAlignmentPort, CancelAfterAModelMismatch)
{
    for (const Misbehaviour how : kAllMisbehaviours) {
        for (const bool stall : { false, true }) {
            SCOPED_TRACE(misbehaviourName(how) + (stall ? ", output stalled" : ""));
            FakeClock clock;
            FakeSerialPort fake(clock);
            WatchedClock watchedClock(clock);
            WatchedPort port(fake, clock);
            RecordingLinkUi ui;
            // Model code 2 answers, the image holds model 3; "CANCEL" is the second write.
            fake.setFarEnd([&](FakeSerialPort& p, const Bytes& written, Clock::TimePoint leftAt) {
                if (written == kItemCommand)
                    p.deliver(leftAt + kTurnAround, { 0x02, 0x01, kRadioValue });
                else
                    misbehave(p, how, leftAt + kTurnAround, leftAt + kEndPause / 2);
            });
            if (how == Misbehaviour::DropAtStart) fake.hangUpOnWrite(2);
            if (stall) port.stallFromWrite(2);
            const model::RadioImage image = userImage();
            AlignmentStart started;
            try {
                AlignmentSession session(port, watchedClock);
                started = session.start(kCom2, kItem, kModel, image.alignment, ui);
                EXPECT_FALSE(session.open());
            } catch (const Hang& hang) {
                ADD_FAILURE() << "the start hung: " << hang.what();
                continue;
            }
            EXPECT_FALSE(started.success());
            EXPECT_TRUE(started.modelMismatch);
            EXPECT_EQ(ui.messages, std::vector<util::Message> { alignmentModelMismatch() });
            EXPECT_EQ(fake.writtenChunks().size(), how == Misbehaviour::DropAtStart ? 1u : 2u);
            EXPECT_EQ(image, userImage());
            EXPECT_FALSE(fake.isOpen());
            EXPECT_LE(clock.elapsed(), kCommandBound + 6 * kByteTime + kWaitSentLimit + kWaitSentStep);
        }
    }
}

// The same rig with a radio that behaves.
TEST(HostileAlignmentRig, AWellBehavedRadioIsAdjusted)
{
    for (const RadioKind kind : { RadioKind::Older, RadioKind::Newer }) {
        SCOPED_TRACE(radioName(kind));
        FakeClock clock;
        FakeSerialPort fake(clock);
        RecordingLinkUi ui;
        // Silence after "END" is how a radio behaves anyway.
        HostileRadio radio { kind, { Phase::End, 0 }, Misbehaviour::Nothing };
        fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
        const model::RadioImage image = userImage();
        AlignmentSession session(fake, clock);
        const AlignmentStart started = session.start(kCom2, kItem, kModel, image.alignment, ui);
        EXPECT_TRUE(started.success());
        EXPECT_EQ(started.fiveKhzForm, kind == RadioKind::Older);
        session.change(image.alignment, *started.fiveKhzForm, kNewValue);
        session.end(ItemEnd::Keep);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(fake.writtenChunks().size(), 5u);
    }
}

} // namespace
