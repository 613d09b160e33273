// Acquisition of a simulated source with the setup option into an empty
// home, past-run construction included. Run one case at a time, e.g.
//   acquisition_bench --benchmark_filter='Acquire/520/0'
// Arguments: race days, day-file rewrites (0 = once per data file, 1 = after
// every record, the literal way). 104 race days are about a year, 520 five.
// Counters: the calls that made data durable (fsyncs), and the wall time
// over the CPU time of the process (wall_per_cpu; near 1 when the
// acquisition does not wait for the disk).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <filesystem>

#include "acquire/acquisition.h"
#include "acquire/replay_jv_link.h"
#include "bench_sources.h"
#include "store/file_system.h"

namespace orvalle::bench {
namespace {

double processCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

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
    const std::uint64_t syncsBefore = store::diskSyncCounts().total();
    const double cpuBefore = processCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();

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
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    state.counters["fsyncs"] = static_cast<double>(store::diskSyncCounts().total() - syncsBefore);
    state.counters["wall_per_cpu"] = wall / (processCpuSeconds() - cpuBefore);
  }
  std::filesystem::remove_all(home);
  state.counters["race_days"] = days;
}

BENCHMARK(Acquire)
    ->Args({8, 0})
    ->Args({8, 1})
    ->Args({52, 0})
    ->Args({52, 1})
    ->Args({104, 0})
    ->Args({520, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace orvalle::bench
