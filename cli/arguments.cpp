#include "cli/arguments.h"

#include "cli/output.h"

#include <algorithm>
#include <charconv>

namespace korvane::cli {

namespace {

bool contains(const std::vector<std::string>& list, const std::string& word)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

} // namespace

bool Arguments::has(const std::string& flag) const { return contains(flags, flag); }

std::optional<std::string> Arguments::value(const std::string& option) const
{
    const auto it = values.find(option);
    if (it == values.end() || it->second.empty())
        return std::nullopt;
    return it->second.front();
}

std::optional<Arguments> parseArguments(const std::vector<std::string>& words, const OptionSpec& spec)
{
    Arguments args;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() < 2 || word[0] != '-') {
            args.positional.push_back(word);
            continue;
        }
        if (contains(spec.flags, word)) {
            if (args.has(word))
                return usageError("option given twice: " + word), std::nullopt;
            args.flags.push_back(word);
            continue;
        }
        const bool repeats = contains(spec.repeatable, word);
        if (!repeats && !contains(spec.withValue, word))
            return usageError("unknown option: " + word), std::nullopt;
        if (i + 1 >= words.size())
            return usageError("missing value for " + word), std::nullopt;
        auto& slot = args.values[word];
        if (!repeats && !slot.empty())
            return usageError("option given twice: " + word), std::nullopt;
        slot.push_back(words[++i]);
    }
    return args;
}

std::optional<int> parseInt(const std::string& text, int low, int high)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc {} || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<files::FileKind> outputKind(const Arguments& args, const std::string& outputPath)
{
    if (const auto kind = args.value("--kind")) {
        const auto parsed = files::fileKindFromName(*kind);
        if (!parsed)
            usageError("--kind takes rdw, rdh or rdhax");
        return parsed;
    }
    return files::fileKindForPath(outputPath);
}

} // namespace korvane::cli
