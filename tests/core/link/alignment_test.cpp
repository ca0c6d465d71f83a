#include "core/link/alignment.h"

#include "core/link/alignment_items.h"
#include "core/link/link_messages.h"
#include "core/link/test_channel_text.h"
#include "tests/core/link/fake_serial_port.h"
#include "tests/core/link/recording_link_ui.h"

#include <gtest/gtest.h>

#include <string>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::link::fakes;
using namespace std::chrono_literals;

namespace {

const LinkTarget kCom2 { "COM2", "/dev/ttyUSB1" };
constexpr int kModel = 3; // model code 3

Bytes text(std::string_view s) { return Bytes(s.begin(), s.end()); }

// A radio in its alignment mode, written from the radio's side: it answers every item command
// from a given attempt on with a scripted reply, and hears everything else in silence.
struct AligningRadio {
    Bytes reply { 0x03, 0x01, 0x80 };
    int answerFromAttempt = 1;
    int itemCommands = 0;

    void attach(FakeSerialPort& port)
    {
        port.setFarEnd([this](FakeSerialPort& p, const Bytes& written, Clock::TimePoint leftAt) {
            if (written.size() == 5 && std::string(written.begin(), written.begin() + 4) == "tEST") {
                ++itemCommands;
                if (itemCommands >= answerFromAttempt && !reply.empty()) p.deliver(leftAt + 5ms, reply);
            }
        });
    }
};

// The test channels: a centre channel on 145.02500 MHz receive with CTCSS 88.5 and 145.01250 MHz
// transmit (an odd count of 2.5 kHz units) with inverted CDCSS 023; the two ends are patterns.
model::AlignmentTable testTable()
{
    model::AlignmentTable t {};
    for (std::size_t i = 0; i < 16; ++i) {
        t[0][i] = static_cast<std::uint8_t>(0xA0 + i);
        t[2][i] = static_cast<std::uint8_t>(0xC0 + i);
    }
    t[1] = { 0x9A, 0xE2, 0x30, 0x85, 0x08, 0x95, 0xE2, 0x78, 0x13, 0x00, 0, 0, 0, 0, 0, 0 };
    return t;
}

struct Rig {
    FakeClock clock;
    FakeSerialPort port { clock };
    AligningRadio radio;
    RecordingLinkUi ui;
    AlignmentSession session { port, clock };
    model::AlignmentTable table = testTable();

    Rig() { radio.attach(port); }
    AlignmentStart start(int item, int modelIndex = kModel)
    {
        return session.start(kCom2, item, modelIndex, table, ui);
    }
};

Bytes packetBytes(std::initializer_list<std::uint8_t> bytes) { return Bytes(bytes); }

} // namespace

TEST(Alignment, LongReplyStartsWithOnePacketOfTheRadiosValue)
{
    Rig rig;
    rig.radio.reply = { 0x03, 0x01, 0x80 };
    const AlignmentStart started = rig.start(5);
    EXPECT_TRUE(started.success());
    EXPECT_EQ(started.value, 0x80);
    EXPECT_EQ(started.fiveKhzForm, false);
    EXPECT_TRUE(rig.ui.messages.empty());
    const std::vector<Bytes> expected {
        text("tEST5"),
        packetBytes({ 0x54, 0x9A, 0xE2, 0x30, 0x85, 0x08, 0x95, 0xE2, 0x78, 0x13, 0x00, 0x80 }),
    };
    EXPECT_EQ(rig.port.writtenChunks(), expected);
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_TRUE(rig.session.open());
    EXPECT_TRUE(rig.session.valueSent());
    EXPECT_EQ(rig.port.opened(), std::vector<std::string> { "/dev/ttyUSB1" });
}

TEST(Alignment, ShortReplySendsTheFiveKhzFormAndLeavesTheTable)
{
    Rig rig;
    rig.radio.reply = { 0x03, 0x42 };
    const AlignmentStart started = rig.start(0);
    EXPECT_TRUE(started.success());
    EXPECT_EQ(started.value, 0x42);
    EXPECT_EQ(started.fiveKhzForm, true);
    // 145.02500 MHz is 29005 units of 5 kHz; 145.01250 MHz goes to the even neighbour, 29002.
    const Bytes packet { 0x54, 0x4D, 0x71, 0x30, 0x85, 0x08, 0x4A, 0x71, 0x78, 0x13, 0x00, 0x42 };
    ASSERT_EQ(rig.port.writtenChunks().size(), 2u);
    EXPECT_EQ(rig.port.writtenChunks()[1], packet);
    EXPECT_EQ(rig.table, testTable());
}

