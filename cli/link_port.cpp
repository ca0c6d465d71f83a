#include "cli/link_port.h"

#include <cerrno>
#include <cstring>
#include <iostream>

namespace korvane::cli {

bool LinkPort::traceTo(const std::string& path, util::Clock& clock)
{
    errno = 0;
    m_traceFile.open(path, std::ios::out | std::ios::trunc);
    if (!m_traceFile) {
        const int error = errno;
        std::cerr << "korvane-cli: cannot write the trace file " << path << ": "
                  << (error != 0 ? std::strerror(error) : "open failed") << '\n';
        return false;
    }
    m_tracing.emplace(m_posix, clock, m_traceFile);
    return true;
}

serial::SerialPort& LinkPort::port()
{
    if (m_tracing) return *m_tracing;
    return m_posix;
}

bool startTrace(LinkPort& port, const std::optional<std::string>& tracePath, util::Clock& clock)
{
    return !tracePath || port.traceTo(*tracePath, clock);
}

} // namespace korvane::cli
