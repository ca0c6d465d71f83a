#pragma once
// The tables a byte of the Radio image lies in, and the field each byte holds there in the
// user's words: one table for every message that names a byte.

#include <string_view>

namespace korvane::compare {

// The model is compared as its code, one byte.
enum class ByteArea { Channel, Settings, Parameter, Model, Alignment };

// The field byte `byte` of the area holds ("发射频率"); empty where no field is known.
std::string_view fieldName(ByteArea area, int byte);

} // namespace korvane::compare
