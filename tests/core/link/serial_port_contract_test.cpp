// What every SerialPort must do, run against the POSIX port on a pseudo-terminal (bare and behind
// the tracing port) and against the scripted fake, so the fake cannot drift from the real thing.

#include "core/link/posix_serial_port.h"
#include "core/link/steady_clock.h"
#include "core/link/tracing_serial_port.h"
#include "tests/core/link/fake_serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace korvane::link;
using namespace korvane::link::fakes;
using namespace std::chrono_literals;

namespace {

// The POSIX port on the slave side of a pseudo-terminal; the test plays the radio on the master.
class PtyHarness {
public:
    PtyHarness()
    {
        int slave = -1;
        char name[256] {};
        if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0) ADD_FAILURE() << "openpty failed";
        m_device = name;
        ::close(slave);
    }
    ~PtyHarness()
    {
        m_port.close();
        if (m_master >= 0) ::close(m_master);
    }
    SerialPort& port() { return m_port; }
    std::string device() const { return m_device; }
    std::string missingDevice() const { return "/dev/korvane-no-such-tty"; }
    void farEndSends(const Bytes& bytes)
    {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    Bytes farEndHeard(std::size_t n)
    {
        Bytes heard;
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (heard.size() < n && std::chrono::steady_clock::now() < deadline) {
            pollfd p { m_master, POLLIN, 0 };
            if (::poll(&p, 1, 50) > 0) {
                std::uint8_t buffer[256];
                const ssize_t got = ::read(m_master, buffer, sizeof buffer);
                if (got > 0) heard.insert(heard.end(), buffer, buffer + got);
            }
        }
        return heard;
    }
    void farEndHangsUp()
    {
        ::close(m_master);
        m_master = -1;
    }
    void letTimePass() { std::this_thread::sleep_for(5ms); }

private:
    int m_master = -1;
    std::string m_device;
    PosixSerialPort m_port;
};

class FakeHarness {
public:
    FakeHarness()
    {
        m_port.setFarEnd([this](FakeSerialPort&, const Bytes& written, Clock::TimePoint) {
            m_heard.insert(m_heard.end(), written.begin(), written.end());
        });
        m_port.failOpen(missingDevice(), PortErrorKind::NoSuchDevice);
    }
    SerialPort& port() { return m_port; }
    std::string device() const { return "/dev/ttyUSB0"; }
    std::string missingDevice() const { return "/dev/korvane-no-such-tty"; }
    void farEndSends(const Bytes& bytes) { m_port.deliver(m_clock.now(), bytes, true); }
    Bytes farEndHeard(std::size_t) { return m_heard; }
    void farEndHangsUp() { m_port.hangUpAt(m_clock.now()); }
    void letTimePass() { m_clock.advance(5ms); }

private:
    FakeClock m_clock;
    FakeSerialPort m_port { m_clock };
    Bytes m_heard;
};

// The tracing port over the POSIX one: writing everything down must change nothing on the line.
class TracingHarness : public PtyHarness {
public:
    SerialPort& port() { return m_tracing; }

private:
    SteadyClock m_clock;
    std::ostringstream m_trace;
    TracingSerialPort m_tracing { PtyHarness::port(), m_clock, m_trace };
};

template <class Harness> class SerialPortContract : public ::testing::Test {
protected:
    // Bytes from the far end take a moment to show up.
    std::size_t waitForInput(std::size_t n)
    {
        std::size_t count = 0;
        for (int i = 0; i < 200; ++i) {
            auto c = h.port().receiveCount();
            if (!c) return 0;
            count = *c;
            if (count >= n) break;
            h.letTimePass();
        }
        return count;
    }
    Harness h;
};

using Harnesses = ::testing::Types<PtyHarness, FakeHarness, TracingHarness>;
TYPED_TEST_SUITE(SerialPortContract, Harnesses);

} // namespace

TYPED_TEST(SerialPortContract, OpensAndCloses)
{
    SerialPort& port = this->h.port();
    EXPECT_FALSE(port.isOpen());
    ASSERT_TRUE(port.open(this->h.device()));
    EXPECT_TRUE(port.isOpen());
    ASSERT_TRUE(port.open(this->h.device())) << "opening again reopens";
    port.close();
    EXPECT_FALSE(port.isOpen());
    port.close();
    EXPECT_FALSE(port.isOpen());
}

TYPED_TEST(SerialPortContract, AClosedPortRefusesWork)
{
    SerialPort& port = this->h.port();
    const Bytes bytes { 1 };
    EXPECT_EQ(port.write(bytes).error().kind, PortErrorKind::NotOpen);
    EXPECT_EQ(port.receiveCount().error().kind, PortErrorKind::NotOpen);
    EXPECT_EQ(port.transmitCount().error().kind, PortErrorKind::NotOpen);
    EXPECT_EQ(port.takeInput().error().kind, PortErrorKind::NotOpen);
    EXPECT_EQ(port.discardInput().error().kind, PortErrorKind::NotOpen);
    EXPECT_EQ(port.discardOutput().error().kind, PortErrorKind::NotOpen);
    EXPECT_EQ(port.drain().error().kind, PortErrorKind::NotOpen);
}

TYPED_TEST(SerialPortContract, AMissingDeviceIsNoSuchDevice)
{
    const PortStatus opened = this->h.port().open(this->h.missingDevice());
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().kind, PortErrorKind::NoSuchDevice);
    EXPECT_FALSE(this->h.port().isOpen());
}

TYPED_TEST(SerialPortContract, WrittenBytesReachTheFarEnd)
{
    SerialPort& port = this->h.port();
    ASSERT_TRUE(port.open(this->h.device()));
    const Bytes command { 'r', 'E', 'A', 'D' };
    ASSERT_TRUE(port.write(command));
    ASSERT_TRUE(port.drain());
    EXPECT_EQ(*port.transmitCount(), 0u);
    EXPECT_EQ(this->h.farEndHeard(4), command);
}

TYPED_TEST(SerialPortContract, ArrivingBytesAreCountedAndTaken)
{
    SerialPort& port = this->h.port();
    ASSERT_TRUE(port.open(this->h.device()));
    const Bytes reply { 0x03, 0x01, 0x00, 0xFF, 0x0D, 0x0A, 0x11, 0x13 }; // raw: no byte is special
    this->h.farEndSends(reply);
    EXPECT_EQ(this->waitForInput(reply.size()), reply.size());
    EXPECT_EQ(*port.takeInput(), reply);
    EXPECT_EQ(*port.receiveCount(), 0u);
    EXPECT_EQ(*port.takeInput(), Bytes {});
}

TYPED_TEST(SerialPortContract, DiscardedInputIsGone)
{
    SerialPort& port = this->h.port();
    ASSERT_TRUE(port.open(this->h.device()));
    this->h.farEndSends({ 1, 2, 3 });
    EXPECT_EQ(this->waitForInput(3), 3u);
    ASSERT_TRUE(port.discardInput());
    EXPECT_EQ(*port.receiveCount(), 0u);
    EXPECT_EQ(*port.takeInput(), Bytes {});
}

TYPED_TEST(SerialPortContract, AHangUpIsADroppedLine)
{
    SerialPort& port = this->h.port();
    ASSERT_TRUE(port.open(this->h.device()));
    this->h.farEndHangsUp();
    this->h.letTimePass();
    const auto count = port.receiveCount();
    ASSERT_FALSE(count);
    EXPECT_EQ(count.error().kind, PortErrorKind::LineDropped);
    const auto input = port.takeInput();
    ASSERT_FALSE(input);
    EXPECT_EQ(input.error().kind, PortErrorKind::LineDropped);
}
