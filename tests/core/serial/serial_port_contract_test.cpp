// What every SerialPort does that the link relies on, as one table of behaviours run against the
// POSIX port on a pseudo-terminal, the tracing port over it and the fake every link transcript
// runs on: the fake may tell the link nothing the real port would not.

#include "core/serial/posix_serial_port.h"
#include "core/serial/tracing_serial_port.h"
#include "core/util/steady_clock.h"
#include "tests/core/link/link_fakes.h"
#include "tests/core/serial/pty.h"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <thread>

using namespace korvane::serial;
using korvane::link::fakes::FakeClock;
using korvane::link::fakes::FakeSerialPort;
using korvane::test::hex;
using namespace std::chrono_literals;

namespace {

const std::string kMissing = "/dev/korvane-no-such-tty";

// A port with the far end of its line in the test's hands.
class Line {
public:
    virtual ~Line() = default;
    virtual SerialPort& port() = 0;
    virtual std::string device() const = 0;
    virtual void send(const Bytes& bytes) = 0; // the far end sends
    virtual Bytes heard() = 0; // what the far end has heard since
    virtual void hangUp() = 0;
    virtual void pause() = 0; // bytes on their way arrive
};

class PtyLine : public Line {
public:
    SerialPort& port() override { return m_port; }
    std::string device() const override { return m_pty.device; }
    void send(const Bytes& bytes) override { m_pty.send(bytes); }
    Bytes heard() override { return m_pty.heard(); }
    void hangUp() override { m_pty.hangUp(); }
    void pause() override { std::this_thread::sleep_for(5ms); }

private:
    korvane::test::Pty m_pty;
    PosixSerialPort m_port;
};

// Writing everything down changes nothing on the line.
class TracedPtyLine final : public PtyLine {
public:
    SerialPort& port() override { return m_tracing; }

private:
    korvane::util::SteadyClock m_clock;
    std::ostringstream m_trace;
    TracingSerialPort m_tracing { PtyLine::port(), m_clock, m_trace };
};

class FakeLine final : public Line {
public:
    FakeLine()
    {
        m_port.farEnd = [this](FakeSerialPort&, const Bytes& w, auto) {
            m_heard.insert(m_heard.end(), w.begin(), w.end());
        };
        m_port.openFailures[kMissing] = PortErrorKind::NoSuchDevice;
    }
    SerialPort& port() override { return m_port; }
    std::string device() const override { return "/dev/ttyUSB0"; }
    void send(const Bytes& bytes) override { m_port.deliver(m_clock.now(), bytes); }
    Bytes heard() override { return std::exchange(m_heard, {}); }
    void hangUp() override { m_port.hangUpAt = m_clock.now(); }
    void pause() override { m_clock.advance(5ms); }

private:
    FakeClock m_clock;
    FakeSerialPort m_port { m_clock };
    Bytes m_heard;
};

std::string got(const PortError& e)
{
    static const char* const kinds[] = { "no such device", "permission denied", "busy", "line dropped", "not open",
        "other" };
    return kinds[static_cast<int>(e.kind)];
}
std::string got(const PortStatus& r) { return r ? "ok" : got(r.error()); }
std::string got(const PortResult<std::size_t>& r) { return r ? std::to_string(*r) : got(r.error()); }
std::string got(const PortResult<Bytes>& r) { return r ? "[" + hex(*r) + "]" : got(r.error()); }
std::string state(const SerialPort& port) { return port.isOpen() ? "open" : "closed"; }

// The receive count once `n` bytes are in, or as it stands when they do not come.
std::string arrived(Line& line, std::size_t n)
{
    auto count = line.port().receiveCount();
    for (int i = 0; i < 400 && count && *count < n; ++i)
        line.pause(), count = line.port().receiveCount();
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
    std::function<void(Line&, SerialPort&, std::ostream&)> run;
    std::string expected;
};

const Behaviour kBehaviours[] = {
    { "a new port is closed and refuses every call",
        [](Line&, SerialPort& p, std::ostream& out) { out << state(p) << ", " << everyCall(p); },
        "closed, every call not open" },
    { "a missing device does not open; the port it was to replace is closed",
        [](Line& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(kMissing)) << ", " << got(p.open(l.device())) << " " << got(p.open(kMissing)) << ", "
                << state(p);
        },
        "no such device, ok no such device, closed" },
    { "open, open again, close twice",
        [](Line& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device())) << " " << got(p.open(l.device())) << " " << state(p) << ", ";
            p.close();
            out << state(p) << " ";
            p.close();
            out << state(p) << ", " << everyCall(p);
        },
        "ok ok open, closed closed, every call not open" },
    { "written bytes leave: none wait, discarding output drops none, the far end hears them",
        [](Line& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device())) << " " << got(p.write(Bytes { 'r', 'E', 'A', 'D' })) << " "
                << got(p.drain()) << ", waiting " << got(p.transmitCount()) << ", discard " << got(p.discardOutput())
                << ", heard " << hex(l.heard());
        },
        "ok ok ok, waiting 0, discard ok, heard 72 45 41 44" },
    { "arriving bytes are counted and taken whole (none is special), or discarded",
        [](Line& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device())) << ", ";
            l.send({ 0x03, 0x01, 0x00, 0xFF, 0x0D, 0x0A, 0x11, 0x13 });
            out << arrived(l, 8) << " " << got(p.takeInput()) << ", then " << got(p.receiveCount()) << " "
                << got(p.takeInput()) << "; ";
            l.send({ 1, 2, 3 });
            out << arrived(l, 3) << " discard " << got(p.discardInput()) << ", then " << got(p.receiveCount()) << " "
                << got(p.takeInput());
        },
        "ok, 8 [03 01 00 FF 0D 0A 11 13], then 0 []; 3 discard ok, then 0 []" },
    { "opening again drops what was waiting",
        [](Line& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device())) << ", ";
            l.send({ 1, 2, 3 });
            out << arrived(l, 3) << " " << got(p.open(l.device())) << ", then " << got(p.receiveCount());
        },
        "ok, 3 ok, then 0" },
    { "after a hang-up every call finds the line dropped, even with a byte waiting; the port still closes",
        [](Line& l, SerialPort& p, std::ostream& out) {
            out << got(p.open(l.device())) << ", ";
            l.send({ 7 });
            out << arrived(l, 1) << ", ";
            l.hangUp();
            l.pause();
            out << everyCall(p) << ", " << state(p) << ", ";
            p.close();
            out << state(p);
        },
        "ok, 1, every call line dropped, open, closed" },
};

struct Implementation {
    const char* name;
    std::function<std::unique_ptr<Line>()> make;
};
void PrintTo(const Implementation& implementation, std::ostream* out) { *out << implementation.name; }

class SerialPortContract : public ::testing::TestWithParam<Implementation> { };

TEST_P(SerialPortContract, DoesWhatTheLinkReliesOn)
{
    for (const Behaviour& behaviour : kBehaviours) {
        const std::unique_ptr<Line> line = GetParam().make();
        std::ostringstream out;
        behaviour.run(*line, line->port(), out);
        EXPECT_EQ(out.str(), behaviour.expected) << behaviour.name;
    }
}

INSTANTIATE_TEST_SUITE_P(, SerialPortContract,
    ::testing::Values(Implementation { "Posix", [] { return std::make_unique<PtyLine>(); } },
        Implementation { "TracingOverPosix", [] { return std::make_unique<TracedPtyLine>(); } },
        Implementation { "Fake", [] { return std::make_unique<FakeLine>(); } }),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
