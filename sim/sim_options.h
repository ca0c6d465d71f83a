#pragma once
// The simulator's command line.

#include "sim/radio_config.h"
#include "sim/radio_memory.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace korvane::sim {

struct SimOptions {
    int model = 0; // model index whose defaults the radio starts from
    std::optional<std::string> file; // or a data file to start from
    std::optional<std::uint8_t> code; // model code the radio holds instead of the model's own
    std::vector<std::pair<int, std::uint8_t>> alignmentValues; // item, starting value
    RadioConfig radio;
    std::optional<std::string> link;
    std::optional<std::string> save;
    std::optional<std::string> log; // "-" for standard error
    bool pace = true;
    bool once = false;
    std::chrono::milliseconds bursts { 0 }; // the radio's bytes reach the program in bursts
    std::chrono::milliseconds jitter { 0 };
    bool help = false;
};

// Either the options or the text that says what is wrong with them.
std::variant<SimOptions, std::string> parseSimOptions(std::span<const std::string_view> args);

std::string simHelpText();

} // namespace korvane::sim
