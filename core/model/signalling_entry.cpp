#include "core/model/signalling_entry.h"

#include "core/util/decimal.h"

namespace korvane::model {

namespace {

constexpr std::int64_t kLowestToneHundredths = 6700;
constexpr std::int64_t kHighestToneHundredths = 25410;
constexpr std::int64_t kHighestCodeTenths = 7770;

bool isDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool roomFor(std::size_t textLength, std::size_t limit, bool hasSelection)
{
    return textLength < limit || hasSelection;
}

bool hasNonOctalDigit(std::string_view text) { return text.find_first_of("89") != std::string_view::npos; }

} // namespace

bool ctcssKeyPasses(char32_t c, std::size_t textLength, bool hasSelection)
{
    if (c < 32) return true;
    return (isDigit(c) || c == U'.') && roomFor(textLength, 5, hasSelection);
}

bool cdcssKeyPasses(char32_t c, std::size_t textLength, bool hasSelection)
{
    if (c < 32) return true;
    return c >= U'0' && c <= U'7' && roomFor(textLength, 3, hasSelection);
}

util::Message ctcssDataError() { return { "CTCSS 数据错误!", "CTCSS信令错误", util::MessageIcon::Exclamation, {} }; }

util::Message cdcssEmptyError()
{
    return { "RX CDCSS data error!", "Error CDCSS Signaling", util::MessageIcon::Exclamation, {} };
}

util::Message cdcssDataError() { return { "CDCSS 数据错误!", "CDCSS信令错误", util::MessageIcon::Exclamation, {} }; }

FieldCheck checkCtcssText(std::string_view text)
{
    const auto hundredths = text.empty() ? std::nullopt : util::parseDecimal(text, 2);
    if (!hundredths) return { std::string(kDefaultCtcssText), ctcssDataError(), false };
    std::int64_t tenths = 0;
    if (hundredths->value < kLowestToneHundredths)
        tenths = kLowestToneHundredths / 10;
    else if (hundredths->value > kHighestToneHundredths
        || (hundredths->value == kHighestToneHundredths && hundredths->inexact))
        tenths = kHighestToneHundredths / 10;
    else
        tenths = util::divRoundHalfEven(*hundredths, 10);
    return { util::formatScaled(tenths, 1, 2, 1), std::nullopt, false };
}

FieldCheck checkCdcssText(std::string_view text)
{
    if (text.empty()) return { std::string(kDefaultCdcssText), cdcssEmptyError(), true };
    const auto tenths = util::parseDecimal(text, 1);
    if (!tenths || hasNonOctalDigit(text)) return { std::string(kDefaultCdcssText), cdcssDataError(), false };
    std::int64_t code = 0;
    if (tenths->value > kHighestCodeTenths || (tenths->value == kHighestCodeTenths && tenths->inexact))
        code = kHighestCodeTenths / 10;
    else if (tenths->value > 0)
        code = util::divRoundHalfEven(*tenths, 10);
    std::string shown = util::formatScaled(code, 0, 3, 0);
    // Rounding a fraction can make a digit that no code has (7.5 gives 008).
    if (hasNonOctalDigit(shown)) return { std::string(kDefaultCdcssText), cdcssDataError(), false };
    return { std::move(shown), std::nullopt, false };
}

} // namespace korvane::model
