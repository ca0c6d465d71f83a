#pragma once
// What a link operation talks to: a port number ("COM2", mapped to a device) or a device path
// given outright. The name is what messages call the port.

#include "core/serial/port_map.h"

#include <optional>
#include <string>

namespace korvane::link {

struct LinkTarget {
    std::string name; // "COM2", or the device path itself
    std::optional<std::string> device; // nullopt: the port number has no device

    bool isPortNumber() const { return !device || name != *device; }
    friend bool operator==(const LinkTarget&, const LinkTarget&) = default;
};

LinkTarget linkTargetForPort(int n, const serial::PortMapSource& source);
LinkTarget linkTargetForPort(int n);
LinkTarget linkTargetForDevice(std::string path);
// "COM1".."COM4" (any letter case) is a port number, anything else a device path.
// nullopt for an empty text or a COM number outside 1..4.
std::optional<LinkTarget> linkTargetFromText(const std::string& text, const serial::PortMapSource& source);

} // namespace korvane::link
