#pragma once
// The seven radio variants: list entries, band texts, entry limits and the model codes that
// radios and data files carry.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace korvane::model {

inline constexpr int kModelCount = 7;

// Frequencies the user may enter, in Hz: lower <= f < upper.
struct EntryLimits {
    std::int64_t lowerHz;
    std::int64_t upperHz;
};

int modelIndexFromCode(int code); // -1 for a code with no model
int modelCodeFromIndex(int index); // -1 for an index with no code

std::span<const std::string_view> modelEntries(); // the model list, in order
std::optional<std::string_view> modelEntry(int index);
std::optional<std::string_view> bandText(int index);

// The limits of the model's family. An index with no model (a file whose model code is unknown)
// gets the widest limits of all families, so nothing typed can leave every band.
EntryLimits entryLimits(int index);

} // namespace korvane::model
