#include "sim/line_pacer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace korvane::sim;
using namespace std::chrono_literals;

TEST(LinePacer, EachByteTakesElevenBitsAt9600Baud)
{
    LinePacer line;
    const TimePoint t0 = TimePoint {} + 1h;
    const std::vector<std::uint8_t> bytes(684, 0x57);
    line.queue(bytes, t0);
    // 684 x 11 / 9600 s = 0.78375 s exactly, without rounding creeping in byte by byte.
    EXPECT_EQ(line.duration(684), 783'750'000ns);
    EXPECT_TRUE(line.takeDue(t0).empty());
    EXPECT_EQ(line.nextDue(), t0 + 1'145'833ns);
    EXPECT_EQ(line.takeDue(t0 + 1'145'833ns).size(), 1u);
    EXPECT_EQ(line.takeDue(t0 + 783'749'999ns).size(), 682u);
    EXPECT_EQ(line.nextDue(), t0 + 783'750'000ns);
    EXPECT_EQ(line.takeDue(t0 + 783'750'000ns).size(), 1u);
    EXPECT_TRUE(line.empty());
    EXPECT_FALSE(line.nextDue());
}

TEST(LinePacer, BytesQueuedWhileBusyFollowOn)
{
    LinePacer line;
    const TimePoint t0 = TimePoint {} + 1h;
    line.queue(std::vector<std::uint8_t> { 1, 2 }, t0);
    line.queue(std::vector<std::uint8_t> { 3 }, t0 + 1ms); // the line is still busy
    // The third byte ends three byte times after t0, not one byte time after it was queued.
    EXPECT_EQ(line.takeDue(t0 + 2'291'666ns), (std::vector<std::uint8_t> { 1, 2 }));
    EXPECT_EQ(line.nextDue(), t0 + 3'437'500ns);
}

TEST(LinePacer, AnIdleLineStartsAfresh)
{
    LinePacer line;
    const TimePoint t0 = TimePoint {} + 1h;
    line.queue(std::vector<std::uint8_t> { 1 }, t0);
    line.takeDue(t0 + 5ms);
    line.queue(std::vector<std::uint8_t> { 2 }, t0 + 5ms);
    EXPECT_EQ(line.nextDue(), t0 + 5ms + 1'145'833ns);
}

TEST(LinePacer, NoPaceDeliversAtOnce)
{
    LinePacer line(0);
    const TimePoint t0 = TimePoint {} + 1h;
    line.queue(std::vector<std::uint8_t>(684, 1), t0);
    EXPECT_EQ(line.takeDue(t0).size(), 684u);
    EXPECT_EQ(line.duration(684), 0ns);
}

TEST(LinePacer, ClearForgetsEverything)
{
    LinePacer line;
    const TimePoint t0 = TimePoint {} + 1h;
    line.queue(std::vector<std::uint8_t>(10, 1), t0);
    line.clear();
    EXPECT_TRUE(line.empty());
    line.queue(std::vector<std::uint8_t> { 1 }, t0 + 1ms);
    EXPECT_EQ(line.nextDue(), t0 + 1ms + 1'145'833ns);
}
