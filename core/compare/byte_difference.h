#pragma once
// One byte that differs between two images, found by comparing runs of bytes, and the two ways
// the program names its place: by table where two images are compared, by record and field where
// a programmed radio is checked.

#include "core/compare/byte_fields.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvane::compare {

struct ByteDifference {
    ByteArea area = ByteArea::Channel;
    int record = 0; // channel 0..15, parameter or alignment record; 0 for the settings block and the model
    int byte = 0; // within the record or the settings block; 0 for the model
    std::uint8_t ours = 0;
    std::uint8_t theirs = 0;

    friend bool operator==(const ByteDifference&, const ByteDifference&) = default;
};

// Appends each byte that differs between two runs of the same length, which start at byte
// `first` of `record` in `area`.
void compareBytes(std::vector<ByteDifference>& out, ByteArea area, int record, std::span<const std::uint8_t> ours,
    std::span<const std::uint8_t> theirs, int first = 0);

// "参数表 记录 2 字节 5", "设置表 字节 20"
std::string tablePlace(const ByteDifference& difference);
// "信道 3 字节 5（发射频率）", "设置区 字节 7（发射限时）", "参数记录 2 字节 5", "机型代码"
std::string fieldPlace(const ByteDifference& difference);

} // namespace korvane::compare
