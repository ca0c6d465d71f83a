#include "cli/output.h"

#include <iostream>

namespace korvane::cli {

namespace {

void print(std::ostream& out, const util::Message& message)
{
    out << message.text << '\n';
    if (!message.detail.empty())
        out << message.detail << '\n';
    out.flush();
}

} // namespace

void printError(const util::Message& message) { print(std::cerr, message); }

void printNotice(const util::Message& message) { print(std::cout, message); }

void usageError(const std::string& reason)
{
    std::cerr << "korvane-cli: " << reason << "\nTry 'korvane-cli --help'.\n";
}

} // namespace korvane::cli
