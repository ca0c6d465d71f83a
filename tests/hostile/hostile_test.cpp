// Read-out, programming and an item adjustment against a radio or cable that misbehaves at every
// point of the exchange (each handshake attempt, each record, the completion, each step of an
// adjustment), in every way: garbage, a lone byte, silence, a drop as the phase begins or while the
// program waits in it, endless noise, output that never leaves the port, a port call that fails.
// Each ends with its own message and written bytes, within the operation's own waits on the fake
// clock, and leaves the user's image alone.

#include "tests/hostile/hostile_line.h"

#include "core/link/alignment.h"
#include "core/link/alignment_items.h"
#include "core/link/five_khz_rounding.h"
#include "core/link/generation.h"
#include "core/link/link_messages.h"
#include "core/link/link_steps.h"
#include "core/link/programming.h"
#include "core/link/readout.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"
#include "tests/core/link/recording_link_ui.h"
#include "tests/core/link/test_streams.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::link::hostile;
using fakes::RecordingLinkUi;

namespace {

const LinkTarget kCom { "COM2", "/dev/ttyUSB1" };
const util::Message kSilent = communicationFailure(kCom);
const util::Message kDropped = communicationFailure(kCom, PortError { PortErrorKind::LineDropped, "", "", "" });
const util::Message kStalled = communicationFailure(
    kCom, PortError { PortErrorKind::Other, "/dev/ttyUSB1", "output does not leave the port", {} });
const util::Message kFailedCall = communicationFailure(kCom, WatchedPort::injectedError());
constexpr Clock::Duration kSettle = kTakeReplySettleLimit + kTakeReplySettleStep;
constexpr Clock::Duration kStallBound = kWaitSentLimit + kWaitSentStep;

Bytes text(std::string_view s) { return Bytes(s.begin(), s.end()); }
const Bytes kRead = text("rEAD");
const Bytes kOk = text("OK");
const Bytes kProgram = text("pROGRAM");

// The user's image: nothing a radio sends looks like it.
model::RadioImage userImage(int modelIndex)
{
    model::RadioImage image = model::defaultImage(modelIndex);
    image.channels[4][13] = 0x5A;
    image.settings[3] = 0x5A;
    image.parameters[2][7] = 0x66;
    image.alignment[1][0] = 0x9A;
    return image;
}

// One run on the scripted port, the far end and the fake clock behind watchdogs.
struct Rig {
    FakeClock clock;
    FakeSerialPort fake { clock };
    WatchedClock watchedClock { clock };
    WatchedPort port { fake, clock };
    RecordingLinkUi ui;
    std::optional<Clock::TimePoint> dropsAt; // a drop the radio scheduled in time
    Clock::Duration startTook {}; // an adjustment's start

    template <class Radio> void farEnd(Radio& radio)
    {
        fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) { radio.hear(p, w, t); });
    }
    void act(Misbehaviour how, Clock::TimePoint at, Clock::TimePoint midway)
    {
        if (how == Misbehaviour::DropAtStart) dropsAt = at;
        if (how == Misbehaviour::DropMidway) dropsAt = midway;
        misbehave(fake, how, at, midway);
    }
    // The far end's drop is seen at the next look at the port, and (when the operation ends there)
    // nothing waits after it.
    void expectDropSeen(Misbehaviour how, Clock::Duration longestBlindWait, bool endsThere = true)
    {
        if (dropsAt) {
            ASSERT_TRUE(port.firstDropSeen());
            EXPECT_LE(*port.firstDropSeen() - *dropsAt, longestBlindWait) << "the drop is seen at the next look";
        }
        if (drops(how) && endsThere) {
            ASSERT_TRUE(port.firstDropSeen());
            EXPECT_EQ(clock.now(), *port.firstDropSeen()) << "nothing waits once the line has dropped";
        }
    }
};

// Runs `operation`, turning a hang into a failed test.
template <class F> bool runs(F operation)
{
    try {
        operation();
        return true;
    } catch (const Hang& hang) {
        ADD_FAILURE() << "the operation hung: " << hang.what();
        return false;
    }
}

// ---- Read-out: six handshake attempts, the go-ahead, each record of the stream.

constexpr std::size_t kRecordSize = 12;
enum class ReadRadio { Older, Newer, UnknownVersion };

