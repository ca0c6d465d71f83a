// korvane-cli: scripted programming, backups and conversions on the same core as the window.

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/exit_codes.h"
#include "cli/output.h"

#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kHelp = R"(Usage:
  korvane-cli new     --model N -o FILE [--kind rdw|rdh|rdhax]
  korvane-cli dump    FILE
  korvane-cli convert FILE -o OUT [--kind rdw|rdh|rdhax]
  korvane-cli read    --port PORT -o FILE [--kind rdw|rdh|rdhax] [--trace TRACE]
  korvane-cli write   --port PORT [--yes] [--backup OLD] [--verify] [--trace TRACE] FILE
  korvane-cli align   --port PORT FILE --item N [--set V]... (--ok | --cancel) [--trace TRACE]
  korvane-cli export-csv FILE -o OUT.csv
  korvane-cli import-csv CSV --model N -o FILE [--kind rdw|rdh|rdhax]
  korvane-cli diff    A B
  korvane-cli probe   --port PORT
  korvane-cli fleet   --port PORT[,PORT]... [--yes] [--verify] [--log LOG.csv] [--next] FILE
  korvane-cli --help | --version

  new      save the defaults of model index N (0..6)
  dump     open FILE as the window's Open does and print it as JSON
  convert  open FILE and save it as another kind
  read     read the radio on PORT and save what it holds as FILE
  write    open FILE and program the radio on PORT with it
  align    adjust alignment item N (0..11) of the radio on PORT on the test channels of FILE:
           one value change per --set V (0..255), then keep the value (--ok) or restore it
           (--cancel)
  export-csv  write the open channels of FILE as a spreadsheet (CSV)
  import-csv  the channels of CSV in the defaults of model N, saved as FILE
  probe    check the chain to the radio on PORT step by step (device, access, other programs,
           handshake, answer, a read-out that saves nothing) and advise on the first failure
  diff     one line per field that differs between A and B, in the window's words; A or B
           is a data file or radio:PORT (what the radio on PORT holds now)
  fleet    program FILE into the radio on every PORT at the same time, each as write does
           (--verify reads each back); one line per port when all have ended, "PORT: " and
           how it ended; --log appends one CSV row per radio to LOG.csv; --next then asks
           for the next batch and starts again on Enter, until the end of input

Without --kind the output's extension (.rdw, .rdh, .rdhax) decides, else rdw.
PORT is COM1..COM4 (the device in KORVANE_COMn, else the n-th serial device) or a device
path. write asks before rounding channels for an older radio or writing another model:
--yes answers Yes, otherwise the question is printed and the write stops.
write --backup OLD first reads the radio and saves what it holds as OLD (kind from the
extension); if that fails nothing is written. write --verify reads the radio back after
programming and compares every byte sent: each difference is one line on standard error
and the exit status is 1.
--trace TRACE writes every byte on the line to TRACE, with the seconds since the start.
read and write keep an automatic backup of each image read from or about to be written to
a radio in $XDG_DATA_HOME/korvane/backups (else ~/.local/share/korvane/backups); backups
older than a year are removed, but the newest 50 always stay.
Exit status: 0 done (probe: the radio was read), 1 failed, 2 usage error, 3 stopped at a
question; diff: 0 the same, 1 differences printed, 4 A or B could not be read; fleet: 0
every radio programmed (and verified), else 1.
)";

} // namespace

int main(int argc, char** argv)
{
    using namespace korvane::cli;
    prepareConsole();
    Words words = commandWords(argc, argv);
    if (words.empty()) {
        usageError("missing command");
        return kExitUsage;
    }
    const std::string command = words.front();
    words.erase(words.begin());
    if (command == "--help" || command == "-h") {
        std::cout << kHelp;
        return kExitDone;
    }
    if (command == "--version") {
        std::cout << "korvane-cli " << KORVANE_VERSION << '\n';
        return kExitDone;
    }
    if (command == "new")
        return runNew(words);
    if (command == "dump")
        return runDump(words);
    if (command == "convert")
        return runConvert(words);
    if (command == "align")
        return runAlign(words);
    if (command == "read")
        return runRead(words);
    if (command == "write")
        return runWrite(words);
    if (command == "export-csv")
        return runExportCsv(words);
    if (command == "import-csv")
        return runImportCsv(words);
    if (command == "diff")
        return runDiff(words);
    if (command == "probe")
        return runProbe(words);
    if (command == "fleet")
        return runFleet(words);
    usageError("unknown command: " + std::string(command));
    return kExitUsage;
}