TEST(Alignment, ReplyForms)
{
    struct Row {
        Bytes reply;
        bool success;
        std::optional<bool> fiveKhzForm;
        std::uint8_t value;
        int attempts;
    };
    const Row rows[] = {
        { { 0x03, 0x07 }, true, true, 0x07, 1 },
        { { 0x03, 0x01, 0x07 }, true, false, 0x07, 1 },
        { { 0x03, 0x01, 0x07, 0x99 }, true, false, 0x07, 1 }, // byte 3 means nothing
        { { 0x03, 0x02, 0x07 }, false, std::nullopt, 0, 1 }, // bad second byte
        { { 0x0F, 0x07 }, false, std::nullopt, 0, 1 }, // no model code is above 14
        { { 0x06, 0x01, 0x07 }, false, false, 0, 1 }, // a code with no model
        { { 0x03 }, false, std::nullopt, 0, 6 }, // one byte is no reply
        { {}, false, std::nullopt, 0, 6 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.reply));
        Rig rig;
        rig.radio.reply = row.reply;
        const AlignmentStart started = rig.start(1);
        EXPECT_EQ(started.success(), row.success);
        EXPECT_EQ(started.fiveKhzForm, row.fiveKhzForm);
        EXPECT_EQ(rig.radio.itemCommands, row.attempts);
        if (row.success) {
            EXPECT_EQ(started.value, row.value);
            EXPECT_EQ(rig.port.writtenChunks().back().back(), row.value);
            continue;
        }
        // Only item commands went out, and the port is closed behind the message.
        EXPECT_EQ(rig.port.writtenChunks(), std::vector<Bytes>(static_cast<std::size_t>(row.attempts), text("tEST1")));
        ASSERT_EQ(rig.ui.messages.size(), 1u);
        EXPECT_EQ(rig.ui.messages[0], communicationFailure(kCom2));
        EXPECT_EQ(rig.ui.messages[0].text, "COM2 端口没有响应，请确保连接正确或机器电源是否打开！");
        EXPECT_EQ(rig.ui.messages[0].title, "通讯错误");
        EXPECT_FALSE(rig.port.isOpen());
        EXPECT_FALSE(rig.session.open());
    }
}

TEST(Alignment, OneByteRepliesAreTriedSixTimesThenALateAnswerIsTaken)
{
    Rig rig;
    rig.radio.reply = { 0x03, 0x01, 0x10 };
    rig.radio.answerFromAttempt = 6;
    EXPECT_TRUE(rig.start(2).success());
    EXPECT_EQ(rig.radio.itemCommands, 6);

    Rig late;
    late.radio.answerFromAttempt = 7;
    EXPECT_FALSE(late.start(2).success());
    EXPECT_EQ(late.radio.itemCommands, 6);
}

TEST(Alignment, ModelMismatchIsToldThenCancelled)
{
    Rig rig;
    rig.radio.reply = { 0x02, 0x01, 0x33 }; // model index 2, while the image holds model 3
    std::size_t writesAtMessage = 0;
    rig.ui.onMessage = [&](const util::Message&) { writesAtMessage = rig.port.writes().size(); };
    const AlignmentStart started = rig.start(4);
    EXPECT_FALSE(started.success());
    EXPECT_TRUE(started.modelMismatch);
    EXPECT_EQ(started.fiveKhzForm, false);
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].text, "要写入的机型与当前连接的机型不符！请先读频！");
    EXPECT_EQ(rig.ui.messages[0].title, "机型错误");
    EXPECT_EQ(rig.ui.messages[0].icon, util::MessageIcon::Exclamation);
    EXPECT_EQ(writesAtMessage, 1u);
    EXPECT_EQ(rig.port.writtenChunks(), (std::vector<Bytes> { text("tEST4"), text("CANCEL") }));
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.session.open());
}

TEST(Alignment, PortThatCannotOpenIsACommunicationFailure)
{
    Rig rig;
    rig.port.failOpen("/dev/ttyUSB1", PortErrorKind::Busy);
    EXPECT_FALSE(rig.start(0).success());
    ASSERT_EQ(rig.ui.messages.size(), 1u);
    EXPECT_EQ(rig.ui.messages[0].text, "COM2 端口没有响应，请确保连接正确或机器电源是否打开！");
    EXPECT_NE(rig.ui.messages[0].detail.find("设备正被其他程序占用"), std::string::npos);
    EXPECT_TRUE(rig.port.writtenChunks().empty());

    Rig unmapped;
    EXPECT_FALSE(unmapped.session.start({ "COM3", std::nullopt }, 0, kModel, unmapped.table, unmapped.ui).success());
    ASSERT_EQ(unmapped.ui.messages.size(), 1u);
    EXPECT_EQ(unmapped.ui.messages[0].text.substr(0, 5), "COM3 ");
}

