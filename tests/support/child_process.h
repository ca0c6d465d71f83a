#pragma once
// A program run as a child process by the tests and benchmarks: its arguments, its environment
// (never the machine's own port mapping), its output read line by line, its end.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <poll.h>
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
using SteadyTime = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The environment without the machine's own port mapping, plus `extra` (replacing the same names).
inline std::vector<std::string> childEnvironment(const Env& extra)
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const bool replaced = std::any_of(
            extra.begin(), extra.end(), [&](const auto& variable) { return entry.starts_with(variable.first + "="); });
        if (!entry.starts_with("KORVANE_COM") && !replaced) env.push_back(entry);
    }
    for (const auto& [name, value] : extra)
        env.push_back(name + "=" + value);
    return env;
}

// A child process reading a file or /dev/null, its output to files or (none given) standard output to a pipe.
class Child {
public:
    Child(const std::string& program, std::vector<std::string> args, const Env& env,
        const std::optional<std::filesystem::path>& outFile, const std::optional<std::filesystem::path>& errFile,
        const std::optional<std::filesystem::path>& inFile = std::nullopt)
    {
        int pipeFds[2] = { -1, -1 };
        if (!outFile && ::pipe2(pipeFds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(
            &actions, STDIN_FILENO, inFile ? inFile->c_str() : "/dev/null", O_RDONLY, 0);
        if (outFile)
            posix_spawn_file_actions_addopen(
                &actions, STDOUT_FILENO, outFile->c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        else
            posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        if (errFile)
            posix_spawn_file_actions_addopen(
                &actions, STDERR_FILENO, errFile->c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        std::vector<std::string> envText = childEnvironment(env);
        std::vector<char*> envp;
        for (std::string& e : envText)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        m_started = SteadyTime::now();
        if (::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (!outFile) {
            ::close(pipeFds[1]);
            m_stdout = pipeFds[0];
        }
    }
    ~Child()
    {
        kill(SIGKILL);
        wait();
        if (m_stdout >= 0) ::close(m_stdout);
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
            m_ended = SteadyTime::now();
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return m_status.value_or(-1);
    }
    double seconds() const { return std::chrono::duration<double>(m_ended - m_started).count(); }

    // The next line on the pipe, or "" when none comes in time.
    std::string readLine(std::chrono::milliseconds timeout = 5000ms)
    {
        const auto end = SteadyTime::now() + timeout;
        for (;;) {
            if (const std::size_t nl = m_buffered.find('\n'); nl != std::string::npos) {
                std::string line = m_buffered.substr(0, nl);
                m_buffered.erase(0, nl + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - SteadyTime::now());
            pollfd p { m_stdout, POLLIN, 0 };
            if (m_stdout < 0 || left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
            char chunk[256];
            const ssize_t n = ::read(m_stdout, chunk, sizeof chunk);
            if (n <= 0) return {};
            m_buffered.append(chunk, static_cast<std::size_t>(n));
        }
    }

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
    std::string m_buffered;
    std::optional<int> m_status;
    SteadyTime::time_point m_started {};
    SteadyTime::time_point m_ended {};
};

} // namespace korvane::test
