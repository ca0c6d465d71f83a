#include "cli/port_target.h"

#include "cli/output.h"
#include "core/serial/port_map.h"

namespace korvane::cli {

std::optional<link::LinkTarget> portTarget(const std::string& text)
{
    auto target = link::linkTargetFromText(text, serial::systemPortMapSource());
    if (!target) usageError("--port takes COM1 to COM4 or a device path, not \"" + text + "\"");
    return target;
}

} // namespace korvane::cli