Bytes radioReadout(ReadRadio k)
{
    model::RadioImage radio = model::defaultImage(3);
    for (int c = 0; c < 16; ++c)
        radio.channels[c][13] = static_cast<std::uint8_t>(0xC0 + c);
    if (k == ReadRadio::Newer) return fakes::newerReadout(radio.channels, radio.settings, radio.parameters, 3);
    return fakes::olderReadout(radio.channels, radio.settings, 3);
}

// Phase: attempt 1..6, 7 the go-ahead, 8 + r record r.
struct ReadingRadio {
    ReadRadio kind;
    int phase;
    Misbehaviour how;
    Rig& rig;
    Bytes readout = radioReadout(kind);
    int attempts = 0;

    Bytes handshakeReply() const
    {
        if (kind == ReadRadio::Older) return { 0x03 };
        return { 0x03, static_cast<std::uint8_t>(kind == ReadRadio::Newer ? 0x01 : 0x05) };
    }

    void hear(FakeSerialPort& port, const Bytes& written, Clock::TimePoint leftAt)
    {
        const Clock::TimePoint answer = leftAt + kTurnAround;
        if (written == kRead) {
            if (++attempts == phase) rig.act(how, answer, leftAt + kHandshakePause / 2);
            if (phase > kHandshakeAttempts && attempts == 1) port.deliver(answer, handshakeReply());
            return;
        }
        if (written != kOk) return;
        if (phase == kHandshakeAttempts + 1) return rig.act(how, answer, answer + kReadoutPollInterval * 3 / 2);
        const auto cut = static_cast<long>(kRecordSize) * (phase - kHandshakeAttempts - 2);
        port.deliver(answer, Bytes(readout.begin(), readout.begin() + cut));
        const Clock::TimePoint recordStart = answer + cut * kByteTime;
        rig.act(how, recordStart, recordStart + 6 * kByteTime);
    }
};

// The phases, and one past them that never comes.
int readPhases(ReadRadio kind)
{
    return kHandshakeAttempts + 1 + static_cast<int>(radioReadout(kind).size() / kRecordSize);
}

constexpr Clock::Duration kReadAttemptBound = 4 * kByteTime + kHandshakePause + kSettle;
constexpr Clock::Duration kReadoutBound
    = kHandshakeAttempts * kReadAttemptBound + 2 * kByteTime + kReadoutPolls * kReadoutPollInterval + kSettle;

void readSweep(ReadRadio kind, Misbehaviour how)
{
    for (int phase = 1; phase <= readPhases(kind); ++phase) {
        SCOPED_TRACE("phase " + std::to_string(phase));
        Rig rig;
        ReadingRadio radio { kind, phase, how, rig };
        rig.farEnd(radio);
        // A drop as the program writes: the attempt, or the go-ahead after a first attempt answered.
        if (how == Misbehaviour::DropAtStart && phase <= kHandshakeAttempts + 1)
            rig.fake.hangUpOnWrite(phase <= kHandshakeAttempts ? phase : 2);
        const model::RadioImage before = userImage(0);
        ReadOutcome out;
        if (!runs([&] { out = readRadio(before, kCom, rig.port, rig.watchedClock, rig.ui); })) continue;

        std::vector<util::Message> messages;
        std::vector<Bytes> written;
        Clock::Duration bound = kReadoutBound;
        if (phase <= kHandshakeAttempts) {
            // Silence runs through every attempt; a drop on the write takes that attempt with it.
            int reads = phase;
            if (how == Misbehaviour::Nothing) reads = kHandshakeAttempts;
            if (how == Misbehaviour::DropAtStart) reads = phase - 1;
            written.assign(static_cast<std::size_t>(reads), kRead);
            messages = { drops(how) ? kDropped : kSilent };
            bound = kHandshakeAttempts * kReadAttemptBound;
        } else {
            if (kind == ReadRadio::UnknownVersion) messages.push_back(versionMismatch());
            messages.push_back(drops(how) ? kDropped : readError());
            written = { kRead };
            if (!(phase == kHandshakeAttempts + 1 && how == Misbehaviour::DropAtStart)) written.push_back(kOk);
        }
        EXPECT_EQ(out.end, LinkEnd::Failed);
        EXPECT_EQ(out.image, before) << "the caller's image comes back as it was";
        EXPECT_FALSE(out.fiveKhzForm);
        EXPECT_EQ(rig.ui.messages, messages);
        EXPECT_EQ(rig.fake.writtenChunks(), written);
        EXPECT_LE(rig.clock.elapsed(), bound);
        EXPECT_FALSE(rig.fake.isOpen());
        EXPECT_FALSE(rig.ui.progressShowing);
        rig.expectDropSeen(how, std::max(kHandshakePause, kReadoutPollInterval));
    }
}

