#pragma once
// What the radio holds: its channels, settings and parameters (kept in the image form whatever
// the generation), the model code in its model area, and the twelve alignment values.

#include "core/model/radio_image.h"

#include <array>
#include <cstdint>

namespace korvane::sim {

inline constexpr int kAlignmentItems = 12;
inline constexpr std::uint8_t kDefaultAlignmentValue = 0x80;

struct RadioMemory {
    model::RadioImage image;
    std::uint8_t modelCode = 0;
    std::array<std::uint8_t, kAlignmentItems> alignment {};

    friend bool operator==(const RadioMemory&, const RadioMemory&) = default;
};

// A radio holding this image, with the image's own model code (or the unknown code a data file
// carried) and every alignment value at its middle position.
RadioMemory memoryFromImage(const model::RadioImage& image);

// Changes the model code the radio holds, keeping the image's model index in step with it, so
// that the image saved as a data file names the model the radio now reports.
void setModelCode(RadioMemory& memory, std::uint8_t code);

} // namespace korvane::sim
