#include "cli/open_input.h"

#include "cli/output.h"
#include "core/model/defaults.h"

namespace korvane::cli {

std::optional<files::OpenedFile> openInput(const std::string& path)
{
    auto opened = files::openDataFile(path, model::defaultImage(0));
    if (!opened) {
        printError(opened.error().message);
        return std::nullopt;
    }
    return std::move(*opened);
}

} // namespace korvane::cli
