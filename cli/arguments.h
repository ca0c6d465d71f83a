#pragma once
// The words after the command: positional arguments and options, each option at most once
// unless it may repeat.

#include "core/files/data_file.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvane::cli {

struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::vector<std::string>> values; // "--model" -> {"3"}
    std::vector<std::string> flags; // "--yes"

    bool has(const std::string& flag) const;
    std::optional<std::string> value(const std::string& option) const;
};

struct OptionSpec {
    std::vector<std::string> withValue; // options that take a value
    std::vector<std::string> flags; // options without one
    std::vector<std::string> repeatable; // options with a value that may repeat
};

// Nothing (after printing the reason on standard error) when a word is not an option of the
// command, an option lacks its value, or a single option is given twice.
std::optional<Arguments> parseArguments(const std::vector<std::string>& words, const OptionSpec& spec);

// A whole decimal number in [low, high], or nothing.
std::optional<int> parseInt(const std::string& text, int low, int high);

// The file kind for an output: --kind when given (nothing if it is not rdw, rdh or rdhax),
// else the output name's extension, else rdw.
std::optional<files::FileKind> outputKind(const Arguments& args, const std::string& outputPath);

} // namespace korvane::cli
