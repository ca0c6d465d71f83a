#pragma once
// What the radio link needs of a serial port: open a device, move bytes, count what is still
// waiting in either direction and throw it away. The POSIX port drives real adapters and
// pseudo-terminals; tests use a scripted fake.

#include "core/util/result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace korvane::serial {

using Bytes = std::vector<std::uint8_t>;

enum class PortErrorKind {
    NoSuchDevice, // nothing behind the path: the port number does not exist
    PermissionDenied, // the device exists but this user may not open it
    Busy, // another program holds the device
    LineDropped, // the other side hung up or the adapter was unplugged
    NotOpen, // an operation on a port that is not open
    Other,
};

struct PortError {
    PortErrorKind kind = PortErrorKind::Other;
    std::string device; // the path the port was opened with
    std::string reason; // the system's own words (strerror), for the expert
    std::string ownerGroup; // PermissionDenied: the group that owns the device, when known

    friend bool operator==(const PortError&, const PortError&) = default;
};

using PortStatus = util::Result<std::monostate, PortError>;
template <class T> using PortResult = util::Result<T, PortError>;

inline constexpr std::monostate kPortOk {};

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens the device at 9600 baud, 8 data bits, no parity, 2 stop bits, raw, no flow control.
    // An open port is closed first.
    virtual PortStatus open(const std::string& device) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Queues the bytes for sending; drain() waits until they have left.
    virtual PortStatus write(std::span<const std::uint8_t> bytes) = 0;
    virtual PortStatus drain() = 0;
    virtual PortResult<std::size_t> transmitCount() = 0;
    virtual PortResult<std::size_t> receiveCount() = 0;
    // Every received byte that is waiting, possibly none.
    virtual PortResult<Bytes> takeInput() = 0;
    virtual PortStatus discardInput() = 0;
    virtual PortStatus discardOutput() = 0;
};

} // namespace korvane::serial
