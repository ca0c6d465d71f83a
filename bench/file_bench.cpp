// Time to save and to open each kind of data file, through a real file in a temporary folder.

#include "core/files/data_file.h"
#include "core/model/defaults.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using korvane::files::FileKind;

// One folder for the whole run, removed at exit.
const std::string& benchFolder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvane-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(benchFolder(), ignored);
        });
        return pattern;
    }();
    return folder;
}

std::string pathFor(FileKind kind)
{
    switch (kind) {
    case FileKind::Rdh:
        return benchFolder() + "/bench.rdh";
    case FileKind::Rdhax:
        return benchFolder() + "/bench.rdhax";
    case FileKind::Rdw:
        break;
    }
    return benchFolder() + "/bench.rdw";
}

// Encode and save, including the flush to disk that makes a save safe.
void saveFile(benchmark::State& state)
{
    const auto kind = static_cast<FileKind>(state.range(0));
    const auto image = korvane::model::defaultImage(2);
    const std::string path = pathFor(kind);
    for (auto _ : state) {
        auto failure = korvane::files::saveDataFile(path, image, kind);
        benchmark::DoNotOptimize(failure);
    }
}

void openFile(benchmark::State& state)
{
    const auto kind = static_cast<FileKind>(state.range(0));
    const auto image = korvane::model::defaultImage(2);
    const std::string path = pathFor(kind);
    if (korvane::files::saveDataFile(path, image, kind)) {
        state.SkipWithError("cannot save the file to open");
        return;
    }
    for (auto _ : state) {
        auto opened = korvane::files::openDataFile(path, image);
        benchmark::DoNotOptimize(opened);
    }
}

// The in-memory halves alone, without the file system.
void encodeOnly(benchmark::State& state)
{
    const auto kind = static_cast<FileKind>(state.range(0));
    const auto image = korvane::model::defaultImage(2);
    for (auto _ : state) {
        auto bytes = korvane::files::encodeDataFile(image, kind);
        benchmark::DoNotOptimize(bytes);
    }
}

void decodeOnly(benchmark::State& state)
{
    const auto kind = static_cast<FileKind>(state.range(0));
    const auto image = korvane::model::defaultImage(2);
    const auto bytes = korvane::files::encodeDataFile(image, kind);
    for (auto _ : state) {
        auto opened = korvane::files::decodeDataFile(bytes, "bench", image);
        benchmark::DoNotOptimize(opened);
    }
}

void kinds(benchmark::internal::Benchmark* b) { b->ArgName("kind")->Arg(1)->Arg(2)->Arg(3); }

} // namespace

BENCHMARK(saveFile)->Apply(kinds)->Unit(benchmark::kMicrosecond);
BENCHMARK(openFile)->Apply(kinds)->Unit(benchmark::kMicrosecond);
BENCHMARK(encodeOnly)->Apply(kinds);
BENCHMARK(decodeOnly)->Apply(kinds);
