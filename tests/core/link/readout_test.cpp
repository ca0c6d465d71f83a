#include "core/link/readout.h"

#include "core/link/link_messages.h"
#include "core/model/defaults.h"
#include "tests/core/link/fake_radio.h"
#include "tests/core/link/recording_link_ui.h"
#include "tests/core/link/test_streams.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::link::fakes;
using namespace std::chrono_literals;

namespace {

const LinkTarget kCom2 { "COM2", "/dev/ttyUSB1" };
const Bytes kRead { 'r', 'E', 'A', 'D' };
const Bytes kOk { 'O', 'K' };

struct Rig {
    FakeClock clock;
    FakeSerialPort port { clock };
    FakeRadio radio;
    RecordingLinkUi ui;
    Rig() { radio.attach(port); }
    ReadOutcome read(const model::RadioImage& current, const LinkTarget& target = kCom2)
    {
        return readRadio(current, target, port, clock, ui);
    }
};

// The image the user is editing before the read: recognisable, and not what any radio sends.
model::RadioImage userImage()
{
    model::RadioImage image = model::defaultImage(0);
    image.channels[5][0] = 0x42;
    image.settings[20] = 0x99; // beyond what radios send: must survive a read
    image.alignment[1][0] = 0x77;
    return image;
}

// Channels of an older radio in the 5 kHz form: channel c receives on 450.000 + c * 0.005 MHz in
// 5 kHz units and transmits on 460.000 MHz in 6.25 kHz units.
model::ChannelTable olderChannels()
{
    model::ChannelTable t {};
    for (int c = 0; c < 16; ++c) {
        const std::uint32_t count = 90000 + static_cast<std::uint32_t>(c); // 450 MHz / 5 kHz
        t[c] = { static_cast<std::uint8_t>(count & 0xFF), static_cast<std::uint8_t>(count >> 8),
            static_cast<std::uint8_t>(0x08 | (count >> 16)), 0, 0, 0x80, 0x1F, 0x0B, 0, 0, 0x01, 0, 0,
            static_cast<std::uint8_t>(c), 0, 0 };
    }
    return t;
}

model::ChannelTable olderChannelsInImageForm()
{
    model::ChannelTable t = olderChannels();
    for (int c = 0; c < 16; ++c) {
        const std::uint32_t count = 2 * (90000 + static_cast<std::uint32_t>(c));
        t[c][0] = static_cast<std::uint8_t>(count & 0xFF);
        t[c][1] = static_cast<std::uint8_t>(count >> 8);
        t[c][2] = static_cast<std::uint8_t>(0x08 | (count >> 16));
        t[c][7] = 0x0D; // 6.25 kHz flag back in bit 2
    }
    return t;
}

model::SettingsBlock radioSettings()
{
    model::SettingsBlock s {};
    for (int b = 0; b < 16; ++b)
        s[b] = static_cast<std::uint8_t>(0x10 + b);
    return s;
}

model::ParameterTable radioParameters()
{
    model::ParameterTable p {};
    for (int r = 0; r < 10; ++r)
        for (int b = 0; b < 16; ++b)
            p[r][b] = static_cast<std::uint8_t>(0x80 + r * 16 + b);
    return p;
}

model::ChannelTable newerChannels()
{
    model::ChannelTable t = model::defaultImage(4).channels;
    for (int c = 0; c < 16; ++c)
        t[c][13] = static_cast<std::uint8_t>(0xC0 + c);
    return t;
}

} // namespace

