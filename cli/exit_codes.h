#pragma once
// The companion's exit status.

namespace korvane::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitQuestion = 3;
inline constexpr int kExitUnreadable = 4; // diff: A or B could not be read

} // namespace korvane::cli
