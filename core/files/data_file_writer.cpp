#include "core/files/data_file.h"

#include "core/files/file_bytes.h"
#include "core/files/file_messages.h"
#include "core/files/item_writer.h"
#include "core/model/frequency_form.h"
#include "core/model/models.h"

namespace korvane::files {

namespace {

// A file whose model code has no model keeps that code, so the saved file opens the same way.
std::int16_t savedModelCode(const model::RadioImage& image)
{
    const int code = model::modelCodeFromIndex(image.modelIndex);
    return code >= 0 ? static_cast<std::int16_t>(code) : image.unknownModelCode;
}

std::size_t fileSize(FileKind kind)
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

} // namespace

std::vector<std::uint8_t> encodeDataFile(const model::RadioImage& image, FileKind kind)
{
    ItemWriter out(fileSize(kind));
    out.text(headerText(kind));
    const std::int16_t modelCode = savedModelCode(image);

    if (kind == FileKind::Rdh) {
        // Older radios and their files count in 5 kHz units; convert copies, never the image.
        model::ChannelTable channels = image.channels;
        model::AlignmentTable alignment = image.alignment;
        model::to5kHzForm(channels);
        model::to5kHzForm(alignment);
        out.table(channels);
        out.block(image.settings);
        out.table(alignment);
        out.integer(modelCode);
        out.integer(0); // image-form flag: off
        return out.take();
    }

    if (kind != FileKind::Rdhax)
        out.integer(1); // rdw files carry one more integer after the header; readers pass over it
    out.table(image.channels);
    out.table(image.parameters);
    out.block(image.settings);
    out.table(image.alignment);
    out.integer(modelCode);
    out.integer(1);
    return out.take();
}

std::optional<util::Message> saveDataFile(const std::string& path, const model::RadioImage& image, FileKind kind)
{
    const std::vector<std::uint8_t> bytes = encodeDataFile(image, kind);
    if (writeFileAtomically(path, bytes)) return std::nullopt;
    return saveFailedMessage();
}

} // namespace korvane::files
