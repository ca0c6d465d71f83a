#pragma once
// A serial port driven through POSIX termios: USB adapters, built-in ports and pseudo-terminals.

#include "core/link/serial_port.h"

namespace korvane::link {

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
    PortResult<Bytes> takeInput() override;
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

} // namespace korvane::link
