#pragma once
// The simulated radio as the benchmarks start it: a child process at the line's real pace.

#include "support/child_process.h"

#include <csignal>
#include <string>
#include <vector>

namespace korvane::bench {

// The simulated radio as a child process, at the line's real pace; its first line names its device.
class Radio {
public:
    explicit Radio(std::vector<std::string> args)
        : m_process(KORVANE_RADIO_SIM, std::move(args), {}, std::nullopt, std::nullopt)
        , m_device(m_process.readLine())
    {
    }
    ~Radio()
    {
        m_process.kill(SIGTERM);
        m_process.wait();
    }
    Radio(const Radio&) = delete;
    Radio& operator=(const Radio&) = delete;

    const std::string& device() const { return m_device; }

private:
    test::Child m_process;
    std::string m_device;
};

} // namespace korvane::bench
