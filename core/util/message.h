#pragma once
// A message the user sees: its exact text, the title of its box and the box's icon.

#include <string>

namespace korvane::util {

enum class MessageIcon { None, Exclamation, Information, Question };

struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    // A second line for the expert: which device a port number maps to, and how to fix access.
    std::string detail;

    friend bool operator==(const Message&, const Message&) = default;
};

} // namespace korvane::util
