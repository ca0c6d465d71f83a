#include "core/compare/image_compare.h"

#include "core/compare/byte_difference.h"
#include "core/model/channel_view.h"
#include "core/model/models.h"
#include "core/model/record_layout.h"
#include "core/model/settings_fields.h"
#include "core/util/hex.h"

#include <span>

namespace korvane::compare {

namespace {

std::string yesNo(bool yes) { return yes ? "是" : "否"; }

// Bytes no column or list shows, named by table.
void addBytes(std::vector<Difference>& out, const std::vector<ByteDifference>& bytes)
{
    for (const ByteDifference& d : bytes)
        out.push_back({ tablePlace(d), util::hexByte(d.ours), util::hexByte(d.theirs),
            d.area == ByteArea::Channel ? d.record : -1 });
}

void compareTable(std::vector<Difference>& out, ByteArea area, std::span<const model::Record> ours,
    std::span<const model::Record> theirs, int firstRecord = 0)
{
    std::vector<ByteDifference> bytes;
    for (std::size_t r = 0; r < ours.size(); ++r)
        compareBytes(bytes, area, firstRecord + static_cast<int>(r), ours[r], theirs[r]);
    addBytes(out, bytes);
}

void compareChannel(std::vector<Difference>& out, int c, const model::Record& a, const model::Record& b)
{
    if (a == b) return;
    const std::string channel = "信道 " + std::to_string(c + 1) + " ";
    const std::size_t before = out.size();
    const auto ours = model::channelCellTexts(a);
    const auto theirs = model::channelCellTexts(b);
    for (int k = 1; k <= model::kChannelColumns; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        if (ours[i] != theirs[i])
            out.push_back({ channel + std::string(model::channelColumnName(k)), ours[i], theirs[i], c, k });
    }
    if (model::isChannelOpen(a) != model::isChannelOpen(b))
        out.push_back({ channel + "关闭信道", yesNo(!model::isChannelOpen(a)), yesNo(!model::isChannelOpen(b)), c });
    if (model::isTransmitAllowed(a) != model::isTransmitAllowed(b))
        out.push_back(
            { channel + "禁止发射", yesNo(!model::isTransmitAllowed(a)), yesNo(!model::isTransmitAllowed(b)), c });
    // Only bytes the grid does not show differ.
    if (out.size() == before) compareTable(out, ByteArea::Channel, std::span(&a, 1), std::span(&b, 1), c);
}

} // namespace

std::vector<Difference> compareImages(const model::RadioImage& ours, const model::RadioImage& theirs)
{
    std::vector<Difference> out;
    if (ours.modelIndex != theirs.modelIndex || ours.unknownModelCode != theirs.unknownModelCode)
        out.push_back({ "机型", std::string(model::modelEntry(ours.modelIndex).value_or("")),
            std::string(model::modelEntry(theirs.modelIndex).value_or("")) });
    for (int c = 0; c < model::kChannelCount; ++c)
        compareChannel(
            out, c, ours.channels[static_cast<std::size_t>(c)], theirs.channels[static_cast<std::size_t>(c)]);
    bool listDiffers = false;
    for (int k = 0; k < static_cast<int>(model::kRefreshOrder.size()); ++k) {
        const auto list = static_cast<model::SettingsList>(k);
        const auto a = model::settingText(list, ours.settings);
        const auto b = model::settingText(list, theirs.settings);
        if (a == b) continue;
        listDiffers = true;
        out.push_back(
            { std::string(model::settingsFrameCaption(list)) + " " + std::string(model::settingsListCaption(list)),
                std::string(a.value_or("")), std::string(b.value_or("")) });
    }
    // Settings bytes no list shows: those past the lists' bytes, or any when no list differs.
    const std::size_t first = listDiffers ? 16 : 0;
    std::vector<ByteDifference> settings;
    compareBytes(settings, ByteArea::Settings, 0, std::span(ours.settings).subspan(first),
        std::span(theirs.settings).subspan(first), static_cast<int>(first));
    addBytes(out, settings);
    compareTable(out, ByteArea::Parameter, ours.parameters, theirs.parameters);
    compareTable(out, ByteArea::Alignment, ours.alignment, theirs.alignment);
    return out;
}

std::string differenceLine(const Difference& difference)
{
    return difference.where + ": " + difference.ours + " -> " + difference.theirs;
}

} // namespace korvane::compare
