// Every operation against a line misbehaving in every way at every phase, stalling, each call failing.

#include "core/link/alignment.h"
#include "core/link/alignment_items.h"
#include "core/link/generation.h"
#include "core/link/link_messages.h"
#include "core/link/link_steps.h"
#include "core/link/programming.h"
#include "core/link/readout.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"
#include "tests/core/link/link_fakes.h"

#include <gtest/gtest.h>
#include <set>
#include <sstream>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::serial;
using korvane::util::Clock;
using namespace korvane::link::fakes;

namespace {

enum class How { Garbage, ShortGarbage, Nothing, DropAtStart, DropMidway, EndlessNoise, Behave };
const char* const kHowNames[] = { "garbage", "lone byte", "silence", "drop at start", "drop midway", "noise" };

// The same bytes on every run. The first is no model code and not the "O" of a completion, none is
// 0x03 (so no model record), and record starts (0x57) lead the stream parser astray.
Bytes garbage(std::size_t length)
{
    Bytes bytes(length);
    std::uint32_t state = 0x2545F491u;
    for (std::uint8_t& b : bytes)
        state = state * 1664525u + 1013904223u, b = static_cast<std::uint8_t>(state >> 24), b = b == 0x03 ? 0x57 : b;
    bytes[0] = 0xF3;
    return bytes;
}

const LinkTarget kCom { "COM2", "/dev/ttyUSB1" };
enum Op { ReadOlder, ReadNewer, ProgramOlder, ProgramNewer, AlignOlder, AlignNewer };
const char* const kOpNames[] = { "read older", "read newer", "program older", "program newer", "adjust older",
    "adjust newer" };
constexpr int kItem = 5;

bool reads(Op op) { return op <= ReadNewer; }
bool aligns(Op op) { return op >= AlignOlder; }
int recordCount(Op op) { return programmingRecordCount(op == ProgramNewer ? Generation::Newer : Generation::Older); }

model::RadioImage userImage(Op op)
{
    model::RadioImage image = model::defaultImage(op == ProgramNewer || aligns(op) ? 3 : 0);
    image.channels[4][13] = image.settings[3] = 0x5A;
    image.parameters[2][7] = 0x66;
    image.alignment[1][0] = 0x9A;
    return image;
}

Bytes readout(Op op)
{
    model::RadioImage radio = model::defaultImage(3);
    for (int c = 0; c < 16; ++c)
        radio.channels[c][13] = static_cast<std::uint8_t>(0xC0 + c);
    return readoutStream(radio.channels, radio.settings, op == ReadNewer ? &radio.parameters : nullptr, 3);
}

// By operation: the handshake reply, and the adjustment replies with the radio's value 0x80.
const Bytes kReplies[] = { { 0x03 }, { 0x03, 0x01 }, { 0x00 }, { 0x03, 0x01 }, { 0x03, 0x80 }, { 0x03, 0x01, 0x80 } };

// Phases: handshake attempts 1..6, then the go-ahead and each record (read), each record and the
// completion (program), or the first packet, a change's command and packet, and the end (adjust).
int phases(Op op)
{
    if (reads(op)) return kHandshakeAttempts + 1 + static_cast<int>(readout(op).size() / 12);
    return kHandshakeAttempts + (aligns(op) ? 4 : recordCount(op) + 1);
}

struct Scene {
    Op op;
    How how = How::Behave;
    int phase = 0;
    int stallFrom = 0;
    std::optional<FakeSerialPort::CallKey> failAt {};
};

std::string messageName(const util::Message& m)
{
    const std::pair<util::Message, const char*> known[] = { { communicationFailure(kCom), "no answer" },
        { communicationFailure(kCom, PortError { PortErrorKind::LineDropped, "", "", "" }), "dropped" },
        { communicationFailure(kCom, PortError { PortErrorKind::Other, "", "output does not leave the port", {} }),
            "stalled" },
        { communicationFailure(kCom, FakeSerialPort::injectedError()), "port failed" }, { readError(), "read error" },
        { writeError(), "write error" }, { readComplete(), "read complete" }, { writeComplete(), "write complete" },
        { versionMismatch(), "version" }, { alignmentModelMismatch(), "other model" } };
    for (const auto& [message, name] : known)
        if (message == m) return name;
    return TranscriptUi::show(m);
}

struct Result {
    std::string line;
    std::set<FakeSerialPort::CallKey> calls; // the kinds of port call made, by the writes before them
    std::size_t writes;
};

Result run(const Scene& r)
{
    FakeClock clock;
    FakeSerialPort port(clock);
    std::ostringstream ui;
    TranscriptUi transcript(clock, ui);
    transcript.render = messageName;
    std::optional<Clock::TimePoint> dropAt;
    const int trigger = r.phase <= kHandshakeAttempts ? r.phase : reads(r.op) ? 2 : r.phase - kHandshakeAttempts + 1;
    const int cut = reads(r.op) ? r.phase - kHandshakeAttempts - 2 : -1; // records sent before misbehaving
    const bool completion = !reads(r.op) && !aligns(r.op) && r.phase == phases(r.op);
    const auto act = [&](Clock::TimePoint at, Clock::TimePoint midway) {
        if (r.how == How::DropAtStart || r.how == How::DropMidway) dropAt = r.how == How::DropAtStart ? at : midway;
        if (r.how == How::Garbage || r.how == How::ShortGarbage)
            port.deliver(at, garbage(r.how == How::Garbage ? 800 : 1));
        if (r.how == How::EndlessNoise) port.noiseFrom = at;
        if (dropAt && (r.how == How::DropMidway || cut >= 0 || completion)) port.hangUpAt = dropAt;
    };
    if (r.how == How::DropAtStart && cut < 0 && !completion) port.hangUpOnWrite = trigger;
    port.stallFromWrite = r.stallFrom;
    port.failAt = r.failAt;
    const Bytes stream = readout(r.op);
    int writes = 0;
    bool done = false;
    port.farEnd = [&](FakeSerialPort& p, const Bytes& w, Clock::TimePoint leftAt) {
        const Clock::TimePoint answer = leftAt + 5ms;
        const std::string text(w.begin(), w.end());
        const bool command = text == "rEAD" || text == "pROGRAM" || text == alignmentItemCommand(kItem);
        ++writes;
        if (done || (r.how != How::Behave && writes < trigger && r.phase <= kHandshakeAttempts)) return;
        if (r.how != How::Behave && writes == trigger && !completion) {
            done = true;
            if (cut < 0) {
                const Clock::Duration wait = command ? (aligns(r.op) ? kItemReplyPause : kHandshakePause)
                    : text == "OK"                   ? kReadoutPollInterval * 3
                    : text == "END"                  ? kEndPause
                    : aligns(r.op)                   ? kAdjustPause
                                                     : kRecordPause;
                return act(answer, leftAt + wait / 2);
            }
            p.deliver(answer, Bytes(stream.begin(), stream.begin() + 12 * cut));
            const Clock::TimePoint at = answer + 12 * cut * kByteTime;
            return act(at, at + 6 * kByteTime);
        }
        if (command && (writes == 1 || aligns(r.op))) p.deliver(answer, kReplies[r.op]);
        if (text == "OK") p.deliver(answer, stream);
        if (reads(r.op) || aligns(r.op) || writes != recordCount(r.op) + 1) return;
        if (!completion || r.how == How::Behave) return p.deliver(answer, { 'O', 'K' });
        done = true;
        act(answer, leftAt + kRecordPause + kCompletionPause / 2);
    };

    const model::RadioImage before = userImage(r.op);
    model::RadioImage image = before;
    std::string outcome;
    try {
        if (reads(r.op)) {
            const ReadOutcome o = readRadio(before, kCom, port, clock, transcript);
            outcome = o.success() ? "read" : o.image == before ? "failed" : "FAILED AND CHANGED THE IMAGE";
        } else if (!aligns(r.op)) {
            const ProgramOutcome o = programRadio(image, kCom, port, clock, transcript);
            outcome = std::string(o.success() ? "programmed" : "failed") + (o.fiveKhzForm ? ", all sent" : "");
        } else {
            AlignmentSession session(port, clock);
            const AlignmentStart o = session.start(kCom, kItem, 3, image.alignment, transcript);
            outcome = o.success() ? "started with " + std::to_string(o.value) : "failed";
            session.change(image.alignment, o.fiveKhzForm.value_or(false), 0x90);
            session.end(ItemEnd::Keep);
        }
    } catch (const std::runtime_error& hang) { // far past every wait the protocol has
        outcome = hang.what();
    }
    std::string line = outcome;
    std::istringstream heard(ui.str());
    for (std::string said; std::getline(heard, said);)
        if (said.find(" progress ") == std::string::npos) line += ", " + said.substr(12);
    line += ", " + std::to_string(port.writes.size()) + " writes";
    if (!port.writes.empty()) line += " (last " + hex(port.writes.back()).substr(0, 14) + ")";
    line += ", at" + stamp(clock.elapsed());
    if (port.firstDropSeen)
        line += "drop" + (dropAt ? stamp(*dropAt - Clock::TimePoint {}) : " ") + "seen"
            + stamp(*port.firstDropSeen - Clock::TimePoint {});
    if (image != before) line += "image changed:" + changes(before, image);
    if (port.isOpen() || transcript.progressShowing) line += " LEFT OPEN";
    return { line, port.callsMade, port.writes.size() };
}

} // namespace

TEST(HostileLine, EveryPhaseEveryMisbehaviourEveryPortFailure)
{
    std::string all;
    for (int op = 0; op <= AlignNewer; ++op) {
        const Scene good { Op(op) };
        const Result behaved = run(good);
        all += "== " + std::string(kOpNames[op]) + ": " + behaved.line + "\n";
        for (int how = 0; how < 6; ++how)
            for (int phase = 1; phase <= phases(good.op); ++phase)
                all += std::string(kHowNames[how]) + " at " + std::to_string(phase) + ": "
                    + run({ good.op, static_cast<How>(how), phase }).line + "\n";
        for (std::size_t w = 1; w <= behaved.writes; ++w)
            all += "stalled from write " + std::to_string(w) + ": "
                + run({ good.op, How::Behave, 0, static_cast<int>(w) }).line + "\n";
        for (const auto& call : behaved.calls)
            all += "after write " + std::to_string(call.first) + ", " + call.second
                + " fails: " + run({ good.op, How::Behave, 0, 0, call }).line + "\n";
    }
    EXPECT_TRUE(korvane::test::matchesGolden("hostile/sweep.txt", all));
}
