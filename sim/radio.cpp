#include "sim/radio.h"

#include "sim/read_out_stream.h"
#include "sim/wire_record.h"

#include <algorithm>
#include <string>

namespace korvane::sim {

namespace {

std::string numbered(std::string_view what, std::size_t index, std::size_t count)
{
    return std::string(what) + " " + std::to_string(index) + "/" + std::to_string(count);
}

} // namespace

Radio::Radio(RadioConfig config, RadioMemory memory, PacketLog log)
    : m_config(std::move(config))
    , m_memory(std::move(memory))
    , m_log(log)
{
}

std::optional<int> Radio::itemUnderAdjustment() const
{
    if (m_phase != Phase::Adjusting) return std::nullopt;
    return m_item;
}

Transmission Radio::takeOutput()
{
    Transmission out;
    std::swap(out, m_output);
    return out;
}

void Radio::receive(std::span<const std::uint8_t> bytes, TimePoint now)
{
    for (std::uint8_t b : bytes)
        hearByte(b, now);
    if (!bytes.empty()) m_lastHeard = now;
}

void Radio::hearByte(std::uint8_t byte, TimePoint now)
{
    if (m_frame != Frame::None) {
        frameByte(byte, now);
        return;
    }
    // Records and adjust packets start with a byte of their own; inside them anything goes.
    if (m_phase == Phase::Programming && byte == kRecordStart) {
        startFrame(Frame::Record, byte, now);
        return;
    }
    if (m_phase == Phase::Adjusting && byte == kAdjustStart && !m_reader.continues(byte)) {
        startFrame(Frame::Adjust, byte, now);
        return;
    }
    if (const std::optional<Command> found = m_reader.feed(byte)) {
        flushIgnored(now);
        command(*found, now);
    }
}

void Radio::startFrame(Frame kind, std::uint8_t byte, TimePoint now)
{
    m_reader.abandon();
    flushIgnored(now);
    m_frame = kind;
    m_frameBytes.assign(1, byte);
}

void Radio::frameByte(std::uint8_t byte, TimePoint now)
{
    m_frameBytes.push_back(byte);
    if (m_frame == Frame::Record) {
        if (m_frameBytes.size() >= kRecordHeaderSize && m_frameBytes.size() == kRecordHeaderSize + m_frameBytes[3])
            storeRecord(now);
        return;
    }
    if (m_frameBytes.size() == kAdjustPacketSize) adjust(now);
}

void Radio::command(const Command& cmd, TimePoint now)
{
    const std::string text = commandText(cmd);
    m_log.heard(now, text, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    switch (cmd.kind) {
    case CommandKind::Read:
    case CommandKind::Program:
    case CommandKind::Test:
        handshake(cmd, now);
        return;
    case CommandKind::GoAhead:
        if (m_phase != Phase::AwaitGoAhead) {
            m_log.note(now, "go-ahead out of turn: ignored");
            return;
        }
        m_phase = Phase::Idle;
        sendReadOut(now);
        return;
    case CommandKind::End:
    case CommandKind::Cancel:
        if (m_phase != Phase::Adjusting) {
            m_log.note(now, "no item under adjustment: ignored");
            return;
        }
        endItem(cmd.kind == CommandKind::End, now);
        return;
    }
}

std::vector<std::uint8_t> Radio::handshakeReply() const
{
    if (m_config.generation == Generation::Older) return { m_memory.modelCode };
    return { m_memory.modelCode, m_config.version };
}

void Radio::handshake(const Command& cmd, TimePoint now)
{
    // The program repeats the item command before every adjust packet after the first: that
    // belongs to the adjustment under way and is always answered.
    if (cmd.kind == CommandKind::Test && m_phase == Phase::Adjusting && cmd.item == m_item) {
        std::vector<std::uint8_t> reply = handshakeReply();
        reply.push_back(m_memory.alignment[static_cast<std::size_t>(m_item)]);
        answer(reply, "item reply", now);
        return;
    }

    ++m_unanswered;
    if (m_config.faults.silent) {
        m_log.note(now, "silent: not answered");
        return;
    }
    if (m_unanswered < m_config.faults.answerOn) {
        m_log.note(now, "attempt " + std::to_string(m_unanswered) + ": not answered");
        return;
    }
    m_unanswered = 0;
    leavePhase(now);

    std::vector<std::uint8_t> reply = handshakeReply();
    switch (cmd.kind) {
    case CommandKind::Read:
        answer(reply, "handshake reply", now);
        m_phase = Phase::AwaitGoAhead;
        return;
    case CommandKind::Program:
        answer(reply, "handshake reply", now);
        m_session.emplace(m_memory, m_config.generation, m_config.faults.storeWrong);
        m_phase = Phase::Programming;
        return;
    default:
        m_item = cmd.item;
        m_valueBefore = m_memory.alignment[static_cast<std::size_t>(m_item)];
        reply.push_back(m_valueBefore);
        answer(reply, "item reply", now);
        m_phase = Phase::Adjusting;
        return;
    }
}

void Radio::sendReadOut(TimePoint now)
{
    const Generation generation = m_config.generation;
    const Faults& faults = m_config.faults;
    std::vector<std::uint8_t> stream
        = faults.garbage ? garbageStream(readOutSize(generation)) : readOutStream(m_memory, generation);
    const std::size_t full = stream.size();
    std::size_t length = full;
    if (faults.shortStream) length = std::min(length, *faults.shortStream);
    if (faults.dropAfter) length = std::min(length, *faults.dropAfter);
    stream.resize(length);

    const std::size_t records = (full + kRecordSize - 1) / kRecordSize;
    const std::string_view what = faults.garbage ? "read-out noise" : "read-out record";
    for (std::size_t first = 0; first < length; first += kRecordSize) {
        const std::size_t count = std::min(kRecordSize, length - first);
        send(std::span(stream).subspan(first, count), numbered(what, first / kRecordSize + 1, records), now);
    }
    if (length < full)
        m_log.note(now, "read-out cut after " + std::to_string(length) + " of " + std::to_string(full) + " bytes");
    if (faults.dropAfter && *faults.dropAfter <= length) {
        m_output.hangUpAfter = true;
        m_log.note(now, "the line drops after these bytes");
    }
    ++m_exchangesDone;
}

void Radio::storeRecord(TimePoint now)
{
    const std::string where = m_session->store(m_frameBytes);
    m_log.heard(now,
        numbered("record", static_cast<std::size_t>(m_session->recordCount()),
            static_cast<std::size_t>(programRecordCount(m_config.generation)))
            + ": " + where,
        m_frameBytes);
    m_frame = Frame::None;
    m_frameBytes.clear();
    // The radio keeps what it has stored when the line goes: the hang-up ends the run.
    if (m_config.faults.dropDuringProgram == m_session->recordCount()) {
        m_output.hangUpAfter = true;
        m_log.note(now, "the line drops after this record");
        return;
    }
    if (m_session->complete()) finishProgramming(true, now);
}

void Radio::finishProgramming(bool answer, TimePoint now)
{
    const int records = m_session->recordCount();
    m_memory = m_session->result();
    m_session.reset();
    m_phase = Phase::Idle;
    m_log.note(now, "programmed with " + std::to_string(records) + " records");
    if (m_programmed) m_programmed(m_memory);
    if (!answer) return;
    if (m_config.completion.empty())
        m_log.note(now, "no completion reply");
    else
        send(m_config.completion, "completion reply", now);
    ++m_exchangesDone;
}

void Radio::adjust(TimePoint now)
{
    const std::uint8_t value = m_frameBytes[kAdjustValueOffset];
    std::array<std::uint8_t, kTestChannelBytes> channel {};
    std::copy_n(m_frameBytes.begin() + 1, kTestChannelBytes, channel.begin());
    m_lastTestChannel = channel;
    m_memory.alignment[static_cast<std::size_t>(m_item)] = value;
    m_log.heard(now, "adjust item " + std::to_string(m_item) + " to " + std::to_string(value), m_frameBytes);
    m_frame = Frame::None;
    m_frameBytes.clear();
}

void Radio::endItem(bool keep, TimePoint now)
{
    auto& value = m_memory.alignment[static_cast<std::size_t>(m_item)];
    if (!keep) value = m_valueBefore;
    m_log.note(now, "item " + std::to_string(m_item) + (keep ? " keeps " : " back to ") + std::to_string(value));
    m_phase = Phase::Idle;
    m_item = -1;
    ++m_exchangesDone;
}

// A new handshake or a closed line ends whatever was under way. Records already stored stay
// stored, as in a radio that writes each record as it comes; an item left open keeps the value
// it had before, as nothing told the radio to keep the new one.
void Radio::leavePhase(TimePoint now)
{
    switch (m_phase) {
    case Phase::Idle:
        return;
    case Phase::AwaitGoAhead:
        m_log.note(now, "no go-ahead: read-out abandoned");
        break;
    case Phase::Programming:
        if (m_session->recordCount() > 0) {
            finishProgramming(false, now);
            return;
        }
        m_session.reset();
        m_log.note(now, "no records: programming abandoned");
        break;
    case Phase::Adjusting:
        m_memory.alignment[static_cast<std::size_t>(m_item)] = m_valueBefore;
        m_log.note(now, "item " + std::to_string(m_item) + " left open: back to " + std::to_string(m_valueBefore));
        m_item = -1;
        break;
    }
    m_phase = Phase::Idle;
}

void Radio::dropPartial(TimePoint now)
{
    if (m_frame != Frame::None) {
        m_log.heard(now, "incomplete packet: ignored", m_frameBytes);
        m_frame = Frame::None;
        m_frameBytes.clear();
    }
    m_reader.abandon();
    flushIgnored(now);
}

void Radio::flushIgnored(TimePoint now)
{
    const std::vector<std::uint8_t> ignored = m_reader.takeIgnored();
    if (!ignored.empty()) m_log.heard(now, "not a command: ignored", ignored);
}

void Radio::lineOpened(TimePoint now)
{
    m_log.note(now, "the program opened the line");
    m_answeredSinceOpen = false;
    if (const auto stray = m_config.faults.strayAtOpen) {
        send(std::span(&*stray, 1), "stray byte as the line opens", now);
        m_quietUntil = now + kStrayGap;
    }
}

void Radio::lineClosed(TimePoint now)
{
    m_log.note(now, "the program closed the line");
    lineGone(now);
}

void Radio::hungUp(TimePoint now)
{
    m_log.note(now, "the radio hung up");
    lineGone(now);
}

void Radio::lineGone(TimePoint now)
{
    dropPartial(now);
    m_unanswered = 0;
    leavePhase(now);
    m_output = {};
    m_later.clear();
    m_quietUntil = {};
}

bool Radio::waitingForQuiet() const
{
    return m_frame != Frame::None || m_reader.pending() || m_reader.hasIgnored() || m_unanswered > 0
        || (m_phase == Phase::Programming && m_session->recordCount() > 0);
}

std::optional<TimePoint> Radio::nextTimer() const
{
    std::optional<TimePoint> next;
    if (waitingForQuiet()) next = m_lastHeard + kIdleGap;
    if (!m_later.empty() && (!next || m_later.front().at < *next)) next = m_later.front().at;
    return next;
}

void Radio::runTimers(TimePoint now)
{
    releaseLater(now);
    if (!waitingForQuiet() || now < m_lastHeard + kIdleGap) return;
    dropPartial(now);
    m_unanswered = 0;
    if (m_phase == Phase::Programming && m_session->recordCount() > 0) {
        m_log.note(now, "quiet after " + std::to_string(m_session->recordCount()) + " records: programming ends");
        finishProgramming(true, now);
    }
}

void Radio::answer(std::span<const std::uint8_t> bytes, std::string_view what, TimePoint now)
{
    const Faults& faults = m_config.faults;
    const bool late = faults.lateBy.count() > 0 && !(faults.lateFirstOnly && m_answeredSinceOpen);
    TimePoint at = std::max(late ? now + faults.lateBy : now, m_quietUntil);
    if (faults.strayBeforeAnswer && !m_answeredSinceOpen) {
        send(std::span(&*faults.strayBeforeAnswer, 1), "stray byte", now);
        at = std::max(at, now + kStrayGap);
    }
    m_answeredSinceOpen = true;
    if (at <= now) {
        send(bytes, what, now);
        return;
    }
    m_log.note(now, std::string(what) + " held back " + std::to_string((at - now) / std::chrono::milliseconds(1)) + " ms");
    const auto place = std::upper_bound(
        m_later.begin(), m_later.end(), at, [](TimePoint t, const Later& l) { return t < l.at; });
    m_later.insert(place, Later { at, { bytes.begin(), bytes.end() }, std::string(what) });
}

void Radio::releaseLater(TimePoint now)
{
    while (!m_later.empty() && m_later.front().at <= now) {
        const Later due = m_later.front();
        m_later.erase(m_later.begin());
        send(due.bytes, due.what, now);
    }
}

void Radio::send(std::span<const std::uint8_t> bytes, std::string_view what, TimePoint now)
{
    m_log.sent(now, what, bytes);
    m_output.bytes.insert(m_output.bytes.end(), bytes.begin(), bytes.end());
}

} // namespace korvane::sim
