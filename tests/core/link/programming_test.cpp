#include "core/link/programming.h"

#include "core/link/link_messages.h"
#include "core/model/defaults.h"
#include "tests/core/link/fake_radio.h"
#include "tests/core/link/recording_link_ui.h"

#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::link;
using namespace korvane::link::fakes;
using namespace std::chrono_literals;
using model::Side;

namespace {

const LinkTarget kCom1 { "COM1", "/dev/ttyUSB0" };
const Bytes kProgram { 'p', 'R', 'O', 'G', 'R', 'A', 'M' };

struct Rig {
    FakeClock clock;
    FakeSerialPort port { clock };
    FakeRadio radio;
    RecordingLinkUi ui;
    Rig() { radio.attach(port); }
    ProgramOutcome program(model::RadioImage& image) { return programRadio(image, kCom1, port, clock, ui); }
    std::vector<Bytes> recordsSent() const
    {
        std::vector<Bytes> chunks = port.writtenChunks();
        return chunks.empty() ? chunks : std::vector<Bytes>(chunks.begin() + 1, chunks.end());
    }
};

// A channel 0 receiving on 146.0125 MHz: an odd count of 2.5 kHz units (the channel is closed).
model::RadioImage imageOffTheGrid(int modelIndex)
{
    model::RadioImage image = model::defaultImage(modelIndex);
    model::setFrequencyCount(image.channels[0], Side::Receive, 58405);
    return image;
}

Bytes record(std::uint8_t kind, std::uint8_t address, const std::uint8_t* data)
{
    Bytes r { 0x57, kind, address, 0x08 };
    r.insert(r.end(), data, data + 8);
    return r;
}

} // namespace

TEST(Programming, NewerRadioGetsFiftySixRecords)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x03, 0x01 };
    model::RadioImage image = model::defaultImage(3);
    for (int p = 0; p < 10; ++p)
        image.parameters[p][15] = static_cast<std::uint8_t>(p);
    const model::RadioImage before = image;

    const ProgramOutcome out = rig.program(image);

    ASSERT_TRUE(out.success());
    EXPECT_EQ(image, before);
    EXPECT_EQ(out.fiveKhzForm, false);
    EXPECT_TRUE(out.roundedSides.empty());
    EXPECT_EQ(rig.ui.messages, std::vector<util::Message> { writeComplete() });
    const auto sent = rig.recordsSent();
    ASSERT_EQ(rig.port.writtenChunks().front(), kProgram);
    ASSERT_EQ(sent.size(), 56u);
    for (int r = 0; r < 32; ++r)
        EXPECT_EQ(sent[r], record(0x00, static_cast<std::uint8_t>(8 * r), image.channels[r / 2].data() + 8 * (r % 2)));
    EXPECT_EQ(sent[32], record(0x02, 0x00, image.settings.data()));
    EXPECT_EQ(sent[33], record(0x02, 0x08, image.settings.data() + 8));
    for (int r = 34; r < 54; ++r)
        EXPECT_EQ(sent[r],
            record(0x02, static_cast<std::uint8_t>(8 * (r - 30)), image.parameters[(r - 34) / 2].data() + 8 * (r % 2)));
    EXPECT_EQ(sent[54], (Bytes { 0x57, 0x03, 0xD8, 0x08, 0x03, 0, 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(sent[55], sent[54]);

    std::vector<int> progress;
    for (int r = 0; r < 56; ++r)
        progress.push_back(10 * r);
    progress.push_back(600);
    EXPECT_EQ(rig.ui.progressValues, progress);
    EXPECT_EQ(rig.ui.events.front(), "open:写频:正在向手持机中写入数据 ...");
    EXPECT_EQ(rig.ui.events, (std::vector<std::string> { rig.ui.events.front(), "close", "message" }));
    EXPECT_FALSE(rig.port.isOpen());
}

TEST(Programming, OlderRadioGetsThirtyFiveRecordsInFiveKilohertzForm)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x00 };
    model::RadioImage image = model::defaultImage(0); // 140 MHz: 56000 in 2.5 kHz units
    // 146.00625 MHz in 6.25 kHz units is not off the 5 kHz grid: no question, converted only.
    model::setFrequencyCount(image.channels[1], Side::Transmit, 23361);
    model::setBit(image.channels[1][model::flagByte(Side::Transmit)], model::kStepBit, true);
    const model::RadioImage before = image;

    const ProgramOutcome out = rig.program(image);

    ASSERT_TRUE(out.success());
    EXPECT_TRUE(rig.ui.questions.empty());
    EXPECT_EQ(image, before) << "the image keeps the image form";
    EXPECT_EQ(out.fiveKhzForm, true);
    EXPECT_TRUE(out.olderRadio);
    const auto sent = rig.recordsSent();
    ASSERT_EQ(sent.size(), 35u);
    // 28000 = 0x6D60 in 5 kHz units.
    EXPECT_EQ(sent[0], (Bytes { 0x57, 0x00, 0x00, 0x08, 0x60, 0x6D, 0x00, 0x00, 0x00, 0x60, 0x6D, 0x08 }));
    // Channel 1 transmit: count 23361 = 0x5B41 kept, step flag moved from bit 2 to bit 1.
    EXPECT_EQ(Bytes(sent[2].begin() + 9, sent[2].end()), (Bytes { 0x41, 0x5B, 0x0A }));
    EXPECT_EQ(sent[32], record(0x02, 0x00, image.settings.data()));
    EXPECT_EQ(sent[33], record(0x02, 0x08, image.settings.data() + 8));
    EXPECT_EQ(sent[34], (Bytes { 0x57, 0x03, 0xD8, 0x08, 0x00, 0, 0, 0, 0, 0, 0, 0 }));
    std::vector<int> progress;
    for (int r = 0; r < 35; ++r)
        progress.push_back(17 * r);
    progress.push_back(600);
    EXPECT_EQ(rig.ui.progressValues, progress);
}