// ---- Programming: six handshake attempts, each record, the completion reply.

enum class ProgramRadio { Older, Newer, OlderRounded }; // the last with an image the user agrees to round

int recordCount(ProgramRadio k)
{
    return programmingRecordCount(k == ProgramRadio::Newer ? Generation::Newer : Generation::Older);
}

model::RadioImage imageFor(ProgramRadio k)
{
    model::RadioImage image = userImage(k == ProgramRadio::Newer ? 3 : 0);
    if (k == ProgramRadio::OlderRounded) model::setFrequencyCount(image.channels[0], model::Side::Receive, 58405);
    return image;
}

bool isRecord(const Bytes& written) { return written.size() == 12 && written[0] == 0x57; }

// Phase: attempt 1..6, 7 + r record r, 7 + recordCount the completion.
struct ProgrammedRadio {
    ProgramRadio kind;
    int phase;
    Misbehaviour how;
    Rig& rig;
    int attempts = 0;
    int records = 0;
    bool misbehaved = false;

    void hear(FakeSerialPort& port, const Bytes& written, Clock::TimePoint leftAt)
    {
        const Clock::TimePoint answer = leftAt + kTurnAround;
        if (written == kProgram) {
            if (++attempts == phase) act(answer, leftAt + kHandshakePause / 2);
            if (phase > kHandshakeAttempts && attempts == 1)
                port.deliver(answer, kind == ProgramRadio::Newer ? Bytes { 0x03, 0x01 } : Bytes { 0x00 });
            return;
        }
        if (!isRecord(written) || misbehaved) return;
        if (++records + kHandshakeAttempts == phase) return act(answer, leftAt + kRecordPause / 2);
        if (records != recordCount(kind)) return;
        if (phase == kHandshakeAttempts + 1 + recordCount(kind))
            act(answer, leftAt + kRecordPause + kCompletionPause / 2);
        else
            port.deliver(answer, kOk);
    }
    void act(Clock::TimePoint at, Clock::TimePoint midway)
    {
        misbehaved = true;
        rig.act(how, at, midway);
    }
};

constexpr Clock::Duration kProgramAttemptBound = 7 * kByteTime + kHandshakePause + kSettle;
Clock::Duration programmingBound(ProgramRadio k)
{
    return kHandshakeAttempts * kProgramAttemptBound + kPreDataPause + recordCount(k) * (12 * kByteTime + kRecordPause)
        + kCompletionPause + kSettle;
}

