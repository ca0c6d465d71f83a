#include "core/link/tracing_serial_port.h"

#include "tests/core/link/fake_serial_port.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::link::fakes;
using namespace std::chrono_literals;

namespace {

const Bytes kRead { 'r', 'E', 'A', 'D' };

FakeClock clockAt(Clock::Duration elapsed)
{
    FakeClock clock;
    clock.advance(elapsed);
    return clock;
}

struct Rig {
    explicit Rig(Clock::Duration clockAlreadyAt = {})
        : clock(clockAt(clockAlreadyAt))
    {
    }
    FakeClock clock;
    FakeSerialPort inner { clock };
    std::ostringstream trace;
    TracingSerialPort port { inner, clock, trace };
};

} // namespace

TEST(TracingSerialPort, WritesDownTheLine)
{
    Rig rig(3s); // the trace counts from its own start, not from the clock's
    // The far end answers every write with two bytes as soon as it has heard it.
    rig.inner.setFarEnd([](FakeSerialPort& port, const Bytes&, Clock::TimePoint leftAt) {
        port.deliver(leftAt, { 0x03, 0x01 }, false);
    });

    ASSERT_TRUE(rig.port.open("/dev/ttyUSB0").ok());
    EXPECT_TRUE(rig.port.isOpen());
    rig.clock.advance(12345us);
    ASSERT_TRUE(rig.port.discardInput().ok());
    ASSERT_TRUE(rig.port.write(kRead).ok());
    ASSERT_TRUE(rig.port.drain().ok());
    EXPECT_EQ(*rig.port.transmitCount(), 0u);
    EXPECT_EQ(*rig.port.receiveCount(), 2u);
    rig.clock.advance(80ms);
    auto reply = rig.port.takeInput();
    ASSERT_TRUE(reply.ok());
    EXPECT_EQ(*reply, (Bytes { 0x03, 0x01 }));
    EXPECT_TRUE(rig.port.takeInput()->empty()); // nothing taken, nothing written down
    ASSERT_TRUE(rig.port.discardOutput().ok());
    Bytes record(20);
    for (std::size_t k = 0; k < record.size(); ++k)
        record[k] = static_cast<std::uint8_t>(0xE0 + k);
    rig.clock.advance(1s);
    ASSERT_TRUE(rig.port.write(record).ok());
    rig.port.close();
    rig.port.close(); // already closed: no second line
    EXPECT_FALSE(rig.port.isOpen());

    EXPECT_EQ(rig.trace.str(),
        "   0.000000 open /dev/ttyUSB0\n"
        "   0.012345 discard input\n"
        "   0.012345 >> 72 45 41 44\n"
        "   0.096928 << 03 01\n"
        "   0.096928 discard output\n"
        "   1.096928 >> E0 E1 E2 E3 E4 E5 E6 E7 E8 E9 EA EB EC ED EE EF\n"
        "   1.096928 >> F0 F1 F2 F3\n"
        "   1.096928 close\n");
    // Everything reached the port underneath unchanged.
    EXPECT_EQ(rig.inner.writtenChunks(), (std::vector<Bytes> { kRead, record }));
    EXPECT_EQ(rig.inner.opened(), std::vector<std::string> { "/dev/ttyUSB0" });
    EXPECT_EQ(rig.inner.closeCount(), 1);
}

TEST(TracingSerialPort, WritesDownFailures)
{
    Rig rig;
    rig.inner.failOpen("/dev/ttyUSB1", PortErrorKind::Busy);
    const PortStatus refused = rig.port.open("/dev/ttyUSB1");
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().kind, PortErrorKind::Busy); // passed on as it came

    ASSERT_TRUE(rig.port.open("/dev/ttyUSB0").ok());
    rig.inner.hangUpAt(FakeClock::kStart + 500ms);
    rig.clock.advance(500ms);
    const auto count = rig.port.receiveCount();
    ASSERT_FALSE(count.ok());
    EXPECT_EQ(count.error().kind, PortErrorKind::LineDropped);
    EXPECT_FALSE(rig.port.write(kRead).ok());
    rig.port.close();
    EXPECT_FALSE(rig.port.takeInput().ok());

    EXPECT_EQ(rig.trace.str(),
        "   0.000000 open /dev/ttyUSB1\n"
        "   0.000000 error: open: device busy (scripted failure)\n"
        "   0.000000 open /dev/ttyUSB0\n"
        "   0.500000 drop: receive count: line dropped (hung up)\n"
        "   0.500000 >> 72 45 41 44\n"
        "   0.500000 drop: write: line dropped (hung up)\n"
        "   0.500000 close\n"
        "   0.500000 error: take input: port not open (not open)\n");
}

TEST(TracingSerialPort, FlushesEveryLine)
{
    // A stream buffer that remembers how much had been flushed out of it.
    class CountingBuffer : public std::stringbuf {
    public:
        std::size_t flushedSize = 0;

    protected:
        int sync() override
        {
            flushedSize = str().size();
            return 0;
        }
    };
    CountingBuffer buffer;
    std::ostream trace(&buffer);
    FakeClock clock;
    FakeSerialPort inner(clock);
    TracingSerialPort port(inner, clock, trace);
    ASSERT_TRUE(port.open("/dev/ttyUSB0").ok());
    EXPECT_EQ(buffer.flushedSize, buffer.str().size());
    ASSERT_TRUE(port.write(kRead).ok());
    EXPECT_EQ(buffer.flushedSize, buffer.str().size());
    EXPECT_GT(buffer.flushedSize, 0u);
}
