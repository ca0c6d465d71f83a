#pragma once
// The timing of a serial line: each byte takes its bits' time to cross, and a byte queued while
// the line is busy starts when the one before it has left. Deadlines are absolute, counted from
// the start of an unbroken run of bytes, so rounding never adds up over a long stream.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace korvane::sim {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;

inline constexpr int kLineBaud = 9600;
inline constexpr int kBitsPerByte = 11; // start bit, 8 data bits, 2 stop bits

class LinePacer {
public:
    // A baud rate of 0 makes a line without delay.
    explicit LinePacer(int baud = kLineBaud, int bitsPerByte = kBitsPerByte);

    void queue(std::span<const std::uint8_t> bytes, TimePoint now);
    // The bytes that have fully crossed the line by `now`, in order.
    std::vector<std::uint8_t> takeDue(TimePoint now);
    // When the next byte will have crossed; nothing when the line is idle.
    std::optional<TimePoint> nextDue() const;
    bool empty() const { return m_bytes.empty(); }
    void clear();

    // The time `count` bytes take on this line.
    std::chrono::nanoseconds duration(std::int64_t count) const;

private:
    struct Timed {
        std::uint8_t byte;
        TimePoint due;
    };
    int m_baud;
    int m_bitsPerByte;
    std::deque<Timed> m_bytes;
    TimePoint m_runStart {};
    std::int64_t m_runBytes = 0; // bytes queued since m_runStart
};

} // namespace korvane::sim
