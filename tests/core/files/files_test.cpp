// Data files, backups, settings and file kinds (files/cases.txt), and the saving and backup transcripts.
// A recipe spells a data file item by item, independently of the writer: rdw, rdh or rdhax
// (that header text), T:text (~ for a blank), I:n (an integer), C, P, A (the image's channel,
// parameter and alignment tables; C' with the bound pairs swapped, C5 in the 5 kHz form), S (the
// settings block), B:10@1/16:160 (a table of those bounds and 160 bytes), X:hex, Z:n (n bytes FF),
// F:kind (the writer's whole file), -n (drop the last n bytes).

#include "case_table.h"
#include "core/files/backups.h"
#include "core/files/data_file.h"
#include "core/files/file_kind.h"
#include "core/files/settings_file.h"
#include "core/fleet/fleet_log.h"
#include "core/model/defaults.h"
#include "core/model/frequency_form.h"
#include "support/temp_dir.h"

#include <csignal>
#include <numeric>
#include <set>
#if !defined(_WIN32)
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace korvane;
using namespace korvane::files;
using namespace korvane::model;
using namespace std::chrono;
using korvane::test::Args;
namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

// An image whose every byte differs from its neighbours, so a transposed or shifted table shows.
RadioImage patternedImage(std::uint32_t state, std::int16_t modelIndex)
{
    RadioImage image;
    image.modelIndex = modelIndex;
    const auto next = [&state] { return std::uint8_t((state = state * 1664525u + 1013904223u) >> 24); };
    for (const std::span<Record> table :
        { std::span<Record>(image.channels), std::span<Record>(image.parameters), std::span<Record>(image.alignment) })
        for (Record& r : table)
            std::generate(r.begin(), r.end(), next);
    std::generate(image.settings.begin(), image.settings.end(), next);
    return image;
}

// What the program holds when a file is opened: its unknown model code must not leak into the next.
const RadioImage kCurrent = [] {
    RadioImage image = patternedImage(1, -1);
    image.unknownModelCode = 11;
    return image;
}();
const RadioImage kFile = patternedImage(2, 3);

using Bounds = std::vector<std::pair<std::uint32_t, std::int32_t>>;
void u16(Bytes& b, std::uint32_t v) { b.insert(b.end(), { std::uint8_t(v), std::uint8_t(v >> 8) }); }
void u32(Bytes& b, std::uint32_t v) { u16(b, v & 0xFFFF), u16(b, v >> 16); }
void item(Bytes& b, std::uint32_t tag, const Bounds& bounds, std::string_view data)
{
    u16(b, tag), u16(b, static_cast<std::uint32_t>(tag == 8 ? data.size() : bounds.size()));
    for (const auto& [count, lower] : bounds)
        u32(b, count), u32(b, static_cast<std::uint32_t>(lower));
    b.insert(b.end(), data.begin(), data.end());
}

Bytes build(const std::string& recipe, const RadioImage& image)
{
    std::istringstream in(recipe);
    Bytes b;
    const auto chars = [](const auto& bytes) { return std::string(bytes.begin(), bytes.end()); };
    const auto raw = [&b](const Bytes& bytes) { b.insert(b.end(), bytes.begin(), bytes.end()); };
    for (std::string t; in >> t;) {
        const std::string v = t.substr(t.find(':') + 1);
        std::replace(t.begin(), t.end(), '~', ' ');
        if (fileKindFromName(t)) item(b, 8, {}, headerText(*fileKindFromName(t)));
        if (t[0] == 'T') item(b, 8, {}, t.substr(2));
        if (t[0] == 'I') u16(b, 2), u16(b, static_cast<std::uint32_t>(std::stoi(v)));
        if (t == "S") item(b, 0x2011, { { 32, 0 } }, chars(image.settings));
        if (t[0] == 'C' || t[0] == 'P' || t[0] == 'A') {
            std::vector<Record> records(image.channels.begin(), image.channels.end());
            if (t[0] != 'C') records.assign(image.parameters.begin(), image.parameters.end());
            if (t[0] == 'A') records.assign(image.alignment.begin(), image.alignment.end());
            if (t.ends_with("5")) to5kHzForm(records);
            const auto n = static_cast<std::uint32_t>(records.size());
            std::string data(n * 16, 0); // the record index runs fastest
            for (std::size_t i = 0; i < n * 16; ++i)
                data[i] = static_cast<char>(records[i % n][i / n]);
            item(b, 0x2011, t.ends_with("'") ? Bounds { { 16, 0 }, { n, 0 } } : Bounds { { n, 0 }, { 16, 0 } }, data);
        }
        if (t[0] == 'B') {
            Bounds bounds;
            std::istringstream shape(v.substr(0, v.find(':')));
            for (std::string bound; std::getline(shape, bound, '/');)
                bounds.emplace_back(std::stoul(bound),
                    bound.find('@') == std::string::npos ? 0 : std::stoi(bound.substr(bound.find('@') + 1)));
            item(b, 0x2011, bounds, std::string(std::stoul(v.substr(v.find(':') + 1)), '\x5A'));
        }
        if (t[0] == 'X') raw(test::bytesOf(v));
        if (t[0] == 'Z') b.insert(b.end(), std::stoul(v), 0xFF);
        if (t[0] == 'F') raw(encodeDataFile(image, *fileKindFromName(v)));
        if (t[0] == '-') b.resize(b.size() - std::stoul(t.substr(1)));
    }
    return b;
}

