#include "cli/link_port.h"

#include "core/util/utf8_path.h"

#include <cerrno>
#include <cstring>
#include <iostream>

namespace korvane::cli {

bool LinkPort::traceTo(const std::string& path, util::Clock& clock)
{
    errno = 0;
    m_traceFile.open(util::pathFromUtf8(path), std::ios::out | std::ios::trunc);
    if (!m_traceFile) {
        const int error = errno;
        std::cerr << "korvane-cli: cannot write the trace file " << path << ": "
                  << (error != 0 ? std::strerror(error) : "open failed") << '\n';
        return false;
    }
    m_tracing.emplace(*m_system, clock, m_traceFile);
    return true;
}

serial::SerialPort& LinkPort::port()
{
    if (m_tracing) return *m_tracing;
    return *m_system;
}

bool startTrace(LinkPort& port, const std::optional<std::string>& tracePath, util::Clock& clock)
{
    return !tracePath || port.traceTo(*tracePath, clock);
}

} // namespace korvane::cli
