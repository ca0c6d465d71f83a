#include "core/files/data_file.h"

#include "core/files/file_bytes.h"
#include "core/files/file_messages.h"
#include "core/files/item_reader.h"
#include "core/model/frequency_form.h"
#include "core/model/models.h"

namespace korvane::files {

namespace {

// What follows the header: rdh files without and with a parameter table, rdhax files, and rdw
// files, which start with one extra item.
enum class ReadingMode { Rdh, RdhWithParameters, Rdhax, Rdw };

// Files from one older tool of ours keep an rdh header but add the parameter table; the only
// way to recognise them is the name it gave them.
constexpr std::string_view kParameterRdhSuffix = "kqv09";

constexpr int kHighestModelCode = 14;

OpenError failure(OpenFailure kind)
{
    using util::MessageIcon;
    switch (kind) {
    case OpenFailure::Missing:
        return { kind, fileMissingMessage() };
    case OpenFailure::Format:
        return { kind, { "文件格式错误！本软件不支持该文件格式！", "打开文件出错", MessageIcon::Exclamation, {} } };
    case OpenFailure::Model:
        return { kind, { "机型错误！本软件不支持该机型！", "机型错误", MessageIcon::Information, {} } };
    case OpenFailure::Read:
        break;
    }
    return { OpenFailure::Read, { "打开文件时出现错误", "打开文件错误", MessageIcon::Exclamation, {} } };
}

ReadingMode readingMode(FileKind kind, std::string_view fileName)
{
    switch (kind) {
    case FileKind::Rdh:
        return fileName.ends_with(kParameterRdhSuffix) ? ReadingMode::RdhWithParameters : ReadingMode::Rdh;
    case FileKind::Rdhax:
        return ReadingMode::Rdhax;
    case FileKind::Rdw:
        break;
    }
    return ReadingMode::Rdw;
}

// Those older rdh files number the first two models the other way round and otherwise carry
// the model index itself rather than a model code.
int modelIndexFor(ReadingMode mode, int code)
{
    if (mode != ReadingMode::RdhWithParameters) return model::modelIndexFromCode(code);
    const int index = code == 0 || code == 1 ? 1 - code : code;
    return index >= 0 && index < model::kModelCount ? index : -1;
}

std::string_view bareName(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

util::Result<OpenedFile, OpenError> decodeDataFile(
    std::span<const std::uint8_t> bytes, std::string_view fileName, const model::RadioImage& current)
{
    ItemReader in(bytes);
    const auto header = in.text();
    const auto kind = header ? fileKindFromHeader(*header) : std::nullopt;
    if (!kind) return failure(OpenFailure::Format);
    const ReadingMode mode = readingMode(*kind, fileName);

    // Everything lands in a copy first, so a file that fails part-way changes nothing.
    model::RadioImage staging = current;
    const bool withParameters = mode != ReadingMode::Rdh;
    const bool itemsRead = (mode != ReadingMode::Rdw || in.skip()) && in.table(staging.channels)
        && (!withParameters || in.table(staging.parameters)) && in.block(staging.settings)
        && in.table(staging.alignment);
    const auto code = itemsRead ? in.integer() : std::nullopt;
    const auto imageForm = code ? in.integer() : std::nullopt;
    if (!imageForm) return failure(OpenFailure::Read);

    if (*code < 0 || *code > kHighestModelCode) return failure(OpenFailure::Model);
    const int index = modelIndexFor(mode, *code);
    staging.modelIndex = static_cast<std::int16_t>(index);
    staging.unknownModelCode = index < 0 ? *code : std::int16_t { -1 };

    const bool fiveKhzForm = *imageForm == 0;
    if (fiveKhzForm) {
        model::toImageForm(staging.channels);
        model::toImageForm(staging.alignment);
    }
    return OpenedFile { staging, fiveKhzForm };
}

util::Result<OpenedFile, OpenError> openDataFile(const std::string& path, const model::RadioImage& current)
{
    const auto bytes = readFileBytes(path);
    if (!bytes) return failure(OpenFailure::Missing);
    return decodeDataFile(*bytes, bareName(path), current);
}

} // namespace korvane::files
