#pragma once
// A pseudo-terminal takes the program's bytes at once, where a real port needs 11/9600 s for
// each; this port waits as a real transmitter would, so that a benchmark measures the time at a
// real radio.

#include "core/serial/serial_port.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace korvane::bench {

inline constexpr double kByteSeconds = 11.0 / 9600.0;

// A port whose bytes take their time to leave, as on a real transmitter at 9600 baud: drain()
// returns once the last byte written would have left the line, and the transmit count says how
// many have not yet.
class LinePacedPort final : public serial::SerialPort {
public:
    explicit LinePacedPort(serial::SerialPort& inner)
        : m_inner(inner)
    {
    }

    serial::PortStatus open(const std::string& device) override
    {
        m_lineFree = Clock::now();
        return m_inner.open(device);
    }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    serial::PortStatus write(std::span<const std::uint8_t> bytes) override
    {
        m_lineFree = std::max(m_lineFree, Clock::now()) + byteTime() * static_cast<long>(bytes.size());
        return m_inner.write(bytes);
    }
    serial::PortStatus drain() override
    {
        std::this_thread::sleep_until(m_lineFree);
        return m_inner.drain();
    }
    serial::PortResult<std::size_t> transmitCount() override
    {
        const auto left = m_lineFree - Clock::now();
        if (left <= Clock::duration::zero()) return std::size_t { 0 };
        return static_cast<std::size_t>(left / byteTime()) + 1;
    }
    serial::PortResult<std::size_t> receiveCount() override { return m_inner.receiveCount(); }
    serial::PortResult<serial::Bytes> takeInput() override { return m_inner.takeInput(); }
    serial::PortStatus discardInput() override { return m_inner.discardInput(); }
    serial::PortStatus discardOutput() override
    {
        m_lineFree = std::min(m_lineFree, Clock::now());
        return m_inner.discardOutput();
    }

private:
    using Clock = std::chrono::steady_clock;
    static Clock::duration byteTime()
    {
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(kByteSeconds));
    }

    serial::SerialPort& m_inner;
    Clock::time_point m_lineFree {};
};

} // namespace korvane::bench
