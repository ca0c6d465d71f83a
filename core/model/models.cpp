#include "core/model/models.h"

#include <array>

namespace korvane::model {

namespace {

struct ModelRow {
    std::string_view entry;
    std::string_view band;
    EntryLimits limits;
    int code;
};

constexpr EntryLimits kVhfLimits { 120'000'000, 190'000'000 };
constexpr EntryLimits kUhfLimits { 380'000'000, 510'000'000 };
constexpr EntryLimits kMidLimits { 330'000'000, 410'000'000 };
constexpr EntryLimits kAnyLimits { 120'000'000, 510'000'000 };

constexpr std::array<ModelRow, kModelCount> kModels { {
    { "MX-310(1)/MX-310S(1)", "136～150MHz", kVhfLimits, 0 },
    { "MX-310(2)/MX-310S(2)", "150～174MHz", kVhfLimits, 1 },
    { "MX-320(1)/MX-320S(1)", "400～420MHz", kUhfLimits, 2 },
    { "MX-320(2)/MX-320S(2)", "450～470MHz", kUhfLimits, 3 },
    { "MX-320(3)/MX-320S(3)", "470～490MHz", kUhfLimits, 14 },
    { "MX-330(1)/MX-330S(1)", "350～370MHz", kMidLimits, 4 },
    { "MX-330(2)/MX-330S(2)", "370～390MHz", kMidLimits, 5 },
} };

constexpr std::array<std::string_view, kModelCount> kEntries {
    kModels[0].entry, kModels[1].entry, kModels[2].entry, kModels[3].entry,
    kModels[4].entry, kModels[5].entry, kModels[6].entry,
};

bool valid(int index) { return index >= 0 && index < kModelCount; }

} // namespace

int modelIndexFromCode(int code)
{
    for (int i = 0; i < kModelCount; ++i)
        if (kModels[i].code == code)
            return i;
    return -1;
}

int modelCodeFromIndex(int index) { return valid(index) ? kModels[index].code : -1; }

std::span<const std::string_view> modelEntries() { return kEntries; }

std::optional<std::string_view> modelEntry(int index)
{
    if (!valid(index))
        return std::nullopt;
    return kModels[index].entry;
}

std::optional<std::string_view> bandText(int index)
{
    if (!valid(index))
        return std::nullopt;
    return kModels[index].band;
}

EntryLimits entryLimits(int index) { return valid(index) ? kModels[index].limits : kAnyLimits; }

} // namespace korvane::model
