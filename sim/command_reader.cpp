#include "sim/command_reader.h"

#include <array>
#include <string_view>

namespace korvane::sim {

namespace {

struct Known {
    std::string_view text;
    CommandKind kind;
};

constexpr std::array<Known, 6> kCommands { {
    { "rEAD", CommandKind::Read },
    { "pROGRAM", CommandKind::Program },
    { "OK", CommandKind::GoAhead },
    { "tEST", CommandKind::Test }, // followed by one hexadecimal digit 0..B
    { "END", CommandKind::End },
    { "CANCEL", CommandKind::Cancel },
} };

constexpr std::string_view kItemDigits = "0123456789AB";

enum class Match { None, Prefix, Whole };

Match match(std::string_view text, Command& found)
{
    for (const Known& known : kCommands) {
        const std::size_t length = known.text.size() + (known.kind == CommandKind::Test ? 1 : 0);
        if (text.size() > length) continue;
        const std::string_view head = text.substr(0, std::min(text.size(), known.text.size()));
        if (known.text.substr(0, head.size()) != head) continue;
        if (text.size() > known.text.size()) {
            const std::size_t item = kItemDigits.find(text.back());
            if (item == std::string_view::npos) continue;
            found = { known.kind, static_cast<int>(item) };
        } else {
            found = { known.kind };
        }
        return text.size() == length ? Match::Whole : Match::Prefix;
    }
    return Match::None;
}

} // namespace

std::string commandText(const Command& command)
{
    for (const Known& known : kCommands) {
        if (known.kind != command.kind) continue;
        std::string text(known.text);
        if (command.kind == CommandKind::Test && command.item >= 0
            && command.item < static_cast<int>(kItemDigits.size()))
            text += kItemDigits[static_cast<std::size_t>(command.item)];
        return text;
    }
    return {};
}

std::optional<Command> CommandReader::feed(std::uint8_t byte)
{
    m_pending += static_cast<char>(byte);
    // Drop bytes from the front until what is left could still become a command.
    while (!m_pending.empty()) {
        Command found { CommandKind::Read };
        const Match m = match(m_pending, found);
        if (m == Match::Whole) {
            m_pending.clear();
            return found;
        }
        if (m == Match::Prefix) return std::nullopt;
        m_ignored.push_back(static_cast<std::uint8_t>(m_pending.front()));
        m_pending.erase(0, 1);
    }
    return std::nullopt;
}

bool CommandReader::continues(std::uint8_t byte) const
{
    if (m_pending.empty()) return false;
    Command found { CommandKind::Read };
    return match(m_pending + static_cast<char>(byte), found) != Match::None;
}

void CommandReader::abandon()
{
    m_ignored.insert(m_ignored.end(), m_pending.begin(), m_pending.end());
    m_pending.clear();
}

std::vector<std::uint8_t> CommandReader::takeIgnored()
{
    std::vector<std::uint8_t> ignored;
    ignored.swap(m_ignored);
    return ignored;
}

} // namespace korvane::sim
