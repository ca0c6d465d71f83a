#pragma once
// A serial port driven through POSIX termios: USB adapters, built-in ports and pseudo-terminals.

#include "core/serial/serial_port.h"

namespace korvane::serial {

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    PortStatus open(const std::string& device) override;
    void close() override;
    bool isOpen() const override;

    PortStatus write(std::span<const std::uint8_t> bytes) override;
    PortStatus drain() override;
    PortResult<std::size_t> transmitCount() override;
    PortResult<std::size_t> receiveCount() override;
    // At most kMaxTake bytes a call: a line that never stops sending cannot keep one call going.
    PortResult<Bytes> takeInput() override;
    static constexpr std::size_t kMaxTake = 64 * 1024;
    PortStatus discardInput() override;
    PortStatus discardOutput() override;

private:
    PortError failure(PortErrorKind kind, int error) const;
    PortError systemFailure(int error) const;
    // Asks the kernel whether the other side has hung up; remembers the answer.
    bool lineDropped();

    int m_fd = -1;
    std::string m_device;
    bool m_hungUp = false;
};

} // namespace korvane::serial
