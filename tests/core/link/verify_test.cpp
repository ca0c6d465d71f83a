#include "core/link/verify.h"

#include "core/model/defaults.h"
#include "core/model/models.h"
#include "core/model/record_layout.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::link;
using model::Side;

namespace {

// Model 3's defaults with a parameter table and channels of their own.
model::RadioImage writtenImage()
{
    model::RadioImage image = model::defaultImage(3);
    for (int c = 0; c < model::kChannelCount; ++c) {
        model::setBit(image.channels[c][model::flagByte(Side::Receive)], model::kStepBit, false);
        model::setFrequencyCount(image.channels[c], Side::Receive, 58400 + 4 * static_cast<std::uint32_t>(c));
        image.channels[c][11] = static_cast<std::uint8_t>(c);
    }
    for (int p = 0; p < model::kParameterRecords; ++p)
        image.parameters[p][p] = static_cast<std::uint8_t>(0x10 + p);
    return image;
}

} // namespace

TEST(Verify, WhatIsCompared)
{
    struct Row {
        const char* what;
        Generation generation;
        void (*change)(model::RadioImage& readBack);
        std::vector<VerifyDifference> expected;
    };
    const model::RadioImage written = writtenImage();
    const std::uint8_t rx0 = written.channels[0][0];
    const Row rows[] = {
        { "the same, newer", Generation::Newer, [](model::RadioImage&) {}, {} },
        { "the same, older", Generation::Older, [](model::RadioImage&) {}, {} },
        { "a transmit frequency byte", Generation::Newer, [](model::RadioImage& r) { r.channels[2][5] ^= 0x01; },
            { { VerifyArea::Channel, 2, 5, written.channels[2][5],
                static_cast<std::uint8_t>(written.channels[2][5] ^ 1) } } },
        { "the last byte of the last channel", Generation::Older,
            [](model::RadioImage& r) { r.channels[15][15] = 0x77; },
            { { VerifyArea::Channel, 15, 15, written.channels[15][15], 0x77 } } },
        { "settings bytes 0 to 15 are sent", Generation::Older, [](model::RadioImage& r) { r.settings[7] = 0x99; },
            { { VerifyArea::Settings, 0, 7, written.settings[7], 0x99 } } },
        { "settings bytes 16 to 31 are not", Generation::Newer, [](model::RadioImage& r) { r.settings[16] ^= 0xFF; },
            {} },
        { "the alignment test channels are not", Generation::Newer,
            [](model::RadioImage& r) { r.alignment[1][0] ^= 0xFF; }, {} },
        { "the parameter table goes to newer radios", Generation::Newer,
            [](model::RadioImage& r) { r.parameters[9][15] = 0xAB; },
            { { VerifyArea::Parameter, 9, 15, written.parameters[9][15], 0xAB } } },
        { "and not to older ones", Generation::Older, [](model::RadioImage& r) { r.parameters[9][15] = 0xAB; }, {} },
        { "the model, once although newer radios get it twice", Generation::Newer,
            [](model::RadioImage& r) { r.modelIndex = 4; }, { { VerifyArea::Model, 0, 0, 0x03, 0x0E } } },
        { "the model of an older radio", Generation::Older, [](model::RadioImage& r) { r.modelIndex = 0; },
            { { VerifyArea::Model, 0, 0, 0x03, 0x00 } } },
        // Channel 1 receives on 146.0000 MHz: 58400 units of 2.5 kHz.
        { "newer radios hold the 2.5 kHz count", Generation::Newer,
            [](model::RadioImage& r) { model::setFrequencyCount(r.channels[0], Side::Receive, 58401); },
            { { VerifyArea::Channel, 0, 0, rx0, static_cast<std::uint8_t>(rx0 + 1) } } },
        { "older radios hold the 5 kHz count: one unit of 2.5 kHz is no difference there", Generation::Older,
            [](model::RadioImage& r) { model::setFrequencyCount(r.channels[0], Side::Receive, 58401); }, {} },
        { "two units are one of 5 kHz", Generation::Older,
            [](model::RadioImage& r) { model::setFrequencyCount(r.channels[0], Side::Receive, 58402); },
            { { VerifyArea::Channel, 0, 0, static_cast<std::uint8_t>(29200 & 0xFF),
                static_cast<std::uint8_t>(29201 & 0xFF) } } },
        { "in sending order", Generation::Newer,
            [](model::RadioImage& r) {
                r.modelIndex = 0;
                r.parameters[0][0] = 0x01;
                r.settings[12] = 0x00;
                r.channels[1][10] = 0xFF;
                r.channels[1][3] = 0xFF;
            },
            { { VerifyArea::Channel, 1, 3, written.channels[1][3], 0xFF },
                { VerifyArea::Channel, 1, 10, written.channels[1][10], 0xFF },
                { VerifyArea::Settings, 0, 12, written.settings[12], 0x00 },
                { VerifyArea::Parameter, 0, 0, written.parameters[0][0], 0x01 },
                { VerifyArea::Model, 0, 0, 0x03, 0x00 } } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        model::RadioImage readBack = written;
        row.change(readBack);
        EXPECT_EQ(compareProgrammed(written, readBack, row.generation), row.expected);
    }
}

TEST(Verify, NothingIsSentForAnImageWithoutModel)
{
    model::RadioImage written = writtenImage();
    written.modelIndex = -1;
    model::RadioImage readBack = written;
    readBack.channels[0][0] ^= 0xFF;
    EXPECT_TRUE(compareProgrammed(written, readBack, Generation::Newer).empty());
}

TEST(Verify, Messages)
{
    struct Row {
        VerifyDifference difference;
        std::string text;
    };
    const Row rows[] = {
        { { VerifyArea::Channel, 2, 5, 0x12, 0x13 }, "校验失败：信道 3 字节 5（发射频率）：写入 0x12，读回 0x13" },
        { { VerifyArea::Channel, 0, 2, 0x08, 0x00 },
            "校验失败：信道 1 字节 2（接收频率高位、步进、信道开启、接收信令类型）：写入 0x08，读回 0x00" },
        { { VerifyArea::Channel, 15, 14, 0xAB, 0xCD }, "校验失败：信道 16 字节 14：写入 0xAB，读回 0xCD" },
        { { VerifyArea::Settings, 0, 7, 0x06, 0x09 }, "校验失败：设置区 字节 7（发射限时）：写入 0x06，读回 0x09" },
        { { VerifyArea::Settings, 0, 4, 0x00, 0x01 }, "校验失败：设置区 字节 4：写入 0x00，读回 0x01" },
        { { VerifyArea::Parameter, 9, 15, 0x00, 0xFF }, "校验失败：参数记录 10 字节 15：写入 0x00，读回 0xFF" },
        { { VerifyArea::Model, 0, 0, 0x0E, 0x01 }, "校验失败：机型代码：写入 0x0E，读回 0x01" },
    };
    for (const Row& row : rows) {
        const util::Message message = verifyDifferenceMessage(row.difference);
        EXPECT_EQ(message.text, row.text);
        EXPECT_EQ(message.title, "校验失败");
        EXPECT_EQ(message.icon, util::MessageIcon::Exclamation);
    }
    EXPECT_EQ(verifyPassed().text, "校验通过：读回的数据与写入的一致。");
    EXPECT_EQ(verifyPassed().icon, util::MessageIcon::None);
    EXPECT_EQ(verifyReadFailed().text, "校验失败：无法读回对讲机中的数据。");
    EXPECT_EQ(verifyReadFailed().icon, util::MessageIcon::Exclamation);
}

TEST(Verify, FieldNames)
{
    struct Row {
        VerifyArea area;
        int byte;
        std::string_view name;
    };
    const Row rows[] = {
        { VerifyArea::Channel, 0, "接收频率" },
        { VerifyArea::Channel, 1, "接收频率" },
        { VerifyArea::Channel, 3, "接收信令码" },
        { VerifyArea::Channel, 4, "接收信令码" },
        { VerifyArea::Channel, 6, "发射频率" },
        { VerifyArea::Channel, 7, "发射频率高位、步进、允许发射、发射信令类型" },
        { VerifyArea::Channel, 9, "发射信令码" },
        { VerifyArea::Channel, 10, "频率宽度、时钟偏移、繁忙锁定、扫描选择" },
        { VerifyArea::Channel, 11, "接收双音编号" },
        { VerifyArea::Channel, 12, "发射双音编号" },
        { VerifyArea::Channel, 13, "" },
        { VerifyArea::Channel, 16, "" },
        { VerifyArea::Settings, 0, "监听、扫描模式" },
        { VerifyArea::Settings, 1, "恢复信道" },
        { VerifyArea::Settings, 2, "优先信道" },
        { VerifyArea::Settings, 3, "回扫周期" },
        { VerifyArea::Settings, 6, "扫描停留时间" },
        { VerifyArea::Settings, 11, "静噪等级" },
        { VerifyArea::Settings, 12, "提示音、省电功能、信道宽度" },
        { VerifyArea::Settings, 15, "" },
        { VerifyArea::Settings, 20, "" },
        { VerifyArea::Parameter, 0, "" },
        { VerifyArea::Model, 0, "机型代码" },
    };
    for (const Row& row : rows)
        EXPECT_EQ(verifyFieldName(row.area, row.byte), row.name) << static_cast<int>(row.area) << " " << row.byte;
}
