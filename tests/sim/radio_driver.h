#pragma once
// Drives a Radio the way a program on the other end of the cable would, on a clock the test
// moves by hand.

#include "sim/radio.h"

#include <sstream>
#include <string_view>
#include <vector>

namespace korvane::sim::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

class RadioDriver {
public:
    explicit RadioDriver(RadioConfig config, RadioMemory memory)
        : m_radio(std::move(config), memory, PacketLog(m_log, m_now))
    {
    }

    // Sends the bytes, lets the given time pass, and returns what the radio sent meanwhile.
    Bytes send(const Bytes& bytes, std::chrono::milliseconds after = std::chrono::milliseconds { 0 })
    {
        m_radio.receive(bytes, m_now);
        wait(after);
        return take();
    }
    Bytes send(std::string_view text, std::chrono::milliseconds after = std::chrono::milliseconds { 0 })
    {
        return send(bytesOf(text), after);
    }

    void wait(std::chrono::milliseconds span)
    {
        m_now += span;
        m_radio.runTimers(m_now);
    }

    Bytes take()
    {
        Transmission out = m_radio.takeOutput();
        m_hangUp = m_hangUp || out.hangUpAfter;
        m_sent.insert(m_sent.end(), out.bytes.begin(), out.bytes.end());
        return out.bytes;
    }

    Radio& radio() { return m_radio; }
    TimePoint now() const { return m_now; }
    bool hungUp() const { return m_hangUp; }
    std::string log() const { return m_log.str(); }

private:
    std::ostringstream m_log;
    TimePoint m_now = TimePoint {} + std::chrono::hours { 1 };
    Radio m_radio;
    Bytes m_sent;
    bool m_hangUp = false;
};

} // namespace korvane::sim::test
