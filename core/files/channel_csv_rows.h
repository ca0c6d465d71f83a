#pragma once
// The text layer of a channel spreadsheet: lines split into fields, and fields written back.
// Fields are separated by commas; a field that starts with a double quote runs to the matching
// closing quote, may hold commas and line ends, and writes a quote as two. A leading UTF-8 byte
// order mark is dropped; lines end at CR LF, LF or a lone CR; blank lines and lines starting
// with '#' carry no row.

#include "core/util/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvane::files {

struct CsvRow {
    int line = 0; // where the row starts, counting from 1
    std::vector<std::string> fields;

    friend bool operator==(const CsvRow&, const CsvRow&) = default;
};

// An unclosed quote gives the line its field started on.
util::Result<std::vector<CsvRow>, int> splitCsvRows(std::string_view text);

// The field as it must be written: quoted when it holds a comma, a quote, a line end, or
// starts with '#' or a blank, so that it reads back unchanged.
std::string csvField(std::string_view value);

} // namespace korvane::files
