#include "core/link/link_steps.h"

#include "core/link/link_messages.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace korvane::link {

namespace {

// Ports that a session is using right now. The window runs one operation at a time, but a
// question or message box must never be able to start a second one on the same port.
std::mutex g_claimsMutex;
std::vector<const serial::SerialPort*> g_claims;

bool claim(const serial::SerialPort& port)
{
    std::lock_guard lock(g_claimsMutex);
    if (std::find(g_claims.begin(), g_claims.end(), &port) != g_claims.end()) return false;
    g_claims.push_back(&port);
    return true;
}

void release(const serial::SerialPort& port)
{
    std::lock_guard lock(g_claimsMutex);
    std::erase(g_claims, &port);
}

} // namespace

LinkSession::LinkSession(serial::SerialPort& port, util::Clock& clock, LinkTarget target)
    : m_port(port)
    , m_clock(clock)
    , m_target(std::move(target))
    , m_owner(claim(port))
{
}

LinkSession::~LinkSession()
{
    if (!m_owner) return;
    closeLink();
    release(m_port);
}

serial::PortStatus LinkSession::openLink()
{
    if (m_port.isOpen()) m_port.close();
    if (!m_target.device)
        return serial::PortError { serial::PortErrorKind::NoSuchDevice, {}, "no device is mapped to " + m_target.name, {} };
    return m_port.open(*m_target.device);
}

serial::PortResult<serial::Bytes> LinkSession::handshake(std::string_view command, util::Clock::Duration pauseLength, const AnswerShape& shape)
{
    serial::Bytes last;
    std::optional<serial::Bytes> doubted; // the attempt before heard these bytes with a gap inside
    for (int attempt = 0; attempt < kHandshakeAttempts; ++attempt) {
        if (auto s = m_port.discardOutput(); !s) return s.error();
        if (auto s = m_port.discardInput(); !s) return s.error();
        if (auto s = send(command); !s) return s.error();
        if (auto s = waitSent(); !s) return s.error();
        auto heard = listen(pauseLength);
        if (!heard) return heard.error();
        Judged judged = judgeReply(*heard, shape, attempt > 0);
        if (judged.verdict == Verdict::Doubtful) {
            // A stray byte does not come back the same way twice; the radio's own answer does,
            // however the line cut it up.
            const serial::Bytes bytes = heard->bytes();
            if (doubted == bytes) judged = judgeReply(HeardReply { { bytes } }, shape, false);
            doubted = bytes;
        } else {
            doubted.reset();
        }
        if (judged.verdict == Verdict::Answer) return judged.answer;
        last = judged.verdict == Verdict::TooShort ? judged.answer : serial::Bytes {};
    }
    return last;
}

serial::PortStatus LinkSession::send(std::span<const std::uint8_t> bytes) { return m_port.write(bytes); }

serial::PortStatus LinkSession::send(std::string_view text)
{
    const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
    return m_port.write(std::span(first, text.size()));
}

serial::PortStatus LinkSession::waitSent()
{
    if (auto s = m_port.drain(); !s) return s;
    const util::Clock::TimePoint deadline = m_clock.now() + kWaitSentLimit;
    for (;;) {
        auto count = m_port.transmitCount();
        if (!count) return count.error();
        if (*count == 0) break;
        if (m_clock.now() >= deadline)
            return serial::PortError { serial::PortErrorKind::Other, m_target.device.value_or(""), "output does not leave the port",
                {} };
        m_clock.sleepUntil(m_clock.now() + kWaitSentStep);
    }
    // Nothing is left to discard. Flushing anyway would be harmful on a pseudo-terminal, where
    // it throws away bytes the far end has not read yet.
    return serial::kPortOk;
}

void LinkSession::pause(util::Clock::Duration length) { util::pause(m_clock, length); }

serial::PortResult<HeardReply> LinkSession::listen(util::Clock::Duration length)
{
    HeardReply reply;
    const util::Clock::TimePoint pauseEnd = m_clock.now() + length;
    std::optional<util::Clock::TimePoint> lastHeard;
    util::Clock::TimePoint previousLook = m_clock.now();
    for (;;) {
        auto input = m_port.takeInput();
        if (!input) return input.error();
        const util::Clock::TimePoint look = m_clock.now();
        if (!input->empty()) {
            // The bytes came after the look before this one: the line was quiet at least since then.
            if (!lastHeard || previousLook - *lastHeard >= kPieceGap) reply.pieces.emplace_back();
            reply.pieces.back().insert(reply.pieces.back().end(), input->begin(), input->end());
            lastHeard = look;
        }
        // With nothing heard, a late answer still gets its quiet gap after the pause.
        const util::Clock::TimePoint quietAt = lastHeard ? std::max(pauseEnd, *lastHeard + kQuietGap) : pauseEnd + kQuietGap;
        if (look >= quietAt) break;
        if (look >= pauseEnd + kTakeReplySettleLimit) {
            reply.settled = false;
            if (auto s = m_port.discardInput(); !s) return s.error();
            break;
        }
        previousLook = look;
        m_clock.sleepUntil(std::min(quietAt, look + kListenStep));
    }
    return reply;
}

serial::PortResult<serial::Bytes> LinkSession::takeReply()
{
    auto heard = listen(util::Clock::Duration {});
    if (!heard) return heard.error();
    return heard->bytes();
}

serial::PortResult<serial::Bytes> LinkSession::takeInput() { return m_port.takeInput(); }

serial::PortStatus LinkSession::discardInput() { return m_port.discardInput(); }

serial::PortResult<std::size_t> LinkSession::receiveCount() { return m_port.receiveCount(); }

serial::PortStatus LinkSession::discardOutput() { return m_port.discardOutput(); }

void LinkSession::closeLink()
{
    if (m_port.isOpen()) m_port.close();
}

util::Message LinkSession::communicationFailure(const std::optional<serial::PortError>& cause) const
{
    return link::communicationFailure(m_target, cause);
}

} // namespace korvane::link
