#include "core/compare/byte_fields.h"

#include "core/model/radio_image.h"

#include <array>

namespace korvane::compare {

namespace {

constexpr std::array<std::string_view, model::kRecordSize> kChannelFields {
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
constexpr std::array<std::string_view, 16> kSettingsFields {
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

} // namespace

std::string_view fieldName(ByteArea area, int byte)
{
    if (byte < 0) return {};
    const auto index = static_cast<std::size_t>(byte);
    switch (area) {
    case ByteArea::Channel:
        return index < kChannelFields.size() ? kChannelFields[index] : std::string_view {};
    case ByteArea::Settings:
        return index < kSettingsFields.size() ? kSettingsFields[index] : std::string_view {};
    case ByteArea::Model:
        return "机型代码";
    case ByteArea::Parameter:
    case ByteArea::Alignment:
        break;
    }
    return {};
}

} // namespace korvane::compare
