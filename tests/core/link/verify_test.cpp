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
