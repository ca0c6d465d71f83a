#pragma once
// The steps every exchange with the radio is built from: open the port, send a command until the
// radio answers, wait for bytes to leave, pause, take the reply, close. One session is one user
// command; the port is open only inside it.

#include "core/link/clock.h"
#include "core/link/link_target.h"
#include "core/link/serial_port.h"
#include "core/util/message.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace korvane::link {

inline constexpr int kHandshakeAttempts = 6;
inline constexpr Clock::Duration kHandshakePause = std::chrono::milliseconds(80);
// A radio that keeps talking after its reply must not hold us: after this long its further
// bytes are thrown away unread.
inline constexpr Clock::Duration kTakeReplySettleLimit = std::chrono::milliseconds(500);
// Longer than one byte on the line (11 bits at 9600 baud), so a quiet check means a quiet line.
inline constexpr Clock::Duration kTakeReplySettleStep = std::chrono::milliseconds(5);
// Bytes that have not left this long after the driver said they had mean a stuck port.
inline constexpr Clock::Duration kWaitSentLimit = std::chrono::seconds(2);
inline constexpr Clock::Duration kWaitSentStep = std::chrono::milliseconds(1);

class LinkSession {
public:
    // Claims the port for this session. A port already claimed by a running operation (a second
    // command started from inside the first) is not touched: owner() is then false.
    LinkSession(SerialPort& port, Clock& clock, LinkTarget target);
    ~LinkSession();
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    bool owner() const { return m_owner; }
    const LinkTarget& target() const { return m_target; }
    Clock& clock() { return m_clock; }

    // Closes the port if open and opens the target's device.
    PortStatus openLink();
    // Sends the command up to kHandshakeAttempts times until a reply of at least `enough` bytes
    // comes back; the last reply taken (possibly empty).
    PortResult<Bytes> handshake(
        std::string_view command, Clock::Duration pause = kHandshakePause, std::size_t enough = 1);
    PortStatus send(std::span<const std::uint8_t> bytes);
    PortStatus send(std::string_view text);
    // Returns once the bytes written have really left the port.
    PortStatus waitSent();
    void pause(Clock::Duration length);
    // Every byte waiting now; whatever follows until the line is quiet is thrown away.
    PortResult<Bytes> takeReply();
    PortResult<std::size_t> receiveCount();
    PortStatus discardOutput();
    void closeLink();

    util::Message communicationFailure(const std::optional<PortError>& cause = std::nullopt) const;

private:
    SerialPort& m_port;
    Clock& m_clock;
    LinkTarget m_target;
    bool m_owner = false;
};

} // namespace korvane::link
