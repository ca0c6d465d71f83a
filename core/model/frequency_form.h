#pragma once
// The two frequency forms. The image form counts in 2.5 kHz or 6.25 kHz units (step flag in bit 2
// of the flag byte); older radios and "rdh" files count in 5 kHz or 6.25 kHz units (step flag in
// bit 1). The Radio image always stays in image form: callers convert a copy.

#include "core/model/radio_image.h"

#include <span>

namespace korvane::model {

// Converts both frequency fields of every record, in place, from the 5 kHz form.
void toImageForm(std::span<Record> records);
// Converts both frequency fields of every record, in place, to the 5 kHz form. A 2.5 kHz channel
// on an odd count moves to the neighbouring 5 kHz channel, halves to the even count.
void to5kHzForm(std::span<Record> records);

// A side lies off the 5 kHz grid: an odd count of 2.5 kHz units.
bool isOff5kHzGrid(const Record& r, int side);

} // namespace korvane::model
