#pragma once
// The time every pause of the link is measured on: a monotonic clock that can also wait.
// Tests substitute a virtual clock so that seconds of protocol run in microseconds.

#include <chrono>

namespace korvane::util {

class Clock {
public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() = 0;
    // Returns at or after `deadline` (at once when it has passed).
    virtual void sleepUntil(TimePoint deadline) = 0;
};

// Waits `length` from now. Waits never handle user input: the caller runs off the event loop.
void pause(Clock& clock, Clock::Duration length);
// Waits until `deadline` (at once when it has passed).
void pauseUntil(Clock& clock, Clock::TimePoint deadline);

} // namespace korvane::util
