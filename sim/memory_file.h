#pragma once
// The radio's memory to and from data files, and the memory the command line starts it with.

#include "sim/radio_memory.h"
#include "sim/sim_options.h"

#include <optional>
#include <string>
#include <variant>

namespace korvane::sim {

// From the model's defaults or the data file, then the model code and alignment values given.
std::variant<RadioMemory, std::string> startMemory(const SimOptions& options);

// Writes the memory as a data file of the kind the path's extension names.
std::optional<std::string> saveMemory(const std::string& path, const RadioMemory& memory);

} // namespace korvane::sim
