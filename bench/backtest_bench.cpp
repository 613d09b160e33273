// The multi-day backtest over the last simulated year (the newest 104 race
// days, about a year) of a five-year home: 520 simulated race days acquired
// with the setup option into a home under the bench data folder
// ($ORVALLE_BENCH_DATA, default bench-data), built once and reused by later
// runs. Counters: race days scored and seconds per day.
//   backtest_bench --benchmark_filter=Backtest
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "acquire/acquisition.h"
#include "acquire/replay_jv_link.h"
#include "app/backtest.h"
#include "bench_sources.h"
#include "store/day_file_names.h"

namespace orvalle::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kSimulatedDays = 520;
constexpr size_t kBacktestDays = 104;

// The acquired home, made once: a marker file tells a complete one.
fs::path acquiredHome() {
  const fs::path source = simulatedSource(kSimulatedDays);
  const fs::path home = source.parent_path() / ("home-" + std::to_string(kSimulatedDays));
  if (fs::exists(home / "complete")) return home;
  fs::remove_all(home);
  fs::create_directories(home / "DATA");
  fs::create_directories(home / "SEI");
  acquire::ReplayJvLink link(source);
  if (!acquire::initialiseJvLink(link)) return {};
  acquire::Acquisition acquisition(link, home / "DATA", home / "SEI", {});
  acquire::AcquisitionObserver quiet;
  auto result = acquisition.run({"20000101000000", acquire::kOptionSetup}, quiet);
  if (result.outcome != acquire::AcquisitionOutcome::kCompleted) return {};
  std::ofstream(home / "complete") << "acquired\n";
  return home;
}

void Backtest(benchmark::State& state) {
  const fs::path home = acquiredHome();
  if (home.empty()) {
    state.SkipWithError("the acquisition did not complete");
    return;
  }
  // The newest days of the home, oldest first.
  std::vector<std::string> days = store::listDays(home / "DATA");
  if (days.size() > kBacktestDays) days.resize(kBacktestDays);
  app::BacktestRequest request;
  request.fromDay = days.back();
  request.toDay = days.front();

  app::BacktestReport report;
  for (auto _ : state) {
    if (!app::runBacktest(app::Home(home), request, report)) {
      state.SkipWithError("the backtest failed");
      return;
    }
  }
  state.SetLabel(request.fromDay + " - " + request.toDay);
  state.counters["days_scored"] = static_cast<double>(report.days.size());
  state.counters["days_skipped"] = static_cast<double>(report.skippedDays.size());
  // Seconds per race day of the range (scored or skipped).
  state.counters["s_per_day"] = benchmark::Counter(
      static_cast<double>(report.days.size() + report.skippedDays.size()),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["quinella_return_pct"] = report.figures[0].returnRate();
}
BENCHMARK(Backtest)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace orvalle::bench
