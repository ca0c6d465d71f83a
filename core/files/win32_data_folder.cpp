#include "core/files/data_folder.h"

#include "core/util/win32_text.h"

#include <windows.h>

namespace korvane::files {

// %LOCALAPPDATA%\korvane: the user's own data, kept on this machine.
std::filesystem::path dataFolderFromEnvironment()
{
    const DWORD size = ::GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
    if (size == 0) return {};
    std::wstring folder(size, L'\0');
    const DWORD n = ::GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), size);
    if (n == 0 || n >= size) return {};
    folder.resize(n);
    return std::filesystem::path(folder) / L"korvane";
}

} // namespace korvane::files
