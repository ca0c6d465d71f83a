#include "core/model/models.h"

#include <gtest/gtest.h>

using namespace korvane::model;

TEST(Models, CodesMapBothWays)
{
    const int codes[] = { 0, 1, 2, 3, 14, 4, 5 };
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(modelCodeFromIndex(i), codes[i]);
        EXPECT_EQ(modelIndexFromCode(codes[i]), i);
    }
    for (int code = 6; code <= 13; ++code)
        EXPECT_EQ(modelIndexFromCode(code), -1) << code;
    for (int code : { -1, 15, 255, 1000 })
        EXPECT_EQ(modelIndexFromCode(code), -1) << code;
    for (int index : { -1, 7, 14 })
        EXPECT_EQ(modelCodeFromIndex(index), -1) << index;
}

TEST(Models, EntriesBandsAndLimits)
{
    const char* entries[] = { "MX-310(1)/MX-310S(1)", "MX-310(2)/MX-310S(2)", "MX-320(1)/MX-320S(1)",
                              "MX-320(2)/MX-320S(2)", "MX-320(3)/MX-320S(3)", "MX-330(1)/MX-330S(1)",
                              "MX-330(2)/MX-330S(2)" };
    const char* bands[] = { "136～150MHz", "150～174MHz", "400～420MHz", "450～470MHz",
                            "470～490MHz", "350～370MHz", "370～390MHz" };
    const std::int64_t lower[] = { 120, 120, 380, 380, 380, 330, 330 };
    const std::int64_t upper[] = { 190, 190, 510, 510, 510, 410, 410 };
    ASSERT_EQ(modelEntries().size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(modelEntries()[i], entries[i]);
        EXPECT_EQ(*modelEntry(i), entries[i]);
        EXPECT_EQ(*bandText(i), bands[i]);
        EXPECT_EQ(entryLimits(i).lowerHz, lower[i] * 1'000'000);
        EXPECT_EQ(entryLimits(i).upperHz, upper[i] * 1'000'000);
    }
    // The band texts use the full-width tilde.
    EXPECT_NE(std::string(*bandText(0)).find("\xEF\xBD\x9E"), std::string::npos);
    EXPECT_FALSE(modelEntry(-1));
    EXPECT_FALSE(bandText(7));
    // With no model, the widest limits of all families.
    EXPECT_EQ(entryLimits(-1).lowerHz, 120'000'000);
    EXPECT_EQ(entryLimits(-1).upperHz, 510'000'000);
}
