#pragma once
// The twelve alignment items: each is adjusted on the radio under its own command "tEST0".."tESTB"
// while the radio works on one of the three test channels of the image.

#include "core/model/radio_image.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::link {

inline constexpr int kAlignmentItemCount = 12;

// The test channel records of the alignment table.
inline constexpr int kHighEndRecord = 0;
inline constexpr int kCentreRecord = 1;
inline constexpr int kLowEndRecord = 2;

struct AlignmentItem {
    int index; // 0..11: the digit of the item command
    std::string_view key; // the item's key in the alignment tree
    std::string_view frameCaption; // shown over the adjustment frame while the item is adjusted
    int testRecord; // the record of the alignment table the radio works on
};

const std::array<AlignmentItem, kAlignmentItemCount>& alignmentItems();
// Nothing for an index outside 0..11 or a key that names no item.
std::optional<AlignmentItem> alignmentItem(int index);
std::optional<AlignmentItem> alignmentItemForKey(std::string_view key);

// "tEST" and the index as one upper-case hexadecimal digit.
std::string alignmentItemCommand(int index);
// Sensitivity at the band's ends is measured there; every other item works at the centre.
int testChannelRecord(int index);

} // namespace korvane::link
