#include "core/fleet/fleet_log.h"

#include "core/files/channel_csv_rows.h"
#include "core/files/data_folder.h"
#include "core/files/file_bytes.h"
#include "core/util/utc_time.h"
#include "core/util/utf8_path.h"

#include <cerrno>
#include <cstdio>
#include <string_view>
#include <system_error>

namespace korvane::fleet {

namespace {

constexpr const char* kFileName = "fleet-log.csv";

// "2026-12-07T10:20:33Z": sorts by time, and no spreadsheet mistakes it for a local time.
std::string utcText(std::chrono::system_clock::time_point when)
{
    const util::UtcTime t = util::utcTimeOf(when);
    char text[32];
    std::snprintf(
        text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

// The log is opened in spreadsheets, and some fields carry what a USB adapter says about itself: a
// leading ' keeps a spreadsheet from taking "=HYPERLINK(...)" or "-1+1" as a formula.
std::string inert(const std::string& field)
{
    const bool formula = !field.empty() && std::string_view("=+-@").find(field.front()) != std::string_view::npos;
    return formula ? "'" + field : field;
}

std::string line(const std::vector<std::string>& fields)
{
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += files::csvField(inert(fields[i]));
    }
    return out + '\n';
}

std::string joined(const std::vector<std::string>& texts)
{
    std::string out;
    for (const std::string& text : texts)
        out += (out.empty() ? "" : " ") + text;
    return out;
}

util::Message logFailed(const std::filesystem::path& path, int error)
{
    const std::string reason = error != 0 ? std::generic_category().message(error) : std::string("unknown error");
    return util::Message { "无法写入记录文件“" + path.string() + "”（" + reason + "）。", "记录文件",
        util::MessageIcon::Exclamation, {} };
}

} // namespace

std::string fleetLogHeader()
{
    return line({ "时间(UTC)", "端口", "设备", "机型", "新旧", "写频结果", "校验结果", "备份文件" });
}

std::string fleetLogRow(const FleetRadioResult& result, std::chrono::system_clock::time_point when)
{
    const std::string generation = result.model.empty() ? "" : result.olderRadio ? "旧对讲机" : "新对讲机";
    return line({ utcText(when), result.target.name, result.target.device.value_or(""), result.model, generation,
        joined(result.outcomeLines), joined(result.verifyTexts), result.backupFile });
}

std::optional<util::Message> appendFleetLog(const std::filesystem::path& path,
    const std::vector<FleetRadioResult>& results, std::chrono::system_clock::time_point when)
{
    if (path.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
    }
    const int error = files::appendToFile(util::utf8Path(path), [&](bool empty) {
        std::string text = empty ? fleetLogHeader() : std::string();
        for (const FleetRadioResult& result : results)
            text += fleetLogRow(result, when);
        return text;
    });
    if (error != 0) return logFailed(path, error);
    return std::nullopt;
}

std::filesystem::path fleetLogPath(const char* xdgDataHome, const char* home)
{
    const std::filesystem::path data = files::dataFolder(xdgDataHome, home);
    return data.empty() ? data : data / kFileName;
}

std::filesystem::path fleetLogPathFromEnvironment()
{
    const std::filesystem::path data = files::dataFolderFromEnvironment();
    return data.empty() ? data : data / kFileName;
}

} // namespace korvane::fleet
