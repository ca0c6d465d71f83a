#pragma once
// Checking a programmed radio: the image read back from it against the image written, byte by
// byte over exactly what programming sends, in the form it travels in (an older radio's channels
// in the 5 kHz form).

#include "core/link/generation.h"
#include "core/model/radio_image.h"
#include "core/util/message.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::link {

enum class VerifyArea { Channel, Settings, Parameter, Model };

struct VerifyDifference {
    VerifyArea area = VerifyArea::Channel;
    int record = 0; // channel 0..15 or parameter record 0..9; 0 for the settings block and the model
    int byte = 0; // within the channel record, parameter record or settings block; 0 for the model
    std::uint8_t written = 0;
    std::uint8_t readBack = 0;

    friend bool operator==(const VerifyDifference&, const VerifyDifference&) = default;
};

// Every byte programming sends to a radio of generation g that the radio does not hold, in
// sending order, each once (newer radios get the model record twice). The model compares as its
// code: that is the one byte of the model record a read-out keeps. `readBack` is the read-out's
// image; an older radio's channels come back in the image form and are compared after the same
// conversion that programming makes.
std::vector<VerifyDifference> compareProgrammed(
    const model::RadioImage& written, const model::RadioImage& readBack, Generation g);

// The field a byte holds, for the user ("发射频率"); empty where no field is known.
std::string_view verifyFieldName(VerifyArea area, int byte);

// Where a difference lies: "信道 3 字节 5（发射频率）".
std::string verifyDifferencePlace(const VerifyDifference& difference);
// A byte as the messages show it: "0x12".
std::string verifyByteText(std::uint8_t byte);
// What a read-back starts from: the written image with every byte programming sends inverted, so
// that a record the radio leaves out shows up as a difference too.
model::RadioImage verifyStartImage(const model::RadioImage& written);
// One line per difference: "校验失败：信道 3 字节 5（发射频率）：写入 0x12，读回 0x13".
util::Message verifyDifferenceMessage(const VerifyDifference& difference);
util::Message verifyPassed();
// The radio could not be read back, so nothing was compared.
util::Message verifyReadFailed();

} // namespace korvane::link
