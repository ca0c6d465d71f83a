#pragma once
// What the core makes of an opened data file, as one JSON object.

#include "core/model/radio_image.h"

#include <string>

namespace korvane::cli {

std::string dumpJson(const model::RadioImage& image, bool fiveKhzForm);

} // namespace korvane::cli