TEST(Programming, RecordsArePacedAfterTheyHaveLeft)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x03, 0x01 };
    model::RadioImage image = model::defaultImage(3);
    ASSERT_TRUE(rig.program(image).success());
    const auto& w = rig.port.writes();
    ASSERT_EQ(w.size(), 57u);
    // pROGRAM, 0.08 s, then 0.1 s before the first record.
    EXPECT_EQ(w[1].at - w[0].leftAt, 80ms + 100ms);
    for (std::size_t i = 2; i < w.size(); ++i)
        EXPECT_EQ(w[i].at - w[i - 1].leftAt, 100ms) << i;
    EXPECT_EQ(rig.clock.elapsed(), 7 * kByteTime + 80ms + 100ms + 56 * (12 * kByteTime + 100ms) + 150ms);
}

TEST(Programming, RoundingQuestion)
{
    struct Row {
        std::string name;
        std::deque<bool> answers;
        LinkEnd end;
        std::size_t records;
        std::uint32_t count; // channel 0 receive count in the image afterwards
    };
    const Row rows[] = {
        { "Yes rounds 146.0125 to 146.0100", { true }, LinkEnd::Success, 35, 58404 },
        { "No sends nothing", { false }, LinkEnd::Declined, 0, 58405 },
    };
    for (const Row& row : rows) {
        Rig rig;
        rig.radio.handshakeReply = { 0x00 };
        rig.ui.answers = row.answers;
        model::RadioImage image = imageOffTheGrid(0);
        const ProgramOutcome out = rig.program(image);
        EXPECT_EQ(out.end, row.end) << row.name;
        EXPECT_EQ(rig.ui.questions, std::vector<util::Message> { roundingQuestion() }) << row.name;
        EXPECT_EQ(model::frequencyCount(image.channels[0], Side::Receive), row.count) << row.name;
        EXPECT_EQ(rig.recordsSent().size(), row.records) << row.name;
        EXPECT_FALSE(rig.port.isOpen()) << row.name;
        if (row.end == LinkEnd::Success) {
            EXPECT_EQ(out.roundedSides, (std::vector<ChannelSide> { { 0, Side::Receive } })) << row.name;
            // 146.0100 MHz is 29202 = 0x7212 in 5 kHz units.
            const Bytes first = rig.recordsSent()[0];
            EXPECT_EQ(Bytes(first.begin() + 4, first.begin() + 7), (Bytes { 0x12, 0x72, 0x00 })) << row.name;
        } else {
            EXPECT_TRUE(out.roundedSides.empty()) << row.name;
            EXPECT_TRUE(rig.ui.messages.empty()) << row.name;
        }
    }
}

