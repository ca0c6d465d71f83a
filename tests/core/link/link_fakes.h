#pragma once
// The link's stand-ins: a fake clock, a 9600 baud port, a scripted radio, a transcript UI, read-outs.

#include "core/link/link_ui.h"
#include "core/model/radio_image.h"
#include "core/serial/serial_port.h"
#include "core/util/clock.h"
#include "support/golden_match.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvane::link::fakes {

using namespace std::chrono_literals;
using korvane::test::bytesOf;
using korvane::test::hex;

class FakeClock final : public util::Clock {
public:
    TimePoint now() override { return m_now; }
    Duration late {}; // every sleep wakes this much late, as on a busy machine
    void sleepUntil(TimePoint deadline) override
    {
        if (deadline + late > m_now) m_now = deadline + late;
        if (m_now - TimePoint {} > 120s || ++m_sleeps > 1'000'000) throw std::runtime_error("hung: the clock");
    }
    void advance(Duration d) { m_now += d; }
    Duration elapsed() const { return m_now - TimePoint {}; }

private:
    TimePoint m_now {};
    long m_sleeps = 0;
};

inline constexpr util::Clock::Duration kByteTime = std::chrono::nanoseconds(11'000'000'000LL / 9600);

// The lines of a committed case file under tests/data, without blank lines and comments.
inline std::vector<std::string> caseLines(const std::string& name)
{
    std::istringstream in(korvane::test::dataFile(name));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    return lines;
}

inline std::string stamp(util::Clock::Duration d)
{
    char text[32];
    std::snprintf(text, sizeof text, "%11.6f ", std::chrono::duration<double>(d).count());
    return text;
}

class FakeSerialPort final : public serial::SerialPort {
public:
    using FarEnd = std::function<void(FakeSerialPort&, const serial::Bytes& written, util::Clock::TimePoint leftAt)>;
    explicit FakeSerialPort(FakeClock& clock)
        : m_clock(clock)
    {
    }

    FarEnd farEnd;
    std::map<std::string, serial::PortErrorKind> openFailures;
    util::Clock::Duration callCost {}; // every call takes this long, so bytes arrive between two calls
    int hangUpOnWrite = 0; // the line drops as this write (1-based) is made
    int stallFromWrite = 0; // from this write on, bytes never leave while drain says all is well
    // The first call of this kind after this many writes fails once (keyed by phase, not by count).
    using CallKey = std::pair<std::size_t, std::string>;
    std::optional<CallKey> failAt;
    std::set<CallKey> callsMade; // every kind of call made, by the writes before it
    std::optional<util::Clock::TimePoint> hangUpAt, noiseFrom; // noise: one byte per byte time, for ever
    std::optional<util::Clock::TimePoint> firstDropSeen;
    // Bytes reach the program in bursts this far apart, each up to `jitter` late (a USB adapter).
    util::Clock::Duration bursts {}, jitter {};
    std::function<void(FakeSerialPort&, util::Clock::TimePoint)> onOpen;
    std::vector<serial::Bytes> writes;
    std::vector<std::string> opened;
    int closes = 0;
    long calls = 0;

    // Bytes arriving from `start`, one per byte time when paced (after what the radio still sends).
    void deliver(util::Clock::TimePoint start, const serial::Bytes& bytes, bool paced = true)
    {
        if (paced) start = std::max(start, m_farLineFreeAt);
        for (std::uint8_t b : bytes) {
            start += paced ? kByteTime : util::Clock::Duration {};
            m_incoming.emplace_back(bursts > util::Clock::Duration {} ? burstOf(start) : start, b);
        }
        if (paced) m_farLineFreeAt = start;
        std::stable_sort(m_incoming.begin(), m_incoming.end(), [](auto& a, auto& b) { return a.first < b.first; });
    }
    static serial::PortError injectedError() { return serial::PortError { serial::PortErrorKind::Other, "", "Input/output error", {} }; }

    serial::PortStatus open(const std::string& device) override
    {
        close();
        if (auto e = check("open", false)) return *e;
        opened.push_back(device);
        if (auto it = openFailures.find(device); it != openFailures.end())
            return serial::PortError { it->second, device, "scripted failure",
                it->second == serial::PortErrorKind::PermissionDenied ? "dialout" : "" };
        m_open = true;
        m_incoming.clear();
        m_lineFreeAt = m_farLineFreeAt = m_clock.now();
        if (onOpen) onOpen(*this, m_clock.now());
        return serial::kPortOk;
    }
    void close() override { closes += m_open ? 1 : 0, m_open = false; }
    bool isOpen() const override { return m_open; }
    serial::PortStatus write(std::span<const std::uint8_t> bytes) override
    {
        if (hangUpOnWrite > 0 && static_cast<int>(writes.size()) + 1 >= hangUpOnWrite && !hangUpAt)
            hangUpAt = m_clock.now();
        if (auto e = check("write")) return *e;
        const util::Clock::TimePoint start = std::max(m_clock.now(), m_lineFreeAt);
        m_lineFreeAt = start + static_cast<long>(bytes.size()) * kByteTime;
        writes.emplace_back(bytes.begin(), bytes.end());
        if (farEnd) farEnd(*this, writes.back(), m_lineFreeAt);
        return serial::kPortOk;
    }
    serial::PortStatus drain() override
    {
        if (auto e = check("drain")) return *e;
        if (!stalled()) m_clock.sleepUntil(m_lineFreeAt);
        return serial::kPortOk;
    }
    serial::PortResult<std::size_t> transmitCount() override
    {
        if (auto e = check("transmit count")) return *e;
        if (stalled()) return std::size_t { 1 };
        if (m_lineFreeAt <= m_clock.now()) return std::size_t { 0 };
        return static_cast<std::size_t>((m_lineFreeAt - m_clock.now() + kByteTime - 1ns) / kByteTime);
    }
    serial::PortResult<std::size_t> receiveCount() override
    {
        if (auto e = check("receive count")) return *e;
        const auto now = m_clock.now();
        return static_cast<std::size_t>(std::count_if(m_incoming.begin(), m_incoming.end(), [&](const auto& p) {
            return p.first <= now;
        })) + noise();
    }
    serial::PortResult<serial::Bytes> takeInput() override
    {
        if (auto e = check("take input")) return *e;
        return takeArrived();
    }
    serial::PortStatus discardInput() override
    {
        if (auto e = check("discard input")) return *e;
        takeArrived();
        return serial::kPortOk;
    }
    serial::PortStatus discardOutput() override
    {
        if (auto e = check("discard output")) return *e;
        m_lineFreeAt = std::min(m_lineFreeAt, m_clock.now());
        return serial::kPortOk;
    }

private:
    util::Clock::TimePoint burstOf(util::Clock::TimePoint at)
    {
        const util::Clock::TimePoint tick { (at.time_since_epoch() + bursts - 1ns) / bursts * bursts };
        if (tick != m_lastTick) {
            m_lastTick = tick;
            m_random = m_random * 1664525u + 1013904223u;
            const auto late = jitter.count() > 0 ? util::Clock::Duration { (m_random >> 8) % jitter.count() } : util::Clock::Duration {};
            m_tickDue = std::max(tick + late, m_tickDue);
        }
        return m_tickDue;
    }
    serial::Bytes takeArrived()
    {
        serial::Bytes taken;
        for (; !m_incoming.empty() && m_incoming.front().first <= m_clock.now(); m_incoming.pop_front())
            taken.push_back(m_incoming.front().second);
        const std::size_t n = noise();
        taken.insert(taken.end(), n, std::uint8_t { 0x55 });
        m_noiseTaken += n;
        return taken;
    }
    bool stalled() const { return stallFromWrite > 0 && static_cast<int>(writes.size()) >= stallFromWrite; }
    std::size_t noise() const
    {
        if (!noiseFrom || m_clock.now() < *noiseFrom) return 0;
        return static_cast<std::size_t>((m_clock.now() - *noiseFrom) / kByteTime) - m_noiseTaken;
    }
    std::optional<serial::PortError> check(const char* kind, bool mustBeOpen = true)
    {
        if (++calls > 2'000'000) throw std::runtime_error("hung: the port was called two million times");
        m_clock.advance(callCost);
        const CallKey key { writes.size(), kind };
        if (callsMade.insert(key).second && failAt == key) return injectedError();
        if (!mustBeOpen) return std::nullopt;
        if (!m_open) return serial::PortError { serial::PortErrorKind::NotOpen, "", "not open", {} };
        if (!hangUpAt || m_clock.now() < *hangUpAt) return std::nullopt;
        if (!firstDropSeen) firstDropSeen = m_clock.now();
        return serial::PortError { serial::PortErrorKind::LineDropped, "", "hung up", {} };
    }

    FakeClock& m_clock;
    std::deque<std::pair<util::Clock::TimePoint, std::uint8_t>> m_incoming;
    std::size_t m_noiseTaken = 0;
    util::Clock::TimePoint m_lineFreeAt {}, m_farLineFreeAt {};
    util::Clock::TimePoint m_lastTick {}, m_tickDue {};
    std::uint32_t m_random = 0x2545F491u;
    bool m_open = false;
};

// A radio answering the handshake (from an attempt, maybe late or after a stray byte), then its data.
struct FakeRadio {
    serial::Bytes handshakeReply;
    int answerFrom = 1;
    serial::Bytes readout;
    serial::Bytes completion { 'O', 'K' };
    bool paced = true;
    int attempts = 0, records = 0;
    std::optional<std::uint8_t> stray, strayAtOpen; // 8 ms before the first answer, or at the open
    util::Clock::Duration late {}; // the answers come this much late
    bool lateFirstOnly = false;
    bool answeredSinceOpen = false;

    // An answer to a handshake command that left at `leftAt`.
    void answer(FakeSerialPort& p, util::Clock::TimePoint leftAt, const serial::Bytes& bytes)
    {
        util::Clock::TimePoint at = leftAt + 5ms + (lateFirstOnly && answeredSinceOpen ? util::Clock::Duration {} : late);
        if (stray && !answeredSinceOpen) p.deliver(leftAt + 5ms - kByteTime, { *stray }), at += 8ms;
        answeredSinceOpen = true;
        p.deliver(at, bytes, paced);
    }

    void attach(FakeSerialPort& port)
    {
        port.onOpen = [this](FakeSerialPort& p, util::Clock::TimePoint at) {
            answeredSinceOpen = false;
            if (strayAtOpen) p.deliver(at, { *strayAtOpen });
        };
        port.farEnd = [this](FakeSerialPort& p, const serial::Bytes& w, util::Clock::TimePoint leftAt) {
            const std::string text(w.begin(), w.end());
            const util::Clock::TimePoint at = leftAt + 5ms;
            if ((text == "rEAD" || text == "pROGRAM") && ++attempts >= answerFrom) answer(p, leftAt, handshakeReply);
            if (text == "OK") p.deliver(at, readout, paced);
            if (w.size() == 12 && w[0] == 0x57 && ++records == (handshakeReply.size() == 1 ? 35 : 56))
                p.deliver(at, completion, paced);
        };
    }
};

inline std::string sidesText(const std::vector<ChannelSide>& sides)
{
    std::string text = "rounded";
    for (const ChannelSide& s : sides)
        text += " " + std::to_string(s.channel) + (s.side == model::Side::Receive ? "rx" : "tx");
    return text;
}

// Writes every message, question and progress window into the transcript, stamped like a trace.
class TranscriptUi final : public LinkUi {
public:
    TranscriptUi(FakeClock& clock, std::ostream& out)
        : m_clock(clock)
        , m_out(out)
    {
    }
    std::deque<bool> answers; // a question beyond them is answered No and marked
    std::function<void()> during; // runs inside the first message or question
    std::function<std::string(const util::Message&)> render = show;
    bool progressShowing = false;

    static std::string show(const util::Message& m)
    {
        return m.text + " | " + m.title + " | " + std::to_string(static_cast<int>(m.icon)) + " | " + m.detail;
    }
    void showMessage(const util::Message& m) override
    {
        line(std::string(progressShowing ? "MESSAGE OVER PROGRESS " : "message ") + render(m));
        runDuring();
    }
    bool askYesNo(const util::Message& q) override
    {
        const bool yes = !answers.empty() && answers.front();
        line("question " + render(q) + (answers.empty() ? " -> UNEXPECTED" : yes ? " -> Yes" : " -> No"));
        if (!answers.empty()) answers.pop_front();
        runDuring();
        return yes;
    }
    void progressOpen(const std::string& caption, const std::string& label) override
    {
        line("progress " + caption + " | " + label + (progressShowing ? " TWICE" : ""));
        progressShowing = true;
        m_values.clear();
    }
    void progressValue(int value) override { m_values += " " + std::to_string(value); }
    void progressClose() override
    {
        line("progress closed, values" + m_values);
        progressShowing = false;
    }
    void channelsRounded(const std::vector<ChannelSide>& sides) override { line(sidesText(sides)); }

private:
    void line(const std::string& text) { m_out << stamp(m_clock.elapsed()) << text << '\n'; }
    void runDuring()
    {
        if (auto f = std::exchange(during, nullptr)) f();
    }
    FakeClock& m_clock;
    std::ostream& m_out;
    std::string m_values;
};

// Every record that differs, as it is afterwards.
inline std::string changes(const model::RadioImage& a, const model::RadioImage& b)
{
    std::string text;
    const auto table = [&](const char* name, const auto& x, const auto& y) {
        for (std::size_t r = 0; r < x.size(); ++r)
            if (x[r] != y[r]) text += std::string("\n  ") + name + " " + std::to_string(r) + ": " + hex(y[r]);
    };
    table("channel", a.channels, b.channels);
    table("parameter", a.parameters, b.parameters);
    table("alignment", a.alignment, b.alignment);
    if (a.settings != b.settings) text += "\n  settings: " + hex(b.settings);
    if (a.modelIndex != b.modelIndex || a.unknownModelCode != b.unknownModelCode)
        text += "\n  model " + std::to_string(b.modelIndex) + " code " + std::to_string(b.unknownModelCode);
    return text.empty() ? " none" : text;
}

// Read-out streams: records in halves, settings head, (newer) two unkept records and parameters, model.
inline void appendHalves(serial::Bytes& s, std::uint8_t kind, std::uint8_t address, const model::Record& r)
{
    for (int h = 0; h < 2; ++h) {
        s.insert(s.end(), { 0x57, kind, static_cast<std::uint8_t>(address + 8 * h), 8 });
        s.insert(s.end(), r.begin() + 8 * h, r.begin() + 8 * h + 8);
    }
}

inline serial::Bytes readoutStream(const model::ChannelTable& channels, const model::SettingsBlock& settings,
    const model::ParameterTable* parameters, int code)
{
    serial::Bytes s;
    for (int c = 0; c < 16; ++c)
        appendHalves(s, 0x00, static_cast<std::uint8_t>(c * 16), channels[c]);
    model::Record head {};
    std::copy(settings.begin(), settings.begin() + 16, head.begin());
    appendHalves(s, 0x02, 0x00, head);
    if (parameters) {
        model::Record neverKept;
        neverKept.fill(0xEE);
        appendHalves(s, 0x02, 0x10, neverKept);
        for (int p = 0; p < 10; ++p)
            appendHalves(s, 0x02, static_cast<std::uint8_t>((p + 2) * 16), (*parameters)[p]);
    }
    s.insert(s.end(), { 0x57, 0x03, 0xD8, 8, static_cast<std::uint8_t>(code), 0, 0, 0, 0, 0, 0, 0 });
    return s;
}

} // namespace korvane::link::fakes
