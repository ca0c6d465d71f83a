#pragma once
// Exact decimal arithmetic for typed and shown numbers. Frequencies, tones and times are parsed
// into scaled integers (never binary floating point), and every division into steps rounds
// halves to the even neighbour.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::util {

// A decimal number times 10^scale, truncated towards zero; `inexact` is set when digits were
// cut off (the true magnitude is then a little larger than |value|).
struct ScaledDecimal {
    std::int64_t value = 0;
    bool inexact = false;
};

// Parses blanks, an optional sign, digits with at most one "." (at least one digit), blanks.
// "." is the decimal point whatever the locale. Huge magnitudes saturate (and are inexact).
std::optional<ScaledDecimal> parseDecimal(std::string_view text, int scale);

// num / den rounded to the nearest integer, halves to even. den > 0.
std::int64_t divRoundHalfEven(std::int64_t num, std::int64_t den);

// x / den rounded to the nearest integer, halves to even, taking cut-off digits into account.
// With an inexact x, den must be even (then cut-off digits can only break an exact tie).
std::int64_t divRoundHalfEven(ScaledDecimal x, std::int64_t den);

// Formats value / 10^scale with at least `minIntDigits` integer digits (leading zeros) and
// exactly `fracDigits` decimals, rounding halves to even when digits are dropped.
std::string formatScaled(std::int64_t value, int scale, int minIntDigits, int fracDigits);

} // namespace korvane::util
