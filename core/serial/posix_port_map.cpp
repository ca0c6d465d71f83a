#include "core/serial/port_map.h"

#include <algorithm>
#include <charconv>
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

std::optional<std::string> systemDeviceForPort(int n, const PortMapSource& source)
{
    const std::vector<std::string> devices = serialDevices(source);
    if (n < 1 || static_cast<std::size_t>(n) > devices.size()) return std::nullopt;
    return devices[static_cast<std::size_t>(n - 1)];
}

bool deviceExists(const std::string& device)
{
    std::error_code error;
    return fs::exists(device, error);
}

std::string newCableDevices() { return "/dev/ttyUSB0 或 /dev/ttyACM0"; }

} // namespace korvane::serial
