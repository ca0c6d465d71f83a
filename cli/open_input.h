#pragma once
// Opens a data file exactly as the window's Open does, starting from the image a fresh start
// holds; prints the failure message when it cannot.

#include "core/files/data_file.h"

#include <optional>
#include <string>

namespace korvane::cli {

std::optional<files::OpenedFile> openInput(const std::string& path);

} // namespace korvane::cli
