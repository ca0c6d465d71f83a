#pragma once
// A serial port driven through the Win32 communications API: COM1..COM256 and USB adapters.

#include "core/serial/serial_port.h"

namespace korvane::serial {

class Win32SerialPort final : public SerialPort {
public:
    Win32SerialPort() = default;
    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    // "COM3" or "\\.\COM3"; anything else is taken as a device path as it stands.
    PortStatus open(const std::string& device) override;
    void close() override;
    bool isOpen() const override;

    PortStatus write(std::span<const std::uint8_t> bytes) override;
    PortStatus drain() override;
    PortResult<std::size_t> transmitCount() override;
    PortResult<std::size_t> receiveCount() override;
    // At most kMaxTake bytes a call, as on the POSIX port.
    PortResult<Bytes> takeInput() override;
    static constexpr std::size_t kMaxTake = 64 * 1024;
    PortStatus discardInput() override;
    PortStatus discardOutput() override;

private:
    PortError failure(PortErrorKind kind, unsigned long error) const;
    PortError systemFailure(unsigned long error) const;
    // The counts of both queues, or the error that says the line is gone.
    PortStatus status(std::size_t* receive, std::size_t* transmit);

    void* m_handle = nullptr; // a HANDLE; nullptr when closed
    std::string m_device;
};

// The path CreateFileW wants for a port name: "COM12" -> "\\.\COM12". Other paths pass as they are.
std::string win32DevicePath(const std::string& device);
// The other way: "\\.\COM12" -> "COM12". Other names pass as they are.
std::string win32PortName(const std::string& device);

} // namespace korvane::serial
