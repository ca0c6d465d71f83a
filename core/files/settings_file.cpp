#include "core/files/settings_file.h"

#include "core/files/file_bytes.h"
#include "core/util/text_lines.h"

#include <charconv>
#include <optional>
#include <vector>

namespace korvane::files {

namespace {

bool startsWithKey(std::string_view line, std::string_view key)
{
    if (line.size() < key.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        char c = line[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != key[i])
            return false;
    }
    return true;
}

std::optional<int> plainInteger(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc {} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

StoredSettings parseSettings(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    StoredSettings settings;
    const auto lines = util::textLines(text);
    if (lines.empty())
        return settings;
    constexpr std::string_view kPort = "comport=";
    constexpr std::string_view kPassword = "password=";
    if (startsWithKey(lines[0], kPort)) {
        const auto port = plainInteger(lines[0].substr(kPort.size()));
        if (!port)
            return settings;
        settings.port = *port >= 1 && *port <= 4 ? *port : 1;
    }
    // The password may stand on line 2 or 3; with fewer lines the last one is tried again.
    std::size_t inHand = 0;
    for (int round = 0; round < 2; ++round) {
        if (inHand + 1 < lines.size())
            ++inHand;
        if (startsWithKey(lines[inHand], kPassword)) {
            settings.password = std::string(lines[inHand].substr(kPassword.size()));
            break;
        }
    }
    // A device chosen by path follows the three lines.
    constexpr std::string_view kDevice = "device=";
    for (std::size_t i = 3; i < lines.size(); ++i) {
        if (startsWithKey(lines[i], kDevice)) {
            settings.device = std::string(lines[i].substr(kDevice.size()));
            break;
        }
    }
    return settings;
}

StoredSettings readSettingsFile(const std::string& path)
{
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return {};
    return parseSettings(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

std::string settingsText(int port, std::string_view currentFile, std::string_view password, std::string_view device)
{
    const auto oneLine = [](std::string_view value) { return value.find_first_of("\r\n") == std::string_view::npos; };
    std::string text = "comport=" + std::to_string(port) + "\r\nfilename=" +
        std::string(oneLine(currentFile) ? currentFile : "") + "\r\npassword=" + std::string(password) + "\r\n";
    if (!device.empty() && oneLine(device))
        text += "device=" + std::string(device) + "\r\n";
    return text;
}

bool writeSettingsFile(const std::string& path, int port, std::string_view currentFile, std::string_view password,
    std::string_view device)
{
    const std::string text = settingsText(port, currentFile, password, device);
    return writeFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace korvane::files
