#pragma once
// The console korvane-cli runs in: its words as UTF-8, its text as UTF-8, and whether a person
// is watching standard error (progress is shown only then). Each platform has its own file.

#include <string>
#include <vector>

namespace korvane::cli {

// Readies the console for UTF-8 output (Windows: the UTF-8 output code page).
void prepareConsole();
// The words after the program's name, as UTF-8 (Windows hands them over in UTF-16).
std::vector<std::string> commandWords(int argc, char** argv);
// Whether standard error is a terminal or console.
bool progressWanted();

} // namespace korvane::cli
