#pragma once
// Runs a program of ours the way a user's shell would and captures what it says.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace korvane::test {

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuote(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline std::string readWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline CommandResult runCommand(const std::string& program, const std::vector<std::string>& args,
                                const std::filesystem::path& scratch)
{
    std::string line = shellQuote(program);
    for (const auto& a : args)
        line += " " + shellQuote(a);
    const auto outPath = scratch / "stdout.txt";
    const auto errPath = scratch / "stderr.txt";
    line += " </dev/null >" + shellQuote(outPath.string()) + " 2>" + shellQuote(errPath.string());
    const int status = std::system(line.c_str());
    CommandResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readWholeFile(outPath);
    result.err = readWholeFile(errPath);
    return result;
}

} // namespace korvane::test