const char* const kFailures[] = { "Missing", "Format", "Model", "Read" };

template <class Table> std::string which(const Table& got, const Table& file, const Table& current)
{
    Table via5k = file, from5k = file;
    if constexpr (!std::is_same_v<Table, SettingsBlock> && !std::is_same_v<Table, ParameterTable>)
        to5kHzForm(via5k), toImageForm(via5k), toImageForm(from5k);
    return got == file   ? "file"
        : got == via5k   ? "via 5 kHz"
        : got == from5k  ? "from 5 kHz"
        : got == current ? "current"
                         : "other";
}

std::string outcome(const util::Result<OpenedFile, OpenError>& opened, const RadioImage& file)
{
    if (!opened.ok())
        return kFailures[static_cast<int>(opened.error().kind)] + std::string(" ")
            + test::shown(opened.error().message);
    const RadioImage& i = opened->image;
    return "model " + std::to_string(i.modelIndex) + ", code " + std::to_string(i.unknownModelCode) + ", 5 kHz form "
        + (opened->fiveKhzForm ? "yes" : "no") + "; channels " + which(i.channels, file.channels, kCurrent.channels)
        + ", parameters " + which(i.parameters, file.parameters, kCurrent.parameters) + ", settings "
        + which(i.settings, file.settings, kCurrent.settings) + ", alignment "
        + which(i.alignment, file.alignment, kCurrent.alignment);
}

