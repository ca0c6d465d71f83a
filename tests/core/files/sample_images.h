#pragma once
// Images whose every byte differs from its neighbours, so a transposed or shifted table shows.

#include "core/model/radio_image.h"

#include <cstdint>
#include <span>

namespace korvane::files::test {

inline void fillPattern(std::span<model::Record> records, std::uint32_t& state)
{
    for (model::Record& r : records)
        for (std::uint8_t& b : r) {
            state = state * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>(state >> 24);
        }
}

// Frequencies and flags are arbitrary bytes here: the files carry tables, not meanings.
inline model::RadioImage patternedImage(std::uint32_t seed, std::int16_t modelIndex = 2)
{
    model::RadioImage image;
    std::uint32_t state = seed;
    fillPattern(image.channels, state);
    fillPattern(image.parameters, state);
    fillPattern(image.alignment, state);
    for (std::uint8_t& b : image.settings) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    image.modelIndex = modelIndex;
    return image;
}

} // namespace korvane::files::test