void programSweep(ProgramRadio kind, Misbehaviour how)
{
    for (int phase = 1; phase <= kHandshakeAttempts + 1 + recordCount(kind); ++phase) {
        SCOPED_TRACE("phase " + std::to_string(phase));
        Rig rig;
        if (kind == ProgramRadio::OlderRounded) rig.ui.answers = { true };
        ProgrammedRadio radio { kind, phase, how, rig };
        rig.farEnd(radio);
        const bool attempt = phase <= kHandshakeAttempts;
        const bool record = !attempt && phase <= kHandshakeAttempts + recordCount(kind);
        // A drop as the program writes: the attempt, or record r after a first attempt answered.
        if (how == Misbehaviour::DropAtStart && (attempt || record))
            rig.fake.hangUpOnWrite(attempt ? phase : phase - kHandshakeAttempts + 1);
        model::RadioImage image = imageFor(kind);
        const model::RadioImage before = image;
        ProgramOutcome out;
        if (!runs([&] { out = programRadio(image, kCom, rig.port, rig.watchedClock, rig.ui); })) continue;

        util::Message message = drops(how) ? kDropped : kSilent;
        std::size_t writes = 0;
        bool allSent = false;
        if (attempt) {
            int attempts = phase;
            if (how == Misbehaviour::Nothing) attempts = kHandshakeAttempts;
            if (how == Misbehaviour::DropAtStart) attempts = phase - 1;
            writes = static_cast<std::size_t>(attempts);
        } else {
            int sent = recordCount(kind);
            if (record && how == Misbehaviour::DropAtStart) sent = phase - kHandshakeAttempts - 1;
            if (record && how == Misbehaviour::DropMidway) sent = phase - kHandshakeAttempts;
            writes = 1 + static_cast<std::size_t>(sent);
            // A lone byte where the completion belongs is no reply; anything else is a wrong one.
            if (!drops(how) && how != Misbehaviour::ShortGarbage) message = writeError();
            allSent = sent == recordCount(kind);
        }
        EXPECT_EQ(out.fiveKhzForm.has_value(), allSent);
        EXPECT_EQ(out.end, LinkEnd::Failed);
        EXPECT_EQ(rig.ui.messages, std::vector<util::Message> { message });
        const std::vector<Bytes> chunks = rig.fake.writtenChunks();
        ASSERT_EQ(chunks.size(), writes);
        for (std::size_t w = 0; w < chunks.size(); ++w)
            EXPECT_TRUE(attempt || w == 0 ? chunks[w] == kProgram : isRecord(chunks[w])) << "write " << w;
        if (kind == ProgramRadio::OlderRounded && !attempt) {
            model::RadioImage rounded = before;
            roundOnto5kHzGrid(rounded.channels, sidesOff5kHzGrid(rounded.channels));
            EXPECT_EQ(rig.ui.questions, std::vector<util::Message> { roundingQuestion() });
            EXPECT_EQ(image, rounded) << "only the rounding the user agreed to";
        } else {
            EXPECT_TRUE(rig.ui.questions.empty());
            EXPECT_EQ(image, before) << "the image is byte for byte as it was";
        }
        EXPECT_LE(rig.clock.elapsed(), attempt ? kHandshakeAttempts * kProgramAttemptBound : programmingBound(kind));
        EXPECT_FALSE(rig.fake.isOpen());
        EXPECT_FALSE(rig.ui.progressShowing);
        rig.expectDropSeen(how, kRecordPause + kCompletionPause);
    }
}

// ---- An item adjustment: each start attempt, the first packet, a change's item command and
// packet, the end. A start that fails says so; a change or an end that fails is skipped in silence.

constexpr int kModel = 3;
constexpr int kItem = 5;
constexpr std::uint8_t kRadioValue = 0x80;
constexpr std::uint8_t kNewValue = 0x90;
const Bytes kItemCommand = text(alignmentItemCommand(kItem));
const Bytes kEnd = text("END");
enum class AlignRadio { Older, Newer };

// Phase: the program's write (1-based) at which the radio misbehaves: attempts 1..6 when the
// start is not answered, else 2 the first packet, 3 and 4 a change, 5 the end.
constexpr int kAlignPhases = kHandshakeAttempts + 4;
int alignWrite(int phase) { return phase <= kHandshakeAttempts ? phase : phase - kHandshakeAttempts + 1; }

struct AligningRadio {
    AlignRadio kind;
    int phase;
    Misbehaviour how;
    Rig& rig;
    int writes = 0;
    bool misbehaved = false;

    void hear(FakeSerialPort& port, const Bytes& written, Clock::TimePoint leftAt)
    {
        const Clock::TimePoint answer = leftAt + kTurnAround;
        if (++writes == alignWrite(phase)) {
            const Clock::Duration wait = written == kItemCommand ? kItemReplyPause
                : written == kEnd                                ? kEndPause
                                                                 : kAdjustPause;
            misbehaved = true;
            return rig.act(how, answer, leftAt + wait / 2);
        }
        if (misbehaved || phase <= kHandshakeAttempts) return;
        if (written == kItemCommand)
            port.deliver(
                answer, kind == AlignRadio::Older ? Bytes { 0x03, kRadioValue } : Bytes { 0x03, 0x01, kRadioValue });
    }
};

constexpr Clock::Duration kCommandBound = 5 * kByteTime + kItemReplyPause + kSettle;
constexpr Clock::Duration kPacketBound = 12 * kByteTime + kAdjustPause + kSettle;
constexpr Clock::Duration kStartBound = kHandshakeAttempts * kCommandBound + kPacketBound;
constexpr Clock::Duration kAdjustmentBound
    = kStartBound + kCommandBound + kPacketBound + 3 * kByteTime + kEndPause + kSettle;

