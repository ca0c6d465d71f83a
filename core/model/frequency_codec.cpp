#include "core/model/frequency_codec.h"

#include "core/util/decimal.h"

namespace korvane::model {

std::int64_t frequencyHz(const Record& r, Side s)
{
    return static_cast<std::int64_t>(frequencyCount(r, s)) * stepHz(isStep625(r, s));
}

std::string formatHz(std::int64_t hz) { return util::formatScaled(hz, 6, 3, 5); }

std::string formatFrequency(std::uint8_t f0, std::uint8_t f1, std::uint8_t f2)
{
    Record r {};
    r[0] = f0;
    r[1] = f1;
    r[2] = f2;
    return formatFrequency(r, Side::Receive);
}

std::string formatFrequency(const Record& r, Side s) { return formatHz(frequencyHz(r, s)); }

void encodeFrequency(std::int64_t hz, Record& r, Side s)
{
    const std::int64_t count = util::divRoundHalfEven(hz, stepHz(isStep625(r, s)));
    setFrequencyCount(r, s, static_cast<std::uint32_t>(count & 0x3FFFF));
}

} // namespace korvane::model
