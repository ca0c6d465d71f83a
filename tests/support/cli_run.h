#pragma once
// The programs from outside: the simulated radio on a pseudo-terminal as a child process, and the
// real korvane-cli run against it, each in a scratch folder of its own test.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace korvane::test {

using Bytes = std::vector<std::uint8_t>;
using Strings = std::vector<std::string>;

// One line of the simulated radio's log: "<-" heard, "->" sent, "--" a note.
struct LogLine {
    double seconds = 0;
    std::string arrow;
    std::string text;
};

// The simulated radio with a log, at the line's real pace only when asked. Killed when the test ends.
class SimRadio {
public:
    SimRadio(const std::filesystem::path& folder, std::vector<std::string> args, bool paced = false)
    {
        static std::atomic<int> counter { 0 };
        const std::string name = "radio" + std::to_string(counter++);
        m_log = folder / (name + ".log");
        m_link = folder / (name + ".port");
        args.insert(args.end(), { "--log", m_log.string(), "--link", m_link.string() });
        if (!paced) args.push_back("--no-pace");
        m_process = std::make_unique<Child>(
            KORVANE_RADIO_SIM, std::move(args), Env {}, std::nullopt, folder / (name + ".err"));
        m_device = m_process->readLine();
    }

    const std::string& device() const { return m_device; }
    // A symbolic link to it, as a user would name it in KORVANE_COM1.
    std::string linkPath() const { return m_link.string(); }
    // Ends the radio as a user would (it saves with --save on the way out).
    void stop()
    {
        m_process->kill(SIGTERM);
        m_process->wait();
    }

    // The log lines with this arrow whose text starts with `prefix`.
    std::vector<LogLine> logged(const std::string& arrow, const std::string& prefix) const
    {
        std::vector<LogLine> found;
        std::istringstream in(readWholeFile(m_log));
        for (std::string text; std::getline(in, text);) {
            std::istringstream fields(text);
            LogLine line;
            fields >> line.seconds >> line.arrow;
            std::getline(fields >> std::ws, line.text);
            if (line.arrow == arrow && line.text.starts_with(prefix)) found.push_back(line);
        }
        return found;
    }
    // The twelve bytes that end each line heard with this prefix ("record ", "adjust item").
    std::vector<Bytes> packetsHeard(const std::string& prefix) const
    {
        std::vector<Bytes> packets;
        for (const LogLine& line : logged("<-", prefix)) {
            std::istringstream words(line.text);
            std::vector<std::string> all;
            for (std::string w; words >> w;)
                all.push_back(w);
            Bytes bytes;
            for (std::size_t k = all.size() >= 12 ? all.size() - 12 : 0; k < all.size(); ++k)
                bytes.push_back(static_cast<std::uint8_t>(std::stoul(all[k], nullptr, 16)));
            packets.push_back(bytes);
        }
        return packets;
    }

private:
    std::filesystem::path m_log;
    std::filesystem::path m_link;
    std::unique_ptr<Child> m_process;
    std::string m_device;
};

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    double seconds = 0;
};

// The Windows korvane-cli.exe that KORVANE_CLI_EXE names, run under Wine in place of the Linux
// one; nullptr when the tests run the Linux program.
inline const char* windowsCli() { return std::getenv("KORVANE_CLI_EXE"); }

// korvane-cli started now; finish() waits for it.
class CliProcess {
public:
    // input: what standard input holds (none: /dev/null).
    CliProcess(const std::filesystem::path& folder, std::vector<std::string> args, const Env& env = {},
        const std::optional<std::string>& input = std::nullopt)
    {
        static std::atomic<int> counter { 0 };
        const std::string name = "cli" + std::to_string(counter++);
        m_out = folder / (name + ".out");
        m_err = folder / (name + ".err");
        std::optional<std::filesystem::path> in;
        if (input) {
            in = folder / (name + ".in");
            std::ofstream(*in, std::ios::binary) << *input;
        }
        Env withDataHome = env;
        if (std::none_of(env.begin(), env.end(), [](const auto& e) { return e.first == "XDG_DATA_HOME"; }))
            withDataHome.emplace_back("XDG_DATA_HOME", (folder / "data-home").string()); // never the user's own
        if (const char* exe = windowsCli()) args.insert(args.begin(), exe);
        m_process = std::make_unique<Child>(
            windowsCli() ? "/usr/bin/wine" : KORVANE_CLI, std::move(args), withDataHome, m_out, m_err, in);
    }

    CliRun finish()
    {
        CliRun run;
        run.exitCode = m_process->wait();
        run.seconds = m_process->seconds();
        run.out = readWholeFile(m_out);
        run.err = readWholeFile(m_err);
        if (windowsCli()) { // a Windows program ends its lines with CR LF
            for (std::string* text : { &run.out, &run.err })
                for (std::size_t at = text->find("\r\n"); at != std::string::npos; at = text->find("\r\n", at))
                    text->erase(at, 1);
        }
        return run;
    }

private:
    std::filesystem::path m_out;
    std::filesystem::path m_err;
    std::unique_ptr<Child> m_process;
};

inline CliRun runCli(const std::filesystem::path& folder, std::vector<std::string> args, const Env& env = {})
{
    return CliProcess(folder, std::move(args), env).finish();
}

inline model::RadioImage openFile(const std::string& path)
{
    auto opened = files::openDataFile(path, model::defaultImage(0));
    EXPECT_TRUE(static_cast<bool>(opened)) << path;
    return opened ? opened->image : model::RadioImage {};
}

inline void saveFile(const std::string& path, const model::RadioImage& image)
{
    EXPECT_FALSE(files::saveDataFile(path, image, files::fileKindForPath(path)).has_value()) << path;
}

inline std::string encoded(const model::RadioImage& image, files::FileKind kind)
{
    const auto bytes = files::encodeDataFile(image, kind);
    return std::string(bytes.begin(), bytes.end());
}

class ProcessTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    const std::filesystem::path& folder() const { return m_dir.path(); }

    TempDir m_dir;
};

} // namespace korvane::test
