// Reading the settings file from arbitrary text. The port always ends up 1..4 and the password
// is one line; whatever was read, written out again with its current file, reads back the same.

#include "core/files/settings_file.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using korvane::fuzz::check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const korvane::files::StoredSettings read = korvane::files::parseSettings(text);
    check(read.port >= 1 && read.port <= 4, "port is COM1..COM4");
    check(read.password.find_first_of("\r\n") == std::string::npos, "password is one line");

    // The input's first line stands in for the current file name; any line ends are dropped.
    const std::string_view currentFile = text.substr(0, text.find('\n'));
    const std::string written = korvane::files::settingsText(read.port, currentFile, read.password);
    const korvane::files::StoredSettings again = korvane::files::parseSettings(written);
    check(again.port == read.port, "port reads back");
    check(again.password == read.password, "password reads back");
    return 0;
}
