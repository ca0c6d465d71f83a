#pragma once
// The simulated radio as a child process on its pseudo-terminal, with a packet log the tests read
// back: what the radio heard from the command line is the proof of what went over the line.

#include "support/run_command.h"

#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace korvane::e2e {

using Bytes = std::vector<std::uint8_t>;

// One line of the log: "<-" heard, "->" sent, "--" a note; the text holds the bytes in hex.
struct LogLine {
    std::string arrow;
    std::string text;
};

class SimProcess {
public:
    SimProcess(const std::filesystem::path& folder, std::vector<std::string> options)
        : m_log(folder / "radio.log")
    {
        options.insert(options.end(), { "--no-pace", "--log", m_log.string() });
        options.insert(options.begin(), KORVANE_RADIO_SIM);
        int fds[2] = { -1, -1 };
        if (::pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::vector<char*> argv;
        for (std::string& word : options)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        if (::posix_spawn(&m_pid, KORVANE_RADIO_SIM, &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        m_device = firstLine(fds[0]);
        ::close(fds[0]);
    }
    ~SimProcess()
    {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& device() const { return m_device; }

    std::vector<LogLine> log() const
    {
        std::vector<LogLine> lines;
        std::istringstream in(test::readWholeFile(m_log));
        for (std::string text; std::getline(in, text);) {
            std::istringstream fields(text);
            double seconds = 0;
            LogLine line;
            fields >> seconds >> line.arrow;
            std::getline(fields >> std::ws, line.text);
            lines.push_back(line);
        }
        return lines;
    }

    // What the radio heard, each as its log text ("tEST5 ...", "adjust item 5 to 101 ...", "END ...").
    std::vector<std::string> heard() const
    {
        std::vector<std::string> texts;
        for (const LogLine& line : log())
            if (line.arrow == "<-") texts.push_back(line.text);
        return texts;
    }

    // The bytes of every adjust packet heard, in order.
    std::vector<Bytes> packets() const
    {
        std::vector<Bytes> found;
        for (const std::string& text : heard()) {
            if (!text.starts_with("adjust item")) continue;
            std::istringstream words(text);
            std::vector<std::string> all;
            for (std::string w; words >> w;)
                all.push_back(w);
            Bytes bytes;
            for (std::size_t k = all.size() - 12; k < all.size(); ++k)
                bytes.push_back(static_cast<std::uint8_t>(std::stoul(all[k], nullptr, 16)));
            found.push_back(bytes);
        }
        return found;
    }

    bool noted(const std::string& note) const
    {
        for (const LogLine& line : log())
            if (line.arrow == "--" && line.text == note) return true;
        return false;
    }

private:
    static std::string firstLine(int fd)
    {
        std::string text;
        for (;;) {
            pollfd p { fd, POLLIN, 0 };
            if (::poll(&p, 1, 5000) <= 0) return {};
            char c = 0;
            if (::read(fd, &c, 1) != 1 || c == '\n') return text;
            text += c;
        }
    }

    std::filesystem::path m_log;
    pid_t m_pid = -1;
    std::string m_device;
};

} // namespace korvane::e2e
