// Exact decimal parsing fed arbitrary text. Input: one byte for the scale (0..9) and a divisor,
// then the text.
//
// A parsed value formats back to text that parses to the same value, rounding halves to even
// stays within half a step of the value, and formatting with fewer decimals agrees with that
// rounding.

#include "core/util/decimal.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace {

using korvane::fuzz::check;

using namespace korvane;

// Parsed magnitudes never exceed this (the parser's saturation point).
constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 16;

std::int64_t pow10(int n)
{
    std::int64_t p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

bool looksNumeric(std::string_view text)
{
    std::size_t digits = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c != '.' && c != '+' && c != '-' && c != ' ' && c != '\t')
            return false;
    }
    return digits > 0;
}

void checkRounding(util::ScaledDecimal x, std::int64_t den)
{
    const std::int64_t q = util::divRoundHalfEven(x, den);
    const std::int64_t rest = x.value - q * den; // |rest| <= den / 2
    check(2 * (rest < 0 ? -rest : rest) <= den, "rounding stays within half a step");
    if (2 * (rest < 0 ? -rest : rest) == den && !x.inexact) check(q % 2 == 0, "an exact half rounds to even");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const int scale = data[0] % 10;
    const std::int64_t den = (data[0] >> 4) + 1; // 1..16
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const auto parsed = util::parseDecimal(text, scale);
    if (!parsed) return 0;
    check(looksNumeric(text), "only numbers parse");
    const std::int64_t value = parsed->value;
    check(value >= -kLargest && value <= kLargest, "a parsed value stays below saturation");

    // An exact value below saturation prints and parses back unchanged.
    if (!parsed->inexact && value > -kLargest && value < kLargest) {
        const std::string shown = util::formatScaled(value, scale, 1, scale);
        const auto again = util::parseDecimal(shown, scale);
        check(again && again->value == value && !again->inexact, "a value prints and parses back");
    }

    checkRounding(*parsed, 2 * den); // inexact values need an even divisor
    if (!parsed->inexact) checkRounding(*parsed, den);

    // Fewer decimals: the same as rounding to that many.
    for (int fracDigits = 0; fracDigits < scale; ++fracDigits) {
        const std::int64_t unit = pow10(scale - fracDigits);
        const std::string shown = util::formatScaled(value, scale, 1, fracDigits);
        const auto again = util::parseDecimal(shown, fracDigits);
        check(again && again->value == util::divRoundHalfEven(value, unit), "fewer decimals round halves to even");
    }
    return 0;
}
