#include "core/model/frequency_entry.h"

#include "core/model/frequency_codec.h"

#include <gtest/gtest.h>

using namespace korvane::model;

namespace {

Record recordWithStep(bool step625, std::uint8_t upper = 0x38)
{
    Record r {};
    r[2] = static_cast<std::uint8_t>(upper | (step625 ? 0x04 : 0));
    r[7] = r[2];
    return r;
}

std::string committed(std::string_view text, int model, bool step625)
{
    Record r = recordWithStep(step625);
    enterFrequency(text, r, Side::Receive, model);
    EXPECT_EQ(r[2] & 0xFC, (0x38 | (step625 ? 0x04 : 0))) << "flag bits kept";
    return formatFrequency(r, Side::Receive);
}

} // namespace

TEST(FrequencyEntry, CommitLimitsSnapsAndStores)
{
    struct Row {
        const char* text;
        int model;
        bool step625;
        const char* stored;
    } rows[] = {
        { "200", 0, false, "189.99750" },
        { "200", 0, true, "189.99375" },
        { "190", 1, false, "189.99750" },
        { "189.9975", 0, false, "189.99750" },
        { "189.999", 0, false, "189.99750" }, // would round up onto the upper limit itself
        { "189.997", 1, true, "189.99375" },
        { "509.99999", 4, false, "509.99750" },
        { "509.999295", -1, false, "509.99750" },
        { "", 2, false, "380.00000" },
        { "", 0, true, "120.00000" },
        { "", 5, false, "330.00000" },
        { "abc", 3, true, "380.00000" },
        { "1.2.3", 0, false, "120.00000" },
        { "119.99999", 0, false, "120.00000" },
        { "145.003", 0, true, "145.00000" }, // 23200.48 steps
        { "145.00313", 0, true, "145.00625" },
        { "145.00125", 0, false, "145.00000" }, // 58000.5 steps: halves to even
        { "145.00375", 0, false, "145.00500" }, // 58001.5 steps
        { "145.001250001", 0, false, "145.00250" }, // just above the half
        { "600", 4, false, "509.99750" },
        { "410", 6, true, "409.99375" },
        { "99999999999999999999", 2, true, "509.99375" },
        { "600", -1, false, "509.99750" }, // no model: the widest limits
        { "100", -1, false, "120.00000" },
    };
    for (const Row& row : rows)
        EXPECT_EQ(committed(row.text, row.model, row.step625), row.stored) << row.text << " model " << row.model;
}

TEST(FrequencyEntry, CommitReturnsTheStoredHertz)
{
    Record r = recordWithStep(false);
    EXPECT_EQ(enterFrequency("146.0125", r, Side::Transmit, 0), 146'012'500);
    EXPECT_EQ(frequencyCount(r, Side::Transmit), 58405u);
    EXPECT_EQ(frequencyCount(r, Side::Receive), 0u);
}

TEST(FrequencyEntry, StepUpAndDownStayOnTheStepAndInRange)
{
    struct Row {
        const char* text;
        const char* step;
        int model;
        int direction;
        const char* result;
    } rows[] = {
        { "145.001", "2.50", 0, +1, "145.00250" },
        { "145.001", "2.50", 0, -1, "144.99750" },
        { "189.99750", "2.50", 0, +1, "189.99750" },
        { "189.99375", "6.25", 1, +1, "189.99375" },
        { "120.00000", "2.50", 0, -1, "120.00000" },
        { "120.00000", "6.25", 0, -1, "120.00000" },
        { "380.00000", "6.25", 2, -1, "380.00000" },
        { "509.99375", "6.25", 3, +1, "509.99375" },
        { "330", "2.50", 5, -1, "330.00000" },
        { "409.9975", "2.50", 6, +1, "409.99750" },
        { "410.00000", "6.25", 2, +1, "410.00625" },
        { "5", "2.50", 0, +1, "120.00000" },
        { "145.00125", "2.50", 0, +1, "145.00250" }, // from 58000 (half to even), one step up
    };
    for (const Row& row : rows) {
        const auto out = row.direction > 0 ? stepUp(row.text, row.step, row.model) : stepDown(row.text, row.step, row.model);
        ASSERT_TRUE(out) << row.text;
        EXPECT_EQ(*out, row.result) << row.text << " " << row.step << " " << row.direction;
    }
}

TEST(FrequencyEntry, SteppingANonNumberIsAnError)
{
    EXPECT_FALSE(stepUp("", "2.50", 0));
    EXPECT_FALSE(stepDown("12a", "2.50", 0));
    EXPECT_FALSE(stepUp("145", "", 0));
    EXPECT_FALSE(stepUp("145", "0", 0));
    const auto m = frequencyDataError();
    EXPECT_EQ(m.text, "频率数据错误！");
    EXPECT_EQ(m.title, "数据错误");
    EXPECT_EQ(m.icon, korvane::util::MessageIcon::Question);
}

TEST(FrequencyEntry, StepToggleSnapsToTheNewStepInsideTheRange)
{
    struct Row {
        const char* shown;
        bool newStep625;
        int model;
        const char* text;
        std::uint32_t count;
    } rows[] = {
        { "140.00250", true, 0, "140.00000", 22400 },
        { "140.00000", false, 0, "140.00000", 56000 },
        { "145.00625", false, 0, "145.00500", 58002 }, // 58002.5 rounds to 58002
        { "145.01875", false, 0, "145.02000", 58008 }, // 58007.5 rounds to 58008
        { "189.99750", true, 0, "189.99375", 30399 }, // 190.00000 would leave the range
        { "509.99750", true, 4, "509.99375", 81599 },
        { "380.00000", true, 2, "380.00000", 60800 },
    };
    for (const Row& row : rows) {
        Record r = recordWithStep(row.newStep625, 0x58);
        EXPECT_EQ(snapFrequencyToStep(row.shown, r, Side::Transmit, row.model), row.text) << row.shown;
        EXPECT_EQ(frequencyCount(r, Side::Transmit), row.count) << row.shown;
        EXPECT_EQ(r[7] & 0xFC, 0x58 | (row.newStep625 ? 0x04 : 0));
    }
}
