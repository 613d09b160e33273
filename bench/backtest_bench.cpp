// The multi-day backtest over the last simulated year (the newest 104 race
// days, about a year) of a five-year home: 520 simulated race days acquired
// with the setup option into a home under the bench data folder
// ($ORVALLE_BENCH_DATA, default bench-data), built once and reused by later
// runs. Counters: race days scored and seconds per day.
//   backtest_bench --benchmark_filter=Backtest
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/backtest.h"
#include "bench_sources.h"
#include "store/day_file_names.h"

namespace orvalle::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kSimulatedDays = 520;
constexpr size_t kBacktestDays = 104;

void Backtest(benchmark::State& state) {
  const fs::path home = acquiredSetupHome(kSimulatedDays);
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
