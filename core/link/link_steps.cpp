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
std::vector<const SerialPort*> g_claims;

bool claim(const SerialPort& port)
{
    std::lock_guard lock(g_claimsMutex);
    if (std::find(g_claims.begin(), g_claims.end(), &port) != g_claims.end()) return false;
    g_claims.push_back(&port);
    return true;
}

void release(const SerialPort& port)
{
    std::lock_guard lock(g_claimsMutex);
    std::erase(g_claims, &port);
}

} // namespace

LinkSession::LinkSession(SerialPort& port, Clock& clock, LinkTarget target)
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

PortStatus LinkSession::openLink()
{
    if (m_port.isOpen()) m_port.close();
    if (!m_target.device)
        return PortError { PortErrorKind::NoSuchDevice, {}, "no device is mapped to " + m_target.name, {} };
    return m_port.open(*m_target.device);
}

PortResult<Bytes> LinkSession::handshake(std::string_view command, Clock::Duration pauseLength, std::size_t enough)
{
    Bytes reply;
    for (int attempt = 0; attempt < kHandshakeAttempts; ++attempt) {
        if (auto s = m_port.discardOutput(); !s) return s.error();
        if (auto s = m_port.discardInput(); !s) return s.error();
        if (auto s = send(command); !s) return s.error();
        if (auto s = waitSent(); !s) return s.error();
        pause(pauseLength);
        auto taken = takeReply();
        if (!taken) return taken.error();
        reply = std::move(*taken);
        if (reply.size() >= enough) break;
    }
    return reply;
}

PortStatus LinkSession::send(std::span<const std::uint8_t> bytes) { return m_port.write(bytes); }

PortStatus LinkSession::send(std::string_view text)
{
    const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
    return m_port.write(std::span(first, text.size()));
}

PortStatus LinkSession::waitSent()
{
    if (auto s = m_port.drain(); !s) return s;
    const Clock::TimePoint deadline = m_clock.now() + kWaitSentLimit;
    for (;;) {
        auto count = m_port.transmitCount();
        if (!count) return count.error();
        if (*count == 0) break;
        if (m_clock.now() >= deadline)
            return PortError { PortErrorKind::Other, m_target.device.value_or(""), "output does not leave the port",
                {} };
        m_clock.sleepUntil(m_clock.now() + kWaitSentStep);
    }
    // Nothing is left to discard. Flushing anyway would be harmful on a pseudo-terminal, where
    // it throws away bytes the far end has not read yet.
    return kPortOk;
}

void LinkSession::pause(Clock::Duration length) { link::pause(m_clock, length); }

PortResult<Bytes> LinkSession::takeReply()
{
    auto input = m_port.takeInput();
    if (!input) return input;
    const Clock::TimePoint deadline = m_clock.now() + kTakeReplySettleLimit;
    for (;;) {
        auto count = m_port.receiveCount();
        if (!count) return count.error();
        if (*count == 0 || m_clock.now() >= deadline) break;
        if (auto s = m_port.discardInput(); !s) return s.error();
        m_clock.sleepUntil(m_clock.now() + kTakeReplySettleStep);
    }
    if (auto s = m_port.discardInput(); !s) return s.error();
    return input;
}

PortResult<std::size_t> LinkSession::receiveCount() { return m_port.receiveCount(); }

PortStatus LinkSession::discardOutput() { return m_port.discardOutput(); }

void LinkSession::closeLink()
{
    if (m_port.isOpen()) m_port.close();
}

util::Message LinkSession::communicationFailure(const std::optional<PortError>& cause) const
{
    return link::communicationFailure(m_target, cause);
}

} // namespace korvane::link
