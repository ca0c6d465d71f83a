#include "core/model/frequency_form.h"

#include "core/util/decimal.h"

namespace korvane::model {

void toImageForm(std::span<Record> records)
{
    for (Record& r : records) {
        for (int base : { 0, 5 }) {
            const std::uint8_t b = r[base + 2];
            if (b & 0x02) {
                r[base + 2] = static_cast<std::uint8_t>((b & ~0x06) + 4);
                continue;
            }
            const std::uint32_t count = (r[base] | (r[base + 1] << 8) | ((b & 0x01u) << 16)) * 2u;
            r[base] = static_cast<std::uint8_t>(count & 0xFF);
            r[base + 1] = static_cast<std::uint8_t>((count >> 8) & 0xFF);
            r[base + 2] = static_cast<std::uint8_t>((b & 0xF8) | ((count >> 16) & 0x03));
        }
    }
}

void to5kHzForm(std::span<Record> records)
{
    for (Record& r : records) {
        for (int base : { 0, 5 }) {
            const std::uint8_t b = r[base + 2];
            if (b & 0x04) {
                r[base + 2] = static_cast<std::uint8_t>((b & ~0x06) + 2);
                continue;
            }
            const std::int64_t count = r[base] | (r[base + 1] << 8) | ((b & 0x03) << 16);
            const auto half = static_cast<std::uint32_t>(util::divRoundHalfEven(count, 2));
            r[base] = static_cast<std::uint8_t>(half & 0xFF);
            r[base + 1] = static_cast<std::uint8_t>((half >> 8) & 0xFF);
            r[base + 2] = static_cast<std::uint8_t>((b & 0xF8) | ((half >> 16) & 0x01));
        }
    }
}

bool isOff5kHzGrid(const Record& r, int side)
{
    const int base = 5 * side;
    return (r[base] & 0x01) != 0 && (r[base + 2] & 0x04) == 0;
}

} // namespace korvane::model
