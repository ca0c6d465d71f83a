#include "core/util/utc_time.h"

namespace korvane::util {

UtcTime utcTimeOf(std::chrono::system_clock::time_point when)
{
    const auto ms = std::chrono::floor<std::chrono::milliseconds>(when);
    const auto day = std::chrono::floor<std::chrono::days>(ms);
    const std::chrono::year_month_day date { day };
    const std::chrono::hh_mm_ss clock { ms - day };
    return { static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(clock.hours().count()),
        static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count()),
        static_cast<int>(clock.subseconds().count()) };
}

} // namespace korvane::util
