#pragma once
// Picks the text commands out of the bytes the program sends. Commands have no terminator, so a
// command is recognised the moment its last byte arrives; bytes that cannot be part of any
// command are set aside for the log.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvane::sim {

enum class CommandKind { Read, Program, GoAhead, Test, End, Cancel };

struct Command {
    CommandKind kind;
    int item = -1; // alignment item 0..11 of a test command

    friend bool operator==(const Command&, const Command&) = default;
};

// The command's bytes as the program sends them ("rEAD", "tESTA", ...).
std::string commandText(const Command& command);

class CommandReader {
public:
    std::optional<Command> feed(std::uint8_t byte);

    // Part of a command has arrived and the rest may still come.
    bool pending() const { return !m_pending.empty(); }
    // The byte would carry the partial command on.
    bool continues(std::uint8_t byte) const;
    // The partial command is given up: its bytes join the ignored ones.
    void abandon();

    bool hasIgnored() const { return !m_ignored.empty(); }
    std::vector<std::uint8_t> takeIgnored();

private:
    std::string m_pending;
    std::vector<std::uint8_t> m_ignored;
};

} // namespace korvane::sim
