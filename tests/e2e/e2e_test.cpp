// The whole chain where a golden case cannot say it: write then read back every model of both
// generations record by record, timing, the automatic backups, the trace and a pulled cable.

#include "support/cli_run.h"

#include "core/model/frequency_codec.h"
#include "core/model/frequency_form.h"
#include "core/model/models.h"
#include "core/model/settings_fields.h"

#include <array>
#include <regex>
#include <thread>

using namespace korvane;
using namespace korvane::test;
using namespace std::chrono_literals;

namespace {

using model::Side;

enum class Generation { Older, Newer };

// What radios and data files call each model index.
constexpr std::uint8_t kModelCodes[] = { 0, 1, 2, 3, 14, 4, 5 };

// The model's defaults with every channel made different: frequencies on the 5 kHz grid (and one
// on the 6.25 kHz step) so that an older radio takes them unchanged, signalling, flags, 2-Tone
// numbers, a few settings and a parameter table of its own.
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

// What the read-out saves: a fresh start's image with the radio's channels, settings 0 to 15, model
// and (newer) parameter table over it, and the alignment test channels of the radio's model.
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

class RoundTripTest : public ProcessTest, public ::testing::WithParamInterface<Generation> {
protected:
    // The models at once: each write spends most of its time in the protocol's pauses.
    void roundTrip(bool paced, const std::vector<int>& models)
    {
        const Generation g = GetParam();
        const char* inputKinds[] = { "rdw", "rdhax", "rdw", "rdh", "rdhax", "rdw", "rdh" };
        const char* readKinds[] = { "rdw", "rdhax", "rdh", "rdw", "rdhax", "rdh", "rdw" };
        std::vector<std::unique_ptr<SimRadio>> sims;
        std::vector<std::unique_ptr<CliProcess>> runs;
        std::vector<model::RadioImage> written;
        std::vector<Env> envs;
        std::vector<std::string> ports;
        const auto name
            = [&](const char* stem, int m, const char* kind) { return path(stem + std::to_string(m) + "." + kind); };
        for (int m : models) {
            saveFile(name("in", m, inputKinds[m]), distinctImage(m));
            written.push_back(openFile(name("in", m, inputKinds[m]))); // what is sent is what was opened
            sims.push_back(std::make_unique<SimRadio>(folder(),
                Strings { "--model", std::to_string(m), g == Generation::Older ? "--older" : "--newer", "--save",
                    name("radio", m, "rdw") },
                paced));
            ASSERT_FALSE(sims.back()->device().empty());
            // Half the radios by device path, half as COM1 through KORVANE_COM1.
            ports.push_back(m % 2 == 1 ? "COM1" : sims.back()->device());
            envs.push_back(m % 2 == 1 ? Env { { "KORVANE_COM1", sims.back()->linkPath() } } : Env {});
            runs.push_back(std::make_unique<CliProcess>(
                folder(), Strings { "write", "--port", ports.back(), name("in", m, inputKinds[m]) }, envs.back()));
        }
        for (std::size_t k = 0; k < models.size(); ++k) {
            SCOPED_TRACE("write, model " + std::to_string(models[k]));
            const CliRun w = runs[k]->finish();
            EXPECT_EQ(w.exitCode, 0) << w.err;
            EXPECT_EQ(w.out + w.err, kWriteComplete);
            EXPECT_EQ(sims[k]->recordsHeard(), expectedRecords(written[k], g));
            runs[k] = std::make_unique<CliProcess>(folder(),
                Strings { "read", "--port", ports[k], "-o", name("read", models[k], readKinds[models[k]]) }, envs[k]);
        }
        for (std::size_t k = 0; k < models.size(); ++k) {
            const int m = models[k];
            SCOPED_TRACE("read, model " + std::to_string(m));
            const CliRun r = runs[k]->finish();
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(r.out + r.err, kReadComplete);
            const std::string read = name("read", m, readKinds[m]);
            EXPECT_EQ(readWholeFile(read), encoded(expectedReadBack(written[k], g), files::fileKindForPath(read)));
            // The radio keeps what it was sent, apart from the parameter table of an older radio.
            sims[k]->stop();
            model::RadioImage held = openFile(name("radio", m, "rdw"));
            EXPECT_EQ(held.channels, written[k].channels);
            EXPECT_TRUE(std::equal(held.settings.begin(), held.settings.begin() + 16, written[k].settings.begin()));
            EXPECT_EQ(held.modelIndex, m);
            if (g == Generation::Newer) {
                EXPECT_EQ(held.parameters, written[k].parameters);
            }
        }
    }
};

TEST_P(RoundTripTest, EveryModelWritesEveryRecordAndReadsBack) { roundTrip(false, { 0, 1, 2, 3, 4, 5, 6 }); }

// At the line's real pace (11 bits a byte at 9600 baud, both ways) nothing is lost or cut short.
TEST_P(RoundTripTest, PacedLine) { roundTrip(true, { GetParam() == Generation::Older ? 5 : 4 }); }

INSTANTIATE_TEST_SUITE_P(BothGenerations, RoundTripTest, ::testing::Values(Generation::Older, Generation::Newer),
    [](const ::testing::TestParamInfo<Generation>& param) {
        return std::string(param.param == Generation::Older ? "Older" : "Newer");
    });

using E2eTest = ProcessTest;

// A silent radio hears "rEAD" six times, a little over 80 ms apart, about half a second in all.
TEST_F(E2eTest, SilentRadioHearsSixAttempts)
{
    SimRadio sim(folder(), { "--silent" });
    const CliRun run = runCli(folder(), { "read", "--port", sim.device(), "-o", path("x.rdw") });
    EXPECT_EQ(run.exitCode, 1);
    const std::vector<LogLine> attempts = sim.logged("<-", "rEAD");
    ASSERT_EQ(attempts.size(), 6u);
    for (std::size_t k = 1; k < attempts.size(); ++k) {
        EXPECT_GE(attempts[k].seconds - attempts[k - 1].seconds, 0.05);
        EXPECT_LT(attempts[k].seconds - attempts[k - 1].seconds, 0.3);
    }
    EXPECT_GE(attempts.back().seconds - attempts.front().seconds, 0.39);
    EXPECT_LT(run.seconds, 2.0);
}

bool isBackupName(const std::string& name, const std::string& tag)
{
    // "20261206-204512-123-read.rdw"
    if (name.size() != 20 + tag.size() + 4 || !name.ends_with("-" + tag + ".rdw")) return false;
    for (std::size_t k = 0; k < 19; ++k)
        if ((k == 8 || k == 15) ? name[k] != '-' : (name[k] < '0' || name[k] > '9')) return false;
    return true;
}

// Read and write keep an automatic backup each (the write's the image as opened, always rdw); a
// failed one is a line on standard error and changes nothing else.
TEST_F(E2eTest, AutomaticBackups)
{
    model::RadioImage image = model::defaultImage(2);
    image.channels[3][11] = 0x2A;
    saveFile(path("in.rdh"), image);
    SimRadio radio(folder(), { "--model", "2" });
    for (const char* operation : { "read", "write" }) {
        SCOPED_TRACE(operation);
        const auto home = folder() / operation;
        const Strings args = operation == std::string("read")
            ? Strings { "read", "--port", radio.device(), "-o", path("r.rdw") }
            : Strings { "write", "--port", radio.device(), path("in.rdh") };
        EXPECT_EQ(runCli(folder(), args, { { "XDG_DATA_HOME", home } }).exitCode, 0);
        const auto backups = home / "korvane" / "backups";
        std::vector<std::filesystem::path> names;
        for (const auto& entry : std::filesystem::directory_iterator(backups))
            names.push_back(entry.path());
        ASSERT_EQ(names.size(), 1u);
        EXPECT_TRUE(isBackupName(names[0].filename().string(), operation)) << names[0];
        EXPECT_EQ(readWholeFile(names[0]),
            operation == std::string("read") ? readWholeFile(path("r.rdw"))
                                             : encoded(openFile(path("in.rdh")), files::FileKind::Rdw));
    }
    // The data folder is a file: no backup folder can be made in it.
    std::ofstream(path("blocked")) << "not a folder";
    const Env blocked { { "XDG_DATA_HOME", path("blocked") } };
    const std::string failed
        = "自动备份失败：无法在文件夹“" + path("blocked") + "/korvane/backups”中保存备份（Not a directory）。\n";
    const CliRun r = runCli(folder(), { "read", "--port", radio.device(), "-o", path("r2.rdw") }, blocked);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, kReadComplete);
    EXPECT_EQ(r.err, failed);
    SimRadio silent(folder(), { "--silent" });
    const CliRun w = runCli(folder(), { "write", "--port", silent.device(), path("in.rdh") }, blocked);
    EXPECT_EQ(w.exitCode, 1);
    EXPECT_EQ(w.err, failed + noResponse(silent.device(), silent.device()));
}

