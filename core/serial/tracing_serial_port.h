#pragma once
// A serial port that writes down everything that happens on another one: each line a time in
// seconds since the trace began, then ">>" and the bytes sent, "<<" and the bytes received, or
// what happened to the port (open, close, discard, a dropped line, any other failure). Every line
// is flushed at once, so a link that hangs still leaves its trace behind.

#include "core/serial/serial_port.h"
#include "core/util/clock.h"

#include <ostream>
#include <string>
#include <string_view>

namespace korvane::serial {

class TracingSerialPort final : public SerialPort {
public:
    // Received and sent bytes go this many to a line.
    static constexpr std::size_t kBytesPerLine = 16;

    // `inner` and `trace` must outlive the port; the times count from now on `clock`.
    TracingSerialPort(SerialPort& inner, util::Clock& clock, std::ostream& trace);

    PortStatus open(const std::string& device) override;
    void close() override;
    bool isOpen() const override;

    PortStatus write(std::span<const std::uint8_t> bytes) override;
    PortStatus drain() override;
    PortResult<std::size_t> transmitCount() override;
    PortResult<std::size_t> receiveCount() override;
    PortResult<Bytes> takeInput() override;
    PortStatus discardInput() override;
    PortStatus discardOutput() override;

private:
    void line(std::string_view text);
    void bytes(std::string_view arrow, std::span<const std::uint8_t> data);
    void failure(std::string_view operation, const PortError& error);
    template <class T> const T& noteFailure(std::string_view operation, const T& result)
    {
        if (!result) failure(operation, result.error());
        return result;
    }

    SerialPort& m_inner;
    util::Clock& m_clock;
    std::ostream& m_trace;
    util::Clock::TimePoint m_start;
};

} // namespace korvane::serial
