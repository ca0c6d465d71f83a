#include "core/util/steady_clock.h"

#include <thread>

namespace korvane::util {

Clock::TimePoint SteadyClock::now() { return std::chrono::steady_clock::now(); }

void SteadyClock::sleepUntil(TimePoint deadline) { std::this_thread::sleep_until(deadline); }

} // namespace korvane::util
