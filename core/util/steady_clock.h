#pragma once
// The real clock: std::chrono::steady_clock, sleeping in the kernel rather than spinning.

#include "core/util/clock.h"

namespace korvane::util {

class SteadyClock final : public Clock {
public:
    TimePoint now() override;
    void sleepUntil(TimePoint deadline) override;
};

} // namespace korvane::util
