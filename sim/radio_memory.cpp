#include "sim/radio_memory.h"

#include "core/model/defaults.h"
#include "core/model/models.h"

namespace korvane::sim {

RadioMemory memoryFromImage(const model::RadioImage& image)
{
    RadioMemory memory;
    memory.image = image;
    const int code = image.modelIndex >= 0 ? model::modelCodeFromIndex(image.modelIndex) : image.unknownModelCode;
    memory.modelCode = static_cast<std::uint8_t>(code >= 0 ? code : 0);
    memory.alignment.fill(kDefaultAlignmentValue);
    return memory;
}

void setModelCode(RadioMemory& memory, std::uint8_t code)
{
    memory.modelCode = code;
    const int index = model::modelIndexFromCode(code);
    model::RadioImage& image = memory.image;
    if (index < 0) {
        image.modelIndex = -1;
        image.unknownModelCode = code;
        return;
    }
    const bool changed = image.modelIndex != index;
    image.modelIndex = static_cast<std::int16_t>(index);
    image.unknownModelCode = -1;
    // The radio keeps no alignment frequency table; the one saved with it follows the band.
    if (changed) model::loadAlignmentDefaults(image);
}

} // namespace korvane::sim