TEST(Programming, ClosedChannelsAreRoundedToo)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x00 };
    rig.ui.answers = { true };
    model::RadioImage image = model::defaultImage(0);
    ASSERT_FALSE(model::isChannelOpen(image.channels[9]));
    model::setFrequencyCount(image.channels[9], Side::Transmit, 56001);
    const ProgramOutcome out = rig.program(image);
    ASSERT_TRUE(out.success());
    EXPECT_EQ(out.roundedSides, (std::vector<ChannelSide> { { 9, Side::Transmit } }));
    EXPECT_EQ(model::frequencyCount(image.channels[9], Side::Transmit), 56000u);
}

TEST(Programming, BothQuestionsAreAnsweredBeforeTheImageChanges)
{
    struct Row {
        std::string name;
        std::deque<bool> answers;
        std::size_t questions;
        LinkEnd end;
        std::uint32_t count;
    };
    const Row rows[] = {
        { "Yes, Yes", { true, true }, 2, LinkEnd::Success, 58404 },
        { "Yes, No leaves the image unrounded", { true, false }, 2, LinkEnd::Declined, 58405 },
        { "No", { false }, 1, LinkEnd::Declined, 58405 },
    };
    for (const Row& row : rows) {
        Rig rig;
        rig.radio.handshakeReply = { 0x00 }; // model index 0
        rig.ui.answers = row.answers;
        model::RadioImage image = imageOffTheGrid(1);
        const model::RadioImage before = image;
        rig.ui.onQuestion = [&](const util::Message&) { EXPECT_EQ(image, before) << row.name; };
        const ProgramOutcome out = rig.program(image);
        EXPECT_EQ(out.end, row.end) << row.name;
        EXPECT_EQ(rig.ui.questions.size(), row.questions) << row.name;
        if (row.questions == 2) {
            EXPECT_EQ(rig.ui.questions[1], modelMismatchQuestion()) << row.name;
        }
        EXPECT_EQ(model::frequencyCount(image.channels[0], Side::Receive), row.count) << row.name;
        if (row.end == LinkEnd::Success) {
            ASSERT_EQ(rig.recordsSent().size(), 35u);
            EXPECT_EQ(rig.recordsSent()[34][4], 1) << "the image's model code is sent";
            EXPECT_EQ(image.modelIndex, 1) << "programming never changes the model";
        } else {
            EXPECT_TRUE(rig.recordsSent().empty()) << row.name;
        }
    }
}

TEST(Programming, ModelMismatch)
{
    struct Row {
        std::string name;
        Bytes reply;
        int imageModel;
        std::deque<bool> answers;
        LinkEnd end;
        std::size_t records;
        std::uint8_t sentCode;
    };
    const Row rows[] = {
        { "image 1, radio 0, Yes", { 0x00, 0x01 }, 1, { true }, LinkEnd::Success, 56, 1 },
        { "image 1, radio 0, No", { 0x00, 0x01 }, 1, { false }, LinkEnd::Declined, 0, 0 },
        { "code 14 is model 4: no question", { 0x0E, 0x01 }, 4, {}, LinkEnd::Success, 56, 14 },
        { "code 4 is model 5: no question", { 0x04 }, 5, {}, LinkEnd::Success, 35, 4 },
    };
    for (const Row& row : rows) {
        Rig rig;
        rig.radio.handshakeReply = row.reply;
        rig.ui.answers = row.answers;
        model::RadioImage image = model::defaultImage(row.imageModel);
        const ProgramOutcome out = rig.program(image);
        EXPECT_EQ(out.end, row.end) << row.name;
        EXPECT_EQ(rig.ui.questions.size(), row.answers.size()) << row.name;
        const auto sent = rig.recordsSent();
        ASSERT_EQ(sent.size(), row.records) << row.name;
        if (!sent.empty()) {
            EXPECT_EQ(sent.back()[4], row.sentCode) << row.name;
        }
    }
}

