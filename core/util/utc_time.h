#pragma once
// A moment split into its UTC calendar date and time of day, for names and log lines that sort
// by time whatever the time zone.

#include <chrono>

namespace korvane::util {

struct UtcTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

UtcTime utcTimeOf(std::chrono::system_clock::time_point when);

} // namespace korvane::util
