#pragma once
// A serial port on a virtual line at 9600 baud, 11 bits a byte: what is written leaves at the
// line's rate, what the far end sends arrives at the times it names. The far end is a callback
// (a scripted radio) that hears each write when its last byte has left.

#include "core/link/serial_port.h"
#include "tests/core/link/fake_clock.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvane::link::fakes {

inline constexpr Clock::Duration kByteTime = std::chrono::nanoseconds(11'000'000'000LL / 9600);

struct WrittenBytes {
    Clock::TimePoint at; // when write() was called
    Clock::TimePoint leftAt; // when the last byte had left
    Bytes bytes;
};

class FakeSerialPort final : public SerialPort {
public:
    using FarEnd = std::function<void(FakeSerialPort& port, const Bytes& written, Clock::TimePoint leftAt)>;

    explicit FakeSerialPort(FakeClock& clock)
        : m_clock(clock)
    {
    }

    // Setup.
    void setFarEnd(FarEnd farEnd) { m_farEnd = std::move(farEnd); }
    void failOpen(const std::string& device, PortErrorKind kind) { m_openFailures[device] = kind; }
    // Bytes arriving from `start`, one per byte time when paced, all at once otherwise.
    void deliver(Clock::TimePoint start, const Bytes& bytes, bool paced = true);
    // From `start` on the far end sends one byte per byte time, forever.
    void sendForever(Clock::TimePoint start) { m_noiseFrom = start; }
    // Every operation from this time on finds the line dropped.
    void hangUpAt(Clock::TimePoint t) { m_hangUpAt = t; }
    // The line drops as the given write (1-based) is made.
    void hangUpOnWrite(int n) { m_hangUpOnWrite = n; }
    // Every port call takes this long, so bytes can arrive between two calls.
    void setCallCost(Clock::Duration cost) { m_callCost = cost; }

    // What happened.
    const std::vector<WrittenBytes>& writes() const { return m_writes; }
    std::vector<Bytes> writtenChunks() const;
    const std::vector<std::string>& opened() const { return m_opened; }
    int closeCount() const { return m_closes; }

    PortStatus open(const std::string& device) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    PortStatus write(std::span<const std::uint8_t> bytes) override;
    PortStatus drain() override;
    PortResult<std::size_t> transmitCount() override;
    PortResult<std::size_t> receiveCount() override;
    PortResult<Bytes> takeInput() override;
    PortStatus discardInput() override;
    PortStatus discardOutput() override;

private:
    std::optional<PortError> checkLine();
    std::size_t arrivedNoise() const;

    FakeClock& m_clock;
    FarEnd m_farEnd;
    std::map<std::string, PortErrorKind> m_openFailures;
    std::deque<std::pair<Clock::TimePoint, std::uint8_t>> m_incoming;
    std::optional<Clock::TimePoint> m_noiseFrom;
    std::size_t m_noiseConsumed = 0;
    std::optional<Clock::TimePoint> m_hangUpAt;
    int m_hangUpOnWrite = 0;
    Clock::Duration m_callCost {};
    Clock::TimePoint m_lineFreeAt {};
    bool m_open = false;
    std::string m_device;
    std::vector<WrittenBytes> m_writes;
    std::vector<std::string> m_opened;
    int m_closes = 0;
};

} // namespace korvane::link::fakes
