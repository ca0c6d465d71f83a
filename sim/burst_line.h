#pragma once
// A USB serial adapter between the radio and the program: it holds the bytes that reach it and
// hands them on in bursts at each tick of its latency timer, each burst up to `jitter` late when
// the host is busy. One answer can so be cut in two, and a late answer can arrive with the next.

#include "sim/line_pacer.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace korvane::sim {

class BurstLine {
public:
    // The line uses it only with a period above 0.
    BurstLine(std::chrono::milliseconds period, std::chrono::milliseconds jitter);

    void hold(std::span<const std::uint8_t> bytes, TimePoint now);
    // The bytes of every burst due by `now`, in order.
    std::vector<std::uint8_t> release(TimePoint now);
    std::optional<TimePoint> nextRelease() const;
    bool empty() const { return m_bursts.empty(); }
    void clear() { m_bursts.clear(); }

private:
    struct Burst {
        TimePoint tick;
        TimePoint due;
        std::vector<std::uint8_t> bytes;
    };
    std::chrono::nanoseconds nextJitter();

    std::chrono::nanoseconds m_period;
    std::chrono::nanoseconds m_jitter;
    std::uint32_t m_random = 0x2545F491u; // the same bursts on every run
    std::deque<Burst> m_bursts;
};

} // namespace korvane::sim
