// The signalling dialog's tone and code fields and the signalling cell texts, fed arbitrary
// text. Input: one byte for the record side and its starting bytes, then the text.
//
// A checked field shows a value inside its range in its own form and checks again to itself; a
// cell text parses, prints and parses back to the same choice, and a choice applied to a record
// shows as the text it returned.

#include "core/model/record_layout.h"
#include "core/model/signalling_cell.h"
#include "core/model/signalling_codec.h"
#include "core/model/signalling_entry.h"
#include "core/util/decimal.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using korvane::fuzz::check;

using namespace korvane;

void checkKeys(std::string_view text)
{
    for (std::size_t k = 0; k < text.size() && k < 8; ++k) {
        const char32_t c = static_cast<unsigned char>(text[k]);
        if (model::cdcssKeyPasses(c, k, false) && c >= 32)
            check(c >= U'0' && c <= U'7' && k < 3, "a code field takes octal digits, three at most");
        if (model::ctcssKeyPasses(c, k, false) && c >= 32)
            check((c == U'.' || (c >= U'0' && c <= U'9')) && k < 5, "a tone field takes digits and a point");
    }
}

void checkCtcssField(std::string_view text)
{
    const model::FieldCheck checked = model::checkCtcssText(text);
    if (checked.message) {
        check(checked.text == model::kDefaultCtcssText, "a refused tone shows the default");
        return;
    }
    const auto tenths = util::parseDecimal(checked.text, 1);
    check(tenths && !tenths->inexact, "a checked tone is a number");
    check(tenths->value >= 670 && tenths->value <= 2541, "a checked tone lies in 67.0..254.1");
    check(util::formatScaled(tenths->value, 1, 2, 1) == checked.text, "a checked tone has one decimal");
    const model::FieldCheck again = model::checkCtcssText(checked.text);
    check(!again.message && again.text == checked.text, "a checked tone checks to itself");
}

void checkCdcssField(std::string_view text)
{
    const model::FieldCheck checked = model::checkCdcssText(text);
    check(checked.keepFocus == text.empty(), "only an empty code keeps the focus");
    if (checked.message) {
        check(checked.text == model::kDefaultCdcssText, "a refused code shows the default");
        return;
    }
    check(checked.text.size() == 3 && checked.text.find_first_not_of("01234567") == std::string::npos,
        "a checked code is three octal digits");
    const model::FieldCheck again = model::checkCdcssText(checked.text);
    check(!again.message && again.text == checked.text, "a checked code checks to itself");
}

// Values whose cell text a tone, code or number can show exactly.
bool showable(const model::SignallingChoice& choice)
{
    switch (choice.kind) {
    case model::SignallingKind::Off:
        return true;
    case model::SignallingKind::Ctcss:
        return choice.value >= 0 && choice.value <= 3999;
    case model::SignallingKind::Cdcss:
    case model::SignallingKind::InvertedCdcss:
        return model::encodeCdcss(choice.value).has_value();
    case model::SignallingKind::TwoTone:
        return choice.value >= 0 && choice.value <= 255;
    }
    return false;
}

void checkCell(std::string_view text, std::uint8_t seed)
{
    const model::SignallingChoice choice = model::parseSignallingCell(text);
    const std::string shown = model::signallingCellText(choice);
    if (choice.value > -1'000'000'000'000 && choice.value < 1'000'000'000'000)
        check(model::parseSignallingCell(shown) == choice, "a cell text parses back to its choice");

    const model::Side side = (seed & 0x01) != 0 ? model::Side::Transmit : model::Side::Receive;
    model::Record before {};
    for (std::size_t k = 0; k < before.size(); ++k)
        before[k] = static_cast<std::uint8_t>(seed * (k + 3));
    model::Record r = before;
    const auto applied = model::applySignallingChoice(choice, r, side);
    const bool coded
        = choice.kind == model::SignallingKind::Cdcss || choice.kind == model::SignallingKind::InvertedCdcss;
    if (!applied) {
        check(coded && !model::encodeCdcss(choice.value), "only a code that is not octal is refused");
        check(r == before, "a refused choice leaves the record alone");
        return;
    }
    check(*applied == shown, "an applied choice returns its cell text");
    if (showable(choice)) check(model::formatSignalling(r, side) == shown, "an applied choice shows as its text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    checkKeys(text);
    checkCtcssField(text);
    checkCdcssField(text);
    checkCell(text, data[0]);
    return 0;
}