// --trace writes every port call with its time: the open, the bytes each way, the close.
TEST_F(E2eTest, Trace)
{
    saveFile(path("image.rdw"), model::defaultImage(0));
    SimRadio radio(folder(), {});
    const std::string device = radio.device();
    const std::vector<std::pair<Strings, Strings>> rows {
        { { "read", "--port", device, "-o", path("read.rdw"), "--trace", path("t") },
            { ">> 72 45 41 44", ">> 4F 4B" } },
        { { "write", "--port", device, "--trace", path("t"), path("image.rdw") },
            { ">> 70 52 4F 47 52 41 4D", ">> 57 00 00 08" } },
        { { "align", "--port", device, path("image.rdw"), "--item", "2", "--ok", "--trace", path("t") },
            { ">> 74 45 53 54 32", ">> 45 4E 44" } },
    };
    const std::regex timed(R"(^ +\d+\.\d{6} (.*)$)");
    for (const auto& [args, sent] : rows) {
        SCOPED_TRACE(args[0]);
        ASSERT_EQ(runCli(folder(), args).exitCode, 0);
        std::istringstream trace(readWholeFile(path("t")));
        std::vector<std::string> lines;
        double last = 0;
        for (std::string text; std::getline(trace, text);) {
            std::smatch match;
            ASSERT_TRUE(std::regex_match(text, match, timed)) << text;
            EXPECT_GE(std::stod(text), last) << text;
            last = std::stod(text);
            lines.push_back(match[1]);
        }
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines.front(), "open " + device);
        EXPECT_EQ(lines.back(), "close");
        auto from = lines.begin();
        for (const std::string& bytes : sent) {
            from = std::find_if(from, lines.end(), [&](const std::string& l) { return l.starts_with(bytes); });
            EXPECT_NE(from, lines.end()) << bytes;
        }
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("<< "); }));
    }
}

// The cable is pulled in the middle of the records, or of an adjustment: the port fails, and the
// message says so (a dropped read-out is a golden case).
TEST_F(E2eTest, HostileCliCablePulled)
{
    saveFile(path("model0.rdw"), model::defaultImage(0));
    SimRadio sim(folder(), { "--model", "0" });
    CliProcess write(folder(), { "write", "--port", sim.device(), path("model0.rdw") });
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (sim.recordsHeard().size() < 5 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_GE(sim.recordsHeard().size(), 5u);
    sim.pullCable();
    const CliRun run = write.finish();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, noResponse(sim.device(), sim.device() + "：连接已断开。"));
    EXPECT_LT(run.seconds, 3.0);
}

} // namespace
