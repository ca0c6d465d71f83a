#include "core/serial/port_map.h"

#include "core/serial/posix_serial_port.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#if defined(__linux__)
#include <linux/serial.h>
#endif
#include <sys/ioctl.h>
#include <system_error>
#include <unistd.h>

namespace korvane::serial {

namespace {

namespace fs = std::filesystem;

// Device families in the order their members get port numbers.
enum class Family { UsbSerial, UsbModem, BuiltIn };

struct Candidate {
    Family family;
    unsigned number;
    std::string name;
};

std::optional<Candidate> candidateFor(const std::string& name)
{
    static constexpr std::pair<std::string_view, Family> kPrefixes[] {
        { "ttyUSB", Family::UsbSerial },
        { "ttyACM", Family::UsbModem },
        { "ttyS", Family::BuiltIn },
    };
    for (const auto& [prefix, family] : kPrefixes) {
        if (!name.starts_with(prefix) || name.size() == prefix.size()) continue;
        const char* first = name.data() + prefix.size();
        const char* last = name.data() + name.size();
        unsigned number = 0;
        const auto [end, error] = std::from_chars(first, last, number);
        if (error == std::errc {} && end == last) return Candidate { family, number, name };
    }
    return std::nullopt;
}

std::optional<long> readNumber(const fs::path& file)
{
    std::ifstream in(file);
    long value = 0;
    if (!(in >> value)) return std::nullopt;
    return value;
}

// Every PC announces a handful of built-in ports whether or not a UART is fitted; only those
// whose port type the kernel recognised are real.
bool builtInPortIsFitted(const PortMapSource& source, const Candidate& c)
{
    const fs::path tty = source.sysRoot / "class" / "tty" / c.name;
    std::error_code ec;
    if (!fs::exists(tty / "device" / "driver", ec)) return false;
    constexpr long kPortUnknown = 0;
    if (const auto type = readNumber(tty / "type")) return *type != kPortUnknown;
#if defined(TIOCGSERIAL)
    // Older kernels have no "type" attribute: ask the driver. If it cannot tell, trust the driver.
    const fs::path device = source.devRoot / c.name;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return true;
    serial_struct info {};
    const bool known = ::ioctl(fd, TIOCGSERIAL, &info) != 0 || info.type != kPortUnknown;
    ::close(fd);
    return known;
#else
    return true;
#endif
}

std::optional<std::string> environmentValue(const PortMapSource& source, const std::string& name)
{
    if (source.getEnv) return source.getEnv(name);
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

} // namespace

PortMapSource systemPortMapSource() { return PortMapSource {}; }

std::vector<std::string> serialDevices(const PortMapSource& source)
{
    std::vector<Candidate> found;
    std::error_code ec;
    for (fs::directory_iterator it(source.devRoot, ec), end; !ec && it != end; it.increment(ec)) {
        const auto candidate = candidateFor(it->path().filename().string());
        if (!candidate) continue;
        if (candidate->family == Family::BuiltIn && !builtInPortIsFitted(source, *candidate)) continue;
        found.push_back(*candidate);
    }
    std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
        return a.family != b.family ? a.family < b.family : a.number < b.number;
    });
    std::vector<std::string> devices;
    for (const Candidate& c : found)
        devices.push_back((source.devRoot / c.name).string());
    return devices;
}

std::optional<std::string> deviceForPort(int n, const PortMapSource& source)
{
    if (n < kFirstPort || n > kLastPort) return std::nullopt;
    if (auto named = environmentValue(source, "KORVANE_COM" + std::to_string(n)); named && !named->empty())
        return named;
    const std::vector<std::string> devices = serialDevices(source);
    if (static_cast<std::size_t>(n) > devices.size()) return std::nullopt;
    return devices[static_cast<std::size_t>(n - 1)];
}

std::optional<std::string> deviceForPort(int n) { return deviceForPort(n, systemPortMapSource()); }

bool probePort(int n, SerialPort& port, const PortMapSource& source)
{
    const auto device = deviceForPort(n, source);
    if (!device) return false;
    const PortStatus opened = port.open(*device);
    port.close();
    // A port that another program holds, or that we may not open, is still there.
    return opened.ok() || opened.error().kind != PortErrorKind::NoSuchDevice;
}

bool probePort(int n)
{
    PosixSerialPort port;
    return probePort(n, port, systemPortMapSource());
}

int probePorts(SerialPort& port, const PortMapSource& source)
{
    int count = 0;
    while (count < kLastPort && probePort(count + 1, port, source))
        ++count;
    return count;
}

int probePorts()
{
    PosixSerialPort port;
    return probePorts(port, systemPortMapSource());
}

} // namespace korvane::serial
