#pragma once
// The test channel as the adjustment frame shows it while an item is adjusted: both frequencies
// with "MHz" and both signallings in words.

#include "core/model/radio_image.h"
#include "core/model/record_layout.h"

#include <string>

namespace korvane::link {

struct TestChannelText {
    std::string receiveFrequency; // "460.10000MHz"
    std::string receiveSignalling; // "关闭", "88.5Hz (CTCSS)", "023 (CDCSS)", "-023 (CDCSS)"
    std::string transmitFrequency;
    std::string transmitSignalling;
};

// Only bits 5 and 6 of a side's flag byte count here, so 2-Tone shows as off.
std::string testChannelSignalling(const model::Record& r, model::Side s);
TestChannelText testChannelText(const model::Record& r);

} // namespace korvane::link
