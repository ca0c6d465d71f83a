#include "core/serial/serial_device_label.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace korvane::serial {

namespace {

namespace fs = std::filesystem;

// The first line of a sysfs attribute, without trailing blanks; nullopt when absent or empty.
std::optional<std::string> attribute(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.pop_back();
    if (line.empty()) return std::nullopt;
    return line;
}

// What the kernel knows about a tty: a USB adapter's product and maker (they live on the USB
// device, a few folders above the tty's own device), or that it is a port built into the machine.
std::string description(const std::string& name, const PortMapSource& source)
{
    std::error_code ec;
    const fs::path tty = source.sysRoot / "class" / "tty" / name;
    fs::path device = fs::canonical(tty / "device", ec);
    if (ec) return {};
    const fs::path top = fs::weakly_canonical(source.sysRoot, ec);
    for (int depth = 0; depth < 6 && !device.empty() && device != top && device != device.root_path();
         ++depth, device = device.parent_path()) {
        const auto product = attribute(device / "product");
        const auto maker = attribute(device / "manufacturer");
        if (product && maker) return *product + " (" + *maker + ")";
        if (product || maker) return product ? *product : *maker;
        const auto vendorId = attribute(device / "idVendor");
        const auto productId = attribute(device / "idProduct");
        if (vendorId && productId) return "USB " + *vendorId + ":" + *productId;
    }
    if (name.starts_with("ttyS")) return "内置串口";
    return {};
}

} // namespace

std::string deviceLabel(const std::string& path, const PortMapSource& source)
{
    // A stable name such as /dev/serial/by-id/... leads to the node the kernel describes.
    std::error_code ec;
    const fs::path node = fs::canonical(path, ec);
    const std::string about = description((ec ? fs::path(path) : node).filename().string(), source);
    return about.empty() ? path : path + "  " + about;
}

} // namespace korvane::serial
