#pragma once
// How the companion tells the user: a message box's text becomes one line, errors on standard
// error and notices on standard output; the expert detail, if any, follows as a second line.

#include "core/util/message.h"

#include <string>

namespace korvane::cli {

void printError(const util::Message& message);
void printNotice(const util::Message& message);
// Prints the reason and a pointer to --help on standard error; the caller exits with kExitUsage.
void usageError(const std::string& reason);

} // namespace korvane::cli