TEST(Programming, CompletionReply)
{
    struct Row {
        std::string name;
        Bytes completion;
        util::Message message;
        LinkEnd end;
    };
    const Row rows[] = {
        { "OK", { 'O', 'K' }, writeComplete(), LinkEnd::Success },
        { "OK and more", { 'O', 'K', 0x00, 'x' }, writeComplete(), LinkEnd::Success },
        { "KO", { 'K', 'O' }, writeError(), LinkEnd::Failed },
        { "nothing", {}, writeError(), LinkEnd::Failed },
        { "one byte O", { 'O' }, communicationFailure(kCom1), LinkEnd::Failed },
        { "Ok", { 'O', 'k' }, writeError(), LinkEnd::Failed },
    };
    for (const Row& row : rows) {
        Rig rig;
        rig.radio.handshakeReply = { 0x03, 0x01 };
        rig.radio.completion = row.completion;
        model::RadioImage image = model::defaultImage(3);
        const ProgramOutcome out = rig.program(image);
        EXPECT_EQ(out.end, row.end) << row.name;
        EXPECT_EQ(rig.ui.messages, std::vector<util::Message> { row.message }) << row.name;
        EXPECT_EQ(rig.recordsSent().size(), 56u) << row.name;
        EXPECT_EQ(out.fiveKhzForm, false) << "every record went out: " << row.name;
    }
}

TEST(Programming, FailuresBeforeTheData)
{
    const util::Message comFail = communicationFailure(kCom1);
    struct Row {
        std::string name;
        Bytes reply;
        int imageModel;
        util::Message message;
        std::vector<Bytes> written;
    };
    const Row rows[] = {
        { "model code above 14", { 0x0F, 0x01 }, 0, comFail, { kProgram } },
        { "version 2", { 0x03, 0x02 }, 3, versionMismatch(), { kProgram } },
        { "radio code 7 has no model", { 0x07, 0x01 }, 0, comFail, { kProgram } },
        { "older radio code 13 has no model", { 0x0D }, 0, comFail, { kProgram } },
        { "image without model: nothing at all is sent", { 0x00, 0x01 }, -1, unsupportedModel(), {} },
    };
    for (const Row& row : rows) {
        Rig rig;
        rig.radio.handshakeReply = row.reply;
        model::RadioImage image = model::defaultImage(row.imageModel < 0 ? 0 : row.imageModel);
        if (row.imageModel < 0) {
            image.modelIndex = -1;
            image.unknownModelCode = 9;
        }
        const model::RadioImage before = image;
        const ProgramOutcome out = rig.program(image);
        EXPECT_EQ(out.end, LinkEnd::Failed) << row.name;
        EXPECT_EQ(rig.ui.messages, std::vector<util::Message> { row.message }) << row.name;
        EXPECT_EQ(rig.port.writtenChunks(), row.written) << row.name;
        EXPECT_EQ(image, before) << row.name;
        EXPECT_FALSE(out.fiveKhzForm) << row.name;
        EXPECT_TRUE(rig.ui.questions.empty()) << row.name;
        EXPECT_TRUE(rig.ui.events.size() == 1) << "no progress window: " << row.name;
        EXPECT_FALSE(rig.port.isOpen()) << row.name;
    }
}

TEST(Programming, IsNeverReentered)
{
    Rig rig;
    rig.radio.handshakeReply = { 0x00, 0x01 };
    model::RadioImage image = model::defaultImage(1);
    std::optional<ProgramOutcome> inner;
    rig.ui.answers = { true };
    rig.ui.onQuestion = [&](const util::Message&) {
        model::RadioImage other = model::defaultImage(1);
        inner = rig.program(other);
    };
    EXPECT_TRUE(rig.program(image).success());
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->end, LinkEnd::Refused);
    EXPECT_EQ(rig.recordsSent().size(), 56u);
}
