// Naming and layout cost for large directories: should grow near-linearly
// with the number of entries (run with --benchmark_filter=Iso).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "FileSource.h"
#include "ShortNameRules.h"
#include "clsISOWriter.h"

namespace {
std::vector<std::string> SharedPrefixNames(int count) {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    // Every name shares its first 29 characters: one numbering group.
    for (int i = 0; i < count; ++i)
        names.push_back("a very long common prefix of files " + std::to_string(i) + ".txt");
    return names;
}

void IsoShortFileNames(benchmark::State& state) {
    const auto names = SharedPrefixNames(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ShortNameRules::FileNames(names));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(IsoShortFileNames)
    ->RangeMultiplier(5)
    ->Range(2000, 50000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

void IsoShortDirectoryNames(benchmark::State& state) {
    const auto names = SharedPrefixNames(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ShortNameRules::DirectoryNames(names));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(IsoShortDirectoryNames)
    ->RangeMultiplier(5)
    ->Range(2000, 50000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

// Every file is empty: the build is names, layout and directory records.
class EmptyFiles : public FileSource {
  public:
    std::optional<Facts> Examine(const std::string&) override { return Facts{}; }
    std::unique_ptr<FileReader> Open(const std::string&) override { return nullptr; }
    std::string LastProblem() const override { return {}; }
};

void IsoBuildOneLargeDirectory(benchmark::State& state) {
    EmptyFiles source;
    clsISOWriter writer;
    writer.SetFileSource(&source);
    for (int i = 0; i < state.range(0); ++i)
        writer.Root().Files().Add("/bench/" + std::to_string(i),
                                  "holiday photo " + std::to_string(i) + " of the summer.jpeg");
    const std::string out = "/tmp/maple-iso-names-bench-" + std::to_string(::getpid()) + ".iso";
    for (auto _ : state)
        if (!writer.SaveISO(out)) state.SkipWithError(writer.LastError().c_str());
    std::remove(out.c_str());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(IsoBuildOneLargeDirectory)
    ->RangeMultiplier(5)
    ->Range(2000, 50000)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
}  // namespace

BENCHMARK_MAIN();
