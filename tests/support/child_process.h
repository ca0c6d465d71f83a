#pragma once
// A program run as a child process by the tests and benchmarks: its arguments, its environment
// (never the machine's own port mapping), its input and output files, its end.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace korvane::test {

using Env = std::vector<std::pair<std::string, std::string>>;

// A child process reading `in` (none: /dev/null), its standard output and error to files.
class Child {
public:
    Child(const std::string& program, std::vector<std::string> args, const Env& env, const std::filesystem::path& out,
        const std::filesystem::path& err, const std::optional<std::filesystem::path>& in = std::nullopt)
        : m_out(out)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in ? in->c_str() : "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        args.insert(args.begin(), program);
        // The environment without the machine's own port mapping, plus `env` (replacing the same names).
        std::vector<std::string> variables;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            const bool replaced
                = std::any_of(env.begin(), env.end(), [&](const auto& v) { return entry.starts_with(v.first + "="); });
            if (!entry.starts_with("KORVANE_COM") && !replaced) variables.push_back(entry);
        }
        for (const auto& [name, value] : env)
            variables.push_back(name + "=" + value);
        std::vector<char*> argv, envp;
        for (auto [texts, pointers] : { std::pair { &args, &argv }, std::pair { &variables, &envp } }) {
            for (std::string& text : *texts)
                pointers->push_back(text.data());
            pointers->push_back(nullptr);
        }
        if (::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child()
    {
        kill(SIGKILL);
        wait();
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    void kill(int signal)
    {
        if (m_pid > 0 && !m_status) ::kill(m_pid, signal);
    }

    // The exit status (128 + signal when killed), waiting for it.
    int wait()
    {
        if (m_pid > 0 && !m_status) {
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return m_status.value_or(-1);
    }

    // The first line of its standard output, or "" when none comes within five seconds.
    std::string firstLine() const
    {
        for (int tries = 0; tries < 500; ++tries) {
            std::ifstream file(m_out);
            // A line is whole once its line end has come.
            if (std::string line; std::getline(file, line) && !file.eof()) return line;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }

private:
    std::filesystem::path m_out;
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

} // namespace korvane::test
