// Choosing a file kind by name or by a path's extension, and recognising it by its header.

#include "core/files/file_kind.h"

#include <gtest/gtest.h>

namespace korvane::files {
namespace {

TEST(FileKind, FromName)
{
    struct Row {
        const char* name;
        std::optional<FileKind> kind;
    };
    for (const Row& row : { Row { "rdw", FileKind::Rdw }, Row { "rdh", FileKind::Rdh },
             Row { "rdhax", FileKind::Rdhax }, Row { "RDW", std::nullopt }, Row { "rdha", std::nullopt },
             Row { ".rdw", std::nullopt }, Row { "", std::nullopt }, Row { "rdh ", std::nullopt } })
        EXPECT_EQ(fileKindFromName(row.name), row.kind) << '"' << row.name << '"';
}

TEST(FileKind, ForPath)
{
    struct Row {
        const char* path;
        FileKind kind;
    };
    for (const Row& row : { Row { "a.rdw", FileKind::Rdw }, Row { "/x/y/a.rdh", FileKind::Rdh },
             Row { "a.rdhax", FileKind::Rdhax }, Row { "a.rdh.rdhax", FileKind::Rdhax },
             Row { "a.rdha", FileKind::Rdw }, Row { "a.RDH", FileKind::Rdw }, Row { "akqv09", FileKind::Rdw },
             Row { "/x.rdh/file", FileKind::Rdw }, Row { ".rdh", FileKind::Rdh }, Row { "", FileKind::Rdw } })
        EXPECT_EQ(fileKindForPath(row.path), row.kind) << row.path;
}

TEST(FileKind, HeaderIdentifiesTheKind)
{
    for (FileKind kind : { FileKind::Rdw, FileKind::Rdh, FileKind::Rdhax })
        EXPECT_EQ(fileKindFromHeader(headerText(kind)), kind);
    // Exact match only: no prefix, no case folding, no trailing blank.
    EXPECT_EQ(fileKindFromHeader("This is ORV format file (*.rdh"), std::nullopt);
    EXPECT_EQ(fileKindFromHeader("This is ORV format file (*.rdh) "), std::nullopt);
    EXPECT_EQ(fileKindFromHeader("this is ORV format file (*.rdh)"), std::nullopt);
    EXPECT_EQ(fileKindFromHeader(""), std::nullopt);
}

} // namespace
} // namespace korvane::files
