#pragma once
// Checking a programmed radio: the image read back from it against the image written, byte by
// byte over exactly what programming sends, in the form it travels in (an older radio's channels
// in the 5 kHz form).

#include "core/compare/byte_difference.h"
#include "core/link/generation.h"
#include "core/model/radio_image.h"
#include "core/util/message.h"

#include <vector>

namespace korvane::link {

// Every byte programming sends to a radio of generation g that the radio does not hold, in
// sending order, each once (newer radios get the model record twice). The model compares as its
// code: that is the one byte of the model record a read-out keeps. `readBack` is the read-out's
// image; an older radio's channels come back in the image form and are compared after the same
// conversion that programming makes. `ours` is the byte written, `theirs` the byte read back.
std::vector<compare::ByteDifference> compareProgrammed(
    const model::RadioImage& written, const model::RadioImage& readBack, Generation g);

// What a read-back starts from: the written image with every byte programming sends inverted, so
// that a record the radio leaves out shows up as a difference too.
model::RadioImage verifyStartImage(const model::RadioImage& written);
// One line per difference: "校验失败：信道 3 字节 5（发射频率）：写入 0x12，读回 0x13".
util::Message verifyDifferenceMessage(const compare::ByteDifference& difference);
util::Message verifyPassed();
// The radio could not be read back, so nothing was compared.
util::Message verifyReadFailed();

} // namespace korvane::link
