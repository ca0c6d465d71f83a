#pragma once
// One function per command; each takes the words after the command name and returns the exit
// status.

#include <string>
#include <vector>

namespace korvane::cli {

using Words = std::vector<std::string>;

int runNew(const Words& words);
int runDump(const Words& words);
int runConvert(const Words& words);
int runAlign(const Words& words);
int runRead(const Words& words);
int runWrite(const Words& words);
int runExportCsv(const Words& words);
int runImportCsv(const Words& words);
int runDiff(const Words& words);
int runProbe(const Words& words);
int runFleet(const Words& words);

} // namespace korvane::cli
