// Opening a data file from arbitrary bytes. The first byte picks the file's name (which decides
// the reading mode) and the model of the image it opens over; the rest is the file.
//
// Whatever opens must save and open again as the same image: exactly for rdw and rdhax, and for
// rdh once its 5 kHz form has been through one conversion.

#include "core/files/data_file.h"
#include "core/model/defaults.h"
#include "core/model/models.h"
#include "fuzz/fuzz_support.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

namespace {

using korvane::files::decodeDataFile;
using korvane::files::encodeDataFile;
using korvane::files::FileKind;
using korvane::fuzz::check;
using korvane::model::RadioImage;

constexpr std::array<std::string_view, 4> kNames { "radio.rdw", "radio.rdh", "radio.rdhax", "RADIOkqv09" };

std::size_t expectedSize(FileKind kind)
{
    switch (kind) {
    case FileKind::Rdh:
        return 431;
    case FileKind::Rdhax:
        return 613;
    case FileKind::Rdw:
        break;
    }
    return 643;
}

void checkSavedAs(const RadioImage& image, FileKind kind, std::string_view name)
{
    const auto bytes = encodeDataFile(image, kind);
    check(bytes.size() == expectedSize(kind), "saved file has its kind's size");
    const auto reopened = decodeDataFile(bytes, name, image);
    check(reopened.ok(), "a saved file opens");
    check(reopened->image == image, "a saved file opens as the same image");
    check(!reopened->fiveKhzForm, "rdw and rdhax files keep the image form");
}

void checkSavedAsRdh(const RadioImage& image)
{
    const auto first = encodeDataFile(image, FileKind::Rdh);
    check(first.size() == expectedSize(FileKind::Rdh), "saved rdh file has its size");
    const auto once = decodeDataFile(first, "radio.rdh", image);
    check(once.ok(), "a saved rdh file opens");
    check(once->fiveKhzForm, "rdh files carry the 5 kHz form");
    check(once->image.settings == image.settings, "rdh keeps the settings");
    check(once->image.parameters == image.parameters, "rdh leaves the parameters alone");
    check(once->image.modelIndex == image.modelIndex, "rdh keeps the model");
    // The first conversion may move 2.5 kHz channels onto the 5 kHz grid; after it nothing moves.
    const auto second = encodeDataFile(once->image, FileKind::Rdh);
    check(second == first, "an rdh file saved again is the same file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    const std::string_view name = kNames[data[0] & 0x03];
    const int modelIndex = ((data[0] >> 2) & 0x07) - 1; // -1 .. 6
    const RadioImage& current = korvane::fuzz::defaultsOf(modelIndex);
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);

    const auto opened = decodeDataFile(bytes, name, current);
    if (!opened) return 0;
    const RadioImage& image = opened->image;

    check(image.modelIndex >= -1 && image.modelIndex < korvane::model::kModelCount, "model index in range");
    if (image.modelIndex < 0)
        check(image.unknownModelCode >= 0 && image.unknownModelCode <= 14, "an unknown model keeps its code");
    else
        check(image.unknownModelCode == -1, "a known model keeps no code");

    // Older kqv09 files count models by index: an index with no model (7..14) is kept as the
    // code, which the other readers take as a model code. Those images do not round-trip.
    const bool kqvWithoutModel = name.ends_with("kqv09") && image.modelIndex < 0;
    if (kqvWithoutModel) return 0;

    checkSavedAs(image, FileKind::Rdw, "radio.rdw");
    checkSavedAs(image, FileKind::Rdhax, "radio.rdhax");
    checkSavedAsRdh(image);
    return 0;
}
