#pragma once
// The programs from outside: the simulated radio on a pseudo-terminal and the real korvane-cli run
// against it, each a child process in a scratch folder of its test.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "support/child_process.h"
#include "support/golden.h"

#include <gtest/gtest.h>

#include <atomic>
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

// A new name in `folder` for a child's files: "radio0", "cli3"...
inline std::filesystem::path childName(const std::filesystem::path& folder, const std::string& kind)
{
    static std::atomic<int> counter { 0 };
    return folder / (kind + std::to_string(counter++));
}

// The simulated radio with a log, at the line's real pace only when asked. Killed when the test ends.
class SimRadio {
public:
    SimRadio(const std::filesystem::path& folder, std::vector<std::string> args, bool paced)
        : m_name(childName(folder, "radio").string())
    {
        args.insert(args.end(), { "--log", m_name + ".log", "--link", linkPath() });
        if (!paced) args.push_back("--no-pace");
        m_process = std::make_unique<Child>(KORVANE_RADIO_SIM, std::move(args), Env {}, m_name + ".out", m_name + ".err");
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
    // The twelve bytes that end each line heard with this prefix ("adjust item").
    std::vector<Bytes> packetsHeard(const std::string& prefix) const
    {
        std::vector<Bytes> packets;
        for (const std::string& text : logged("<-", prefix)) {
            std::istringstream words(text);
            Strings all;
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
    std::string m_name;
    std::unique_ptr<Child> m_process;
    std::string m_device;
};

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The Windows korvane-cli.exe that KORVANE_CLI_EXE names, run under Wine in place of the Linux
// one; nullptr when the tests run the Linux program.
inline const char* windowsCli() { return std::getenv("KORVANE_CLI_EXE"); }

// korvane-cli started now, its standard input `input` (none: /dev/null); finish() waits for it.
class CliProcess {
public:
    CliProcess(const std::filesystem::path& folder, std::vector<std::string> args, Env env,
        const std::optional<std::string>& input = std::nullopt)
        : m_name(childName(folder, "cli").string())
    {
        std::optional<std::filesystem::path> in;
        if (input) {
            in = m_name + ".in";
            std::ofstream(*in, std::ios::binary) << *input;
        }
        if (std::none_of(env.begin(), env.end(), [](const auto& e) { return e.first == "XDG_DATA_HOME"; }))
            env.emplace_back("XDG_DATA_HOME", (folder / "data-home").string()); // never the user's own
        if (const char* exe = windowsCli()) args.insert(args.begin(), exe);
        m_process = std::make_unique<Child>(
            windowsCli() ? "/usr/bin/wine" : KORVANE_CLI, std::move(args), env, m_name + ".out", m_name + ".err", in);
    }

    CliRun finish()
    {
        CliRun run { m_process->wait(), readWholeFile(m_name + ".out"), readWholeFile(m_name + ".err") };
        if (windowsCli()) { // a Windows program ends its lines with CR LF
            for (std::string* text : { &run.out, &run.err })
                for (std::size_t at = text->find("\r\n"); at != std::string::npos; at = text->find("\r\n", at))
                    text->erase(at, 1);
        }
        return run;
    }

private:
    std::string m_name;
    std::unique_ptr<Child> m_process;
};

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

} // namespace korvane::test
