// Acquisition of a simulated source with the setup option into an empty
// home, past-run construction included. Run one case at a time, e.g.
//   acquisition_bench --benchmark_filter='Acquire/520/0'
// Arguments: race days, day-file rewrites (0 = once per data file, 1 = after
// every record, the literal way).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "acquire/acquisition.h"
#include "acquire/replay_jv_link.h"
#include "bench_sources.h"

namespace orvalle::bench {
namespace {

void Acquire(benchmark::State& state) {
  const int days = static_cast<int>(state.range(0));
  const bool everyRecord = state.range(1) != 0;
  const std::filesystem::path source = simulatedSource(days);
  const std::filesystem::path home = std::filesystem::temp_directory_path() / "orvalle-bench-home";

  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home / "DATA");
    std::filesystem::create_directories(home / "SEI");
    state.ResumeTiming();

    acquire::ReplayJvLink link(source);
    if (!acquire::initialiseJvLink(link)) state.SkipWithError("JVInit failed");
    acquire::AcquisitionSettings settings;
    if (everyRecord) {
      settings.dayFileWritePolicy = store::WritePolicy::kEveryRecord;
      settings.pastRunBatchBytes = 1;  // each day's lines merged on their own
    }
    acquire::Acquisition acquisition(link, home / "DATA", home / "SEI", settings);
    acquire::AcquisitionObserver quiet;
    auto result = acquisition.run({"20000101000000", acquire::kOptionSetup}, quiet);
    if (result.outcome != acquire::AcquisitionOutcome::kCompleted) {
      state.SkipWithError("the acquisition did not complete");
    }
  }
  std::filesystem::remove_all(home);
  state.counters["race_days"] = days;
}

BENCHMARK(Acquire)
    ->Args({8, 0})
    ->Args({8, 1})
    ->Args({52, 0})
    ->Args({52, 1})
    ->Args({520, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace orvalle::bench
