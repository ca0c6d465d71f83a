#pragma once
// The radio's side of the link: it hears bytes, answers them and keeps its memory. Time comes
// in from outside with every call, so the behaviour runs the same under a test's clock and on
// a real line.
//
// Handshakes: "rEAD" and "pROGRAM" get the model code (older radio) or the model code and the
// version byte (newer radio); "tEST0".."tESTB" get the model code, for a newer radio the version
// byte, and the item's alignment value. After "rEAD" the go-ahead "OK" brings the read-out.
// After "pROGRAM" the radio stores records until it has as many as the program sends to its
// generation, or until the line has been quiet for a while after at least one, and then gives
// the completion reply. An item under adjustment takes adjust packets and repeated item
// commands; "END" keeps the last value, "CANCEL" restores the one it started with.

#include "sim/adjust_packet.h"
#include "sim/command_reader.h"
#include "sim/line_pacer.h"
#include "sim/packet_log.h"
#include "sim/programming_session.h"
#include "sim/radio_config.h"
#include "sim/radio_memory.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvane::sim {

// Quiet on the line for this long ends a half-heard command or record, a run of handshake
// attempts, and a programming run that has had at least one record.
inline constexpr std::chrono::milliseconds kIdleGap { 500 };
// Quiet kept between a stray byte and the answer after it: a byte that touches an answer cannot
// be told from it by anyone, and on a loaded test machine the program may look at the line only
// every few milliseconds, so the gap is wide enough to be seen even then.
inline constexpr std::chrono::milliseconds kStrayGap { 25 };

struct Transmission {
    std::vector<std::uint8_t> bytes;
    bool hangUpAfter = false; // the line drops once these bytes have gone
};

class Radio {
public:
    Radio(RadioConfig config, RadioMemory memory, PacketLog log = {});

    void receive(std::span<const std::uint8_t> bytes, TimePoint now);
    void lineOpened(TimePoint now);
    void lineClosed(TimePoint now); // the program closed its port
    void hungUp(TimePoint now); // the radio dropped the line itself

    // Quiet-line timeouts.
    std::optional<TimePoint> nextTimer() const;
    void runTimers(TimePoint now);

    Transmission takeOutput();
    bool hasOutput() const { return !m_output.bytes.empty() || m_output.hangUpAfter; }

    // Read-outs sent, programming runs answered and item adjustments ended.
    int exchangesDone() const { return m_exchangesDone; }
    const RadioMemory& memory() const { return m_memory; }
    const RadioConfig& config() const { return m_config; }
    std::optional<int> itemUnderAdjustment() const;
    // The test channel bytes of the last adjust packet.
    std::optional<std::array<std::uint8_t, kTestChannelBytes>> lastTestChannel() const { return m_lastTestChannel; }

    // Runs after every programming run, with the memory as it now is.
    void setProgrammedHandler(std::function<void(const RadioMemory&)> handler) { m_programmed = std::move(handler); }

private:
    enum class Phase { Idle, AwaitGoAhead, Programming, Adjusting };
    enum class Frame { None, Record, Adjust };

    void hearByte(std::uint8_t byte, TimePoint now);
    void startFrame(Frame kind, std::uint8_t byte, TimePoint now);
    void frameByte(std::uint8_t byte, TimePoint now);
    void command(const Command& command, TimePoint now);
    void handshake(const Command& command, TimePoint now);
    void sendReadOut(TimePoint now);
    void storeRecord(TimePoint now);
    void adjust(TimePoint now);
    void endItem(bool keep, TimePoint now);
    void leavePhase(TimePoint now);
    void finishProgramming(bool answer, TimePoint now);
    void dropPartial(TimePoint now);
    void lineGone(TimePoint now);
    void flushIgnored(TimePoint now);
    void send(std::span<const std::uint8_t> bytes, std::string_view what, TimePoint now);
    // Sends a handshake answer, late or behind a stray byte when the faults say so.
    void answer(std::span<const std::uint8_t> bytes, std::string_view what, TimePoint now);
    void releaseLater(TimePoint now);
    // Something half-heard or under way that quiet on the line would end.
    bool waitingForQuiet() const;
    std::vector<std::uint8_t> handshakeReply() const;

    RadioConfig m_config;
    RadioMemory m_memory;
    PacketLog m_log;
    std::function<void(const RadioMemory&)> m_programmed;

    CommandReader m_reader;
    Frame m_frame = Frame::None;
    std::vector<std::uint8_t> m_frameBytes;
    TimePoint m_lastHeard {};
    int m_unanswered = 0; // handshake commands left unanswered in this exchange

    Phase m_phase = Phase::Idle;
    std::optional<ProgrammingSession> m_session;
    int m_item = -1;
    std::uint8_t m_valueBefore = 0;
    std::optional<std::array<std::uint8_t, kTestChannelBytes>> m_lastTestChannel;

    Transmission m_output;
    struct Later {
        TimePoint at;
        std::vector<std::uint8_t> bytes;
        std::string what;
    };
    std::vector<Later> m_later; // answers held back, in the order they are due
    bool m_answeredSinceOpen = false;
    TimePoint m_quietUntil {}; // no answer before this (a stray byte keeps its gap)
    int m_exchangesDone = 0;
};

} // namespace korvane::sim
