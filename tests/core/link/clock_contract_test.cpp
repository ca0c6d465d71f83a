// What every Clock must do, for the real one and the virtual one.

#include "core/link/steady_clock.h"
#include "tests/core/link/fake_clock.h"

#include <gtest/gtest.h>

using namespace korvane::link;
using namespace std::chrono_literals;

namespace {

template <class C> class ClockContract : public ::testing::Test {
protected:
    C clock;
};

using Clocks = ::testing::Types<SteadyClock, fakes::FakeClock>;
TYPED_TEST_SUITE(ClockContract, Clocks);

} // namespace

TYPED_TEST(ClockContract, PausesLastAtLeastTheirLength)
{
    const auto start = this->clock.now();
    pause(this->clock, 20ms);
    const auto waited = this->clock.now() - start;
    EXPECT_GE(waited, 20ms);
    EXPECT_LT(waited, 200ms);
}

TYPED_TEST(ClockContract, SleepingIntoThePastReturnsAtOnce)
{
    const auto start = this->clock.now();
    this->clock.sleepUntil(start - 1s);
    EXPECT_LT(this->clock.now() - start, 50ms);
    EXPECT_GE(this->clock.now(), start);
}
