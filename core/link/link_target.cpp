#include "core/link/link_target.h"

#include <charconv>

namespace korvane::link {

LinkTarget linkTargetForPort(int n, const serial::PortMapSource& source)
{
    return LinkTarget { "COM" + std::to_string(n), serial::deviceForPort(n, source) };
}

LinkTarget linkTargetForPort(int n) { return linkTargetForPort(n, serial::systemPortMapSource()); }

LinkTarget linkTargetForDevice(std::string path) { return LinkTarget { path, path }; }

std::optional<LinkTarget> linkTargetFromText(const std::string& text, const serial::PortMapSource& source)
{
    if (text.empty()) return std::nullopt;
    const bool comPrefix = text.size() > 3 && (text[0] == 'C' || text[0] == 'c') && (text[1] == 'O' || text[1] == 'o')
        && (text[2] == 'M' || text[2] == 'm');
    if (comPrefix) {
        int n = 0;
        const char* first = text.data() + 3;
        const char* last = text.data() + text.size();
        const auto [end, error] = std::from_chars(first, last, n);
        if (error == std::errc {} && end == last && *first != '+' && *first != '-') {
            if (n < serial::kFirstPort || n > serial::kLastPort) return std::nullopt;
            return linkTargetForPort(n, source);
        }
    }
    return linkTargetForDevice(text);
}

} // namespace korvane::link
