// The POSIX port on a pseudo-terminal playing the radio: what the link relies on, line settings,
// a device that is no terminal, a held device, another program's settings.

#include "core/serial/posix_serial_port.h"
#include "core/util/steady_clock.h"
#include "support/golden_match.h"

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace korvane::serial;
using korvane::test::hex;
using korvane::util::SteadyClock;
using namespace std::chrono_literals;

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
    ~Pty() { hangUp(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    void hangUp() { master = master >= 0 ? ::close(master), -1 : -1; }
    void send(const Bytes& b) { EXPECT_EQ(::write(master, b.data(), b.size()), static_cast<ssize_t>(b.size())); }
    Bytes heard()
    {
        std::uint8_t buffer[256];
        pollfd p { master, POLLIN, 0 };
        const ssize_t k = ::poll(&p, 1, 2000) > 0 ? ::read(master, buffer, sizeof buffer) : 0;
        return Bytes(buffer, buffer + std::max<ssize_t>(k, 0));
    }
    // Settings as another program on the same device sees them.
    termios settings(std::optional<cc_t> vmin = std::nullopt) const
    {
        termios tio {};
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ::tcgetattr(fd, &tio);
        if (vmin) tio.c_cc[VMIN] = *vmin, ::tcsetattr(fd, TCSANOW, &tio);
        ::close(fd);
        return tio;
    }
};

const std::string kMissing = "/dev/korvane-no-such-tty";

std::string failed(const PortError& e) { return "error " + std::to_string(int(e.kind)) + " (" + e.reason + ")"; }
std::string got(const PortStatus& r) { return r ? "ok" : failed(r.error()); }
std::string got(const PortResult<Bytes>& r) { return r ? "bytes " + hex(*r) : failed(r.error()); }
std::string got(const PortResult<std::size_t>& r) { return r ? std::to_string(*r) : failed(r.error()); }

std::string state(const SerialPort& port) { return port.isOpen() ? "open" : "closed"; }

// The receive count once `n` bytes are in, or as it stands when they do not come.
std::string arrived(SerialPort& port, std::size_t n)
{
    auto count = port.receiveCount();
    for (int i = 0; i < 400 && count && *count < n; ++i)
        std::this_thread::sleep_for(5ms), count = port.receiveCount();
    return got(count);
}

// Every call made once, in this order (a braced list sequences them); one word when all agree.
std::string everyCall(SerialPort& p)
{
    const std::string outcomes[] = { got(p.write(Bytes { 1 })), got(p.drain()), got(p.transmitCount()),
        got(p.receiveCount()), got(p.takeInput()), got(p.discardInput()), got(p.discardOutput()) };
    std::string text = "every call " + outcomes[0];
    for (const std::string& outcome : outcomes)
        if (outcome != outcomes[0]) text += " but " + outcome;
    return text;
}

struct Behaviour {
    const char* name;
    std::function<void(Pty&, SerialPort&, std::ostream&)> run;
    std::string expected;
};

const Behaviour kBehaviours[] = {
    { "a new port is closed and refuses every call",
        [](Pty&, SerialPort& p, std::ostream& out) { out << state(p) << ", " << everyCall(p); },
        "closed, every call error 4 (Bad file descriptor)" },
    { "a missing device does not open; the port it was to replace is closed",
        [](Pty& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(kMissing)) << ", " << got(p.open(l.device)) << " " << got(p.open(kMissing)) << ", "
                << state(p);
        },
        "error 0 (No such file or directory), ok error 0 (No such file or directory), closed" },
    { "open, open again, close twice",
        [](Pty& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device)) << " " << got(p.open(l.device)) << " " << state(p) << ", ";
            p.close();
            out << state(p) << " ";
            p.close();
            out << state(p) << ", " << everyCall(p);
        },
        "ok ok open, closed closed, every call error 4 (Bad file descriptor)" },
    { "written bytes leave: none wait, discarding output drops none, the far end hears them",
        [](Pty& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device)) << " " << got(p.write(Bytes { 'r', 'E', 'A', 'D' })) << " "
                << got(p.drain()) << ", waiting " << got(p.transmitCount()) << ", discard "
                << got(p.discardOutput()) << ", heard " << hex(l.heard());
        },
        "ok ok ok, waiting 0, discard ok, heard 72 45 41 44" },
    { "arriving bytes are counted and taken whole (none is special), or discarded",
        [](Pty& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device)) << ", ";
            l.send({ 0x03, 0x01, 0x00, 0xFF, 0x0D, 0x0A, 0x11, 0x13 });
            out << arrived(p, 8) << " " << got(p.takeInput()) << ", then " << got(p.receiveCount()) << " "
                << got(p.takeInput()) << "; ";
            l.send({ 1, 2, 3 });
            out << arrived(p, 3) << " discard " << got(p.discardInput()) << ", then " << got(p.receiveCount())
                << " " << got(p.takeInput());
        },
        "ok, 8 bytes 03 01 00 FF 0D 0A 11 13, then 0 bytes ; 3 discard ok, then 0 bytes " },
    { "opening again drops what was waiting",
        [](Pty& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device)) << ", ";
            l.send({ 1, 2, 3 });
            out << arrived(p, 3) << " " << got(p.open(l.device)) << ", then " << got(p.receiveCount());
        },
        "ok, 3 ok, then 0" },
    { "after a hang-up every call finds the line dropped, even with a byte waiting; the port still closes",
        [](Pty& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device)) << ", ";
            l.send({ 7 });
            out << arrived(p, 1) << ", ";
            l.hangUp();
            std::this_thread::sleep_for(5ms);
            out << everyCall(p) << ", " << state(p) << ", ";
            p.close();
            out << state(p);
        },
        "ok, 1, every call error 3 (Input/output error), open, closed" },
};

std::string steps()
{
    std::ostringstream out;
    Pty pty;
    PosixSerialPort port;
    out << "open a missing device: " << got(port.open(kMissing)) << ", /dev/null " << got(port.open("/dev/null"))
        << ", open " << port.isOpen() << "\n";
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

TEST(PosixSerialPort, DoesWhatTheLinkReliesOn)
{
    for (const Behaviour& behaviour : kBehaviours) {
        Pty pty;
        PosixSerialPort port;
        std::ostringstream out;
        behaviour.run(pty, port, out);
        EXPECT_EQ(out.str(), behaviour.expected) << behaviour.name;
    }
}

TEST(PosixSerialPort, OnAPseudoTerminal) { EXPECT_TRUE(korvane::test::matchesGolden("link/posix_port.txt", steps())); }

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
