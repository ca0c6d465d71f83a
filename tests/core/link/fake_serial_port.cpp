#include "tests/core/link/fake_serial_port.h"

#include <algorithm>

namespace korvane::link::fakes {

void FakeSerialPort::deliver(Clock::TimePoint start, const Bytes& bytes, bool paced)
{
    Clock::TimePoint t = start;
    for (std::uint8_t b : bytes) {
        if (paced) t += kByteTime;
        m_incoming.emplace_back(t, b);
    }
    std::stable_sort(
        m_incoming.begin(), m_incoming.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::vector<Bytes> FakeSerialPort::writtenChunks() const
{
    std::vector<Bytes> chunks;
    for (const WrittenBytes& w : m_writes)
        chunks.push_back(w.bytes);
    return chunks;
}

PortStatus FakeSerialPort::open(const std::string& device)
{
    close();
    m_opened.push_back(device);
    if (auto it = m_openFailures.find(device); it != m_openFailures.end())
        return PortError { it->second, device, "scripted failure",
            it->second == PortErrorKind::PermissionDenied ? "dialout" : "" };
    m_open = true;
    m_device = device;
    m_incoming.clear();
    m_lineFreeAt = m_clock.now();
    return kPortOk;
}

void FakeSerialPort::close()
{
    if (m_open) ++m_closes;
    m_open = false;
}

std::optional<PortError> FakeSerialPort::checkLine()
{
    m_clock.advance(m_callCost);
    if (!m_open) return PortError { PortErrorKind::NotOpen, m_device, "not open", {} };
    if (m_hangUpAt && m_clock.now() >= *m_hangUpAt)
        return PortError { PortErrorKind::LineDropped, m_device, "hung up", {} };
    return std::nullopt;
}

std::size_t FakeSerialPort::arrivedNoise() const
{
    if (!m_noiseFrom || m_clock.now() < *m_noiseFrom) return 0;
    const auto total = static_cast<std::size_t>((m_clock.now() - *m_noiseFrom) / kByteTime);
    return total > m_noiseConsumed ? total - m_noiseConsumed : 0;
}

PortStatus FakeSerialPort::write(std::span<const std::uint8_t> bytes)
{
    if (m_hangUpOnWrite > 0 && static_cast<int>(m_writes.size()) + 1 >= m_hangUpOnWrite && !m_hangUpAt)
        m_hangUpAt = m_clock.now();
    if (auto e = checkLine()) return *e;
    const Clock::TimePoint start = std::max(m_clock.now(), m_lineFreeAt);
    m_lineFreeAt = start + static_cast<long>(bytes.size()) * kByteTime;
    m_writes.push_back({ m_clock.now(), m_lineFreeAt, Bytes(bytes.begin(), bytes.end()) });
    if (m_farEnd) m_farEnd(*this, m_writes.back().bytes, m_lineFreeAt);
    return kPortOk;
}

PortStatus FakeSerialPort::drain()
{
    if (auto e = checkLine()) return *e;
    m_clock.sleepUntil(m_lineFreeAt);
    return kPortOk;
}

PortResult<std::size_t> FakeSerialPort::transmitCount()
{
    if (auto e = checkLine()) return *e;
    if (m_lineFreeAt <= m_clock.now()) return std::size_t { 0 };
    return static_cast<std::size_t>((m_lineFreeAt - m_clock.now() + kByteTime - Clock::Duration(1)) / kByteTime);
}

PortResult<std::size_t> FakeSerialPort::receiveCount()
{
    if (auto e = checkLine()) return *e;
    const auto now = m_clock.now();
    const auto arrived
        = std::count_if(m_incoming.begin(), m_incoming.end(), [&](const auto& p) { return p.first <= now; });
    return static_cast<std::size_t>(arrived) + arrivedNoise();
}

PortResult<Bytes> FakeSerialPort::takeInput()
{
    if (auto e = checkLine()) return *e;
    Bytes taken;
    while (!m_incoming.empty() && m_incoming.front().first <= m_clock.now()) {
        taken.push_back(m_incoming.front().second);
        m_incoming.pop_front();
    }
    const std::size_t noise = arrivedNoise();
    taken.insert(taken.end(), noise, std::uint8_t { 0x55 });
    m_noiseConsumed += noise;
    return taken;
}

PortStatus FakeSerialPort::discardInput()
{
    auto taken = takeInput();
    if (!taken) return taken.error();
    return kPortOk;
}

PortStatus FakeSerialPort::discardOutput()
{
    if (auto e = checkLine()) return *e;
    m_lineFreeAt = std::min(m_lineFreeAt, m_clock.now());
    return kPortOk;
}

} // namespace korvane::link::fakes
