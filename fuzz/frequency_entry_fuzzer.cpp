// The frequency entry boxes fed arbitrary text. Input: one byte for the model (or none), one
// for the record's flag byte and the choices (bit 0: 6.25 kHz step for parseEntry, bit 1:
// transmit side, bit 3: the step cell shows 6.25; the side's own step is bit 2 as stored), then
// the typed text.
//
// Nothing typed may leave the model's entry limits or the side's step, a stored frequency reads
// back as the value returned, and only the side's frequency count changes in the record.

#include "core/model/frequency_codec.h"
#include "core/model/frequency_entry.h"
#include "core/model/models.h"
#include "core/model/record_layout.h"
#include "core/util/decimal.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using korvane::fuzz::check;

using namespace korvane;

bool inside(std::int64_t hz, const model::EntryLimits& limits) { return hz >= limits.lowerHz && hz < limits.upperHz; }

// Only the count of side s (its two low bytes and the flag byte's two low bits) may differ.
void checkOnlyCountChanged(const model::Record& before, const model::Record& after, model::Side s)
{
    const int base = model::sideBase(s);
    for (int k = 0; k < model::kRecordSize; ++k) {
        if (k == base || k == base + 1) continue;
        const int mask = k == base + 2 ? 0xFC : 0xFF;
        check((before[static_cast<std::size_t>(k)] & mask) == (after[static_cast<std::size_t>(k)] & mask),
            "only the side's frequency count changes");
    }
}

// A shown "000.00000" text: within the limits, on a step of stepHz when given.
std::int64_t checkShown(const std::string& shown, const model::EntryLimits& limits, std::int64_t stepHz)
{
    const auto value = util::parseDecimal(shown, 6);
    check(value.has_value() && !value->inexact, "a shown frequency is a number");
    check(inside(value->value, limits), "a shown frequency lies inside the limits");
    if (stepHz > 0) check(value->value % stepHz == 0, "a shown frequency lies on the step");
    check(model::formatHz(value->value) == shown, "a shown frequency is in the shown form");
    return value->value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const int modelIndex = static_cast<int>(data[0] % (model::kModelCount + 1)) - 1;
    const std::uint8_t flags = data[1];
    const model::Side side = (flags & 0x02) != 0 ? model::Side::Transmit : model::Side::Receive;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    // The step cell only ever shows one of the two steps.
    const bool stepCell625 = (flags & 0x08) != 0;
    const std::string_view stepText = stepCell625 ? "6.25" : "2.50";
    const model::EntryLimits limits = model::entryLimits(modelIndex);

    const bool step625 = (flags & 0x01) != 0;
    const util::ScaledDecimal parsed = model::parseEntry(text, modelIndex, step625);
    check(inside(parsed.value, limits), "a parsed entry lies inside the limits");

    model::Record before {};
    for (std::size_t k = 0; k < before.size(); ++k)
        before[k] = static_cast<std::uint8_t>(flags * (k + 1) + k);
    before[static_cast<std::size_t>(model::flagByte(side))] = flags;
    const bool sideStep625 = model::isStep625(before, side);
    const std::int64_t step = model::stepHz(sideStep625);

    model::Record r = before;
    const std::int64_t entered = model::enterFrequency(text, r, side, modelIndex);
    check(inside(entered, limits), "an entered frequency lies inside the limits");
    check(entered % step == 0, "an entered frequency lies on the side's step");
    check(model::frequencyHz(r, side) == entered, "an entered frequency reads back");
    checkOnlyCountChanged(before, r, side);

    model::Record snapped = before;
    const std::string shown = model::snapFrequencyToStep(text, snapped, side, modelIndex);
    check(checkShown(shown, limits, step) == model::frequencyHz(snapped, side), "a snapped frequency reads back");
    checkOnlyCountChanged(before, snapped, side);

    for (const auto& stepped :
        { model::stepUp(text, stepText, modelIndex), model::stepDown(text, stepText, modelIndex) }) {
        if (stepped) checkShown(*stepped, limits, model::stepHz(stepCell625));
    }
    return 0;
}
