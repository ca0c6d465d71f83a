#include "sim/line_pacer.h"

namespace korvane::sim {

LinePacer::LinePacer(int baud, int bitsPerByte)
    : m_baud(baud)
    , m_bitsPerByte(bitsPerByte)
{
}

std::chrono::nanoseconds LinePacer::duration(std::int64_t count) const
{
    if (m_baud <= 0) return std::chrono::nanoseconds { 0 };
    return std::chrono::nanoseconds { count * m_bitsPerByte * std::int64_t { 1'000'000'000 } / m_baud };
}

void LinePacer::queue(std::span<const std::uint8_t> bytes, TimePoint now)
{
    // A run goes on while the line is still busy with its last byte; otherwise a new one starts.
    if (m_runBytes == 0 || m_runStart + duration(m_runBytes) <= now) {
        m_runStart = now;
        m_runBytes = 0;
    }
    for (std::uint8_t b : bytes) {
        ++m_runBytes;
        m_bytes.push_back({ b, m_runStart + duration(m_runBytes) });
    }
}

std::vector<std::uint8_t> LinePacer::takeDue(TimePoint now)
{
    std::vector<std::uint8_t> due;
    while (!m_bytes.empty() && m_bytes.front().due <= now) {
        due.push_back(m_bytes.front().byte);
        m_bytes.pop_front();
    }
    return due;
}

std::optional<TimePoint> LinePacer::nextDue() const
{
    if (m_bytes.empty()) return std::nullopt;
    return m_bytes.front().due;
}

void LinePacer::clear()
{
    m_bytes.clear();
    m_runBytes = 0;
}

} // namespace korvane::sim