TEST(Readout, OlderRadio)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x03 };
    rig.radio.readout = olderReadout(olderChannels(), radioSettings(), 3);
    ASSERT_EQ(rig.radio.readout.size(), 420u);
    const model::RadioImage before = userImage();

    const ReadOutcome out = rig.read(before);

    ASSERT_TRUE(out.success());
    EXPECT_EQ(rig.ui.messages, std::vector<util::Message> { readComplete() });
    EXPECT_EQ(rig.port.writtenChunks(), (std::vector<Bytes> { kRead, kOk }));
    EXPECT_TRUE(out.olderRadio);
    EXPECT_EQ(out.fiveKhzForm, true);
    EXPECT_TRUE(out.modelChanged);
    EXPECT_EQ(out.image.modelIndex, 3);
    EXPECT_EQ(out.image.channels, olderChannelsInImageForm());
    for (int b = 0; b < 16; ++b)
        EXPECT_EQ(out.image.settings[b], 0x10 + b);
    EXPECT_EQ(out.image.settings[20], 0x99) << "bytes the radio does not send keep their value";
    EXPECT_EQ(out.image.parameters, before.parameters) << "older radios have no parameter table";
    EXPECT_EQ(out.image.alignment, model::defaultAlignmentTable(3)) << "a new model brings its test channels";
    EXPECT_FALSE(rig.port.isOpen());
}

TEST(Readout, NewerRadioOfModelCodeFourteen)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x0E, 0x01 };
    rig.radio.readout = newerReadout(newerChannels(), radioSettings(), radioParameters(), 14);
    ASSERT_EQ(rig.radio.readout.size(), 684u);
    model::RadioImage before = userImage();
    before.modelIndex = 4;
    before.unknownModelCode = -1;

    const ReadOutcome out = rig.read(before);

    ASSERT_TRUE(out.success());
    EXPECT_FALSE(out.olderRadio);
    EXPECT_EQ(out.fiveKhzForm, false);
    EXPECT_FALSE(out.modelChanged);
    EXPECT_EQ(out.image.modelIndex, 4) << "code 14 is model index 4, converted once";
    EXPECT_EQ(out.image.channels, newerChannels()) << "newer radios send the image form";
    EXPECT_EQ(out.image.parameters, radioParameters());
    EXPECT_EQ(out.image.alignment, before.alignment) << "same model: the test channels stay";
    for (int b = 16; b < 32; ++b)
        EXPECT_EQ(out.image.settings[b], before.settings[b]) << "area 0x10/0x18 is skipped, byte " << b;
}

TEST(Readout, UnknownVersionReadsAsAnOlderRadio)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x02, 0x05 };
    // Exactly 420 bytes are enough now; a newer radio would need 684.
    rig.radio.readout = olderReadout(olderChannels(), radioSettings(), 2);
    const ReadOutcome out = rig.read(userImage());
    ASSERT_TRUE(out.success());
    EXPECT_EQ(rig.ui.messages, (std::vector<util::Message> { versionMismatch(), readComplete() }));
    EXPECT_TRUE(out.olderRadio);
    EXPECT_EQ(out.image.modelIndex, 2);
    EXPECT_EQ(out.image.channels, olderChannelsInImageForm());
}

