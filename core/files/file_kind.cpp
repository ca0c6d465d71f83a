#include "core/files/file_kind.h"

#include <array>

namespace korvane::files {

namespace {

struct KindRow {
    FileKind kind;
    std::string_view name;
    std::string_view header;
};

constexpr std::array<KindRow, 3> kKinds { {
    { FileKind::Rdw, "rdw", "RDW41 ORV file. Marrowby ORV Signal & Radio Works Co., Ltd." },
    { FileKind::Rdh, "rdh", "This is ORV format file (*.rdh)" },
    { FileKind::Rdhax, "rdhax", "This is ORV format file (*.rdhax)" },
} };

} // namespace

std::optional<FileKind> fileKindFromName(std::string_view kindName)
{
    for (const KindRow& row : kKinds)
        if (row.name == kindName) return row.kind;
    return std::nullopt;
}

FileKind fileKindForPath(std::string_view path)
{
    const auto dot = path.rfind('.');
    const auto slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return FileKind::Rdw;
    return fileKindFromName(path.substr(dot + 1)).value_or(FileKind::Rdw);
}

std::string_view headerText(FileKind kind)
{
    for (const KindRow& row : kKinds)
        if (row.kind == kind) return row.header;
    return kKinds[0].header;
}

std::optional<FileKind> fileKindFromHeader(std::string_view text)
{
    for (const KindRow& row : kKinds)
        if (row.header == text) return row.kind;
    return std::nullopt;
}

} // namespace korvane::files
