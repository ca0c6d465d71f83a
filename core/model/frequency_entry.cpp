#include "core/model/frequency_entry.h"

#include "core/model/frequency_codec.h"
#include "core/model/models.h"

namespace korvane::model {

namespace {

constexpr int kHzScale = 6; // MHz text to whole hertz

std::int64_t snapToStep(util::ScaledDecimal hz, std::int64_t step) { return util::divRoundHalfEven(hz, step) * step; }

std::optional<std::string> stepBy(std::string_view text, std::string_view stepText, int modelIndex, int direction)
{
    const auto value = util::parseDecimal(text, kHzScale);
    const auto stepKHz = util::parseDecimal(stepText, 3);
    if (!value || !stepKHz || stepKHz->value <= 0)
        return std::nullopt;
    const std::int64_t step = stepKHz->value;
    const std::int64_t k = util::divRoundHalfEven(*value, step);
    const util::ScaledDecimal next { (k + direction) * step, false };
    return formatHz(clampToLimits(next, modelIndex, step == kStep625Hz).value);
}

} // namespace

util::ScaledDecimal clampToLimits(util::ScaledDecimal hz, int modelIndex, bool step625)
{
    const EntryLimits limits = entryLimits(modelIndex);
    if (hz.value < limits.lowerHz)
        return { limits.lowerHz, false };
    if (hz.value >= limits.upperHz)
        return { limits.upperHz - stepHz(step625), false };
    return hz;
}

util::ScaledDecimal parseEntry(std::string_view text, int modelIndex, bool step625)
{
    const auto value = util::parseDecimal(text, kHzScale);
    return clampToLimits(value.value_or(util::ScaledDecimal {}), modelIndex, step625);
}

std::optional<std::string> stepUp(std::string_view text, std::string_view stepText, int modelIndex)
{
    return stepBy(text, stepText, modelIndex, +1);
}

std::optional<std::string> stepDown(std::string_view text, std::string_view stepText, int modelIndex)
{
    return stepBy(text, stepText, modelIndex, -1);
}

util::Message frequencyDataError() { return { "频率数据错误！", "数据错误", util::MessageIcon::Question, {} }; }

std::int64_t enterFrequency(std::string_view text, Record& r, Side s, int modelIndex)
{
    const bool step625 = isStep625(r, s);
    // Just below the upper limit a value can round up onto the limit itself, which is outside.
    const util::ScaledDecimal snapped { snapToStep(parseEntry(text, modelIndex, step625), stepHz(step625)), false };
    const std::int64_t hz = clampToLimits(snapped, modelIndex, step625).value;
    encodeFrequency(hz, r, s);
    return hz;
}

std::string snapFrequencyToStep(std::string_view shownText, Record& r, Side s, int modelIndex)
{
    const bool step625 = isStep625(r, s);
    const std::int64_t step = stepHz(step625);
    const auto shown = util::parseDecimal(shownText, kHzScale);
    const util::ScaledDecimal start = shown ? *shown : clampToLimits({}, modelIndex, step625);
    const std::int64_t hz = clampToLimits({ snapToStep(start, step), false }, modelIndex, step625).value;
    encodeFrequency(hz, r, s);
    return formatHz(hz);
}

} // namespace korvane::model
