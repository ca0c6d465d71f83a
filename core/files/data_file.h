#pragma once
// Saving the Radio image as a data file and opening one into a copy of it. Errors come back as
// the message the user sees; the image passed in is never changed.

#include "core/files/file_kind.h"
#include "core/model/radio_image.h"
#include "core/util/message.h"
#include "core/util/result.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::files {

// The file's bytes: 643 for rdw, 431 for rdh, 613 for rdhax. An rdh file carries the channel and
// alignment tables in the 5 kHz form of older radios; the image itself is not converted.
std::vector<std::uint8_t> encodeDataFile(const model::RadioImage& image, FileKind kind);

// Replaces the file only once the new content is complete on disk; any failure, including a
// file that cannot be created, gives the save-failure message and leaves the old file intact.
std::optional<util::Message> saveDataFile(const std::string& path, const model::RadioImage& image, FileKind kind);

enum class OpenFailure { Missing, Format, Model, Read };

struct OpenError {
    OpenFailure kind;
    util::Message message;
};

struct OpenedFile {
    model::RadioImage image;
    bool fiveKhzForm; // the file carried its tables in the 5 kHz form (converted on the way in)
};

// Reads into a copy of `current`: a table the file's reading mode does not carry keeps current's
// content. A file named "...kqv09" with an rdh header carries a parameter table after the
// channel table and numbers its first two models the other way round.
util::Result<OpenedFile, OpenError> decodeDataFile(
    std::span<const std::uint8_t> bytes, std::string_view fileName, const model::RadioImage& current);

util::Result<OpenedFile, OpenError> openDataFile(const std::string& path, const model::RadioImage& current);

} // namespace korvane::files
