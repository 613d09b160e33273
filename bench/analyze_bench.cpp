// `analyze` of the newest day of a five-year simulated home (520 race days):
// loading the day, the all-race comparison and the prediction files, as the
// command runs it. "First" analyses a home whose newest day was never
// analysed; "Repeat" analyses it again (nothing changes, nothing is
// written). The counter fsyncs counts the calls that made data durable.
//   analyze_bench --benchmark_filter=Analyze
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "acquire/acquisition.h"
#include "acquire/replay_jv_link.h"
#include "app/day_session.h"
#include "app/startup.h"
#include "bench_sources.h"
#include "store/day_file_names.h"
#include "store/file_system.h"

namespace orvalle::bench {
namespace {

namespace fs = std::filesystem;

constexpr int kDays = 520;

// Acquires the whole source into a new home.
void acquireWholeSource(const fs::path& source, const fs::path& home) {
  fs::remove_all(home);
  fs::create_directories(home / "DATA");
  fs::create_directories(home / "SEI");
  acquire::ReplayJvLink link(source);
  if (!acquire::initialiseJvLink(link)) throw Error("JVInit failed");
  acquire::Acquisition acquisition(link, home / "DATA", home / "SEI", {});
  acquire::AcquisitionObserver quiet;
  acquisition.run({"20000101000000", acquire::kOptionSetup}, quiet);
}

// A home that holds the acquisition of the source, made once beside it.
fs::path acquiredHome() {
  const fs::path source = simulatedSource(kDays);
  const fs::path home = source.parent_path() / ("home-" + std::to_string(kDays));
  if (!fs::exists(home / "DATA")) acquireWholeSource(source, home);
  (void)app::startUp(home.string());  // the settings file and folders a first start makes
  return home;
}

void analyze(const fs::path& folder, benchmark::State& state) {
  const std::uint64_t syncsBefore = store::diskSyncCounts().total();
  const app::Home home = app::startUp(folder.string());
  app::DaySession session(home);
  const std::string day = store::listDays(home.dataFolder()).front();
  const app::CommandResult result = session.loadDay(day, app::AfterLoading::kCompare);
  if (!result.ok()) state.SkipWithError(result.text().c_str());
  state.counters["fsyncs"] = static_cast<double>(store::diskSyncCounts().total() - syncsBefore);
}

void Analyze(benchmark::State& state) {
  const bool repeat = state.range(0) != 0;
  const fs::path original = acquiredHome();
  const fs::path home = fs::temp_directory_path() / "orvalle-bench-analyze";
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(home);
    fs::copy(original, home, fs::copy_options::recursive);
    if (repeat) {
      const app::Home prepared = app::startUp(home.string());
      app::DaySession session(prepared);
      (void)session.loadDay(store::listDays(prepared.dataFolder()).front(),
                            app::AfterLoading::kCompare);
    }
    // The copy's data goes to disk now, not in the flush of the analysis.
    ::sync();
    state.ResumeTiming();
    analyze(home, state);
  }
  fs::remove_all(home);
}

BENCHMARK(Analyze)->ArgName("repeat")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace orvalle::bench
