#include "core/link/verify.h"

#include "core/link/data_record.h"
#include "core/model/models.h"
#include "core/util/hex.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

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
    VerifyArea area;
    int record;
    int byte;
};

// Where data byte j of a record lands in the image; nothing for the model record, compared on
// its own.
std::optional<Place> placeOf(const DataRecord& record, std::size_t j)
{
    const int address = record[2];
    const int first = (address & 0x0F) + static_cast<int>(j);
    const int high = address >> 4;
    if (record[1] == kKindChannels) return Place { VerifyArea::Channel, high, first };
    if (record[1] == kKindSettings && high == kSettingsBlockArea) return Place { VerifyArea::Settings, 0, first };
    if (record[1] == kKindSettings && high >= kFirstParameterArea)
        return Place { VerifyArea::Parameter, high - kFirstParameterArea, first };
    return std::nullopt;
}

} // namespace

std::vector<VerifyDifference> compareProgrammed(
    const model::RadioImage& written, const model::RadioImage& readBack, Generation g)
{
    std::vector<VerifyDifference> differences;
    const int writtenCode = model::modelCodeFromIndex(written.modelIndex);
    // Nothing was sent for an image without a model code: programming refuses it.
    if (writtenCode < 0) return differences;

    const auto sent = programmingRecords(written, g);
    const auto held = programmingRecords(withModel(readBack, written.modelIndex), g);
    if (!sent || !held || sent->size() != held->size()) return differences;
    for (std::size_t r = 0; r < sent->size(); ++r) {
        for (std::size_t j = 0; j < kRecordDataSize; ++j) {
            const auto place = placeOf((*sent)[r], j);
            if (!place) continue;
            const std::uint8_t a = (*sent)[r][4 + j];
            const std::uint8_t b = (*held)[r][4 + j];
            if (a != b) differences.push_back({ place->area, place->record, place->byte, a, b });
        }
    }
    const int heldCode = model::modelCodeFromIndex(readBack.modelIndex);
    if (heldCode != writtenCode) {
        // A read-out that found no model never gets this far; -1 shows as 0xFF.
        differences.push_back(
            { VerifyArea::Model, 0, 0, static_cast<std::uint8_t>(writtenCode), static_cast<std::uint8_t>(heldCode) });
    }
    return differences;
}

std::string_view verifyFieldName(VerifyArea area, int byte)
{
    static constexpr std::array<std::string_view, model::kRecordSize> kChannelFields {
        "接收频率",
        "接收频率",
        "接收频率高位、步进、信道开启、接收信令类型",
        "接收信令码",
        "接收信令码",
        "发射频率",
        "发射频率",
        "发射频率高位、步进、允许发射、发射信令类型",
        "发射信令码",
        "发射信令码",
        "频率宽度、时钟偏移、繁忙锁定、扫描选择",
        "接收双音编号",
        "发射双音编号",
        "",
        "",
        "",
    };
    // The settings the lists of the main window edit; the other bytes have no list.
    static constexpr std::array<std::string_view, 16> kSettingsFields {
        "监听、扫描模式",
        "恢复信道",
        "优先信道",
        "回扫周期",
        "",
        "",
        "扫描停留时间",
        "发射限时",
        "",
        "",
        "",
        "静噪等级",
        "提示音、省电功能、信道宽度",
        "",
        "",
        "",
    };
    if (byte < 0) return {};
    const auto index = static_cast<std::size_t>(byte);
    switch (area) {
    case VerifyArea::Channel:
        return index < kChannelFields.size() ? kChannelFields[index] : std::string_view {};
    case VerifyArea::Settings:
        return index < kSettingsFields.size() ? kSettingsFields[index] : std::string_view {};
    case VerifyArea::Model:
        return "机型代码";
    case VerifyArea::Parameter:
        break;
    }
    return {};
}

std::string verifyDifferencePlace(const VerifyDifference& d)
{
    std::string where;
    switch (d.area) {
    case VerifyArea::Channel:
        where = "信道 " + std::to_string(d.record + 1) + " 字节 " + std::to_string(d.byte);
        break;
    case VerifyArea::Settings:
        where = "设置区 字节 " + std::to_string(d.byte);
        break;
    case VerifyArea::Parameter:
        where = "参数记录 " + std::to_string(d.record + 1) + " 字节 " + std::to_string(d.byte);
        break;
    case VerifyArea::Model:
        break;
    }
    const std::string_view field = verifyFieldName(d.area, d.byte);
    if (d.area == VerifyArea::Model)
        where = std::string(field);
    else if (!field.empty())
        where += "（" + std::string(field) + "）";
    return where;
}

std::string verifyByteText(std::uint8_t byte) { return util::hexByte(byte); }

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

util::Message verifyDifferenceMessage(const VerifyDifference& d)
{
    return util::Message { "校验失败：" + verifyDifferencePlace(d) + "：写入 " + util::hexByte(d.written) + "，读回 " + util::hexByte(d.readBack),
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
