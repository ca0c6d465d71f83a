#include "core/serial/tracing_serial_port.h"

#include "core/util/hex.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace korvane::serial {

namespace {

std::string_view kindText(PortErrorKind kind)
{
    switch (kind) {
    case PortErrorKind::NoSuchDevice:
        return "no such device";
    case PortErrorKind::PermissionDenied:
        return "permission denied";
    case PortErrorKind::Busy:
        return "device busy";
    case PortErrorKind::LineDropped:
        return "line dropped";
    case PortErrorKind::NotOpen:
        return "port not open";
    case PortErrorKind::Other:
        break;
    }
    return "failed";
}

} // namespace

TracingSerialPort::TracingSerialPort(SerialPort& inner, util::Clock& clock, std::ostream& trace)
    : m_inner(inner)
    , m_clock(clock)
    , m_trace(trace)
    , m_start(clock.now())
{
}

PortStatus TracingSerialPort::open(const std::string& device)
{
    line("open " + device);
    return noteFailure("open", m_inner.open(device));
}

void TracingSerialPort::close()
{
    // The link closes a port that is already closed as a matter of course; only a real close
    // is worth a line.
    if (m_inner.isOpen()) line("close");
    m_inner.close();
}

bool TracingSerialPort::isOpen() const { return m_inner.isOpen(); }

PortStatus TracingSerialPort::write(std::span<const std::uint8_t> data)
{
    bytes(">>", data);
    return noteFailure("write", m_inner.write(data));
}

PortStatus TracingSerialPort::drain() { return noteFailure("drain", m_inner.drain()); }

PortResult<std::size_t> TracingSerialPort::transmitCount()
{
    return noteFailure("transmit count", m_inner.transmitCount());
}

PortResult<std::size_t> TracingSerialPort::receiveCount()
{
    return noteFailure("receive count", m_inner.receiveCount());
}

PortResult<Bytes> TracingSerialPort::takeInput()
{
    auto taken = m_inner.takeInput();
    if (taken && !taken->empty()) bytes("<<", *taken);
    return noteFailure("take input", taken);
}

PortStatus TracingSerialPort::discardInput()
{
    line("discard input");
    return noteFailure("discard input", m_inner.discardInput());
}

PortStatus TracingSerialPort::discardOutput()
{
    line("discard output");
    return noteFailure("discard output", m_inner.discardOutput());
}

void TracingSerialPort::line(std::string_view text)
{
    const double seconds = std::chrono::duration<double>(m_clock.now() - m_start).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%11.6f ", seconds);
    m_trace << stamp << text << '\n' << std::flush;
}

void TracingSerialPort::bytes(std::string_view arrow, std::span<const std::uint8_t> data)
{
    for (std::size_t first = 0; first < data.size(); first += kBytesPerLine) {
        const std::size_t count = std::min(data.size() - first, kBytesPerLine);
        line(std::string(arrow) + " " + util::hexBytes(data.subspan(first, count)));
    }
}

void TracingSerialPort::failure(std::string_view operation, const PortError& error)
{
    std::string text = error.kind == PortErrorKind::LineDropped ? "drop: " : "error: ";
    text += std::string(operation) + ": " + std::string(kindText(error.kind));
    if (!error.reason.empty()) text += " (" + error.reason + ")";
    line(text);
}

} // namespace korvane::serial
