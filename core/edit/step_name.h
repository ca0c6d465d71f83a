#pragma once
// The name an edit step carries in the Edit menu ("撤销 信道 3 接收频率") when the edit that made
// it gives none: named for what changed between the image before and after it.

#include "core/model/radio_image.h"

#include <string>

namespace korvane::edit {

std::string stepName(const model::RadioImage& before, const model::RadioImage& after);

} // namespace korvane::edit
