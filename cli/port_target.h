#pragma once
// The --port value: "COM1".."COM4", mapped to a device as the window maps its port numbers, or
// a device path.

#include "core/link/link_target.h"

#include <optional>
#include <string>

namespace korvane::cli {

// Nothing (after printing the reason on standard error) for an empty text or a COM number
// outside 1..4.
std::optional<link::LinkTarget> portTarget(const std::string& text);

} // namespace korvane::cli
