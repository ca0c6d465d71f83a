#pragma once
// The tone and code fields of the signalling dialog: which typed characters they take, and what
// leaving a field (or confirming the dialog) makes of its text. A tone is limited to 67.0..254.1
// Hz and shown with one decimal; a code is limited to 000..777 and must be octal.

#include "core/util/message.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvane::model {

inline constexpr std::string_view kDefaultCtcssText = "67.0";
inline constexpr std::string_view kDefaultCdcssText = "023";

// Whether a typed character reaches the field. Editing characters below 32 (Backspace) always
// pass; the others only while the field is not full or part of it is selected.
bool ctcssKeyPasses(char32_t c, std::size_t textLength, bool hasSelection);
bool cdcssKeyPasses(char32_t c, std::size_t textLength, bool hasSelection);

// The corrected text of a field and the message to show, if any. keepFocus asks the dialog to
// keep the focus in the field when the user was leaving it.
struct FieldCheck {
    std::string text;
    std::optional<util::Message> message;
    bool keepFocus = false;
};

// Empty or not a number: a message and 67.0. Otherwise the value limited to the tone range and
// rounded to one decimal (halves to even): "100" gives 100.0, "300" gives 254.1.
FieldCheck checkCtcssText(std::string_view text);

// Empty: a message, 023 and the focus kept. Not a number, or a code with a digit 8 or 9: another
// message and 023. Otherwise the value limited to 0..777, whole, in three digits.
FieldCheck checkCdcssText(std::string_view text);

util::Message ctcssDataError();
util::Message cdcssEmptyError();
util::Message cdcssDataError();

} // namespace korvane::model
