#include "cli/console.h"

#include "core/util/win32_text.h"

#include <windows.h>

#include <shellapi.h>

namespace korvane::cli {

void prepareConsole() { ::SetConsoleOutputCP(CP_UTF8); }

std::vector<std::string> commandWords(int, char**)
{
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 1; wide != nullptr && i < count; ++i)
        words.push_back(util::utf8FromWide(wide[i]));
    if (wide != nullptr) ::LocalFree(wide);
    return words;
}

bool progressWanted()
{
    // Only a real console shows the bar; a pipe or a file (a script, a log) gets none.
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

} // namespace korvane::cli
