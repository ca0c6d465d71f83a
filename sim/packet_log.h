#pragma once
// A line for every packet the radio hears or sends, with the seconds since the radio came up:
//    0.081234  <- rEAD                      72 45 41 44
//    0.081240  -> handshake reply           00 01
//    0.950001  -- programming: 56 records, memory replaced

#include "sim/line_pacer.h"

#include <cstdint>
#include <ostream>
#include <span>
#include <string_view>

namespace korvane::sim {

class PacketLog {
public:
    PacketLog() = default; // writes nowhere
    PacketLog(std::ostream& out, TimePoint origin);

    void heard(TimePoint at, std::string_view what, std::span<const std::uint8_t> bytes);
    void sent(TimePoint at, std::string_view what, std::span<const std::uint8_t> bytes);
    void note(TimePoint at, std::string_view text);

private:
    void line(TimePoint at, std::string_view arrow, std::string_view what, std::span<const std::uint8_t> bytes);

    std::ostream* m_out = nullptr;
    TimePoint m_origin {};
};

} // namespace korvane::sim
