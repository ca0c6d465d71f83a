#pragma once
// Case tables kept under tests/data: one case a line, "op|argument|argument => outcome". The test
// runs each line's left side through the real code and writes the outcome after " => "; the whole
// printout must equal the committed file (KORVANE_UPDATE_GOLDEN=1 rewrites the outcomes). Blank
// lines and lines starting with '#' are kept as they are. Arguments take \n, \r, \t, \| and \xHH.

#include "core/util/message.h"
#include "support/golden.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace korvane::test {

using Args = std::vector<std::string>;
using CaseRunner = std::function<std::string(const Args&)>; // the operation's name first

inline std::string unescaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'x') {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
        }
    }
    return out;
}

// Control characters made visible, so an outcome stays on its line.
inline std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text)
        out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : std::string(1, c);
    return out;
}

// "01 A2 ff" (blanks optional) as bytes.
inline std::vector<std::uint8_t> bytesOf(std::string_view hexText)
{
    std::vector<std::uint8_t> bytes;
    std::string digits;
    for (const char c : hexText)
        if (c != ' ') digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline std::string iconName(util::MessageIcon icon)
{
    static const char* const names[] = { "none", "exclamation", "information", "question" };
    return names[static_cast<int>(icon)];
}

// "text" [title, icon] and the detail line when there is one.
inline std::string shown(const util::Message& m)
{
    return "\"" + m.text + "\" [" + m.title + ", " + iconName(m.icon) + "]" + (m.detail.empty() ? "" : " " + m.detail);
}

inline std::string runCases(const std::string& name, const CaseRunner& run)
{
    std::istringstream in(dataFile(name));
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            out += line + "\n";
            continue;
        }
        const std::string input = line.substr(0, line.find(" => "));
        Args args;
        std::string field;
        for (std::size_t i = 0; i <= input.size(); ++i) {
            if (i == input.size() || input[i] == '|') {
                args.push_back(unescaped(field));
                field.clear();
            } else {
                field += input[i];
                if (input[i] == '\\' && i + 1 < input.size()) field += input[++i];
            }
        }
        out += input + " => " + run(args) + "\n";
    }
    return out;
}

inline void expectCases(const std::string& name, const CaseRunner& run)
{
    const std::string produced = runCases(name, run);
    EXPECT_EQ(produced, expectedFile(name, produced)) << name;
}

} // namespace korvane::test
