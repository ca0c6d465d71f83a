// The link's operations (link/cases.txt) against a scripted radio: exchange, trace and outcome.

#include "core/fleet/fleet_round.h"
#include "core/link/alignment.h"
#include "core/link/link_steps.h"
#include "core/link/programming.h"
#include "core/link/readout.h"
#include "core/model/defaults.h"
#include "core/model/record_layout.h"
#include "core/serial/tracing_serial_port.h"
#include "tests/core/link/link_fakes.h"

#include <gtest/gtest.h>
#include <numeric>
#include <sstream>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::serial;
using namespace korvane::fleet;
using korvane::util::Clock;
using namespace korvane::link::fakes;
using model::Side;

namespace {

const LinkTarget kCom2 { "COM2", "/dev/ttyUSB1" };

struct Rig {
    FakeClock clock;
    FakeSerialPort fake { clock };
    std::ostringstream out;
    TracingSerialPort port { fake, clock, out };
    TranscriptUi ui { clock, out };
    FakeRadio radio;
    Rig() { radio.attach(fake); }
};

// The image being edited: recognisable, and not what any radio sends.
model::RadioImage userImage(int modelIndex = 0)
{
    model::RadioImage image = model::defaultImage(modelIndex);
    image.channels[5][0] = 0x42;
    image.settings[20] = 0x99;
    image.alignment[1][0] = 0x77;
    return image;
}

const char* const kEnds[] = { "Success", "Failed", "Declined", "Refused" };
std::string form(std::optional<bool> f) { return f ? (*f ? "5kHz" : "image") : "unset"; }

std::string read(Rig& rig, const model::RadioImage& before, const LinkTarget& target = kCom2)
{
    const ReadOutcome o = readRadio(before, target, rig.port, rig.clock, rig.ui);
    return std::string("read ") + kEnds[static_cast<int>(o.end)] + " form " + form(o.fiveKhzForm) + " older "
        + (o.olderRadio ? "1" : "0") + " model changed " + (o.modelChanged ? "1" : "0")
        + ", changes:" + changes(before, o.image);
}

std::string program(Rig& rig, model::RadioImage image)
{
    const model::RadioImage before = image;
    const ProgramOutcome o = programRadio(image, kCom2, rig.port, rig.clock, rig.ui);
    std::string text = std::string("program ") + kEnds[static_cast<int>(o.end)] + " form " + form(o.fiveKhzForm)
        + " older " + (o.olderRadio ? "1" : "0") + " " + sidesText(o.roundedSides);
    return text + ", changes:" + changes(before, image);
}

// One radio of a fleet round, without the check: what its row and its log say happened.
std::string fleet(Rig& rig, const model::RadioImage& image)
{
    const FleetRadioResult r = programFleetRadio(image, kCom2, rig.port, rig.clock, rig.ui, false, nullptr);
    std::string text;
    for (const std::string& line : r.outcomeLines)
        text += (text.empty() ? "" : " / ") + line;
    return text;
}

// The radio in its alignment mode answers every item command, from a given attempt on.
void aligningRadio(Rig& rig, Bytes reply, int from = 1)
{
    rig.fake.farEnd = [reply, from, n = 0, &radio = rig.radio](
                          FakeSerialPort& p, const Bytes& w, Clock::TimePoint leftAt) mutable {
        if (w.size() == 5 && w[0] == 't' && ++n >= from) radio.answer(p, leftAt, reply);
    };
}

// Centre: 145.02500 MHz receive with CTCSS 88.5, 145.01250 MHz transmit (an odd count of 2.5 kHz
// units) with inverted CDCSS 023; the two ends are patterns.
model::AlignmentTable testTable()
{
    model::AlignmentTable t {};
    for (std::size_t i = 0; i < 16; ++i)
        t[0][i] = static_cast<std::uint8_t>(0xA0 + i), t[2][i] = static_cast<std::uint8_t>(0xC0 + i);
    t[1] = { 0x9A, 0xE2, 0x30, 0x85, 0x08, 0x95, 0xE2, 0x78, 0x13, 0x00, 0, 0, 0, 0, 0, 0 };
    return t;
}

std::string start(Rig& rig, AlignmentSession& s, int item, int modelIndex = 3, const LinkTarget& target = kCom2)
{
    const AlignmentStart o = s.start(target, item, modelIndex, testTable(), rig.ui);
    return std::string("start ") + kEnds[static_cast<int>(o.end)] + " form " + form(o.fiveKhzForm) + " value "
        + std::to_string(o.value) + " mismatch " + (o.modelMismatch ? "1" : "0") + " open " + (s.open() ? "1" : "0");
}

// Older channels in the 5 kHz form: channel c receives on 450 MHz + c * 5 kHz, transmits on 460 MHz
// in 6.25 kHz units.
model::ChannelTable olderChannels()
{
    model::ChannelTable t {};
    for (int c = 0; c < 16; ++c) {
        const std::uint32_t n = 90000 + static_cast<std::uint32_t>(c);
        t[c] = { static_cast<std::uint8_t>(n & 0xFF), static_cast<std::uint8_t>(n >> 8),
            static_cast<std::uint8_t>(0x08 | (n >> 16)), 0, 0, 0x80, 0x1F, 0x0B, 0, 0, 0x01, 0, 0,
            static_cast<std::uint8_t>(c), 0, 0 };
    }
    return t;
}
// Each byte one more than the one before.
template <class T> T pattern(std::uint8_t first)
{
    T t {};
    std::iota(reinterpret_cast<std::uint8_t*>(&t), reinterpret_cast<std::uint8_t*>(&t) + sizeof t, first);
    return t;
}
Bytes older(int code) { return readoutStream(olderChannels(), pattern<model::SettingsBlock>(0x10), nullptr, code); }
Bytes newer(int code)
{
    model::ChannelTable t = model::defaultImage(4).channels;
    for (int c = 0; c < 16; ++c)
        t[c][13] = static_cast<std::uint8_t>(0xC0 + c);
    const model::ParameterTable p = pattern<model::ParameterTable>(0x80);
    return readoutStream(t, pattern<model::SettingsBlock>(0x10), &p, code);
}

std::string run(Rig& r, const std::string& op, std::map<std::string, std::string> o)
{
    const auto has = [&](const char* key) { return o.count(key) != 0; };
    const auto num = [&](const char* key, int otherwise = 0) { return has(key) ? std::stoi(o[key]) : otherwise; };
    r.radio.handshakeReply = bytesOf(o["reply"]);
    r.radio.answerFrom = num("from", 1);
    r.radio.readout = has("older") ? older(num("older")) : has("newer") ? newer(num("newer")) : Bytes {};
    if (has("cut")) r.radio.readout.resize(static_cast<std::size_t>(num("cut")));
    if (has("poke")) r.radio.readout[std::stoul(o["poke"])] = bytesOf(o["poke"].substr(o["poke"].find(':') + 1))[0];
    if (has("completion")) r.radio.completion = bytesOf(o["completion"]);
    r.radio.paced = !has("unpaced");
    if (has("stray")) r.radio.stray = bytesOf(o["stray"])[0];
    if (has("strayopen")) r.radio.strayAtOpen = bytesOf(o["strayopen"])[0];
    r.radio.late = std::chrono::milliseconds(num("lateanswer", num("latefirst")));
    r.radio.lateFirstOnly = has("latefirst");
    r.fake.bursts = std::chrono::milliseconds(num("bursts"));
    r.fake.jitter = std::chrono::milliseconds(num("jitter"));
    r.fake.callCost = std::chrono::milliseconds(num("cost"));
    if (has("noise")) r.fake.noiseFrom = Clock::TimePoint {} + std::chrono::milliseconds(num("noise"));
    if (has("busy")) r.fake.openFailures[*kCom2.device] = PortErrorKind::Busy;
    if (has("denied")) r.fake.openFailures[*kCom2.device] = PortErrorKind::PermissionDenied;
    for (char c : o["answers"])
        r.ui.answers.push_back(c == 'Y');
    const LinkTarget target = has("unmapped") ? LinkTarget { "COM4", std::nullopt } : kCom2;
    model::RadioImage image = has("default") ? model::defaultImage(num("default")) : userImage(num("image"));
    if (has("nomodel")) image.modelIndex = -1, image.unknownModelCode = 9;
    for (int p = 0; p < 10 && has("params"); ++p)
        image.parameters[p][15] = static_cast<std::uint8_t>(p);
    if (has("offgrid")) {
        int m = 0, channel = 0;
        char side = 'r';
        unsigned count = 0;
        std::sscanf(o["offgrid"].c_str(), "%d:%d:%c:%u", &m, &channel, &side, &count);
        image = model::defaultImage(m);
        model::setFrequencyCount(image.channels[channel], side == 'r' ? Side::Receive : Side::Transmit, count);
        if (has("step625"))
            model::setBit(image.channels[channel][model::flagByte(Side::Transmit)], model::kStepBit, true);
    }
    if (has("reenter"))
        r.ui.during = [&r, op] {
            r.out << "inner " << (op == "read" ? read(r, userImage()) : program(r, model::defaultImage(1))) << "\n";
        };
    if (has("late")) r.clock.late = 3ms;
    if (has("hangup")) r.fake.hangUpOnWrite = num("hangup");
    if (op == "fleet") return fleet(r, image);
    if (op == "read") return read(r, image, target);
    if (op == "program") return program(r, image);
    aligningRadio(r, r.radio.handshakeReply, r.radio.answerFrom);
    AlignmentSession s(r.port, r.clock);
    if (op == "items") {
        std::string text;
        for (int item = 0; item < 12; ++item)
            text += start(r, s, item) + "\n", s.change(testTable(), false, 0x90);
        return text + "closes " + std::to_string(r.fake.closes);
    }
    if (op == "adjust") {
        std::string text = start(r, s, num("item"), num("model", 3), target);
        for (std::size_t at = 0; has("values") && at != std::string::npos; at = o["values"].find(',', at + 1))
            s.change(testTable(), false, static_cast<std::uint8_t>(std::stoi(o["values"].substr(at ? at + 1 : 0))));
        if (has("words")) r.fake.deliver(r.clock.now() + 10ms, { 0x4F, 0x4B });
        if (has("end")) s.end(o["end"] == "keep" ? ItemEnd::Keep : ItemEnd::Restore);
        if (has("end")) s.end(ItemEnd::Keep); // a second end finds no port
        return text + ", open at the end " + std::to_string(s.open());
    }
    std::string text; // owners: one session per port at a time
    {
        LinkSession first(r.port, r.clock, kCom2), second(r.port, r.clock, kCom2), other(r.fake, r.clock, kCom2);
        text = std::to_string(first.owner()) + std::to_string(second.owner()) + std::to_string(other.owner());
        (void)first.openLink();
    }
    LinkSession later(r.port, r.clock, kCom2);
    return text + std::to_string(later.owner()) + " open " + std::to_string(r.port.isOpen());
}

// "read reply=03 older=3": the operation and its settings.
std::pair<std::string, std::map<std::string, std::string>> operation(const std::string& line)
{
    std::istringstream words(line);
    std::string op, word;
    words >> op;
    std::map<std::string, std::string> options;
    while (words >> word)
        options[word.substr(0, word.find('='))]
            = word.find('=') == std::string::npos ? "" : word.substr(word.find('=') + 1);
    return { op, options };
}

} // namespace

