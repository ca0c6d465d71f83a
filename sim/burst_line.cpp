#include "sim/burst_line.h"

#include <algorithm>

namespace korvane::sim {

BurstLine::BurstLine(std::chrono::milliseconds period, std::chrono::milliseconds jitter)
    : m_period(period)
    , m_jitter(jitter)
{
}

std::chrono::nanoseconds BurstLine::nextJitter()
{
    if (m_jitter.count() <= 0) return {};
    m_random = m_random * 1664525u + 1013904223u;
    return std::chrono::nanoseconds { static_cast<std::int64_t>(m_random >> 8) % (m_jitter.count() + 1) };
}

void BurstLine::hold(std::span<const std::uint8_t> bytes, TimePoint now)
{
    if (bytes.empty()) return;
    const auto sinceEpoch = now.time_since_epoch();
    const TimePoint tick { (sinceEpoch / m_period + 1) * m_period };
    if (m_bursts.empty() || m_bursts.back().tick != tick) {
        const TimePoint due = std::max(tick + nextJitter(), m_bursts.empty() ? tick : m_bursts.back().due);
        m_bursts.push_back({ tick, due, {} });
    }
    m_bursts.back().bytes.insert(m_bursts.back().bytes.end(), bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> BurstLine::release(TimePoint now)
{
    std::vector<std::uint8_t> due;
    for (; !m_bursts.empty() && m_bursts.front().due <= now; m_bursts.pop_front())
        due.insert(due.end(), m_bursts.front().bytes.begin(), m_bursts.front().bytes.end());
    return due;
}

std::optional<TimePoint> BurstLine::nextRelease() const
{
    if (m_bursts.empty()) return std::nullopt;
    return m_bursts.front().due;
}

} // namespace korvane::sim
