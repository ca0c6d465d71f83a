#include "core/link/link_steps.h"

#include "tests/core/link/fake_radio.h"

#include <gtest/gtest.h>

using namespace korvane::link;
using namespace korvane::link::fakes;
using namespace std::chrono_literals;

namespace {

const LinkTarget kCom1 { "COM1", "/dev/ttyUSB0" };
const Bytes kRead { 'r', 'E', 'A', 'D' };

struct Rig {
    FakeClock clock;
    FakeSerialPort port { clock };
    FakeRadio radio;
    Rig() { radio.attach(port); }
};

} // namespace

TEST(LinkSteps, HandshakeRetriesUntilTheRadioAnswers)
{
    struct Row {
        std::string name;
        Bytes reply;
        int answerFrom;
        int attempts;
        Bytes result;
    };
    const Row rows[] = {
        { "first attempt", { 0x03, 0x01 }, 1, 1, { 0x03, 0x01 } },
        { "sixth attempt", { 0x03 }, 6, 6, { 0x03 } },
        { "too late", { 0x03 }, 7, 6, {} },
        { "silent", {}, 1, 6, {} },
    };
    for (const Row& row : rows) {
        Rig rig;
        rig.radio.handshakeReply = row.reply;
        rig.radio.answerFromAttempt = row.answerFrom;
        LinkSession link(rig.port, rig.clock, kCom1);
        ASSERT_TRUE(link.openLink()) << row.name;
        const auto reply = link.handshake("rEAD");
        ASSERT_TRUE(reply) << row.name;
        EXPECT_EQ(*reply, row.result) << row.name;
        EXPECT_EQ(rig.port.writtenChunks(), std::vector<Bytes>(static_cast<std::size_t>(row.attempts), kRead))
            << row.name;
    }
}

TEST(LinkSteps, SilentPortTakesAboutHalfASecond)
{
    Rig rig;
    LinkSession link(rig.port, rig.clock, kCom1);
    ASSERT_TRUE(link.openLink());
    ASSERT_TRUE(link.handshake("rEAD"));
    // Six times: four bytes on the line, then 0.08 s.
    EXPECT_EQ(rig.clock.elapsed(), 6 * (4 * kByteTime + 80ms));
    // Each attempt starts only after the previous one's pause.
    const auto& w = rig.port.writes();
    for (std::size_t i = 1; i < w.size(); ++i)
        EXPECT_EQ(w[i].at - w[i - 1].leftAt, 80ms);
}

TEST(LinkSteps, PausesStartOnceTheBytesHaveLeft)
{
    Rig rig;
    LinkSession link(rig.port, rig.clock, kCom1);
    ASSERT_TRUE(link.openLink());
    const Bytes record(12, 0x57);
    ASSERT_TRUE(link.send(record));
    ASSERT_TRUE(link.waitSent());
    EXPECT_EQ(rig.clock.elapsed(), 12 * kByteTime);
    EXPECT_EQ(*rig.port.transmitCount(), 0u);
    link.pause(100ms);
    EXPECT_EQ(rig.clock.elapsed(), 12 * kByteTime + 100ms);
}

TEST(LinkSteps, TakeReplyIsBoundedWhenTheRadioNeverStops)
{
    Rig rig;
    LinkSession link(rig.port, rig.clock, kCom1);
    ASSERT_TRUE(link.openLink());
    rig.port.deliver(rig.clock.now(), { 0x01, 0x02 }, false);
    rig.port.sendForever(rig.clock.now() + 1ms);
    rig.port.setCallCost(2ms); // longer than a byte: every look finds more
    const auto reply = link.takeReply();
    ASSERT_TRUE(reply);
    EXPECT_EQ(Bytes(reply->begin(), reply->begin() + 2), (Bytes { 0x01, 0x02 }));
    EXPECT_GE(rig.clock.elapsed(), kTakeReplySettleLimit);
    EXPECT_LE(rig.clock.elapsed(), kTakeReplySettleLimit + 20ms);
}

TEST(LinkSteps, TakeReplyOnAQuietLineCostsNoTime)
{
    Rig rig;
    LinkSession link(rig.port, rig.clock, kCom1);
    ASSERT_TRUE(link.openLink());
    rig.port.deliver(rig.clock.now(), { 0x4F, 0x4B }, false);
    const auto reply = link.takeReply();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, (Bytes { 0x4F, 0x4B }));
    EXPECT_EQ(rig.clock.elapsed(), 0ms);
}

TEST(LinkSteps, TakeReplyThrowsAwayBytesThatFollowWhileItLooks)
{
    Rig rig;
    LinkSession link(rig.port, rig.clock, kCom1);
    ASSERT_TRUE(link.openLink());
    rig.port.deliver(rig.clock.now(), { 0x03 }, false);
    rig.port.deliver(rig.clock.now(), { 0x09, 0x09, 0x09 }, true); // still arriving
    rig.port.setCallCost(kByteTime);
    const auto reply = link.takeReply();
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, (Bytes { 0x03, 0x09 }));
    EXPECT_LT(rig.clock.elapsed(), 20ms);
    rig.port.setCallCost({});
    rig.clock.advance(1s);
    EXPECT_EQ(*rig.port.receiveCount(), 0u) << "the rest of the burst was thrown away";
}

TEST(LinkSteps, OpenLinkNeedsADevice)
{
    Rig rig;
    LinkSession link(rig.port, rig.clock, LinkTarget { "COM2", std::nullopt });
    const auto opened = link.openLink();
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().kind, PortErrorKind::NoSuchDevice);
    EXPECT_TRUE(rig.port.opened().empty());
}

TEST(LinkSteps, PortFailuresComeBackAsErrors)
{
    Rig rig;
    rig.port.failOpen("/dev/ttyUSB0", PortErrorKind::Busy);
    {
        LinkSession link(rig.port, rig.clock, kCom1);
        const auto opened = link.openLink();
        ASSERT_FALSE(opened);
        EXPECT_EQ(opened.error().kind, PortErrorKind::Busy);
    }
    Rig dropping;
    dropping.port.hangUpOnWrite(2);
    LinkSession link(dropping.port, dropping.clock, kCom1);
    ASSERT_TRUE(link.openLink());
    const auto reply = link.handshake("rEAD");
    ASSERT_FALSE(reply);
    EXPECT_EQ(reply.error().kind, PortErrorKind::LineDropped);
}

TEST(LinkSteps, OneSessionPerPortAtATime)
{
    Rig rig;
    {
        LinkSession first(rig.port, rig.clock, kCom1);
        ASSERT_TRUE(first.owner());
        ASSERT_TRUE(first.openLink());
        LinkSession second(rig.port, rig.clock, kCom1);
        EXPECT_FALSE(second.owner());
        FakeSerialPort other(rig.clock);
        LinkSession elsewhere(other, rig.clock, kCom1);
        EXPECT_TRUE(elsewhere.owner());
    }
    EXPECT_FALSE(rig.port.isOpen()) << "the session closes the port on its way out";
    LinkSession later(rig.port, rig.clock, kCom1);
    EXPECT_TRUE(later.owner());
}