// A cable's faults: the case runs again without it and must end the same, with the same bytes sent.
const char* const kCableFaults[] = { "stray", "strayopen", "lateanswer", "latefirst", "bursts", "jitter" };

std::string records(const FakeSerialPort& port)
{
    std::string text;
    for (const Bytes& w : port.writes)
        if (w.size() == 12) text += hex(w) + "\n";
    return text;
}

TEST(LinkOperations, MatchTheCommittedTranscripts)
{
    std::string all;
    for (const std::string& line : caseLines("link/cases.txt")) {
        auto [op, options] = operation(line.substr(line.find(" | ") + 3));
        Rig rig;
        const std::string result = run(rig, op, options);
        if (std::any_of(std::begin(kCableFaults), std::end(kCableFaults), [&](auto f) { return options.count(f); })) {
            for (const char* fault : kCableFaults)
                options.erase(fault);
            Rig clean;
            const std::string cleanResult = run(clean, op, options);
            EXPECT_EQ(result, cleanResult) << line;
            EXPECT_EQ(records(rig.fake), records(clean.fake)) << line;
        }
        all += "== " + line + "\n" + rig.out.str() + stamp(rig.clock.elapsed()) + result
            + (rig.fake.isOpen() ? " PORT LEFT OPEN" : "") + "\n\n";
    }
    EXPECT_TRUE(korvane::test::matchesGolden("link/operations.txt", all));
}

// A fleet radio's outcome in words a dealer can act on (what was not done, what must be done again).
TEST(LinkOperations, FleetOutcomesSayWhatHappened)
{
    const std::pair<const char*, const char*> rows[] = {
        { "fleet reply=0301 default=3", "写频完成" },
        { "fleet reply=00 offgrid=0:0:r:58405 answers=N", "未写入：没有同意将2.5kHz步进的频率转换为5.0kHz步进。" },
        { "fleet reply=0001 default=1 answers=N", "未写入：机型不符，没有同意强制写入。" },
        { "fleet reply=0301 default=3 hangup=10",
            "COM2 端口没有响应，请确保连接正确或机器电源是否打开！ / COM2 = /dev/ttyUSB1：连接已断开。 / "
            "对讲机中的数据可能只写入了一部分，请重新写频。" },
        { "fleet reply= default=3", "COM2 端口没有响应，请确保连接正确或机器电源是否打开！ / COM2 = /dev/ttyUSB1" },
    };
    for (const auto& [line, expected] : rows) {
        const auto [op, options] = operation(line);
        Rig rig;
        EXPECT_EQ(run(rig, op, options), expected) << line;
    }
}
