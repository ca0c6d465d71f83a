#include "sim/packet_log.h"

#include "core/util/hex.h"

#include <cstdio>
#include <string>

namespace korvane::sim {

PacketLog::PacketLog(std::ostream& out, TimePoint origin)
    : m_out(&out)
    , m_origin(origin)
{
}

void PacketLog::heard(TimePoint at, std::string_view what, std::span<const std::uint8_t> bytes)
{
    line(at, "<-", what, bytes);
}

void PacketLog::sent(TimePoint at, std::string_view what, std::span<const std::uint8_t> bytes)
{
    line(at, "->", what, bytes);
}

void PacketLog::note(TimePoint at, std::string_view text) { line(at, "--", text, {}); }

void PacketLog::line(TimePoint at, std::string_view arrow, std::string_view what, std::span<const std::uint8_t> bytes)
{
    if (m_out == nullptr) return;
    const double seconds = std::chrono::duration<double>(at - m_origin).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%11.6f", seconds);
    std::string text = stamp;
    text += "  ";
    text += arrow;
    text += ' ';
    text += what;
    if (!bytes.empty()) {
        if (what.size() < 26) text.append(26 - what.size(), ' ');
        text += ' ';
        text += util::hexBytes(bytes);
    }
    text += '\n';
    *m_out << text << std::flush;
}

} // namespace korvane::sim