// Silence, noise and a dropped line at every phase are the hostile sweep's part.
TEST(Readout, FailuresLeaveTheImageAlone)
{
    const util::Message comFail2 = communicationFailure(kCom2);
    struct Row {
        std::string name;
        std::function<void(Rig&)> setup;
        LinkTarget target;
        util::Message message;
        std::vector<Bytes> written;
    };
    const auto older = [](int code) { return olderReadout(olderChannels(), radioSettings(), code); };
    const std::vector<Row> rows {
        { "model code above 14", [](Rig& r) { r.radio.handshakeReply = { 0x0F }; }, kCom2, comFail2, { kRead } },
        { "model code 0xFF, newer",
            [](Rig& r) {
                r.radio.handshakeReply = { 0xFF, 0x01 };
            },
            kCom2, comFail2, { kRead } },
        { "no device behind the number", [](Rig&) {}, LinkTarget { "COM4", std::nullopt },
            communicationFailure(LinkTarget { "COM4", std::nullopt }), {} },
        { "permission denied", [](Rig& r) { r.port.failOpen("/dev/ttyUSB1", PortErrorKind::PermissionDenied); }, kCom2,
            communicationFailure(kCom2, PortError { PortErrorKind::PermissionDenied, "/dev/ttyUSB1", "", "dialout" }),
            {} },
        { "busy", [](Rig& r) { r.port.failOpen("/dev/ttyUSB1", PortErrorKind::Busy); }, kCom2,
            communicationFailure(kCom2, PortError { PortErrorKind::Busy, "", "", "" }), {} },
        { "419 bytes from an older radio",
            [&](Rig& r) {
                r.radio.handshakeReply = { 0x03 };
                r.radio.readout = older(3);
                r.radio.readout.pop_back();
            },
            kCom2, readError(), { kRead, kOk } },
        { "no data at all", [](Rig& r) { r.radio.handshakeReply = { 0x03 }; }, kCom2, readError(), { kRead, kOk } },
        { "683 bytes from a newer radio",
            [&](Rig& r) {
                r.radio.handshakeReply = { 0x03, 0x01 };
                r.radio.readout = newerReadout(newerChannels(), radioSettings(), radioParameters(), 3);
                r.radio.readout.resize(683);
            },
            kCom2, readError(), { kRead, kOk } },
        { "model code 6 has no model",
            [&](Rig& r) {
                r.radio.handshakeReply = { 0x03 };
                r.radio.readout = older(6);
            },
            kCom2, readError(), { kRead, kOk } },
        { "a record that does not fit",
            [&](Rig& r) {
                r.radio.handshakeReply = { 0x03 };
                r.radio.readout = older(3);
                r.radio.readout[2] = 0x09; // channel 0 from byte 9: runs past byte 15
            },
            kCom2, readError(), { kRead, kOk } },
    };
    for (const Row& row : rows) {
        Rig rig;
        row.setup(rig);
        const model::RadioImage before = userImage();
        const ReadOutcome out = rig.read(before, row.target);
        EXPECT_EQ(out.end, LinkEnd::Failed) << row.name;
        EXPECT_EQ(out.image, before) << row.name;
        EXPECT_FALSE(out.fiveKhzForm) << row.name;
        EXPECT_EQ(rig.ui.messages, std::vector<util::Message> { row.message }) << row.name;
        EXPECT_EQ(rig.port.writtenChunks(), row.written) << row.name;
        EXPECT_FALSE(rig.port.isOpen()) << row.name;
        EXPECT_FALSE(rig.ui.progressShowing) << row.name;
    }
}

TEST(Readout, ProgressFollowsTheData)
{
    struct Row {
        std::string name;
        Bytes reply;
        Bytes data;
        int polls;
    };
    const Bytes olderData = olderReadout(olderChannels(), radioSettings(), 3);
    const Bytes newerData = newerReadout(newerChannels(), radioSettings(), radioParameters(), 14);
    // The data start 5 ms after "OK" has left and take 11/9600 s a byte.
    const Row rows[] = {
        { "older: 420 bytes in about 0.49 s", { 0x03 }, olderData, 10 },
        { "newer: 684 bytes in about 0.79 s", { 0x0E, 0x01 }, newerData, 16 },
        { "nothing comes", { 0x03 }, {}, 55 },
    };
    for (const Row& row : rows) {
        Rig rig;
        rig.radio.handshakeReply = row.reply;
        rig.radio.readout = row.data;
        rig.read(userImage());
        std::vector<int> want;
        for (int k = 1; k <= row.polls; ++k)
            want.push_back(11 * (k - 1));
        EXPECT_EQ(rig.ui.progressValues, want) << row.name;
        ASSERT_GE(rig.ui.events.size(), 3u) << row.name;
        EXPECT_EQ(rig.ui.events[0], "open:读频:正在从手持机中读取数据 ...") << row.name;
        EXPECT_EQ(rig.ui.events[1], "close") << row.name;
    }
}

