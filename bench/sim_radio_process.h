#pragma once
// The simulated radio as the benchmarks start it: a child process at the line's real pace.

#include "support/child_process.h"

#include <atomic>
#include <csignal>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace korvane::bench {

// The simulated radio as a child process, at the line's real pace; its first line names its device.
class Radio {
public:
    explicit Radio(std::vector<std::string> args)
        : m_out(outputName())
        , m_process(KORVANE_RADIO_SIM, std::move(args), {}, m_out, "/dev/null")
        , m_device(m_process.firstLine())
    {
    }
    ~Radio()
    {
        m_process.kill(SIGTERM);
        m_process.wait();
        std::error_code ignored;
        std::filesystem::remove(m_out, ignored);
    }
    Radio(const Radio&) = delete;
    Radio& operator=(const Radio&) = delete;

    const std::string& device() const { return m_device; }

private:
    // A file of its own in the temporary folder for the radio's standard output.
    static std::filesystem::path outputName()
    {
        static std::atomic<int> counter { 0 };
        const std::string name = "korvane-bench-radio-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        return std::filesystem::temp_directory_path() / name;
    }

    std::filesystem::path m_out;
    test::Child m_process;
    std::string m_device;
};

} // namespace korvane::bench
