#include "core/util/decimal.h"

#include <limits>

namespace korvane::util {

namespace {

constexpr std::int64_t kSaturated = std::numeric_limits<std::int64_t>::max() / 16;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::int64_t pow10(int n)
{
    std::int64_t p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

} // namespace

std::optional<ScaledDecimal> parseDecimal(std::string_view text, int scale)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    std::size_t end = text.size();
    while (end > i && isBlank(text[end - 1]))
        --end;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t magnitude = 0;
    bool inexact = false;
    bool sawDigit = false;
    bool sawPoint = false;
    int fracDigits = 0;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c == '.') {
            if (sawPoint)
                return std::nullopt;
            sawPoint = true;
            continue;
        }
        if (c < '0' || c > '9')
            return std::nullopt;
        sawDigit = true;
        const int digit = c - '0';
        if (sawPoint && fracDigits >= scale) {
            inexact = inexact || digit != 0;
            continue;
        }
        if (sawPoint)
            ++fracDigits;
        if (magnitude >= kSaturated / 10) {
            magnitude = kSaturated;
            inexact = true;
        } else {
            magnitude = magnitude * 10 + digit;
        }
    }
    if (!sawDigit)
        return std::nullopt;
    for (int k = fracDigits; k < scale; ++k)
        magnitude = magnitude >= kSaturated / 10 ? kSaturated : magnitude * 10;
    return ScaledDecimal { negative ? -magnitude : magnitude, inexact };
}

std::int64_t divRoundHalfEven(std::int64_t num, std::int64_t den) { return divRoundHalfEven(ScaledDecimal { num, false }, den); }

std::int64_t divRoundHalfEven(ScaledDecimal x, std::int64_t den)
{
    const bool negative = x.value < 0;
    const std::int64_t magnitude = negative ? -x.value : x.value;
    std::int64_t q = magnitude / den;
    const std::int64_t twiceRest = (magnitude % den) * 2;
    if (twiceRest > den || (twiceRest == den && (x.inexact || q % 2 != 0)))
        ++q;
    return negative ? -q : q;
}

std::string formatScaled(std::int64_t value, int scale, int minIntDigits, int fracDigits)
{
    if (fracDigits < scale)
        value = divRoundHalfEven(value, pow10(scale - fracDigits));
    else
        value *= pow10(fracDigits - scale);
    const bool negative = value < 0;
    const std::int64_t magnitude = negative ? -value : value;
    const std::int64_t unit = pow10(fracDigits);
    std::string intPart = std::to_string(magnitude / unit);
    if (static_cast<int>(intPart.size()) < minIntDigits)
        intPart.insert(0, static_cast<std::size_t>(minIntDigits) - intPart.size(), '0');
    std::string out = negative ? "-" + intPart : intPart;
    if (fracDigits > 0) {
        std::string frac = std::to_string(magnitude % unit);
        frac.insert(0, static_cast<std::size_t>(fracDigits) - frac.size(), '0');
        out += "." + frac;
    }
    return out;
}

} // namespace korvane::util
