// Write then read back, for every model of both generations: what goes over the wire record by
// record, what the radio keeps, and what the read-out saves.

#include "e2e_support.h"

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"
#include "core/model/frequency_form.h"
#include "core/model/models.h"
#include "core/model/settings_fields.h"

#include <algorithm>
#include <array>
#include <memory>

using namespace korvane;
using namespace korvane::e2e;

namespace {

using model::Side;

enum class Generation { Older, Newer };

const char* generationOption(Generation g) { return g == Generation::Older ? "--older" : "--newer"; }

// The model's defaults with every channel made different: frequencies on the 5 kHz grid (and one
// on the 6.25 kHz step) so that an older radio takes them unchanged, signalling, flags, 2-Tone
// numbers, a few settings and, for a newer radio, a parameter table of its own.
model::RadioImage distinctImage(int m)
{
    model::RadioImage image = model::defaultImage(m);
    for (int c = 0; c < model::kChannelCount; ++c) {
        model::Record& r = image.channels[static_cast<std::size_t>(c)];
        const std::int64_t base = model::frequencyHz(r, Side::Receive) / 5000 * 5000;
        const bool step625 = c == 15;
        for (Side s : { Side::Receive, Side::Transmit }) {
            model::setBit(r[static_cast<std::size_t>(model::flagByte(s))], model::kStepBit, step625);
            const std::int64_t hz
                = step625 ? base / 6250 * 6250 + 6250 * 3 : base + 25'000 * c + (s == Side::Transmit ? 10'000 : 0);
            model::encodeFrequency(hz, r, s);
        }
        model::setBit(r[static_cast<std::size_t>(model::flagByte(Side::Receive))], model::kOpenBit, c % 3 != 2);
        r[2] = static_cast<std::uint8_t>((r[2] & 0x0F) | (c % 2 == 0 ? 0x30 : 0x50));
        r[3] = static_cast<std::uint8_t>(0x10 + c);
        r[10] = static_cast<std::uint8_t>(c & 0x17);
        r[11] = static_cast<std::uint8_t>(c);
        r[12] = static_cast<std::uint8_t>(15 - c);
    }
    model::encodeSetting(model::SettingsList::TimeOut, image.settings, 3);
    model::encodeSetting(model::SettingsList::Squelch, image.settings, 5);
    model::encodeSetting(model::SettingsList::Priority, image.settings, (m + 1) % 16);
    image.settings[14] = 0x5A;
    for (std::size_t p = 0; p < image.parameters.size(); ++p)
        for (std::size_t b = 0; b < model::kRecordSize; ++b)
            image.parameters[p][b] = static_cast<std::uint8_t>(p * 16 + b + static_cast<std::size_t>(m) * 7);
    return image;
}

Bytes record(std::uint8_t kind, std::uint8_t address, const std::uint8_t* data)
{
    Bytes bytes { 0x57, kind, address, 0x08 };
    bytes.insert(bytes.end(), data, data + 8);
    return bytes;
}

// The programming sequence as a radio must hear it: 56 records for a newer radio (the model
// record twice), 35 for an older one (channels in the 5 kHz form, no parameter table).
std::vector<Bytes> expectedRecords(const model::RadioImage& image, Generation g)
{
    model::ChannelTable channels = image.channels;
    if (g == Generation::Older) model::to5kHzForm(channels);
    std::vector<Bytes> records;
    for (int r = 0; r < 32; ++r)
        records.push_back(record(
            0x00, static_cast<std::uint8_t>(r * 8), channels[static_cast<std::size_t>(r / 2)].data() + (r % 2) * 8));
    records.push_back(record(0x02, 0x00, image.settings.data()));
    records.push_back(record(0x02, 0x08, image.settings.data() + 8));
    if (g == Generation::Newer)
        for (int r = 34; r < 54; ++r)
            records.push_back(record(0x02, static_cast<std::uint8_t>((r - 30) * 8),
                image.parameters[static_cast<std::size_t>((r - 34) / 2)].data() + (r % 2) * 8));
    const std::array<std::uint8_t, 8> modelData { kModelCodes[image.modelIndex], 0, 0, 0, 0, 0, 0, 0 };
    records.push_back(record(0x03, 0xD8, modelData.data()));
    if (g == Generation::Newer) records.push_back(records.back());
    return records;
}