// Start, one change, OK; the writes made by the end of the start.
AlignmentStart adjust(Rig& rig, const model::RadioImage& image, std::size_t* writesAfterStart = nullptr)
{
    AlignmentSession session(rig.port, rig.watchedClock);
    const AlignmentStart started = session.start(kCom, kItem, kModel, image.alignment, rig.ui);
    if (writesAfterStart) *writesAfterStart = rig.fake.writes().size();
    rig.startTook = rig.clock.elapsed();
    session.change(image.alignment, started.fiveKhzForm.value_or(false), kNewValue);
    session.end(ItemEnd::Keep);
    EXPECT_FALSE(session.open());
    return started;
}

void alignSweep(AlignRadio kind, Misbehaviour how)
{
    for (int phase = 1; phase <= kAlignPhases; ++phase) {
        SCOPED_TRACE("phase " + std::to_string(phase));
        Rig rig;
        AligningRadio radio { kind, phase, how, rig };
        rig.farEnd(radio);
        if (how == Misbehaviour::DropAtStart) rig.fake.hangUpOnWrite(alignWrite(phase));
        const model::RadioImage image = userImage(kModel);
        AlignmentStart started;
        std::size_t writesAfterStart = 0;
        if (!runs([&] { started = adjust(rig, image, &writesAfterStart); })) continue;
        EXPECT_EQ(image, userImage(kModel)) << "the alignment table is only read";
        EXPECT_FALSE(rig.fake.isOpen());
        EXPECT_LE(rig.startTook, kStartBound);
        EXPECT_LE(rig.clock.elapsed(), kAdjustmentBound);
        const std::vector<Bytes> chunks = rig.fake.writtenChunks();
        if (phase <= kHandshakeAttempts) {
            EXPECT_FALSE(started.success());
            EXPECT_EQ(rig.ui.messages, std::vector<util::Message> { drops(how) ? kDropped : kSilent });
            // A lone byte is no reply, so the attempts go on into silence.
            int attempts = phase;
            if (how == Misbehaviour::Nothing || how == Misbehaviour::ShortGarbage) attempts = kHandshakeAttempts;
            if (how == Misbehaviour::DropAtStart) attempts = phase - 1;
            EXPECT_EQ(chunks, std::vector<Bytes>(static_cast<std::size_t>(attempts), kItemCommand));
            EXPECT_EQ(writesAfterStart, chunks.size()) << "a failed start leaves nothing to change or end";
        } else {
            EXPECT_TRUE(started.success()) << "a failing value change is not the start's failure";
            EXPECT_EQ(started.value, kRadioValue);
            EXPECT_TRUE(rig.ui.messages.empty()) << "changes and ends fail without a word";
            std::size_t writes = 5;
            if (how == Misbehaviour::DropAtStart) writes = static_cast<std::size_t>(alignWrite(phase) - 1);
            if (how == Misbehaviour::DropMidway) writes = static_cast<std::size_t>(alignWrite(phase));
            ASSERT_EQ(chunks.size(), writes);
            const std::size_t sizes[] = { 5, 12, 5, 12, 3 };
            for (std::size_t w = 0; w < writes; ++w)
                EXPECT_EQ(chunks[w].size(), sizes[w]) << "write " << w;
            if (writes == 5) {
                EXPECT_EQ(chunks.back(), kEnd);
            }
        }
        rig.expectDropSeen(how, std::max({ kItemReplyPause, kAdjustPause, kEndPause }), phase <= kHandshakeAttempts);
    }
}

// ---- The table: operation x radio x misbehaviour, each over every phase.

struct Case {
    std::string name;
    std::function<void()> sweep;
};

