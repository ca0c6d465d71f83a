#pragma once
// The eleven radio-wide settings lists: their entries, how the settings block selects an entry,
// and what choosing an entry writes back. The window, the command line and the printed report
// all take these texts from here.

#include "core/model/radio_image.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvane::model {

enum class SettingsList {
    Monitor, // cboFuncMoni
    TimeOut, // cboFuncTOT
    Squelch, // cboFuncSQL
    Beep, // cboFuncBeep
    BatterySave, // cboFuncSave
    Spacing, // cboFuncBand
    ScanMode, // cboScanOption
    Priority, // cboScanPriority
    ScanBack, // cboScanBack
    Revert, // cboScanRevert
    Dwell, // cboScanDelay
};

// The order in which showing the image selects the lists.
inline constexpr std::array<SettingsList, 11> kRefreshOrder {
    SettingsList::Monitor, SettingsList::TimeOut, SettingsList::Squelch, SettingsList::Beep,
    SettingsList::BatterySave, SettingsList::Spacing, SettingsList::ScanMode, SettingsList::Dwell,
    SettingsList::Priority, SettingsList::ScanBack, SettingsList::Revert,
};

std::span<const std::string> settingsEntries(SettingsList list);

// The list's caption in the window without its colon ("监听"), and the frame it sits in
// ("功能设置" or "扫描参数设置").
std::string_view settingsListCaption(SettingsList list);
std::string_view settingsFrameCaption(SettingsList list);

// The list position the settings block selects. Nothing when no entry can show the field: a
// squelch nibble of 0 or above 9, scan mode 3, a revert value of 0 or above 4, a time-field byte
// that is not two decimal digits, or a value beyond the list's last entry.
std::optional<int> decodeSetting(SettingsList list, const SettingsBlock& settings);

// The entry text the settings block selects, or nothing (as above).
std::optional<std::string_view> settingText(SettingsList list, const SettingsBlock& settings);

// Writes the field for a chosen position (0 .. entries - 1); the other bits of a shared byte stay.
// Choosing 12.5 kHz spacing also makes every channel Narrow: the caller runs applyNarrowToAll.
void encodeSetting(SettingsList list, SettingsBlock& settings, int position);

// Marks every channel Narrow, open or closed.
void applyNarrowToAll(ChannelTable& channels);

} // namespace korvane::model
