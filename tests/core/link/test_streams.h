#pragma once
// Read-out streams as a radio sends them, built byte by byte for the tests.

#include "core/link/serial_port.h"
#include "core/model/radio_image.h"

#include <array>
#include <cstdint>
#include <initializer_list>

namespace korvane::link::fakes {

inline Bytes rec(std::uint8_t kind, std::uint8_t address, std::initializer_list<std::uint8_t> data)
{
    Bytes r { 0x57, kind, address, static_cast<std::uint8_t>(data.size()) };
    r.insert(r.end(), data.begin(), data.end());
    return r;
}

inline void append(Bytes& stream, const Bytes& more) { stream.insert(stream.end(), more.begin(), more.end()); }

inline void appendHalves(Bytes& stream, std::uint8_t kind, std::uint8_t firstAddress, const model::Record& r)
{
    for (int h = 0; h < 2; ++h) {
        stream.insert(stream.end(), { 0x57, kind, static_cast<std::uint8_t>(firstAddress + 8 * h), 8 });
        stream.insert(stream.end(), r.begin() + 8 * h, r.begin() + 8 * h + 8);
    }
}

// 35 records, 420 bytes: channels as given (older radios send the 5 kHz form), settings bytes
// 0-15, the model record.
inline Bytes olderReadout(const model::ChannelTable& channels, const model::SettingsBlock& settings, int code)
{
    Bytes s;
    for (int c = 0; c < 16; ++c)
        appendHalves(s, 0x00, static_cast<std::uint8_t>(c * 16), channels[c]);
    model::Record head {};
    std::copy(settings.begin(), settings.begin() + 16, head.begin());
    appendHalves(s, 0x02, 0x00, head);
    append(s, rec(0x03, 0xD8, { static_cast<std::uint8_t>(code), 0, 0, 0, 0, 0, 0, 0 }));
    return s;
}

// 57 records, 684 bytes: channels, settings bytes 0-15, two records of the area we never keep
// (0x10, 0x18), the parameter table and the model record.
inline Bytes newerReadout(const model::ChannelTable& channels, const model::SettingsBlock& settings,
    const model::ParameterTable& parameters, int code)
{
    Bytes s;
    for (int c = 0; c < 16; ++c)
        appendHalves(s, 0x00, static_cast<std::uint8_t>(c * 16), channels[c]);
    model::Record head {};
    std::copy(settings.begin(), settings.begin() + 16, head.begin());
    appendHalves(s, 0x02, 0x00, head);
    append(s, rec(0x02, 0x10, { 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE }));
    append(s, rec(0x02, 0x18, { 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE }));
    for (int p = 0; p < 10; ++p)
        appendHalves(s, 0x02, static_cast<std::uint8_t>((p + 2) * 16), parameters[p]);
    append(s, rec(0x03, 0xD8, { static_cast<std::uint8_t>(code), 0, 0, 0, 0, 0, 0, 0 }));
    return s;
}

} // namespace korvane::link::fakes
