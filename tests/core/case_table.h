#pragma once
// Case tables under tests/data, "op|argument|... => outcome" a line (arguments take \n, \r, \t, \|
// and \xHH); each left side runs through the real code and the printout must equal the file.

#include "core/util/message.h"
#include "support/golden_match.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace korvane::test {

using Args = std::vector<std::string>;

// Control characters made visible, so an outcome stays on its line.
inline std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text)
        out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c == '\t' ? "\\t" : std::string(1, c);
    return out;
}

// "text" [title, icon] and the detail line when there is one.
inline std::string shown(const util::Message& m)
{
    static const char* const icons[] = { "none", "exclamation", "information", "question" };
    return "\"" + m.text + "\" [" + m.title + ", " + icons[static_cast<int>(m.icon)] + "]"
        + (m.detail.empty() ? "" : " " + m.detail);
}

// `run` gets the operation's name and its arguments, and gives the outcome.
inline void expectCases(const std::string& name, const std::function<std::string(const Args&)>& run)
{
    std::istringstream in(dataFile(name));
    std::string out;
    for (std::string line; std::getline(in, line); out += "\n") {
        const std::string input = line.substr(0, line.find(" => "));
        if (line.empty() || line[0] == '#') {
            out += line;
            continue;
        }
        Args args(1);
        for (std::size_t i = 0; i < input.size(); ++i) {
            const char c = input[i], e = i + 1 < input.size() ? input[i + 1] : c;
            if (c == '|') args.emplace_back();
            if (c != '|' && c != '\\') args.back() += c;
            if (c == '\\' && e == 'x') args.back() += char(std::stoi(input.substr(i + 2, 2), nullptr, 16)), i += 3;
            if (c == '\\' && e != 'x') args.back() += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e, ++i;
        }
        out += input + " => " + run(args);
    }
    EXPECT_TRUE(matchesGolden(name, out));
}

} // namespace korvane::test
