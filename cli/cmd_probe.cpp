#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/link_port.h"
#include "cli/output.h"
#include "cli/port_target.h"
#include "core/probe/probe_chain.h"
#include "core/util/steady_clock.h"

#include <iostream>

namespace korvane::cli {

int runProbe(const Words& words)
{
    const auto args = parseArguments(words, { { "--port" }, {}, {} });
    if (!args) return kExitUsage;
    const auto portText = args->value("--port");
    if (!portText || !args->positional.empty()) return usageError("usage: korvane-cli probe --port PORT"), kExitUsage;
    const auto target = portTarget(*portText);
    if (!target) return kExitUsage;
    util::SteadyClock clock;
    LinkPort port;
    const auto lines = probe::probeChain(*target, port.port(), clock);
    for (const probe::ProbeLine& line : lines) {
        std::cout << (line.passed ? "[通过] " : "[失败] ") << line.text << '\n';
        if (!line.passed) std::cout << "       建议：" << line.advice << '\n';
    }
    return !lines.empty() && lines.back().passed ? kExitDone : kExitFailed;
}

} // namespace korvane::cli