std::string run(const Args& a)
{
    const std::string& op = a[0];
    const auto kind = [&](std::size_t k) { return *fileKindFromName(a[k]); };
    const auto header = [](std::optional<FileKind> found) { return found ? std::string(headerText(*found)) : "none"; };
    const auto orNull = [](const std::string& s) { return s == "-" ? nullptr : s.c_str(); };
    if (op == "open") return outcome(decodeDataFile(build(a[2], kFile), a[1], kCurrent), kFile);
    if (op == "openfile")
        return outcome(
            openDataFile(a[1].starts_with("@") ? KORVANE_TEST_DATA + a[1].substr(1) : a[1], kCurrent), defaultImage(0));
    const std::string committed
        = op == "writes" && a[2].starts_with("@") ? test::dataFile("files/" + a[2].substr(1)) : "";
    RadioImage image = op == "writes" && committed.empty() ? patternedImage(7, 4) : defaultImage(0);
    if (op == "writes") // against the file spelled item by item, or the default image against a committed file
        return encodeDataFile(image, kind(1))
                == (committed.empty() ? build(a[2], image) : Bytes(committed.begin(), committed.end()))
            ? "the same bytes"
            : "differs";
    if (op == "codewritten") {
        image.modelIndex = std::int16_t(std::stoi(a[1])), image.unknownModelCode = std::int16_t(std::stoi(a[2]));
        std::string out;
        for (const Bytes& written : { encodeDataFile(image, FileKind::Rdw), encodeDataFile(image, FileKind::Rdh),
                 encodeDataFile(image, FileKind::Rdhax) })
            out += " " + test::hex(std::span(written).last(8));
        return out;
    }
    if (op == "kindname") return header(fileKindFromName(a[1]));
    if (op == "kindpath") return header(fileKindForPath(a[1]));
    if (op == "kindheader") return header(fileKindFromHeader(a[1]));
    if (op == "backupfolder") return backupFolder(orNull(a[1]), orNull(a[2])).lexically_normal().generic_string();
    if (op == "backupmessage") return test::shown(backupFailedMessage(a[1], a[2]));
    static const test::TempDir dir; // where the cases write settings files and logs
    if (op == "fleetlogpath") return fleet::fleetLogPath(orNull(a[1]), orNull(a[2])).lexically_normal().generic_string();
    // [file|]port|device|model|older|outcome lines|verify lines|backup, logged at 2026-12-06 20:45:12.123
    const std::size_t skip = op == "fleetlogappend" ? 1 : 0; // the file's name comes first
    const auto arg = [&](std::size_t k) { return k + skip < a.size() ? a[k + skip] : std::string(); };
    fleet::FleetRadioResult radio;
    radio.target = { arg(1), arg(2) == "-" ? std::nullopt : std::optional(arg(2)) };
    radio.model = arg(3), radio.olderRadio = arg(4) == "1", radio.backupFile = arg(7);
    for (auto [k, texts] : { std::pair(5, &radio.outcomeLines), std::pair(6, &radio.verifyTexts) })
        for (std::size_t at = 0, nl = 0; !arg(k).empty() && nl != std::string::npos; at = nl + 1)
            texts->push_back(arg(k).substr(at, (nl = arg(k).find('\n', at)) - at));
    const auto when = sys_days { 2026y / December / 6 } + 20h + 45min + 12s + 123ms;
    if (op == "fleetlogrow") return test::escaped(fleet::fleetLogRow(radio, when));
    if (op == "fleetlogappend") { // twice into a file of the folder, or into a path that cannot be written
        const fs::path path = a[1].starts_with("/") ? fs::path(a[1]) : dir / a[1];
        for (int round = 0; round < 2; ++round)
            if (const auto failed = fleet::appendFleetLog(path, { radio }, when + minutes(round))) {
                // The system's own words for the failure differ between systems; the message's own do not.
                std::string shown = test::shown(*failed);
                const auto open = shown.find("（"), close = shown.find("）");
                return open < close && close != std::string::npos ? shown.replace(open, close - open, "（…") : shown;
            }
        return test::escaped(test::readWholeFile(path));
    }
    const auto device = [&](std::size_t k) { return a.size() > k ? a[k] : std::string(); };
    if (op == "settingstext") return test::escaped(settingsText(std::stoi(a[1]), a[2], a[3], device(4)));
    if (op == "writesettings")
        return writeSettingsFile(dir.file(a[1]), 3, "/tmp/a b.rdw", "x=y", device(2))
            ? "written " + test::escaped(test::readWholeFile(dir / a[1]))
            : "failed";
    const StoredSettings stored = op == "readsettings" ? readSettingsFile(dir.file(a[1])) : parseSettings(a[1]);
    return "port " + std::to_string(stored.port) + ", password [" + stored.password + "]"
        + (stored.device.empty() ? "" : ", device [" + stored.device + "]");
}

#if !defined(_WIN32) // the save and backup transcripts below are POSIX's
// Every entry under the folder with its size, or where a link points.
std::string listing(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        names.insert(" " + e.path().lexically_relative(folder).string()
            + (e.is_symlink()             ? "->" + fs::read_symlink(e.path()).filename().string()
                    : e.is_regular_file() ? "(" + std::to_string(e.file_size()) + ")"
                                          : "/"));
    return std::accumulate(names.begin(), names.end(), std::string());
}

void put(const fs::path& path, std::size_t size) { std::ofstream(path) << std::string(size, 'x'); }

// A backup's name for a time, written out independently of the code under test.
std::string nameAt(system_clock::time_point t, const char* tag = "read")
{
    const std::time_t seconds = system_clock::to_time_t(t);
    char text[64];
    const auto length = std::strftime(text, sizeof text, "%Y%m%d-%H%M%S-", std::gmtime(&seconds));
    std::snprintf(text + length, sizeof text - length, "%03d-%s.rdw",
        int(floor<milliseconds>(t).time_since_epoch().count() % 1000), tag);
    return text;
}
#endif

const system_clock::time_point kNow = sys_days { 2026y / December / 6 } + 20h + 45min + 12s + 123ms;

} // namespace

TEST(CoreFiles, Cases) { test::expectCases("files/cases.txt", run); }

