#include "core/edit/bulk_edit.h"

#include "core/model/frequency_codec.h"
#include "core/model/frequency_entry.h"
#include "core/model/record_layout.h"

namespace korvane::edit {

namespace {

void setFlag(model::Record& r, int bit, const std::optional<bool>& on)
{
    if (on) model::setBit(r[model::kFlagsByte], bit, *on);
}

void copySignalling(const model::Record& from, model::Record& to, model::Side s)
{
    const auto flags = static_cast<std::size_t>(model::flagByte(s));
    to[flags] = static_cast<std::uint8_t>((from[flags] & 0xF0) | (to[flags] & 0x0F));
    for (int byte : { model::codeLowByte(s), model::codeHighByte(s), model::twoToneByte(s) })
        to[static_cast<std::size_t>(byte)] = from[static_cast<std::size_t>(byte)];
}

} // namespace

model::ChannelTable applyBulkChange(
    const model::RadioImage& image, const std::vector<int>& chosen, const BulkChange& change, bool wideAllowed)
{
    model::ChannelTable table = image.channels;
    for (int c : chosen) {
        model::Record& r = table[static_cast<std::size_t>(c)];
        for (model::Side s : { model::Side::Receive, model::Side::Transmit }) {
            const auto side = static_cast<std::size_t>(s);
            if (change.step625[side] && *change.step625[side] != model::isStep625(r, s)) {
                const std::string shown = model::formatFrequency(r, s);
                model::setBit(r[static_cast<std::size_t>(model::flagByte(s))], model::kStepBit, *change.step625[side]);
                model::snapFrequencyToStep(shown, r, s, image.modelIndex);
            }
            if (change.signalling[side]) copySignalling(*change.signalling[side], r, s);
        }
        if (change.scanAdd) model::setBit(r[model::kFlagsByte], model::kScanDelBit, !*change.scanAdd);
        setFlag(r, model::kBusyLockBit, change.busyLock);
        setFlag(r, model::kClockShiftBit, change.clockShift);
        if (change.narrow) model::setBit(r[model::kFlagsByte], model::kNarrowBit, *change.narrow || !wideAllowed);
    }
    return table;
}

} // namespace korvane::edit
