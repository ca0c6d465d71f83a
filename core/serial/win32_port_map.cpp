#include "core/serial/port_map.h"

#include "core/serial/win32_serial_port.h"
#include "core/util/win32_text.h"

#include <windows.h>

#include <algorithm>
#include <charconv>

namespace korvane::serial {

namespace {

// 3 for "COM3"; 0 for anything else.
unsigned comNumber(const std::string& name)
{
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0) return 0;
    unsigned number = 0;
    const auto [end, error] = std::from_chars(name.data() + 3, name.data() + name.size(), number);
    return error == std::errc {} && end == name.data() + name.size() ? number : 0;
}

} // namespace

PortMapSource systemPortMapSource() { return PortMapSource {}; }

// The ports Windows lists under HARDWARE\DEVICEMAP\SERIALCOMM, by number: "COM1", "COM3"...
std::vector<std::string> serialDevices(const PortMapSource&)
{
    std::vector<std::string> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t value[64];
        DWORD valueSize = sizeof value;
        DWORD type = 0;
        const LONG r = ::RegEnumValueW(
            key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(value), &valueSize);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        const std::string port = util::utf8FromWide(std::wstring(value, wcsnlen(value, valueSize / sizeof(wchar_t))));
        if (comNumber(port) != 0) ports.push_back(port);
    }
    ::RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), [](const std::string& a, const std::string& b) { return comNumber(a) < comNumber(b); });
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    return ports;
}

std::optional<std::string> systemDeviceForPort(int n, const PortMapSource& source)
{
    const std::string name = "COM" + std::to_string(n);
    const auto ports = serialDevices(source);
    if (std::find(ports.begin(), ports.end(), name) == ports.end()) return std::nullopt;
    return name;
}

bool deviceExists(const std::string& device)
{
    const std::string port = win32PortName(device);
    if (comNumber(port) != 0) {
        // A port Windows knows has a DOS device name, whether or not a program holds it.
        wchar_t target[512];
        return ::QueryDosDeviceW(util::wideFromUtf8(port).c_str(), target, 512) != 0;
    }
    return ::GetFileAttributesW(util::wideFromUtf8(device).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string newCableDevices() { return "新的 COM 端口（见设备管理器）"; }

} // namespace korvane::serial
