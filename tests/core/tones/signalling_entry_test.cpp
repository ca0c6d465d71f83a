#include "core/model/signalling_entry.h"

#include <gtest/gtest.h>

using namespace korvane::model;
using korvane::util::Message;

TEST(SignallingEntry, ToneFieldTakesDigitsAndAPointUpToFiveCharacters)
{
    for (char32_t c : { U'0', U'5', U'9', U'.' }) {
        EXPECT_TRUE(ctcssKeyPasses(c, 0, false));
        EXPECT_TRUE(ctcssKeyPasses(c, 4, false));
        EXPECT_FALSE(ctcssKeyPasses(c, 5, false));
        EXPECT_TRUE(ctcssKeyPasses(c, 5, true));
    }
    for (char32_t c : { U'a', U'-', U'+', U' ', U',', U'e', U'。' })
        EXPECT_FALSE(ctcssKeyPasses(c, 0, false));
    for (char32_t c : { U'\b', U'\x01', U'\x16', U'\x1f' })
        EXPECT_TRUE(ctcssKeyPasses(c, 5, false));
}

TEST(SignallingEntry, CodeFieldTakesOctalDigitsUpToThreeCharacters)
{
    for (char32_t c = U'0'; c <= U'7'; ++c) {
        EXPECT_TRUE(cdcssKeyPasses(c, 2, false));
        EXPECT_FALSE(cdcssKeyPasses(c, 3, false));
        EXPECT_TRUE(cdcssKeyPasses(c, 3, true));
    }
    for (char32_t c : { U'8', U'9', U'.', U'a', U'-', U' ' })
        EXPECT_FALSE(cdcssKeyPasses(c, 0, false));
    EXPECT_TRUE(cdcssKeyPasses(U'\b', 3, false));
}

TEST(SignallingEntry, ToneTextsAreLimitedAndRounded)
{
    struct Row {
        const char* text;
        const char* shown;
    } rows[] = {
        { "67.0", "67.0" }, { "100", "100.0" }, { "88.5", "88.5" }, { "50", "67.0" }, { "0", "67.0" }, { "-5", "67.0" },
        { "66.99", "67.0" }, { "300", "254.1" }, { "254.1", "254.1" }, { "254.11", "254.1" },
        { "254.10000001", "254.1" }, { "254.05", "254.0" }, // halves to even
        { "88.55", "88.6" }, { "88.45", "88.4" }, { "123.", "123.0" },
        { ".5e", "67.0" }, // not a number: reset with a message
    };
    for (const Row& row : rows)
        EXPECT_EQ(checkCtcssText(row.text).text, row.shown) << row.text;
    EXPECT_FALSE(checkCtcssText("300").message);
    EXPECT_FALSE(checkCtcssText("300").keepFocus);
}

TEST(SignallingEntry, BadToneTextsAreReportedAndReset)
{
    const Message expected { "CTCSS 数据错误!", "CTCSS信令错误", korvane::util::MessageIcon::Exclamation, {} };
    for (const char* text : { "", ".", "..", "1.2.3", "abc", "67,0", " " }) {
        const FieldCheck check = checkCtcssText(text);
        EXPECT_EQ(check.text, "67.0") << text;
        ASSERT_TRUE(check.message) << text;
        EXPECT_EQ(*check.message, expected);
        EXPECT_FALSE(check.keepFocus);
    }
}

TEST(SignallingEntry, CodeTextsAreLimitedAndShownInThreeDigits)
{
    struct Row {
        const char* text;
        const char* shown;
    } rows[] = {
        { "023", "023" },
        { "23", "023" },
        { "0", "000" },
        { "754", "754" },
        { "777", "777" },
        { "7", "007" },
        { "-23", "000" },
        { "1000", "777" },
        { "23.4", "023" },
        { "23.5", "024" },
        { "24.5", "024" },
        { "0777", "777" },
    };
    for (const Row& row : rows) {
        const FieldCheck check = checkCdcssText(row.text);
        EXPECT_EQ(check.text, row.shown) << row.text;
        EXPECT_FALSE(check.message) << row.text;
    }
}

TEST(SignallingEntry, AnEmptyCodeKeepsTheFocus)
{
    const FieldCheck check = checkCdcssText("");
    EXPECT_EQ(check.text, "023");
    ASSERT_TRUE(check.message);
    EXPECT_EQ(*check.message,
        (Message { "RX CDCSS data error!", "Error CDCSS Signaling", korvane::util::MessageIcon::Exclamation, {} }));
    EXPECT_TRUE(check.keepFocus);
}

TEST(SignallingEntry, CodesThatAreNotOctalNumbersAreRefused)
{
    const Message expected { "CDCSS 数据错误!", "CDCSS信令错误", korvane::util::MessageIcon::Exclamation, {} };
    for (const char* text : { "abc", " ", "0x17", "1.2.3", "028", "089", "8", "9", "778", "7.5", "7.9" }) {
        const FieldCheck check = checkCdcssText(text);
        EXPECT_EQ(check.text, "023") << text;
        ASSERT_TRUE(check.message) << text;
        EXPECT_EQ(*check.message, expected) << text;
        EXPECT_FALSE(check.keepFocus) << text;
    }
}
