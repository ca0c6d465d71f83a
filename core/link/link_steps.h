#pragma once
// The steps every exchange with the radio is built from: open the port, send a command until the
// radio answers, wait for bytes to leave, pause, take the reply, close. One session is one user
// command; the port is open only inside it.

#include "core/link/heard_reply.h"
#include "core/link/link_target.h"
#include "core/serial/serial_port.h"
#include "core/util/clock.h"
#include "core/util/message.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace korvane::link {

inline constexpr int kHandshakeAttempts = 6;
inline constexpr util::Clock::Duration kHandshakePause = std::chrono::milliseconds(80);
// A radio that keeps talking after its reply must not hold us: after this long its further
// bytes are thrown away unread.
inline constexpr util::Clock::Duration kTakeReplySettleLimit = std::chrono::milliseconds(500);
// A reply is over once the line has been quiet this long: USB adapters hold received bytes for
// up to 16 ms and pass them on in one burst, so a shorter quiet can fall inside one answer.
inline constexpr util::Clock::Duration kQuietGap = std::chrono::milliseconds(20);
// Quiet this long between bytes (over two bytes' time at 9600 baud) parts two runs of a reply.
inline constexpr util::Clock::Duration kPieceGap = std::chrono::milliseconds(3);
// How often the line is looked at while a reply may be coming.
inline constexpr util::Clock::Duration kListenStep = std::chrono::milliseconds(1);
// Bytes that have not left this long after the driver said they had mean a stuck port.
inline constexpr util::Clock::Duration kWaitSentLimit = std::chrono::seconds(2);
inline constexpr util::Clock::Duration kWaitSentStep = std::chrono::milliseconds(1);

class LinkSession {
public:
    // Claims the port for this session. A port already claimed by a running operation (a second
    // command started from inside the first) is not touched: owner() is then false.
    LinkSession(serial::SerialPort& port, util::Clock& clock, LinkTarget target);
    ~LinkSession();
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;

    bool owner() const { return m_owner; }
    const LinkTarget& target() const { return m_target; }
    util::Clock& clock() { return m_clock; }

    // Closes the port if open and opens the target's device.
    serial::PortStatus openLink();
    // Sends the command up to kHandshakeAttempts times until the radio answers. The answer, or the
    // last reply too short to be one; empty when every attempt heard nothing or only noise.
    serial::PortResult<serial::Bytes> handshake(std::string_view command, util::Clock::Duration pause = kHandshakePause,
        const AnswerShape& shape = kHandshakeAnswer);
    serial::PortStatus send(std::span<const std::uint8_t> bytes);
    serial::PortStatus send(std::string_view text);
    // Returns once the bytes written have really left the port.
    serial::PortStatus waitSent();
    void pause(util::Clock::Duration length);
    // Waits `length` while noting when bytes arrive, then goes on until the line has been quiet
    // for kQuietGap (but no longer than kTakeReplySettleLimit past the pause).
    serial::PortResult<HeardReply> listen(util::Clock::Duration length);
    // Every byte until the line is quiet.
    serial::PortResult<serial::Bytes> takeReply();
    // Every byte waiting now, for a caller that has seen the line go quiet.
    serial::PortResult<serial::Bytes> takeInput();
    serial::PortStatus discardInput();
    serial::PortResult<std::size_t> receiveCount();
    serial::PortStatus discardOutput();
    void closeLink();

    util::Message communicationFailure(const std::optional<serial::PortError>& cause = std::nullopt) const;

private:
    serial::SerialPort& m_port;
    util::Clock& m_clock;
    LinkTarget m_target;
    bool m_owner = false;
};

} // namespace korvane::link