// What the read-out saves: a fresh start's image with the radio's data over it and the
// alignment test channels of the radio's model.
model::RadioImage expectedReadBack(const model::RadioImage& written, Generation g)
{
    model::RadioImage image = model::defaultImage(0);
    image.channels = written.channels;
    std::copy_n(written.settings.begin(), 16, image.settings.begin());
    if (g == Generation::Newer) image.parameters = written.parameters;
    image.modelIndex = written.modelIndex;
    image.alignment = model::defaultAlignmentTable(written.modelIndex);
    return image;
}

// The radio keeps the channels, settings 0 to 15, the model and (newer) the parameter table; a
// file keeps the parameter table unless it is of a kind without one.
void expectRadioHolds(const model::RadioImage& radio, const model::RadioImage& written, bool withParameters)
{
    EXPECT_EQ(radio.channels, written.channels);
    EXPECT_TRUE(std::equal(written.settings.begin(), written.settings.begin() + 16, radio.settings.begin()));
    if (withParameters) {
        EXPECT_EQ(radio.parameters, written.parameters);
    }
    EXPECT_EQ(radio.modelIndex, written.modelIndex);
}

std::string fileBytes(const std::string& path) { return test::readWholeFile(path); }

std::string encoded(const model::RadioImage& image, files::FileKind kind)
{
    const auto bytes = files::encodeDataFile(image, kind);
    return std::string(bytes.begin(), bytes.end());
}

class RoundTripTest : public E2eTest, public ::testing::WithParamInterface<Generation> {
protected:
    // All seven models at once: each write spends most of its time in the protocol's pauses.
    void roundTrip(Generation g, bool paced, const std::vector<int>& models)
    {
        const char* inputKinds[] = { "rdw", "rdhax", "rdw", "rdh", "rdhax", "rdw", "rdh" };
        const char* readKinds[] = { "rdw", "rdhax", "rdh", "rdw", "rdhax", "rdh", "rdw" };
        struct Run {
            int model = 0;
            std::string input, inputBytes, saved, readPath;
            model::RadioImage written;
            std::unique_ptr<SimRadio> sim;
            std::string port;
            Env env;
        };
        std::vector<Run> runs;
        for (int m : models) {
            Run run;
            run.model = m;
            run.input = path("image" + std::to_string(m) + "." + inputKinds[m]);
            saveFile(run.input, distinctImage(m));
            run.inputBytes = fileBytes(run.input);
            // What the program sends is what it opens from the file.
            run.written = openFile(run.input);
            run.saved = path("radio" + std::to_string(m) + ".rdw");
            run.readPath = path("read" + std::to_string(m) + "." + readKinds[m]);
            run.sim = std::make_unique<SimRadio>(folder(),
                std::vector<std::string> { "--model", std::to_string(m), generationOption(g), "--save", run.saved },
                paced);
            ASSERT_FALSE(run.sim->device().empty());
            // Half the radios by device path, half as COM1 through KORVANE_COM1.
            if (m % 2 == 1) {
                run.port = "COM1";
                run.env = { { "KORVANE_COM1", run.sim->linkPath() } };
            } else {
                run.port = run.sim->device();
            }
            runs.push_back(std::move(run));
        }

        std::vector<std::unique_ptr<CliProcess>> writes;
        for (const Run& run : runs)
            writes.push_back(std::make_unique<CliProcess>(
                folder(), std::vector<std::string> { "write", "--port", run.port, run.input }, run.env));
        for (std::size_t k = 0; k < runs.size(); ++k) {
            const Run& run = runs[k];
            SCOPED_TRACE("model " + std::to_string(run.model));
            const CliRun w = writes[k]->finish();
            EXPECT_EQ(w.exitCode, 0) << w.err;
            EXPECT_EQ(w.out, kWriteComplete);
            EXPECT_EQ(w.err, "");
            EXPECT_EQ(run.sim->recordsHeard(), expectedRecords(run.written, g));
            expectRadioHolds(openFile(run.saved), run.written, g == Generation::Newer);
            EXPECT_EQ(fileBytes(run.input), run.inputBytes) << "the input file changed";
        }

        std::vector<std::unique_ptr<CliProcess>> reads;
        for (const Run& run : runs)
            reads.push_back(std::make_unique<CliProcess>(
                folder(), std::vector<std::string> { "read", "--port", run.port, "-o", run.readPath }, run.env));
        for (std::size_t k = 0; k < runs.size(); ++k) {
            const Run& run = runs[k];
            SCOPED_TRACE("model " + std::to_string(run.model));
            const CliRun r = reads[k]->finish();
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(r.out, kReadComplete);
            EXPECT_EQ(r.err, "");
            const model::RadioImage expected = expectedReadBack(run.written, g);
            EXPECT_EQ(fileBytes(run.readPath), encoded(expected, files::fileKindForPath(run.readPath)));
            const model::RadioImage readBack = openFile(run.readPath);
            const bool rdh = files::fileKindForPath(run.readPath) == files::FileKind::Rdh;
            expectRadioHolds(readBack, run.written, g == Generation::Newer && !rdh);
            if (!rdh) {
                EXPECT_EQ(readBack.alignment, model::defaultAlignmentTable(run.model));
            }
        }
    }
};

