#pragma once
// The fleet log: one spreadsheet row per radio programmed in a fleet round, appended to a CSV
// file that keeps growing across rounds and days, so a dealer can show which radio got what.
// Columns: UTC time, port, device, radio model, older/newer, outcome, verify outcome, backup.

#include "core/fleet/fleet_round.h"
#include "core/util/message.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace korvane::fleet {

// Both end with a line end.
std::string fleetLogHeader();
std::string fleetLogRow(const FleetRadioResult& result, std::chrono::system_clock::time_point when);

// Appends one row per result, with the header first when the file is new or empty, in one write
// so that rows of two programs logging at once stay whole. The folder is created if missing.
std::optional<util::Message> appendFleetLog(const std::filesystem::path& path,
    const std::vector<FleetRadioResult>& results, std::chrono::system_clock::time_point when);

// fleet-log.csv in the data folder (see data_folder.h); empty when there is none.
std::filesystem::path fleetLogPath(const char* xdgDataHome, const char* home);
std::filesystem::path fleetLogPathFromEnvironment();

} // namespace korvane::fleet
