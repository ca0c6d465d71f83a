#pragma once
// Frequency fields in image form: an 18-bit count of 2.5 kHz or 6.25 kHz units. Frequencies are
// carried as whole hertz, and shown in MHz as "000.00000".

#include "core/model/record_layout.h"

#include <cstdint>
#include <string>

namespace korvane::model {

inline constexpr std::int64_t kStep250Hz = 2500;
inline constexpr std::int64_t kStep625Hz = 6250;

inline std::int64_t stepHz(bool step625) { return step625 ? kStep625Hz : kStep250Hz; }

std::int64_t frequencyHz(const Record& r, Side s);
// "000.00000": MHz with at least three integer digits and five decimals.
std::string formatHz(std::int64_t hz);
std::string formatFrequency(std::uint8_t f0, std::uint8_t f1, std::uint8_t f2);
std::string formatFrequency(const Record& r, Side s);

// Writes the count of a frequency that is already a whole number of the side's steps (any
// remainder rounds to the nearest count, halves to even). The step flag and the other bits of
// the flag byte stay as they are.
void encodeFrequency(std::int64_t hz, Record& r, Side s);

} // namespace korvane::model
