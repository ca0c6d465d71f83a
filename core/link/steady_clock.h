#pragma once
// The real clock: std::chrono::steady_clock, sleeping in the kernel rather than spinning.

#include "core/link/clock.h"

namespace korvane::link {

class SteadyClock final : public Clock {
public:
    TimePoint now() override;
    void sleepUntil(TimePoint deadline) override;
};

} // namespace korvane::link
