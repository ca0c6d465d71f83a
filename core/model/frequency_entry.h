#pragma once
// The arithmetic behind the frequency entry boxes and the step toggle: typed text is limited to
// the model's entry range, snapped to the channel step (halves to the even count) and stored.
// Everything is exact decimal arithmetic on whole hertz; "." is the decimal point in any locale.

#include "core/model/record_layout.h"
#include "core/util/decimal.h"
#include "core/util/message.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::model {

// Below the model's lower limit gives the lower limit; at or above the upper limit gives the last
// step below it (189.99375 with 6.25 kHz steps, 189.9975 with 2.5 kHz steps).
util::ScaledDecimal clampToLimits(util::ScaledDecimal hz, int modelIndex, bool step625);

// The typed text as hertz, limited to the model's range. An empty text, or one that is not a
// number, gives the lower limit; no message is shown.
util::ScaledDecimal parseEntry(std::string_view text, int modelIndex, bool step625);

// One step up or down from the text's value rounded to the step text's step ("2.50" or "6.25"
// kHz), limited to the range and shown as "000.00000". Nothing when the text or the step text is
// not a number: the caller shows frequencyDataError() and empties the box.
std::optional<std::string> stepUp(std::string_view text, std::string_view stepText, int modelIndex);
std::optional<std::string> stepDown(std::string_view text, std::string_view stepText, int modelIndex);
util::Message frequencyDataError();

// Commits a typed text to one side of a record: limited, snapped to the side's step and stored;
// the step flag and the other bits of the flag byte stay. Returns the stored frequency in hertz.
std::int64_t enterFrequency(std::string_view text, Record& r, Side s, int modelIndex);

// Re-encodes a side for the step flag it now carries (the toggle sets the flag first), starting
// from the frequency shown in its cell: rounded to the new step, then kept inside the entry range
// on that step. Returns the new cell text.
std::string snapFrequencyToStep(std::string_view shownText, Record& r, Side s, int modelIndex);

} // namespace korvane::model