TEST(Alignment, EveryChangeAfterTheFirstPacketRepeatsTheItemCommand)
{
    Rig rig;
    ASSERT_TRUE(rig.start(5).success());
    rig.session.change(rig.table, false, 0x81);
    rig.session.change(rig.table, false, 0x86);
    const Bytes channel { 0x9A, 0xE2, 0x30, 0x85, 0x08, 0x95, 0xE2, 0x78, 0x13, 0x00 };
    const auto packet = [&](std::uint8_t value) {
        Bytes p { 0x54 };
        p.insert(p.end(), channel.begin(), channel.end());
        p.push_back(value);
        return p;
    };
    const std::vector<Bytes> expected {
        text("tEST5"),
        packet(0x80),
        text("tEST5"),
        packet(0x81),
        text("tEST5"),
        packet(0x86),
    };
    EXPECT_EQ(rig.port.writtenChunks(), expected);
    EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(Alignment, TheWaitsLastTheirTime)
{
    Rig rig;
    ASSERT_TRUE(rig.start(5).success());
    rig.session.change(rig.table, false, 0x81);
    rig.session.end(ItemEnd::Keep);
    const auto& w = rig.port.writes();
    ASSERT_EQ(w.size(), 5u); // command, packet, command, packet, END
    EXPECT_GE(w[1].at - w[0].leftAt, 200ms); // the reply is awaited
    EXPECT_GE(w[2].at - w[1].leftAt, 250ms); // the radio takes in the packet
    EXPECT_GE(w[3].at - w[2].leftAt, 200ms);
    EXPECT_GE(w[4].at - w[3].leftAt, 250ms);
    EXPECT_GE(rig.clock.now() - w[4].leftAt, 250ms);
}

TEST(Alignment, ValuesZeroAnd255)
{
    for (const std::uint8_t value : { std::uint8_t { 0 }, std::uint8_t { 255 } }) {
        SCOPED_TRACE(int { value });
        Rig rig;
        ASSERT_TRUE(rig.start(3).success());
        rig.session.change(rig.table, false, value);
        const Bytes last = rig.port.writtenChunks().back();
        ASSERT_EQ(last.size(), 12u);
        EXPECT_EQ(last[11], value);
    }
    Rig rig;
    rig.radio.reply = { 0x03, 0xFF };
    EXPECT_EQ(rig.start(3).value, 0xFF);
    EXPECT_EQ(rig.port.writtenChunks().back()[11], 0xFF);
}

TEST(Alignment, EachItemSendsItsTestChannel)
{
    for (int item = 0; item < kAlignmentItemCount; ++item) {
        SCOPED_TRACE(item);
        Rig rig;
        ASSERT_TRUE(rig.start(item).success());
        const Bytes packet = rig.port.writtenChunks().back();
        const model::Record& record = rig.table[static_cast<std::size_t>(testChannelRecord(item))];
        EXPECT_EQ(Bytes(packet.begin() + 1, packet.begin() + 11), Bytes(record.begin(), record.begin() + 10));
        EXPECT_EQ(rig.port.writtenChunks().front(), text(alignmentItemCommand(item)));
    }
    Rig high;
    ASSERT_TRUE(high.start(11).success());
    EXPECT_EQ(high.port.writtenChunks().back()[1], 0xA0);
    Rig low;
    ASSERT_TRUE(low.start(9).success());
    EXPECT_EQ(low.port.writtenChunks().back()[1], 0xC0);
}

TEST(Alignment, EndsSendTheirWordAndClose)
{
    for (const auto& [how, word] : { std::pair { ItemEnd::Keep, "END" }, std::pair { ItemEnd::Restore, "CANCEL" } }) {
        SCOPED_TRACE(word);
        Rig rig;
        ASSERT_TRUE(rig.start(7).success());
        rig.port.deliver(rig.clock.now() + 10ms, { 0x4F, 0x4B }); // whatever the radio says is not looked at
        rig.session.end(how);
        EXPECT_EQ(rig.port.writtenChunks().back(), text(word));
        EXPECT_EQ(rig.port.writtenChunks().size(), 3u);
        EXPECT_FALSE(rig.port.isOpen());
        EXPECT_FALSE(rig.session.open());
        EXPECT_TRUE(rig.ui.messages.empty());
        // A second end has no port left to talk to.
        rig.session.end(how);
        EXPECT_EQ(rig.port.writtenChunks().size(), 3u);
    }
}

TEST(Alignment, ASecondItemStartsWithoutEndingTheFirst)
{
    Rig rig;
    ASSERT_TRUE(rig.start(5).success());
    rig.session.change(rig.table, false, 0x90);
    ASSERT_TRUE(rig.start(11).success());
    const auto chunks = rig.port.writtenChunks();
    ASSERT_EQ(chunks.size(), 6u);
    EXPECT_EQ(chunks[4], text("tESTB"));
    for (const Bytes& chunk : chunks) {
        EXPECT_NE(chunk, text("END"));
        EXPECT_NE(chunk, text("CANCEL"));
    }
    // The port was closed and opened again for the new item; its first packet has no command before it.
    EXPECT_EQ(rig.port.opened().size(), 2u);
    EXPECT_EQ(rig.port.closeCount(), 1);
    EXPECT_EQ(chunks[5].size(), 12u);
    EXPECT_EQ(chunks[5][1], 0xA0);
}

TEST(TestChannelText, OfTheCentreChannel)
{
    const TestChannelText shown = testChannelText(testTable()[1]);
    EXPECT_EQ(shown.receiveFrequency, "145.02500MHz");
    EXPECT_EQ(shown.transmitFrequency, "145.01250MHz");
    EXPECT_EQ(shown.receiveSignalling, "88.5Hz (CTCSS)");
    EXPECT_EQ(shown.transmitSignalling, "-023 (CDCSS)");
}
