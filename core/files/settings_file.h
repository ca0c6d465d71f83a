#pragma once
// The program's settings file: three "key=value" lines (comport, filename, password), CR LF
// ended, no sections, and after them a "device=" line when a serial device was chosen by its
// path rather than a port number. Keys are matched ignoring ASCII case; values are taken byte for
// byte.

#include <string>
#include <string_view>

namespace korvane::files {

struct StoredSettings {
    int port = 1; // COM1..COM4
    std::string password;
    std::string device; // a serial device chosen by path; empty: the port number is used
};

// Reads the port from the first line and the password from line 2 or 3, whichever first starts
// with "password=". A port that is not a plain decimal number ends the reading (port 1, no
// password); one outside 1..4 gives port 1. The device comes from the first line after the third
// that starts with "device=". A leading BOM is ignored; lines end at CR LF, LF or CR.
StoredSettings parseSettings(std::string_view text);

// Missing or unreadable file: the defaults.
StoredSettings readSettingsFile(const std::string& path);

// The three lines, then the device line when there is a device. A current file whose path holds
// CR or LF is written as an empty value, and such a device not at all, since neither could be
// read back as one line.
std::string settingsText(
    int port, std::string_view currentFile, std::string_view password, std::string_view device = {});

// Through a temporary file and a rename; false when anything fails (the old file then stays).
bool writeSettingsFile(const std::string& path, int port, std::string_view currentFile, std::string_view password,
    std::string_view device = {});

} // namespace korvane::files
