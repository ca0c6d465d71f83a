#include "core/serial/posix_serial_port.h"

#include "core/serial/system_serial_port.h"

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace korvane::serial {

namespace {

// How long a write may wait for room in a full output buffer before we call the port stuck.
constexpr int kWriteRoomTimeoutMs = 2000;

bool isHangUpError(int error) { return error == EIO || error == ENXIO || error == ENODEV || error == EPIPE; }

std::string groupOwning(const std::string& device)
{
    struct stat info { };
    if (::stat(device.c_str(), &info) != 0) return {};
    std::vector<char> buffer(4096);
    struct group entry { };
    struct group* found = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
    return found->gr_name;
}

PortErrorKind openErrorKind(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO:
    case EIO: // a built-in port whose UART is not fitted
        return PortErrorKind::NoSuchDevice;
    case EACCES:
    case EPERM:
    case EROFS:
        return PortErrorKind::PermissionDenied;
    case EBUSY:
    case EWOULDBLOCK:
        return PortErrorKind::Busy;
    default:
        return PortErrorKind::Other;
    }
}

} // namespace

PosixSerialPort::~PosixSerialPort() { close(); }

PortError PosixSerialPort::failure(PortErrorKind kind, int error) const
{
    PortError e { kind, m_device, std::generic_category().message(error), {} };
    if (kind == PortErrorKind::PermissionDenied) e.ownerGroup = groupOwning(m_device);
    return e;
}

PortError PosixSerialPort::systemFailure(int error) const
{
    return failure(isHangUpError(error) ? PortErrorKind::LineDropped : PortErrorKind::Other, error);
}

PortStatus PosixSerialPort::open(const std::string& device)
{
    close();
    m_device = device;
    m_hungUp = false;
    // O_NONBLOCK: neither a missing carrier nor an empty input buffer may hold us up.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return failure(openErrorKind(error), error);
    }
    // Terminal programs that take a port lock it; a port they hold is busy for us too.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        return failure(PortErrorKind::Busy, EBUSY);
    }
    termios tio {};
    if (::tcgetattr(fd, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return failure(PortErrorKind::Other, error);
    }
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CRTSCTS);
    tio.c_cflag |= CS8 | CSTOPB | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // With VMIN 0 a read that finds nothing returns 0, which looks like a hang-up; with VMIN 1 and
    // O_NONBLOCK it says EAGAIN, and 0 means the line is gone.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        return failure(PortErrorKind::Other, error);
    }
    // Many programming cables draw their power from the control lines. Pseudo-terminals have
    // none (ENOTTY) and some adapters refuse (EINVAL): the link works without them.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(fd, TIOCMBIS, &lines);
    ::tcflush(fd, TCIOFLUSH);
    m_fd = fd;
    return kPortOk;
}

void PosixSerialPort::close()
{
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

bool PosixSerialPort::isOpen() const { return m_fd >= 0; }

bool PosixSerialPort::lineDropped()
{
    if (m_hungUp) return true;
    pollfd p { m_fd, POLLIN, 0 };
    if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) m_hungUp = true;
    return m_hungUp;
}

PortStatus PosixSerialPort::write(std::span<const std::uint8_t> bytes)
{
    if (m_fd < 0) return failure(PortErrorKind::NotOpen, EBADF);
    if (m_hungUp) return failure(PortErrorKind::LineDropped, EIO);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        const int error = n < 0 ? errno : EIO;
        if (error == EINTR) continue;
        if (error != EAGAIN) {
            m_hungUp = isHangUpError(error);
            return systemFailure(error);
        }
        pollfd p { m_fd, POLLOUT, 0 };
        const int ready = ::poll(&p, 1, kWriteRoomTimeoutMs);
        if (ready == 0) return failure(PortErrorKind::Other, ETIMEDOUT);
        if (ready > 0 && (p.revents & (POLLHUP | POLLERR)) != 0) {
            m_hungUp = true;
            return failure(PortErrorKind::LineDropped, EIO);
        }
    }
    return kPortOk;
}

PortStatus PosixSerialPort::drain()
{
    if (m_fd < 0) return failure(PortErrorKind::NotOpen, EBADF);
    while (::tcdrain(m_fd) != 0) {
        if (errno != EINTR) return systemFailure(errno);
    }
    return kPortOk;
}

PortResult<std::size_t> PosixSerialPort::transmitCount()
{
    if (m_fd < 0) return failure(PortErrorKind::NotOpen, EBADF);
    int count = 0;
    if (::ioctl(m_fd, TIOCOUTQ, &count) != 0) return systemFailure(errno);
    return static_cast<std::size_t>(count < 0 ? 0 : count);
}

PortResult<std::size_t> PosixSerialPort::receiveCount()
{
    if (m_fd < 0) return failure(PortErrorKind::NotOpen, EBADF);
    int count = 0;
    if (::ioctl(m_fd, FIONREAD, &count) != 0) return systemFailure(errno);
    // A line that hung up still lets us take what arrived before; once that is gone it is dead.
    if (count <= 0 && lineDropped()) return failure(PortErrorKind::LineDropped, EIO);
    return static_cast<std::size_t>(count < 0 ? 0 : count);
}

PortResult<Bytes> PosixSerialPort::takeInput()
{
    if (m_fd < 0) return failure(PortErrorKind::NotOpen, EBADF);
    Bytes input;
    std::uint8_t buffer[1024];
    static_assert(kMaxTake % sizeof buffer == 0);
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            input.insert(input.end(), buffer, buffer + n);
            if (input.size() >= kMaxTake) break;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        // A terminal whose settings someone else changed may read 0 for "nothing yet"; only the
        // kernel's hang-up flag tells that apart from a line that is gone.
        if (n == 0 && !lineDropped()) break;
        // The other side is gone. Bytes already taken are still handed over; the next call
        // reports the dropped line.
        const int error = n < 0 ? errno : EIO;
        if (n == 0 || isHangUpError(error)) m_hungUp = true;
        if (input.empty()) return systemFailure(n == 0 ? EIO : error);
        break;
    }
    return input;
}

PortStatus PosixSerialPort::discardInput()
{
    if (m_fd < 0) return failure(PortErrorKind::NotOpen, EBADF);
    if (::tcflush(m_fd, TCIFLUSH) != 0) return systemFailure(errno);
    return kPortOk;
}

PortStatus PosixSerialPort::discardOutput()
{
    auto waiting = transmitCount();
    if (!waiting) return waiting.error();
    // A pseudo-terminal hands bytes to the far end at once and always counts 0 waiting; its
    // flush would throw away what the far end has not read yet, so flush only real leftovers.
    if (*waiting == 0) return kPortOk;
    if (::tcflush(m_fd, TCOFLUSH) != 0) return systemFailure(errno);
    return kPortOk;
}

std::unique_ptr<SerialPort> makeSystemSerialPort() { return std::make_unique<PosixSerialPort>(); }

} // namespace korvane::serial
