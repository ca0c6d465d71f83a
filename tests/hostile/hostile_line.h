#pragma once
// A radio or cable that misbehaves at one chosen point of an exchange, and watchdogs that turn a
// link operation stuck in a loop into a failed test instead of a hung one.
//
// The far end plays the radio properly up to the chosen phase, then does one of six bad things:
// a long burst of garbage, a single garbage byte and then silence, nothing at all, a dropped
// line (as the phase begins or halfway through its wait), or endless noise. Once it has
// misbehaved it says nothing more of its own.

#include "core/link/clock.h"
#include "core/link/serial_port.h"
#include "tests/core/link/fake_clock.h"
#include "tests/core/link/fake_serial_port.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace korvane::link::hostile {

using fakes::FakeClock;
using fakes::FakeSerialPort;
using fakes::kByteTime;
using fakes::WrittenBytes;

enum class Misbehaviour {
    Garbage, // a long burst of bytes that mean nothing
    ShortGarbage, // one byte that means nothing, then silence
    Nothing, // silence from here on
    DropAtStart, // the line drops as the phase begins
    DropMidway, // the line drops while the program waits in the phase
    EndlessNoise, // one byte per byte time, for ever
};

inline constexpr Misbehaviour kAllMisbehaviours[] = { Misbehaviour::Garbage, Misbehaviour::ShortGarbage,
    Misbehaviour::Nothing, Misbehaviour::DropAtStart, Misbehaviour::DropMidway, Misbehaviour::EndlessNoise };

inline bool drops(Misbehaviour m) { return m == Misbehaviour::DropAtStart || m == Misbehaviour::DropMidway; }

// The garbage a broken radio sends: the same bytes on every run. Its first byte is no model code
// and not the "O" of a completion, and no byte is 0x03, so it never carries a model record; it
// does hold record start bytes (0x57) to lead the stream parser astray.
inline Bytes garbage(std::size_t length)
{
    Bytes bytes(length);
    std::uint32_t state = 0x2545F491u;
    for (std::size_t i = 0; i < length; ++i) {
        state = state * 1664525u + 1013904223u;
        std::uint8_t b = static_cast<std::uint8_t>(state >> 24);
        if (b == 0x03) b = 0x57;
        bytes[i] = b;
    }
    if (length > 0) bytes[0] = 0xF3;
    return bytes;
}

inline constexpr std::size_t kGarbageBurst = 800; // longer than any read-out

// Thrown by the watchdogs: a loop ran far past every wait the protocol has.
struct Hang : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Far past any protocol bound in fake time, and more clock or port calls than any exchange makes.
inline constexpr Clock::Duration kHangTime = std::chrono::seconds(120);
inline constexpr long kHangCalls = 2'000'000;

class WatchedClock final : public Clock {
public:
    explicit WatchedClock(FakeClock& inner)
        : m_inner(inner)
    {
    }
    TimePoint now() override
    {
        check();
        return m_inner.now();
    }
    void sleepUntil(TimePoint deadline) override
    {
        check();
        m_inner.sleepUntil(deadline);
    }

private:
    void check()
    {
        if (++m_calls > kHangCalls) throw Hang("the clock was read " + std::to_string(m_calls) + " times");
        if (m_inner.elapsed() > kHangTime) throw Hang("fake time ran past " + std::to_string(kHangTime.count()));
    }

    FakeClock& m_inner;
    long m_calls = 0;
};

// The fake port behind a call counter; notes when the program first met the dropped line, and
// can stall its output or fail one call of any kind.
class WatchedPort final : public SerialPort {
public:
    WatchedPort(FakeSerialPort& inner, FakeClock& clock)
        : m_inner(inner)
        , m_clock(clock)
    {
    }

    std::optional<Clock::TimePoint> firstDropSeen() const { return m_firstDropSeen; }
    // From the given write (1-based) on, the port takes bytes but never lets them leave: a
    // stalled adapter. The drain returns as if all were well.
    void stallFromWrite(int n) { m_stallFrom = n; }
    // The given call (1-based, closing not counted) fails once, as a driver does on an I/O error.
    void failCall(long n) { m_failCall = n; }
    long calls() const { return m_calls; }

    PortStatus open(const std::string& device) override
    {
        if (auto e = injected()) return *e;
        return note(m_inner.open(device));
    }
    void close() override
    {
        watchdog();
        m_inner.close();
    }
    bool isOpen() const override { return m_inner.isOpen(); }
    PortStatus write(std::span<const std::uint8_t> bytes) override
    {
        if (auto e = injected()) return *e;
        ++m_writes;
        return note(m_inner.write(bytes));
    }
    PortStatus drain() override
    {
        if (auto e = injected()) return *e;
        if (stalled()) return kPortOk;
        return note(m_inner.drain());
    }
    PortResult<std::size_t> transmitCount() override
    {
        if (auto e = injected()) return *e;
        if (stalled()) return std::size_t { 1 };
        return note(m_inner.transmitCount());
    }
    PortResult<std::size_t> receiveCount() override
    {
        if (auto e = injected()) return *e;
        return note(m_inner.receiveCount());
    }
    PortResult<Bytes> takeInput() override
    {
        if (auto e = injected()) return *e;
        return note(m_inner.takeInput());
    }
    PortStatus discardInput() override
    {
        if (auto e = injected()) return *e;
        return note(m_inner.discardInput());
    }
    PortStatus discardOutput() override
    {
        if (auto e = injected()) return *e;
        return note(m_inner.discardOutput());
    }

    static PortError injectedError() { return PortError { PortErrorKind::Other, "", "Input/output error", {} }; }

private:
    bool stalled() const { return m_stallFrom > 0 && m_writes >= m_stallFrom; }
    void watchdog() const
    {
        if (m_calls > kHangCalls) throw Hang("the port was called " + std::to_string(m_calls) + " times");
        if (m_clock.elapsed() > kHangTime) throw Hang("fake time ran past the watchdog");
    }
    std::optional<PortError> injected()
    {
        ++m_calls;
        watchdog();
        if (m_calls == m_failCall) return injectedError();
        return std::nullopt;
    }
    template <class R> R note(R result)
    {
        if (!result && result.error().kind == PortErrorKind::LineDropped && !m_firstDropSeen)
            m_firstDropSeen = m_clock.now();
        return result;
    }

    FakeSerialPort& m_inner;
    FakeClock& m_clock;
    long m_calls = 0;
    long m_failCall = 0;
    int m_writes = 0;
    int m_stallFrom = 0;
    std::optional<Clock::TimePoint> m_firstDropSeen;
};

// What the far end does at its chosen moment; `at` is when its answer would have begun,
// `waitMidpoint` a moment inside the program's wait that follows.
inline void misbehave(FakeSerialPort& port, Misbehaviour m, Clock::TimePoint at, Clock::TimePoint waitMidpoint)
{
    switch (m) {
    case Misbehaviour::Garbage:
        port.deliver(at, garbage(kGarbageBurst));
        return;
    case Misbehaviour::ShortGarbage:
        port.deliver(at, garbage(1));
        return;
    case Misbehaviour::Nothing:
        return;
    case Misbehaviour::DropAtStart:
        port.hangUpAt(at);
        return;
    case Misbehaviour::DropMidway:
        port.hangUpAt(waitMidpoint);
        return;
    case Misbehaviour::EndlessNoise:
        port.sendForever(at);
        return;
    }
}

// Its reply starts this long after the program's bytes have left.
inline constexpr Clock::Duration kTurnAround = std::chrono::milliseconds(5);

} // namespace korvane::link::hostile
