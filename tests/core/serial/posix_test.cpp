// The POSIX port on a pseudo-terminal beyond the contract every port keeps (closed, open, hang-up):
// line settings, a device that is no terminal, a held device, another program's settings.

#include "core/serial/posix_serial_port.h"
#include "core/util/steady_clock.h"
#include "tests/core/serial/pty.h"
#include "support/golden_match.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace korvane::serial;
using korvane::test::hex;
using korvane::test::Pty;
using korvane::util::SteadyClock;

namespace {

std::string failed(const PortError& e) { return "error " + std::to_string(int(e.kind)) + " (" + e.reason + ")"; }
std::string got(const PortStatus& r) { return r ? "ok" : failed(r.error()); }
std::string got(const PortResult<Bytes>& r) { return r ? "bytes " + hex(*r) : failed(r.error()); }

std::string steps()
{
    std::ostringstream out;
    Pty pty;
    PosixSerialPort port;
    out << "open a missing device: " << got(port.open("/dev/korvane-no-such-tty")) << ", /dev/null "
        << got(port.open("/dev/null")) << ", open " << port.isOpen() << "\n";
    (void)port.open(pty.device);
    const termios tio = pty.settings();
    out << "9600 baud " << (::cfgetospeed(&tio) == B9600 && ::cfgetispeed(&tio) == B9600) << ", 8 bits "
        << ((tio.c_cflag & CSIZE) == CS8) << ", 2 stop bits " << ((tio.c_cflag & CSTOPB) != 0) << ", parity "
        << ((tio.c_cflag & PARENB) != 0) << ", flow control " << ((tio.c_cflag & CRTSCTS) != 0) << " "
        << ((tio.c_iflag & (IXON | IXOFF)) != 0) << ", local and read "
        << ((tio.c_cflag & (CLOCAL | CREAD)) == (CLOCAL | CREAD)) << ", cooked "
        << ((tio.c_iflag & (ICRNL | ISTRIP)) != 0) << " " << ((tio.c_lflag & (ICANON | ECHO | ISIG)) != 0) << " "
        << ((tio.c_oflag & OPOST) != 0) << "\n";
    {
        PosixSerialPort second;
        out << "a second port: " << got(second.open(pty.device));
        port.close();
        out << ", after the first closed " << got(second.open(pty.device)) << "\n";
    }
    (void)port.open(pty.device);
    pty.settings(0); // someone else's settings: a read that finds nothing gives 0
    out << "nothing to read under another program's settings: " << got(port.takeInput()) << "\n";
    return out.str();
}

} // namespace

TEST(PosixSerialPort, OnAPseudoTerminal)
{
    const std::string produced = steps();
    EXPECT_TRUE(korvane::test::matchesGolden("link/posix_port.txt", produced));
}

TEST(PosixSerialPort, AFullOutputBufferTimesOut)
{
    Pty pty;
    PosixSerialPort port;
    ASSERT_TRUE(port.open(pty.device));
    PortStatus written = kPortOk;
    for (int i = 0; i < 64 && written; ++i)
        written = port.write(Bytes(4096, 0x55)); // nobody reads the far end
    EXPECT_EQ(got(written), "error 5 (Connection timed out)");
}

TEST(PosixSerialPort, TheSteadyClockWaitsItsTime)
{
    SteadyClock clock;
    const auto start = clock.now();
    pause(clock, std::chrono::milliseconds(20)), clock.sleepUntil(start - std::chrono::seconds(1));
    EXPECT_GE(clock.now() - start, std::chrono::milliseconds(20));
}
