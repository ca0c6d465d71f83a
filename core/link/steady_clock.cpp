#include "core/link/steady_clock.h"

#include <thread>

namespace korvane::link {

Clock::TimePoint SteadyClock::now() { return std::chrono::steady_clock::now(); }

void SteadyClock::sleepUntil(TimePoint deadline) { std::this_thread::sleep_until(deadline); }

} // namespace korvane::link
