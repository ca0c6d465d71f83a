#include "core/util/clock.h"

namespace korvane::util {

void pause(Clock& clock, Clock::Duration length) { pauseUntil(clock, clock.now() + length); }

void pauseUntil(Clock& clock, Clock::TimePoint deadline)
{
    // A sleep may end early (a signal); keep waiting until the clock says the time is up.
    while (clock.now() < deadline)
        clock.sleepUntil(deadline);
}

} // namespace korvane::util
