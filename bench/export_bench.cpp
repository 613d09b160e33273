// `export --sqlite` of a whole five-year home (520 simulated race days
// acquired with the setup option, built once under the bench data folder,
// $ORVALLE_BENCH_DATA, default bench-data) into a new database. The argument
// is the number of newest days listed as processed, whose figures and
// combinations are exported too (each such day is loaded and compared):
// 0 exports the records alone, 104 adds about a year of compared days.
// Counters: days, rows of races, runners and payouts, and seconds per day.
//   export_bench --benchmark_filter=Export
#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/sqlite_export.h"
#include "bench_sources.h"
#include "output/processed_days.h"
#include "store/day_file_names.h"
#include "store/error.h"

namespace orvalle::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kSimulatedDays = 520;

// A home that holds the acquired home's data and past runs as hard links
// (a symbolic link to the bench data folder, a relative path, would dangle
// from the temporary folder) and lists its
// `compared` newest days as processed; the export writes nothing into a
// home, so the shared home stays as it is.
fs::path homeWithProcessedDays(const fs::path& acquired, size_t compared) {
  const fs::path home =
      fs::temp_directory_path() / ("orvalle-bench-export-home-" + std::to_string(compared));
  fs::remove_all(home);
  fs::create_directories(home);
  const auto links = fs::copy_options::recursive | fs::copy_options::create_hard_links;
  fs::copy(acquired / "DATA", home / "DATA", links);
  fs::copy(acquired / "SEI", home / "SEI", links);
  std::vector<std::string> days = store::listDays(home / "DATA");
  if (days.size() > compared) days.resize(compared);
  std::map<int, std::vector<std::string>> byYear;
  for (const std::string& day : days) byYear[std::stoi(day.substr(0, 4))].push_back(day);
  for (const auto& [year, stems] : byYear) output::addProcessedDays(home, year, stems);
  return home;
}

void Export(benchmark::State& state) {
  const fs::path acquired = acquiredSetupHome(kSimulatedDays);
  if (acquired.empty()) {
    state.SkipWithError("the acquisition did not complete");
    return;
  }
  const fs::path home = homeWithProcessedDays(acquired, static_cast<size_t>(state.range(0)));
  const fs::path database = fs::temp_directory_path() / "orvalle-bench-export.sqlite";
  app::SqliteExportReport report;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(database);
    state.ResumeTiming();
    app::SqliteExportRequest request;
    request.database = database;
    const app::CommandResult result = app::exportToSqlite(app::Home(home), request, report);
    if (!result.ok()) state.SkipWithError(result.text().c_str());
  }
  if (report.days.empty()) state.SkipWithError("the home holds no day to export");
  const double days = static_cast<double>(report.days.size());
  state.counters["days"] = days;
  state.counters["compared"] = static_cast<double>(report.comparedDays.size());
  state.counters["races"] = static_cast<double>(report.races);
  state.counters["runners"] = static_cast<double>(report.runners);
  state.counters["payouts"] = static_cast<double>(report.payouts);
  state.counters["s_per_day"] = benchmark::Counter(
      days, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  fs::remove(database);
  fs::remove_all(home);
}

BENCHMARK(Export)
    ->ArgName("compared")
    ->Arg(0)
    ->Arg(104)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
}  // namespace orvalle::bench
