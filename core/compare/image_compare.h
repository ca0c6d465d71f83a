#pragma once
// Two Radio images compared field by field, in the window's words: a channel's column by its
// number and column name, the closed-channel and transmit-inhibit boxes, a settings list by its
// frame, caption and entry text, the model by its list entry; bytes no column or list shows by
// table, record and byte, in hexadecimal.

#include "core/model/radio_image.h"

#include <string>
#include <vector>

namespace korvane::compare {

struct Difference {
    std::string where; // "信道 3 接收频率", "功能设置 监听", "机型", "参数表 记录 2 字节 5"
    std::string ours;
    std::string theirs;
    int channel = -1; // 0..15 for a channel's field, else -1
    int column = -1; // its grid column 1..10, or -1
};

std::vector<Difference> compareImages(const model::RadioImage& ours, const model::RadioImage& theirs);

// "信道 3 接收频率: 145.01250 -> 145.02500"
std::string differenceLine(const Difference& difference);

} // namespace korvane::compare
