// korvane-cli from outside, as golden cases: tests/data/cli/cases.txt holds each case's arguments,
// the simulated radio's options and what must come of it. The cases run a dozen at a time, each
// program (the simulated radio on a pseudo-terminal, the real korvane-cli) a child process.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/frequency_codec.h"
#include "core/model/frequency_form.h"
#include "core/model/settings_fields.h"
#include "support/child_process.h"
#include "support/golden.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <thread>

using namespace korvane;
using namespace korvane::test;
using namespace std::chrono_literals;

namespace {

using Strings = std::vector<std::string>;

// The simulated radio with a log, at the line's real pace only when asked. Killed when the test ends.
class SimRadio {
public:
    SimRadio(const std::filesystem::path& folder, std::vector<std::string> args, bool paced)
        : m_name((folder / ("radio" + std::to_string(s_count++))).string())
    {
        args.insert(args.end(), { "--log", m_name + ".log", "--link", linkPath() });
        if (!paced) args.push_back("--no-pace");
        m_process.emplace(KORVANE_RADIO_SIM, std::move(args), Env {}, m_name + ".out", m_name + ".err");
        m_device = m_process->firstLine();
    }

    const std::string& device() const { return m_device; }
    // A symbolic link to it, as a user would name it in KORVANE_COM1.
    std::string linkPath() const { return m_name + ".port"; }
    // Ends the radio as a user would (it saves with --save on the way out).
    void stop()
    {
        m_process->kill(SIGTERM);
        m_process->wait();
    }

    // The text of its log's lines with this arrow ("<-" heard, "->" sent, "--" a note) that starts with `prefix`.
    Strings logged(const std::string& arrow, const std::string& prefix) const
    {
        Strings found;
        std::istringstream in(readWholeFile(m_name + ".log"));
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            std::string seconds, lineArrow, text;
            std::getline(fields >> seconds >> lineArrow >> std::ws, text);
            if (lineArrow == arrow && text.starts_with(prefix)) found.push_back(text);
        }
        return found;
    }

private:
    static inline int s_count = 0; // its files' names in the folder: radio0.log, radio0.port...
    std::string m_name;
    std::optional<Child> m_process;
    std::string m_device;
};

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The Windows korvane-cli.exe that KORVANE_CLI_EXE names, run under Wine in place of the Linux
// one; nullptr when the tests run the Linux program.
const char* windowsCli() { return std::getenv("KORVANE_CLI_EXE"); }

// korvane-cli started now, its standard input `input` (none: /dev/null); finish() waits for it.
class CliProcess {
public:
    CliProcess(const std::filesystem::path& folder, std::vector<std::string> args, Env env,
        const std::optional<std::string>& input = std::nullopt)
        : m_name((folder / ("cli" + std::to_string(s_count++))).string())
    {
        std::optional<std::filesystem::path> in;
        if (input) {
            in = m_name + ".in";
            std::ofstream(*in, std::ios::binary) << *input;
        }
        if (std::none_of(env.begin(), env.end(), [](const auto& e) { return e.first == "XDG_DATA_HOME"; }))
            env.emplace_back("XDG_DATA_HOME", (folder / "data-home").string()); // never the user's own
        if (const char* exe = windowsCli()) args.insert(args.begin(), exe);
        m_process.emplace(
            windowsCli() ? "/usr/bin/wine" : KORVANE_CLI, std::move(args), env, m_name + ".out", m_name + ".err", in);
    }

    CliRun finish()
    {
        CliRun run { m_process->wait(), readWholeFile(m_name + ".out"), readWholeFile(m_name + ".err") };
        if (windowsCli()) // a Windows program ends its lines with CR LF
            for (std::string* text : { &run.out, &run.err })
                *text = std::regex_replace(*text, std::regex("\r\n"), "\n");
        return run;
    }

private:
    static inline int s_count = 0;
    std::string m_name;
    std::optional<Child> m_process;
};

