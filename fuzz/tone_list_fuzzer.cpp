// Reading a tone list from arbitrary text. Entries never hold a line end, together with their
// endings they account for every byte, and written one per line they read back unchanged.

#include "core/files/tone_list.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using korvane::fuzz::check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> entries = korvane::files::parseToneList(text);

    std::size_t entryBytes = 0;
    for (const std::string& e : entries) {
        check(e.find_first_of("\r\n") == std::string::npos, "an entry is one line");
        entryBytes += e.size();
    }
    std::size_t endings = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++endings;
    std::size_t endingBytes = 0;
    for (char c : text)
        if (c == '\r' || c == '\n') ++endingBytes;
    check(entryBytes + endingBytes == text.size(), "entries and line ends are the whole text");
    const bool unended = !text.empty() && text.back() != '\r' && text.back() != '\n';
    check(entries.size() == endings + (unended ? 1 : 0), "one entry per line, plus unended text");
    check(text.empty() == entries.empty(), "only an empty text has no entry");

    std::string written;
    for (const std::string& e : entries)
        written += e + "\r\n";
    check(korvane::files::parseToneList(written) == entries, "entries written one per line read back");
    return 0;
}
