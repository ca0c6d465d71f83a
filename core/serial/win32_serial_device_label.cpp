#include "core/serial/serial_device_label.h"

#include "core/serial/win32_serial_port.h"
#include "core/util/win32_text.h"

// clang-format off
#include <windows.h>
#include <setupapi.h>
#include <devguid.h>
// clang-format on

namespace korvane::serial {

namespace {

// What Device Manager calls the port: "USB-SERIAL CH340 (COM3)"; empty when it does not know it.
std::string friendlyName(const std::string& port)
{
    const HDEVINFO devices = ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return {};
    std::string found;
    const std::string tail = "(" + port + ")";
    SP_DEVINFO_DATA info {};
    info.cbSize = sizeof info;
    for (DWORD i = 0; found.empty() && ::SetupDiEnumDeviceInfo(devices, i, &info); ++i) {
        wchar_t name[256];
        DWORD size = 0;
        if (!::SetupDiGetDeviceRegistryPropertyW(
                devices, &info, SPDRP_FRIENDLYNAME, nullptr, reinterpret_cast<BYTE*>(name), sizeof name, &size))
            continue;
        const std::string text = util::utf8FromWide(std::wstring(name, wcsnlen(name, size / sizeof(wchar_t))));
        if (text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0) found = text;
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return found;
}

} // namespace

std::string deviceLabel(const std::string& path, const PortMapSource&)
{
    const std::string port = win32PortName(path);
    const std::string about = friendlyName(port);
    return about.empty() ? path : path + "  " + about;
}

} // namespace korvane::serial