model::RadioImage openFile(const std::string& path)
{
    auto opened = files::openDataFile(path, model::defaultImage(0));
    EXPECT_TRUE(static_cast<bool>(opened)) << path;
    return opened ? opened->image : model::RadioImage {};
}

void saveFile(const std::string& path, const model::RadioImage& image)
{
    EXPECT_FALSE(files::saveDataFile(path, image, files::fileKindForPath(path)).has_value()) << path;
}

const std::string kUntouched = "not a data file, and it must stay so\n";

// One case of cases.txt, its lines as they are written there.
struct Case {
    std::string name;
    std::vector<Strings> radios;
    std::vector<Strings> then;
    Strings args;
    int exitCode = 0;
    std::string out, err;
    std::vector<std::pair<std::string, std::size_t>> heard;
    std::vector<std::pair<std::string, std::string>> files;
    Strings packets;
    Env env;
    std::optional<std::string> input;
};

// The words of a line: blanks separate them, double quotes hold blanks, \n and \" inside. A
// template's cell (`raw`) keeps its escapes but \" for the line it goes into.
Strings words(const std::string& line, bool raw = false)
{
    Strings out;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    ++i;
                    if (raw && line[i] != '"') word += '\\';
                    word += !raw && line[i] == 'n' ? '\n' : line[i];
                } else {
                    word += line[i];
                }
            }
            ++i;
        } else {
            for (; i < line.size() && line[i] != ' '; ++i)
                word += line[i];
        }
        out.push_back(word);
    }
    return out;
}

Case parsed(const std::string& name, const Strings& lines)
{
    Case c;
    c.name = name;
    for (const std::string& line : lines) {
        const Strings w = words(line);
        if (w.empty() || w[0].starts_with("#")) continue;
        const Strings rest(w.begin() + 1, w.end());
        if (w[0] == "radio") c.radios.push_back(rest);
        if (w[0] == "stdin") c.input = w.at(1);
        if (w[0] == "run") c.args = rest;
        if (w[0] == "then") c.then.push_back(rest);
        if (w[0] == "exit") c.exitCode = std::stoi(w.at(1));
        if (w[0] == "out") c.out = w.at(1);
        if (w[0] == "err") c.err = w.at(1);
        if (w[0] == "heard") c.heard.emplace_back(w.at(1), std::stoul(w.at(2)));
        if (w[0] == "file") c.files.emplace_back(w.at(1), w.at(2));
        if (w[0] == "env") c.env.emplace_back(w.at(1), w.at(2));
        if (w[0] == "packet") c.packets.push_back(line.substr(line.find(' ') + 1));
    }
    return c;
}

// A template's line with $1...$9 replaced by the row's cells; none when a cell it takes is "-".
std::optional<std::string> filled(std::string text, const Strings& cells)
{
    for (std::size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at)) {
        const std::string& cell = cells.at(static_cast<std::size_t>(text.at(at + 1) - '1'));
        if (cell == "-") return std::nullopt;
        text.replace(at, 2, cell);
        at += cell.size();
    }
    return text;
}

// Each case's name and lines, a template's once per row.
std::vector<Case> cases()
{
    struct Block {
        std::string name;
        Strings lines;
        std::vector<Strings> rows;
    };
    std::vector<Block> blocks;
    std::istringstream text(dataFile("cli/cases.txt"));
    for (std::string line; std::getline(text, line);) {
        if (line.starts_with("== "))
            blocks.push_back({ line.substr(3), {}, {} });
        else if (line.starts_with("| "))
            blocks.back().rows.push_back(words(line.substr(2), true));
        else if (!blocks.empty())
            blocks.back().lines.push_back(line);
    }
    std::vector<Case> all;
    for (const Block& block : blocks) {
        if (block.rows.empty()) all.push_back(parsed(block.name, block.lines));
        for (const Strings& cells : block.rows) {
            Strings lines;
            for (const std::string& line : block.lines)
                if (const auto kept = filled(line, cells)) lines.push_back(*kept);
            all.push_back(parsed(filled(block.name, cells).value(), lines));
        }
    }
    return all;
}

