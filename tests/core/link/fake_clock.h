#pragma once
// A clock whose time moves only when someone waits on it, so protocol seconds cost nothing.

#include "core/link/clock.h"

namespace korvane::link::fakes {

class FakeClock final : public Clock {
public:
    TimePoint now() override { return m_now; }
    void sleepUntil(TimePoint deadline) override
    {
        if (deadline > m_now) m_now = deadline;
    }
    void advance(Duration d) { m_now += d; }
    Duration elapsed() const { return m_now - kStart; }

    static constexpr TimePoint kStart {};

private:
    TimePoint m_now = kStart;
};

inline double seconds(Clock::Duration d) { return std::chrono::duration<double>(d).count(); }

} // namespace korvane::link::fakes
