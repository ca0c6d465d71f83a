#pragma once
// The two generations of radio. Older radios count frequencies in 5 kHz units, keep no
// parameter table and send a shorter read-out; newer ones use the image form throughout.

#include <cstddef>

namespace korvane::link {

enum class Generation { Older, Newer };

// The read-out is complete once this many bytes have arrived.
constexpr std::size_t readoutLength(Generation g) { return g == Generation::Older ? 420 : 684; }
// Data records sent when programming.
constexpr int programmingRecordCount(Generation g) { return g == Generation::Older ? 35 : 56; }

} // namespace korvane::link
