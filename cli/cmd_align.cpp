#include "cli/arguments.h"
#include "cli/cli_link_ui.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/link_port.h"
#include "cli/open_input.h"
#include "cli/output.h"
#include "cli/port_target.h"
#include "core/link/alignment.h"
#include "core/link/alignment_items.h"
#include "core/util/steady_clock.h"

#include <cstdint>
#include <vector>

namespace korvane::cli {

namespace {

constexpr const char* kUsage
    = "usage: korvane-cli align --port PORT FILE --item N [--set V]... (--ok | --cancel) [--trace TRACE]";

} // namespace

int runAlign(const Words& words)
{
    const auto args = parseArguments(words, { { "--port", "--item", "--trace" }, { "--ok", "--cancel" }, { "--set" } });
    if (!args) return kExitUsage;
    const auto portText = args->value("--port");
    const auto itemText = args->value("--item");
    const bool keep = args->has("--ok");
    if (!portText || !itemText || args->positional.size() != 1 || keep == args->has("--cancel"))
        return usageError(kUsage), kExitUsage;
    const auto item = parseInt(*itemText, 0, link::kAlignmentItemCount - 1);
    if (!item) return usageError("--item takes an alignment item 0..11"), kExitUsage;
    std::vector<std::uint8_t> values;
    if (const auto found = args->values.find("--set"); found != args->values.end()) {
        for (const std::string& text : found->second) {
            const auto value = parseInt(text, 0, 255);
            if (!value) return usageError("--set takes a value 0..255, not \"" + text + "\""), kExitUsage;
            values.push_back(static_cast<std::uint8_t>(*value));
        }
    }
    const auto target = portTarget(*portText);
    if (!target) return kExitUsage;

    // The file gives the model the radio must be and the test channels it works on.
    const auto opened = openInput(args->positional.front());
    if (!opened) return kExitFailed;
    const model::RadioImage& image = opened->image;

    util::SteadyClock clock;
    LinkPort port;
    if (!startTrace(port, args->value("--trace"), clock)) return kExitFailed;
    CliLinkUi ui(false, false);
    link::AlignmentSession session(port.port(), clock);
    const link::AlignmentStart started = session.start(*target, *item, image.modelIndex, image.alignment, ui);
    if (!started.success()) return ui.finish(started.end);
    for (const std::uint8_t value : values)
        session.change(image.alignment, started.fiveKhzForm.value_or(false), value);
    session.end(keep ? link::ItemEnd::Keep : link::ItemEnd::Restore);
    return ui.finish(link::LinkEnd::Success);
}

} // namespace korvane::cli
