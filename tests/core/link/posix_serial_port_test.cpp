#include "core/link/posix_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace korvane::link;

namespace {

struct Pty {
    int master = -1;
    std::string device;
    Pty()
    {
        int slave = -1;
        char name[256] {};
        EXPECT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
        device = name;
        ::close(slave);
    }
    ~Pty() { ::close(master); }
};

} // namespace

TEST(PosixSerialPort, LineSettings)
{
    Pty pty;
    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.device));
    const int fd = ::open(pty.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios tio {};
    ASSERT_EQ(::tcgetattr(fd, &tio), 0);
    ::close(fd);
    EXPECT_EQ(::cfgetospeed(&tio), B9600);
    EXPECT_EQ(::cfgetispeed(&tio), B9600);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_NE(tio.c_cflag & CSTOPB, 0u) << "two stop bits";
    EXPECT_EQ(tio.c_cflag & PARENB, 0u);
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_NE(tio.c_cflag & CLOCAL, 0u);
    EXPECT_NE(tio.c_cflag & CREAD, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST(PosixSerialPort, APortInUseIsBusy)
{
    Pty pty;
    PosixSerialPort first;
    PosixSerialPort second;
    ASSERT_TRUE(first.open(pty.device));
    const PortStatus opened = second.open(pty.device);
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().kind, PortErrorKind::Busy);
    first.close();
    EXPECT_TRUE(second.open(pty.device));
}

TEST(PosixSerialPort, SomethingThatIsNoSerialPort)
{
    PosixSerialPort port;
    const PortStatus opened = port.open("/dev/null");
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().kind, PortErrorKind::Other);
    EXPECT_FALSE(port.isOpen());
}

TEST(PosixSerialPort, PermissionDeniedNamesTheGroup)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root opens every device";
    Pty pty;
    ASSERT_EQ(::chmod(pty.device.c_str(), 0600), 0);
    // Only the owner may open it now; we own it, so take our own rights away too.
    ASSERT_EQ(::chmod(pty.device.c_str(), 0000), 0);
    PosixSerialPort port;
    const PortStatus opened = port.open(pty.device);
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().kind, PortErrorKind::PermissionDenied);
    EXPECT_FALSE(opened.error().ownerGroup.empty());
}
