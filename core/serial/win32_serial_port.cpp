#include "core/serial/win32_serial_port.h"

#include "core/serial/system_serial_port.h"

#include "core/util/win32_text.h"

#include <windows.h>

namespace korvane::serial {

namespace {

// How long a write may wait for room before we call the port stuck, as on POSIX; plus the time
// the bytes themselves take at 9600 baud, 11 bits a byte, with room to spare.
constexpr DWORD kWriteRoomTimeoutMs = 2000;
constexpr DWORD kWriteMsPerByte = 2;

HANDLE handleOf(void* h) { return static_cast<HANDLE>(h); }

// What Windows says when a USB adapter is pulled out, or the device behind the port goes away.
bool isHangUpError(DWORD error)
{
    switch (error) {
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_GEN_FAILURE:
    case ERROR_OPERATION_ABORTED:
    case ERROR_INVALID_HANDLE:
    case ERROR_ACCESS_DENIED: // some adapters' drivers answer this once unplugged
    case ERROR_BROKEN_PIPE:
    case ERROR_NOT_READY: // what Wine says of a pseudo-terminal whose far end hung up
        return true;
    default:
        return false;
    }
}

PortErrorKind openErrorKind(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_UNIT:
        return PortErrorKind::NoSuchDevice;
    case ERROR_ACCESS_DENIED: // a COM port another program holds open
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return PortErrorKind::Busy;
    case ERROR_PRIVILEGE_NOT_HELD:
        return PortErrorKind::PermissionDenied;
    default:
        return PortErrorKind::Other;
    }
}

} // namespace

std::string win32DevicePath(const std::string& device)
{
    const bool isCom = device.size() > 3 && (device[0] == 'C' || device[0] == 'c')
        && (device[1] == 'O' || device[1] == 'o') && (device[2] == 'M' || device[2] == 'm')
        && device.find_first_not_of("0123456789", 3) == std::string::npos;
    return isCom ? "\\\\.\\" + device : device;
}

std::string win32PortName(const std::string& device)
{
    return device.starts_with("\\\\.\\") ? device.substr(4) : device;
}

Win32SerialPort::~Win32SerialPort() { close(); }

PortError Win32SerialPort::failure(PortErrorKind kind, unsigned long error) const
{
    return PortError { kind, m_device, util::win32ErrorText(error), {} };
}

PortError Win32SerialPort::systemFailure(unsigned long error) const
{
    return failure(isHangUpError(error) ? PortErrorKind::LineDropped : PortErrorKind::Other, error);
}

PortStatus Win32SerialPort::open(const std::string& device)
{
    close();
    m_device = device;
    const std::wstring path = util::wideFromUtf8(win32DevicePath(device));
    // No sharing: a port is one program's at a time, and Windows says so to the second.
    const HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return failure(openErrorKind(error), error);
    }
    const auto refuse = [&](DWORD error) {
        ::CloseHandle(h);
        return failure(PortErrorKind::Other, error);
    };
    (void)::SetupComm(h, 4096, 4096);
    DCB dcb {};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(h, &dcb)) return refuse(::GetLastError());
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = TWOSTOPBITS;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    // Many programming cables draw their power from the control lines.
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    if (!::SetCommState(h, &dcb)) return refuse(::GetLastError());
    // A read returns at once with whatever is waiting; a write gives up when the port is stuck.
    COMMTIMEOUTS timeouts {};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutMultiplier = kWriteMsPerByte;
    timeouts.WriteTotalTimeoutConstant = kWriteRoomTimeoutMs;
    if (!::SetCommTimeouts(h, &timeouts)) return refuse(::GetLastError());
    (void)::PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
    m_handle = h;
    return kPortOk;
}

void Win32SerialPort::close()
{
    if (m_handle != nullptr) ::CloseHandle(handleOf(m_handle));
    m_handle = nullptr;
}

bool Win32SerialPort::isOpen() const { return m_handle != nullptr; }

PortStatus Win32SerialPort::status(std::size_t* receive, std::size_t* transmit)
{
    if (m_handle == nullptr) return failure(PortErrorKind::NotOpen, ERROR_INVALID_HANDLE);
    DWORD errors = 0;
    COMSTAT stat {};
    if (!::ClearCommError(handleOf(m_handle), &errors, &stat)) return systemFailure(::GetLastError());
    if (receive != nullptr) *receive = stat.cbInQue;
    if (transmit != nullptr) *transmit = stat.cbOutQue;
    return kPortOk;
}

PortStatus Win32SerialPort::write(std::span<const std::uint8_t> bytes)
{
    if (m_handle == nullptr) return failure(PortErrorKind::NotOpen, ERROR_INVALID_HANDLE);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(bytes.size() - done);
        if (!::WriteFile(handleOf(m_handle), bytes.data() + done, want, &n, nullptr)) return systemFailure(::GetLastError());
        if (n == 0) return failure(PortErrorKind::Other, WAIT_TIMEOUT);
        done += n;
    }
    return kPortOk;
}

PortStatus Win32SerialPort::drain()
{
    if (m_handle == nullptr) return failure(PortErrorKind::NotOpen, ERROR_INVALID_HANDLE);
    if (!::FlushFileBuffers(handleOf(m_handle))) return systemFailure(::GetLastError());
    return kPortOk;
}

PortResult<std::size_t> Win32SerialPort::transmitCount()
{
    std::size_t count = 0;
    if (auto s = status(nullptr, &count); !s) return s.error();
    return count;
}

PortResult<std::size_t> Win32SerialPort::receiveCount()
{
    std::size_t count = 0;
    if (auto s = status(&count, nullptr); !s) return s.error();
    return count;
}

PortResult<Bytes> Win32SerialPort::takeInput()
{
    if (m_handle == nullptr) return failure(PortErrorKind::NotOpen, ERROR_INVALID_HANDLE);
    Bytes input;
    std::uint8_t buffer[1024];
    static_assert(kMaxTake % sizeof buffer == 0);
    while (input.size() < kMaxTake) {
        DWORD n = 0;
        if (!::ReadFile(handleOf(m_handle), buffer, sizeof buffer, &n, nullptr)) {
            const DWORD error = ::GetLastError();
            // Bytes already taken are still handed over; the next call reports the dropped line.
            if (input.empty()) return systemFailure(error);
            break;
        }
        if (n == 0) break;
        input.insert(input.end(), buffer, buffer + n);
    }
    return input;
}

PortStatus Win32SerialPort::discardInput()
{
    if (m_handle == nullptr) return failure(PortErrorKind::NotOpen, ERROR_INVALID_HANDLE);
    if (!::PurgeComm(handleOf(m_handle), PURGE_RXCLEAR)) return systemFailure(::GetLastError());
    return kPortOk;
}

PortStatus Win32SerialPort::discardOutput()
{
    auto waiting = transmitCount();
    if (!waiting) return waiting.error();
    if (*waiting == 0) return kPortOk;
    if (!::PurgeComm(handleOf(m_handle), PURGE_TXCLEAR | PURGE_TXABORT)) return systemFailure(::GetLastError());
    return kPortOk;
}

std::unique_ptr<SerialPort> makeSystemSerialPort() { return std::make_unique<Win32SerialPort>(); }

} // namespace korvane::serial