// The radios' devices and links: "@dev" and "@link" the first radio's, "@dev2", "@link2" the second's...
using RadioWords = std::vector<std::pair<std::string, std::string>>;

std::string expand(std::string text, const RadioWords& radios, const std::filesystem::path& dir,
    const std::filesystem::path& in)
{
    std::vector<std::pair<std::string, std::string>> words;
    for (std::size_t k = radios.size(); k-- > 0;) {
        const std::string n = k == 0 ? "" : std::to_string(k + 1);
        words.insert(words.end(), { { "@dev" + n, radios[k].first }, { "@link" + n, radios[k].second } });
    }
    words.insert(words.end(),
        { { "@/", dir.string() + "/" }, { "@in/", in.string() + "/" }, { "@data/", dataPath("") } });
    for (const auto& [word, value] : words)
        for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + value.size()))
            text.replace(at, word.size(), value);
    return text;
}

void expectText(const std::string& got, const std::string& want)
{
    if (want.starts_with("<") && std::getenv("KORVANE_UPDATE_GOLDEN") != nullptr)
        std::ofstream(want.substr(1), std::ios::binary) << got;
    if (want.starts_with("<"))
        EXPECT_EQ(goldenDifference(readWholeFile(want.substr(1)), got), "") << want.substr(1);
    else if (want.ends_with("*"))
        EXPECT_TRUE(got.starts_with(want.substr(0, want.size() - 1))) << got;
    else
        EXPECT_EQ(got, want);
}

// A fleet log with its times and the backup's time stamp as "TIME" and "STAMP".
std::string withoutTimes(const std::string& log)
{
    static const std::regex time("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z");
    static const std::regex stamp("[0-9]{8}-[0-9]{6}-[0-9]{3}");
    return std::regex_replace(std::regex_replace(log, time, "TIME"), stamp, "STAMP");
}

// A backup's name with its time stamp written STAMP: the one file of its folder, which must be so named.
std::filesystem::path stamped(const std::filesystem::path& name)
{
    std::vector<std::filesystem::path> all;
    if (std::filesystem::is_directory(name.parent_path()))
        for (const auto& entry : std::filesystem::directory_iterator(name.parent_path()))
            all.push_back(entry.path());
    EXPECT_EQ(all.size(), 1u) << name;
    if (all.size() != 1) return name;
    EXPECT_EQ(withoutTimes(all[0].filename().string()), name.filename().string());
    return all[0];
}

// The inputs every case may use, in "@in/".
void makeInputs(const std::filesystem::path& in)
{
    std::filesystem::create_directories(in);
    const auto at = [&](const std::string& name) { return (in / name).string(); };
    for (const std::string name : { "m0.rdw", "m2.rdw", "m2.rdh", "m3.rdw", "m5.rdhax", "m6.rdh" })
        saveFile(at(name), model::defaultImage(name[1] - '0'));
    model::RadioImage verify = model::defaultImage(3);
    verify.channels[2][11] = 0x05;
    saveFile(at("v3.rdw"), verify);
    // Model 0's defaults with its first channel open and received at 146.0125 MHz, in 2.5 kHz units.
    model::RadioImage r25 = model::defaultImage(0);
    const auto flags = static_cast<std::size_t>(model::flagByte(model::Side::Receive));
    model::setBit(r25.channels[0][flags], model::kStepBit, false);
    model::setBit(r25.channels[0][flags], model::kOpenBit, true);
    model::encodeFrequency(146'012'500, r25.channels[0], model::Side::Receive);
    saveFile(at("r25.rdw"), r25);
    model::RadioImage odd = model::defaultImage(1);
    odd.settings[11] &= 0xF0; // squelch level 0: no list entry shows it
    saveFile(at("odd.rdw"), odd);
    model::RadioImage ch7 = model::defaultImage(5);
    ch7.channels[7][11] = 0x2A;
    saveFile(at("ch7.rdw"), ch7);
    saveFile(at("ch7.rdh"), ch7);
    saveFile(at("ch7-opened.rdw"), openFile(at("ch7.rdh"))); // what a write of ch7.rdh backs up
    // Model 0's defaults with a field of every kind changed, under model 1's code.
    model::RadioImage every = model::defaultImage(0);
    model::encodeFrequency(146'012'500, every.channels[0], model::Side::Receive);
    model::setBit(every.channels[0][2], model::kOpenBit, true);
    model::setBit(every.channels[1][7], model::kOpenBit, false);
    every.channels[1][10] = 0x17;
    every.channels[2][14] = 0x5A;
    model::encodeSetting(model::SettingsList::TimeOut, every.settings, 3);
    model::encodeSetting(model::SettingsList::Dwell, every.settings, 2);
    every.settings[20] = 0x11;
    every.parameters[1][2] = 0x33;
    every.alignment[2][3] = 0x44;
    every.modelIndex = 1;
    saveFile(at("every.rdw"), every);
    std::ofstream(at("bad.csv"), std::ios::binary) << "Location,Frequency\r\n1,145.0\r\n2,145.001\r\n";
}