std::vector<Case> allCases()
{
    const char* names[] = { "Garbage", "ShortGarbage", "Nothing", "DropAtStart", "DropMidway", "EndlessNoise" };
    std::vector<Case> all;
    for (const Misbehaviour how : kAllMisbehaviours) {
        const std::string m = names[static_cast<int>(how)];
        all.push_back({ "Read_Older_" + m, [how] { readSweep(ReadRadio::Older, how); } });
        all.push_back({ "Read_Newer_" + m, [how] { readSweep(ReadRadio::Newer, how); } });
        all.push_back({ "Read_UnknownVersion_" + m, [how] { readSweep(ReadRadio::UnknownVersion, how); } });
        all.push_back({ "Program_Older_" + m, [how] { programSweep(ProgramRadio::Older, how); } });
        all.push_back({ "Program_Newer_" + m, [how] { programSweep(ProgramRadio::Newer, how); } });
        all.push_back({ "Program_OlderRounded_" + m, [how] { programSweep(ProgramRadio::OlderRounded, how); } });
        all.push_back({ "Align_Older_" + m, [how] { alignSweep(AlignRadio::Older, how); } });
        all.push_back({ "Align_Newer_" + m, [how] { alignSweep(AlignRadio::Newer, how); } });
    }
    return all;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class Hostile : public ::testing::TestWithParam<Case> { };

TEST_P(Hostile, EveryPhase) { GetParam().sweep(); }

INSTANTIATE_TEST_SUITE_P(Sweep, Hostile, ::testing::ValuesIn(allCases()),
    [](const ::testing::TestParamInfo<Case>& param) { return param.param.name; });

// ---- The port itself misbehaves under a radio that behaves: output that never leaves from each
// write on, or one call of any kind that fails. The operation ends at that write or call with the
// port's message, except that an adjustment, once started, skips the failing step in silence.

struct PortCase {
    std::string name;
    // Runs the operation on the rig with a radio that behaves and checks the image is left alone;
    // true when it succeeded.
    std::function<bool(Rig&)> run;
    Clock::Duration bound;
    bool silentAfterStart;
};

std::vector<PortCase> portCases()
{
    std::vector<PortCase> all;
    for (const ReadRadio kind : { ReadRadio::Older, ReadRadio::Newer })
        all.push_back({ kind == ReadRadio::Older ? "read, older" : "read, newer",
            [kind](Rig& rig) {
                ReadingRadio radio { kind, readPhases(kind) + 1, Misbehaviour::Nothing, rig };
                rig.farEnd(radio);
                const ReadOutcome out = readRadio(userImage(0), kCom, rig.port, rig.watchedClock, rig.ui);
                if (!out.success()) {
                    EXPECT_EQ(out.image, userImage(0));
                    EXPECT_FALSE(out.fiveKhzForm);
                }
                return out.success();
            },
            kReadoutBound, false });
    for (const ProgramRadio kind : { ProgramRadio::Older, ProgramRadio::Newer })
        all.push_back({ kind == ProgramRadio::Older ? "program, older" : "program, newer",
            [kind](Rig& rig) {
                ProgrammedRadio radio { kind, 1000, Misbehaviour::Nothing, rig };
                rig.farEnd(radio);
                model::RadioImage image = imageFor(kind);
                const ProgramOutcome out = programRadio(image, kCom, rig.port, rig.watchedClock, rig.ui);
                EXPECT_EQ(image, imageFor(kind));
                return out.success();
            },
            programmingBound(kind), false });
    for (const AlignRadio kind : { AlignRadio::Older, AlignRadio::Newer })
        all.push_back({ kind == AlignRadio::Older ? "align, older" : "align, newer",
            [kind](Rig& rig) {
                AligningRadio radio { kind, 1000, Misbehaviour::Nothing, rig };
                rig.farEnd(radio);
                const model::RadioImage image = userImage(kModel);
                const bool started = adjust(rig, image).success();
                EXPECT_EQ(image, userImage(kModel));
                return started;
            },
            kAdjustmentBound, true });
    return all;
}

TEST(HostilePort, OutputThatNeverLeaves)
{
    for (const PortCase& row : portCases()) {
        std::vector<WrittenBytes> good;
        Clock::Duration took {};
        {
            Rig rig;
            ASSERT_TRUE(row.run(rig)) << row.name;
            good = rig.fake.writes();
            took = rig.clock.elapsed();
        }
        for (std::size_t write = 1; write <= good.size(); ++write) {
            SCOPED_TRACE(row.name + ", stalled from write " + std::to_string(write));
            Rig rig;
            rig.port.stallFromWrite(static_cast<int>(write));
            bool success = true;
            if (!runs([&] { success = row.run(rig); })) continue;
            const bool silent = row.silentAfterStart && write > 1;
            EXPECT_EQ(success, silent);
            EXPECT_EQ(
                rig.ui.messages, silent ? std::vector<util::Message> {} : std::vector<util::Message> { kStalled });
            EXPECT_EQ(rig.fake.writtenChunks().size(), silent ? good.size() : write);
            // The stalled write waits once for its bytes and gives up; an adjustment waits so at each
            // write left.
            EXPECT_GE(rig.clock.elapsed(), kWaitSentLimit);
            if (silent)
                EXPECT_LE(rig.clock.elapsed(), took + static_cast<int>(good.size() - write + 1) * kStallBound);
            else
                EXPECT_LE(rig.clock.elapsed(), good[write - 1].at - FakeClock::kStart + kStallBound);
            EXPECT_FALSE(rig.fake.isOpen());
            EXPECT_FALSE(rig.ui.progressShowing);
        }
    }
}

TEST(HostilePort, EveryPortCallFailsOnce)
{
    for (const PortCase& row : portCases()) {
        long calls = 0;
        long startCalls = 0; // an adjustment's calls before its first packet
        long endWrite = 0; // the call that writes "END"
        {
            Rig rig;
            ASSERT_TRUE(row.run(rig)) << row.name;
            calls = rig.port.calls();
        }
        if (row.silentAfterStart) {
            Rig rig;
            AligningRadio radio { AlignRadio::Newer, 1000, Misbehaviour::Nothing, rig };
            rig.fake.setFarEnd([&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint t) {
                if (w.size() == kAdjustPacketSize && startCalls == 0) startCalls = rig.port.calls() - 1;
                if (w == kEnd) endWrite = rig.port.calls();
                radio.hear(p, w, t);
            });
            ASSERT_TRUE(adjust(rig, userImage(kModel)).success());
            ASSERT_GT(endWrite, startCalls);
        }
        for (long call = 1; call <= calls; ++call) {
            SCOPED_TRACE(row.name + ", call " + std::to_string(call) + " of " + std::to_string(calls));
            Rig rig;
            rig.port.failCall(call);
            bool success = true;
            if (!runs([&] { success = row.run(rig); })) continue;
            const bool silent = row.silentAfterStart && call > startCalls;
            EXPECT_EQ(success, silent);
            EXPECT_EQ(
                rig.ui.messages, silent ? std::vector<util::Message> {} : std::vector<util::Message> { kFailedCall });
            if (silent && call != endWrite) {
                EXPECT_EQ(rig.fake.writtenChunks().back(), kEnd) << "the end still goes out";
            }
            EXPECT_LE(rig.clock.elapsed(), row.bound);
            EXPECT_FALSE(rig.fake.isOpen());
            EXPECT_FALSE(rig.ui.progressShowing);
        }
    }
}

// A radio of another model: the program tells the user, sends "CANCEL" and reads nothing more.
// Whatever the line does with that "CANCEL", the user hears of the model only, and nothing waits
// longer than the stalled bytes.
TEST(HostilePort, CancelAfterAModelMismatch)
{
    for (const Misbehaviour how : kAllMisbehaviours) {
        for (const bool stall : { false, true }) {
            SCOPED_TRACE(std::to_string(static_cast<int>(how)) + (stall ? ", output stalled" : ""));
            Rig rig;
            // Model code 2 answers, the image holds model 3; "CANCEL" is the second write.
            rig.fake.setFarEnd([&](FakeSerialPort& p, const Bytes& written, Clock::TimePoint leftAt) {
                if (written == kItemCommand)
                    p.deliver(leftAt + kTurnAround, { 0x02, 0x01, kRadioValue });
                else
                    misbehave(p, how, leftAt + kTurnAround, leftAt + kEndPause / 2);
            });
            if (how == Misbehaviour::DropAtStart) rig.fake.hangUpOnWrite(2);
            if (stall) rig.port.stallFromWrite(2);
            const model::RadioImage image = userImage(kModel);
            AlignmentStart started;
            if (!runs([&] {
                    AlignmentSession session(rig.port, rig.watchedClock);
                    started = session.start(kCom, kItem, kModel, image.alignment, rig.ui);
                    EXPECT_FALSE(session.open());
                }))
                continue;
            EXPECT_TRUE(started.modelMismatch);
            EXPECT_EQ(rig.ui.messages, std::vector<util::Message> { alignmentModelMismatch() });
            EXPECT_EQ(rig.fake.writtenChunks().size(), how == Misbehaviour::DropAtStart ? 1u : 2u);
            EXPECT_FALSE(rig.fake.isOpen());
            EXPECT_LE(rig.clock.elapsed(), kCommandBound + 6 * kByteTime + kStallBound);
        }
    }
}

} // namespace