// Saving replaces a file only when the new one is complete; failures leave the old file as it was.
#if !defined(_WIN32) // permissions, symbolic links and a file size limit, as POSIX has them
TEST(CoreFiles, SavingTranscript)
{
    test::TempDir dir;
    const RadioImage image = patternedImage(5, 1);
    std::string out;
    const auto save = [&](const std::string& name, const char* kind) {
        const auto failed = saveDataFile(name.empty() ? name : dir.file(name), image, *fileKindFromName(kind));
        const Bytes written = encodeDataFile(image, *fileKindFromName(kind));
        const bool holds = test::readWholeFile(dir / name) == std::string(written.begin(), written.end());
        out += "save " + name + " as " + kind + ": " + (failed ? test::shown(*failed) : "saved")
            + (holds ? ", holds the writer's bytes;" : ";") + listing(dir.path()) + "\n";
    };
    put(dir / "radio.rdw", 5000);
    for (const char* kind : { "rdw", "rdh", "rdhax" })
        save("radio.rdw", kind);
    fs::create_directory(dir / "kqv09");
    save("kqv09/radio.rdh", "rdh");
    fs::rename(dir / "kqv09/radio.rdh", dir / "radio.kqv09");
    fs::create_directory(dir / "sub");
    for (const char* name : { "missing/radio.rdw", "radio.kqv09/radio.rdw", "sub", "sub/", "" })
        save(name, "rdw");
    struct rlimit saved = {}, small = {};
    ::getrlimit(RLIMIT_FSIZE, &saved), small = saved, small.rlim_cur = 200;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    save("radio.rdw", "rdw"); // fails half-way
    ::setrlimit(RLIMIT_FSIZE, &saved), std::signal(SIGXFSZ, previousHandler);
    put(dir / "real.rdw", 10);
    fs::permissions(dir / "real.rdw", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(dir / "real.rdw", dir / "link.rdw");
    save("link.rdw", "rdw");
    out += "permissions " + std::to_string(int(fs::status(dir / "real.rdw").permissions() & fs::perms::all)) + "\n";

    EXPECT_TRUE(test::matchesGolden("files/saving.txt", out));
}

// Backups: their names and counters, what they hold, which old ones go, and the failures.
TEST(CoreFiles, BackupsTranscript)
{
    test::TempDir dir;
    std::string out;
    const auto backup = [&](const fs::path& folder, BackupReason reason, system_clock::time_point now) {
        RadioImage image = defaultImage(3);
        image.channels[2][5] = 0x42;
        const auto saved = saveBackup(folder, image, reason, now);
        std::string text = saved.ok() ? fs::relative(*saved, dir.path()).string() : test::shown(saved.error());
        if (const auto at = text.find(dir.path().string()); at != std::string::npos)
            text.replace(at, dir.path().string().size(), "@");
        out += text + (saved.ok() ? ": " + outcome(openDataFile(saved->string(), kCurrent), image) : "") + "\n";
    };
    const auto read = BackupReason::ReadOut, write = BackupReason::BeforeWrite;
    for (const auto& [reason, now] : { std::pair { read, kNow }, { write, kNow }, { read, kNow },
             { read, kNow + 999us }, { write, kNow + 877ms }, { read, sys_days { 2027y / January / 1 } + 5ms } })
        backup(dir / "not" / "yet" / "there", reason, now);
    fs::remove_all(dir / "not");

    // Backups 400 days old and 10 days old, one minute apart, among files of the user's own.
    const char* const tags[] = { "write", "read", "read-2", "write-13" };
    for (const auto& [oldCount, recentCount] : { std::pair { 60, 0 }, { 10, 0 }, { 30, 30 }, { 5, 55 } }) {
        std::vector<std::string> names { "notes.txt", "radio.rdw", "20200101-000000-000-read.rdh",
            "20200101-000000-000-read-1.rdw", "20200101-000000-000-read-02.rdw", "20200101-000000-000-erase.rdw",
            "20201301-000000-000-read.rdw", "2020101-000000-000-read.rdw", "x20200101-000000-000-read.rdw" };
        for (int k = 0; k < oldCount; ++k)
            names.push_back(nameAt(kNow - days { 400 } - minutes { oldCount - k }, tags[k % 4]));
        for (int k = 0; k < recentCount; ++k)
            names.push_back(nameAt(kNow - days { 10 } - minutes { k }));
        for (const std::string& name : names)
            put(dir / name, 4);
        fs::create_directory(dir / "20200101-000000-000-write.rdw");
        out += std::to_string(oldCount) + " old, " + std::to_string(recentCount) + " recent: ";
        backup(dir.path(), read, kNow);
        out += "  removed:";
        for (const std::string& name : names)
            out += fs::exists(dir / name) ? "" : " " + name;
        out += fs::exists(dir / "20200101-000000-000-write.rdw") ? "\n" : " the folder\n";
        fs::remove_all(dir.path()), fs::create_directory(dir.path());
    }
    put(dir / "a-file", 4);
    for (const fs::path& folder : { dir / "a-file", dir / "a-file" / "backups", fs::path("/proc/korvane/backups"),
             fs::path("/proc/self"), fs::path() })
        backup(folder, read, kNow);
    EXPECT_TRUE(test::matchesGolden("files/backups.txt", out));
}
#endif
