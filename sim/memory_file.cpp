#include "sim/memory_file.h"

#include "core/files/data_file.h"
#include "core/model/defaults.h"

namespace korvane::sim {

std::variant<RadioMemory, std::string> startMemory(const SimOptions& options)
{
    model::RadioImage image = model::defaultImage(options.model);
    if (options.file) {
        auto opened = files::openDataFile(*options.file, image);
        if (!opened) return *options.file + ": " + opened.error().message.text;
        image = opened->image;
    }
    RadioMemory memory = memoryFromImage(image);
    if (options.code) setModelCode(memory, *options.code);
    for (const auto& [item, value] : options.alignmentValues)
        memory.alignment[static_cast<std::size_t>(item)] = value;
    return memory;
}

std::optional<std::string> saveMemory(const std::string& path, const RadioMemory& memory)
{
    if (auto failure = files::saveDataFile(path, memory.image, files::fileKindForPath(path)))
        return path + ": " + failure->text;
    return std::nullopt;
}

} // namespace korvane::sim