TEST(Readout, KeepsGoingWhenTheRadioNeverStops)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x03 };
    rig.radio.readout = olderReadout(olderChannels(), radioSettings(), 3);
    rig.radio.paced = false;
    rig.port.setCallCost(2ms);
    // After its read-out the radio chatters on for ever.
    rig.port.sendForever(FakeClock::kStart + 100ms);
    const ReadOutcome out = rig.read(userImage());
    // The chatter lands in the stream after the records; stray bytes are skipped.
    EXPECT_TRUE(out.success());
    EXPECT_LT(rig.clock.elapsed(), 3s);
}

TEST(Readout, SameModelKeepsTheTestChannels)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x00 };
    rig.radio.readout = olderReadout(olderChannels(), radioSettings(), 0);
    const model::RadioImage before = userImage();
    const ReadOutcome out = rig.read(before);
    ASSERT_TRUE(out.success());
    EXPECT_FALSE(out.modelChanged);
    EXPECT_EQ(out.image.alignment, before.alignment);
}

TEST(Readout, AnImageWithoutModelTakesTheRadiosModel)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x01, 0x01 };
    rig.radio.readout = newerReadout(newerChannels(), radioSettings(), radioParameters(), 1);
    model::RadioImage before = userImage();
    before.modelIndex = -1;
    before.unknownModelCode = 9;
    const ReadOutcome out = rig.read(before);
    ASSERT_TRUE(out.success());
    EXPECT_TRUE(out.modelChanged);
    EXPECT_EQ(out.image.modelIndex, 1);
    EXPECT_EQ(out.image.unknownModelCode, -1);
    EXPECT_EQ(out.image.alignment, model::defaultAlignmentTable(1));
}

TEST(Readout, IsNeverReentered)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x02, 0x05 };
    rig.radio.readout = olderReadout(olderChannels(), radioSettings(), 2);
    std::optional<ReadOutcome> inner;
    rig.ui.onMessage = [&](const util::Message& m) {
        if (m == versionMismatch()) inner = rig.read(userImage());
    };
    const ReadOutcome out = rig.read(userImage());
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->end, LinkEnd::Refused);
    EXPECT_TRUE(out.success());
    EXPECT_EQ(rig.port.writtenChunks(), (std::vector<Bytes> { kRead, kOk }));
    EXPECT_EQ(rig.ui.messages, (std::vector<util::Message> { versionMismatch(), readComplete() }));
}

TEST(Readout, TakesAboutOneSecondFromARadioThatAnswersAtOnce)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x03 };
    rig.radio.readout = olderReadout(olderChannels(), radioSettings(), 3);
    ASSERT_TRUE(rig.read(userImage()).success());
    // rEAD, 0.08 s, OK, ten polls of 0.05 s.
    EXPECT_EQ(rig.clock.elapsed(), 4 * kByteTime + 80ms + 2 * kByteTime + 10 * 50ms);
}

// A busy machine wakes every sleep a little late. The looks at the stream keep their beat all
// the same: the tenth comes half a second after the go-ahead, not ten late wake-ups after that.
TEST(Readout, LateWakeUpsDoNotAddUp)
{
    class LateClock final : public Clock {
    public:
        explicit LateClock(FakeClock& inner)
            : m_inner(inner)
        {
        }
        TimePoint now() override { return m_inner.now(); }
        void sleepUntil(TimePoint deadline) override { m_inner.sleepUntil(deadline + 3ms); }

    private:
        FakeClock& m_inner;
    };
    Rig rig;
    rig.radio.handshakeReply = { 0x03 };
    rig.radio.readout = olderReadout(olderChannels(), radioSettings(), 3);
    LateClock late(rig.clock);
    ASSERT_TRUE(readRadio(userImage(), kCom2, rig.port, late, rig.ui).success());
    // rEAD, 0.08 s and a late wake-up, OK, ten looks of which only the last wakes late.
    EXPECT_EQ(rig.clock.elapsed(), 4 * kByteTime + 80ms + 3ms + 2 * kByteTime + 10 * 50ms + 3ms);
}