TEST_P(RoundTripTest, EveryModelWritesEveryRecordAndReadsBack)
{
    roundTrip(GetParam(), false, { 0, 1, 2, 3, 4, 5, 6 });
}

// At the line's real pace (11 bits a byte at 9600 baud, both ways) nothing is lost or cut short.
TEST_P(RoundTripTest, PacedLine) { roundTrip(GetParam(), true, { GetParam() == Generation::Older ? 5 : 4 }); }

INSTANTIATE_TEST_SUITE_P(BothGenerations, RoundTripTest, ::testing::Values(Generation::Older, Generation::Newer),
    [](const ::testing::TestParamInfo<Generation>& param) {
        return std::string(param.param == Generation::Older ? "Older" : "Newer");
    });

// A radio of another model than the fresh start's: the saved test channels are that model's own,
// whichever model the radio is, including model 0 itself.
TEST_F(E2eTest, ReadSavesTheAlignmentDefaultsOfTheRadiosModel)
{
    std::vector<std::unique_ptr<SimRadio>> sims;
    std::vector<std::unique_ptr<CliProcess>> reads;
    for (int m = 0; m < model::kModelCount; ++m) {
        sims.push_back(std::make_unique<SimRadio>(folder(), std::vector<std::string> { "--model", std::to_string(m) }));
        reads.push_back(std::make_unique<CliProcess>(folder(),
            std::vector<std::string> {
                "read", "--port", sims.back()->device(), "-o", path("m" + std::to_string(m) + ".rdw") }));
    }
    for (int m = 0; m < model::kModelCount; ++m) {
        SCOPED_TRACE("model " + std::to_string(m));
        EXPECT_EQ(reads[static_cast<std::size_t>(m)]->finish().exitCode, 0);
        const model::RadioImage image = openFile(path("m" + std::to_string(m) + ".rdw"));
        EXPECT_EQ(image.modelIndex, m);
        EXPECT_EQ(image.alignment, model::defaultAlignmentTable(m));
        EXPECT_EQ(image.channels, model::defaultImage(m).channels);
    }
}

} // namespace
