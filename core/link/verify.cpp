#include "core/link/verify.h"

#include "core/link/data_record.h"
#include "core/model/models.h"
#include "core/util/hex.h"

#include <algorithm>
#include <optional>
#include <span>

namespace korvane::link {

namespace {

// Both record sequences are built for the written model, so the tables compare even when the
// radio reports another; the model code compares on its own.
model::RadioImage withModel(model::RadioImage image, std::int16_t modelIndex)
{
    image.modelIndex = modelIndex;
    return image;
}

struct Place {
    compare::ByteArea area;
    int record;
    int first; // the byte the record's data starts at
};

// Where a record's data lands in the image; nothing for the model record, compared on its own.
std::optional<Place> placeOf(const DataRecord& record)
{
    using compare::ByteArea;
    const int address = record[2];
    const int first = address & 0x0F;
    const int high = address >> 4;
    if (record[1] == kKindChannels) return Place { ByteArea::Channel, high, first };
    if (record[1] == kKindSettings && high == kSettingsBlockArea) return Place { ByteArea::Settings, 0, first };
    if (record[1] == kKindSettings && high >= kFirstParameterArea)
        return Place { ByteArea::Parameter, high - kFirstParameterArea, first };
    return std::nullopt;
}

std::span<const std::uint8_t> dataOf(const DataRecord& record)
{
    return std::span(record).subspan(4, kRecordDataSize);
}

} // namespace

std::vector<compare::ByteDifference> compareProgrammed(
    const model::RadioImage& written, const model::RadioImage& readBack, Generation g)
{
    std::vector<compare::ByteDifference> differences;
    const int writtenCode = model::modelCodeFromIndex(written.modelIndex);
    // Nothing was sent for an image without a model code: programming refuses it.
    if (writtenCode < 0) return differences;

    const auto sent = programmingRecords(written, g);
    const auto held = programmingRecords(withModel(readBack, written.modelIndex), g);
    if (!sent || !held || sent->size() != held->size()) return differences;
    for (std::size_t r = 0; r < sent->size(); ++r)
        if (const auto place = placeOf((*sent)[r]))
            compare::compareBytes(
                differences, place->area, place->record, dataOf((*sent)[r]), dataOf((*held)[r]), place->first);
    const int heldCode = model::modelCodeFromIndex(readBack.modelIndex);
    if (heldCode != writtenCode) {
        // A read-out that found no model never gets this far; -1 shows as 0xFF.
        differences.push_back({ compare::ByteArea::Model, 0, 0, static_cast<std::uint8_t>(writtenCode),
            static_cast<std::uint8_t>(heldCode) });
    }
    return differences;
}

model::RadioImage verifyStartImage(const model::RadioImage& written)
{
    model::RadioImage unlike = written;
    const auto invert = [](auto& bytes) {
        std::transform(bytes.begin(), bytes.end(), bytes.begin(), std::bit_not<std::uint8_t>());
    };
    for (model::Record& record : unlike.channels)
        invert(record);
    for (model::Record& record : unlike.parameters)
        invert(record);
    invert(unlike.settings);
    return unlike;
}

util::Message verifyDifferenceMessage(const compare::ByteDifference& d)
{
    return util::Message { "校验失败：" + compare::fieldPlace(d) + "：写入 " + util::hexByte(d.ours) + "，读回 "
            + util::hexByte(d.theirs),
        "校验失败", util::MessageIcon::Exclamation, {} };
}

util::Message verifyPassed()
{
    return util::Message { "校验通过：读回的数据与写入的一致。", "校验通过", util::MessageIcon::None, {} };
}

util::Message verifyReadFailed()
{
    return util::Message { "校验失败：无法读回对讲机中的数据。", "校验失败", util::MessageIcon::Exclamation, {} };
}

} // namespace korvane::link