TEST(E2eCases, Golden)
{
    const TempDir scratch;
    const std::filesystem::path in = scratch / "in";
    makeInputs(in);
    std::map<std::string, std::string> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(in))
        inputs[entry.path().string()] = readWholeFile(entry.path());

    std::vector<Case> rows = cases();
    ASSERT_GT(rows.size(), 50u);
    // The Windows program under Wine takes the cases that need no radio and name no port.
    if (windowsCli())
        std::erase_if(rows, [](const Case& c) {
            return !c.radios.empty() || std::find(c.args.begin(), c.args.end(), "--port") != c.args.end();
        });
    // The cases at the line's real pace last, together, as on a quiet machine.
    std::stable_partition(rows.begin(), rows.end(), [](const Case& c) {
        return std::none_of(c.radios.begin(), c.radios.end(),
            [](const Strings& r) { return std::find(r.begin(), r.end(), "--paced") != r.end(); });
    });
    std::vector<std::filesystem::path> dirs;
    std::vector<std::vector<std::unique_ptr<SimRadio>>> radios;
    std::vector<std::unique_ptr<CliProcess>> runs;
    std::vector<Env> envs;
    const auto fill = [&](std::size_t k, const std::string& text) {
        RadioWords words;
        for (const auto& radio : radios[k])
            words.emplace_back(radio->device(), radio->linkPath());
        if (words.empty()) words.emplace_back("/dev/null", "");
        return expand(text, words, dirs[k], in);
    };
    // A dozen at a time: the protocol's fixed pauses overlap, and a busy machine still answers at once.
    constexpr std::size_t kBatch = 12;
    for (std::size_t first = 0; first < rows.size(); first += kBatch) {
        const std::size_t last = std::min(rows.size(), first + kBatch);
        for (std::size_t k = first; k < last; ++k) {
            dirs.push_back(scratch / ("case" + std::to_string(k)));
            std::filesystem::create_directories(dirs[k]);
            for (const auto& [name, check] : rows[k].files)
                if (check == "untouched") std::ofstream(dirs[k] / name, std::ios::binary) << kUntouched;
            radios.emplace_back();
            for (const Strings& radio : rows[k].radios) {
                Strings options;
                for (const std::string& o : radio)
                    if (o != "--paced") options.push_back(expand(o, {}, dirs[k], in));
                const bool paced = options.size() < radio.size();
                radios[k].push_back(std::make_unique<SimRadio>(dirs[k], options, paced));
                ASSERT_FALSE(radios[k].back()->device().empty()) << rows[k].name;
            }
            Strings args;
            for (const std::string& a : rows[k].args)
                args.push_back(fill(k, a));
            envs.emplace_back();
            for (const auto& [name, value] : rows[k].env)
                envs[k].emplace_back(name, fill(k, value));
            runs.push_back(std::make_unique<CliProcess>(dirs[k], args, envs[k], rows[k].input));
        }
        for (std::size_t k = first; k < last; ++k) {
            const Case& row = rows[k];
            SCOPED_TRACE(row.name);
            CliRun run = runs[k]->finish();
            for (const Strings& next : row.then) {
                Strings args;
                for (const std::string& a : next)
                    args.push_back(fill(k, a));
                run = CliProcess(dirs[k], args, envs[k]).finish();
            }
            EXPECT_EQ(run.exitCode, row.exitCode);
            expectText(run.out, fill(k, row.out));
            expectText(run.err, fill(k, row.err));
            for (std::size_t r = 0; r < radios[k].size(); ++r) {
                SimRadio* radio = radios[k][r].get();
                // The radio notes the line closing after the program has gone; what it heard is in by then.
                const bool heardAny = !row.packets.empty()
                    || std::any_of(row.heard.begin(), row.heard.end(), [](const auto& h) { return h.second > 0; });
                for (int i = 0; heardAny && i < 100 && radio->logged("--", "the program closed the line").empty(); ++i)
                    std::this_thread::sleep_for(20ms);
                for (const auto& [prefix, count] : r == 0 ? row.heard : decltype(row.heard) {})
                    EXPECT_EQ(radio->logged("<-", prefix).size(), count) << prefix;
                Strings packets; // the twelve bytes that end each line
                for (const std::string& text : radio->logged("<-", "adjust item"))
                    packets.push_back(text.substr(text.size() > 35 ? text.size() - 35 : 0));
                EXPECT_EQ(packets, row.packets);
                radio->stop();
            }
            for (const auto& [name, check] : row.files) {
                const std::filesystem::path file = name.find("STAMP") == std::string::npos ? dirs[k] / name
                                                                                           : stamped(dirs[k] / name);
                const std::string value = check.substr(check.find('=') + 1);
                if (check == "absent") {
                    EXPECT_FALSE(std::filesystem::exists(file)) << name;
                } else if (check == "untouched") {
                    EXPECT_EQ(readWholeFile(file), kUntouched) << name;
                } else if (check.starts_with("log=")) {
                    EXPECT_EQ(withoutTimes(readWholeFile(file)), fill(k, value)) << name;
                } else if (check.starts_with("same=")) {
                    EXPECT_EQ(readWholeFile(file), readWholeFile(fill(k, value))) << name;
                } else if (check.starts_with("model=")) {
                    EXPECT_EQ(openFile(file.string()).modelIndex, std::stoi(value)) << name;
                } else if (check.starts_with("rx")) {
                    const auto c = static_cast<std::size_t>(std::stoi(check.substr(2)));
                    EXPECT_EQ(model::formatFrequency(openFile(file.string()).channels[c], model::Side::Receive), value);
                } else if (check.starts_with("trace=")) {
                    // "  0.012345 >> 72 45 41 44": the time, then the port call.
                    std::istringstream trace(readWholeFile(file));
                    std::string all, text;
                    for (double before = 0; std::getline(trace, text); before = std::stod(text)) {
                        EXPECT_GE(std::stod(text), before) << text;
                        all += text.substr(text.find_first_not_of(" .0123456789")) + "\n";
                    }
                    EXPECT_TRUE(all.starts_with("open " + fill(k, "@dev") + "\n") && all.ends_with("\nclose\n")) << all;
                    EXPECT_NE(all.find("\n<< "), std::string::npos) << all;
                    std::istringstream lines(value);
                    for (std::size_t at = 0; std::getline(lines, text, '|');)
                        EXPECT_NE(at = all.find("\n" + text, at), std::string::npos) << text;
                } else {
                    ADD_FAILURE() << "no such check: " << check;
                }
            }
        }
    }
    for (const auto& [file, bytes] : inputs)
        EXPECT_EQ(readWholeFile(file), bytes) << file << " is only ever read";
}

} // namespace
