// The all-race comparison of one race day with a long history: the fast
// engine on one thread and on all threads, and the literal method (every
// opponent entry re-reads the other horse's past-run file) on the same races.
//
// The home is built from a simulated source of ORVALLE_BENCH_DAYS race days
// (default 520, five years); the newest day with results and at least 24
// races is compared. With ORVALLE_BENCH_HOME set, the home is kept in that
// folder and reused by later runs.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "analysis/race_comparison.h"
#include "model/day_tables.h"
#include "sim/simulator.h"
#include "store/record.h"
#include "support/literal_comparison.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace orvalle;

struct BenchHome {
  std::unique_ptr<test::TempDir> temporary;
  fs::path root;
  std::string day;
  int races = 0;
  int pairs = 0;
};

int envInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::atoi(value) : fallback;
}

int racesOf(const model::DayTables& tables) {
  int races = 0;
  for (int slot = 0; slot < model::kRaceSlots; ++slot) races += tables.isRaceEmpty(slot) ? 0 : 1;
  return races;
}

int pairsOf(const model::DayTables& tables) {
  int pairs = 0;
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    if (tables.isRaceEmpty(slot)) continue;
    const int n = store::ra::kRegisteredRunners.numberIn(tables.race(slot));
    pairs += n * (n - 1) / 2;
  }
  return pairs;
}

const BenchHome& benchHome() {
  static const BenchHome home = [] {
    BenchHome h;
    if (const char* kept = std::getenv("ORVALLE_BENCH_HOME")) {
      h.root = kept;
    } else {
      h.temporary = std::make_unique<test::TempDir>();
      h.root = h.temporary->path();
    }
    const fs::path daysFile = h.root / "result_days.txt";
    std::vector<std::string> days;
    if (fs::exists(daysFile)) {
      std::ifstream in(daysFile);
      for (std::string line; std::getline(in, line);) days.push_back(line);
    } else {
      const int count = envInt("ORVALLE_BENCH_DAYS", 520);
      sim::simulate({h.root / "src", count, 1});
      days = test::buildHomeFromReplaySource(h.root / "src", h.root / "DATA", h.root / "SEI");
      std::ofstream out(daysFile);
      for (const std::string& day : days) out << day << "\n";
    }
    auto tables = std::make_unique<model::DayTables>();
    for (auto it = days.rbegin(); it != days.rend(); ++it) {
      test::fillRaceAndRunnerTables(*tables, h.root / "DATA", *it);
      if (racesOf(*tables) >= 24) {
        h.day = *it;
        h.races = racesOf(*tables);
        h.pairs = pairsOf(*tables);
        break;
      }
    }
    return h;
  }();
  return home;
}

std::unique_ptr<model::DayTables> loadDay() {
  const BenchHome& home = benchHome();
  auto tables = std::make_unique<model::DayTables>();
  test::fillRaceAndRunnerTables(*tables, home.root / "DATA", home.day);
  return tables;
}

// The all-race comparison with the fast engine; argument: threads (0 = one
// per core).
void BM_AllRaceComparisonFast(benchmark::State& state) {
  const BenchHome& home = benchHome();
  if (home.day.empty()) {
    state.SkipWithError("no day with 24 races");
    return;
  }
  auto tables = loadDay();
  analysis::AllRaceOptions options;
  options.seiFolder = home.root / "SEI";
  options.threads = static_cast<unsigned>(state.range(0));
  for (auto _ : state) {
    analysis::AllRaceOutcome outcome = analysis::compareAllRaces(*tables, options);
    benchmark::DoNotOptimize(outcome.racesCompared);
  }
  int64_t rows = 0;
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    for (int pair = 1; pair <= model::kPairCount; ++pair) {
      rows += tables->analysis(slot).pair(model::PairTable::kComparisonCount, pair);
    }
  }
  state.SetLabel(home.day);
  state.counters["races"] = home.races;
  state.counters["pairs"] = home.pairs;
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["threads"] = options.threads == 0 ? std::thread::hardware_concurrency() : 1;
}
BENCHMARK(BM_AllRaceComparisonFast)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The literal method against the fast engine (one thread) on the same races:
// every race of the day, or ORVALLE_BENCH_LITERAL_RACES races spread evenly
// over it, the literal time then extrapolated to the day by its pairs. Both
// must give the same pair tables and ranks.
void BM_LiteralAgainstFast(benchmark::State& state) {
  const BenchHome& home = benchHome();
  if (home.day.empty()) {
    state.SkipWithError("no day with 24 races");
    return;
  }
  auto literal = loadDay();
  auto fast = loadDay();
  std::vector<int> slots;
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    if (!literal->isRaceEmpty(slot)) slots.push_back(slot);
  }
  const auto sample = std::min<size_t>(
      slots.size(), static_cast<size_t>(envInt("ORVALLE_BENCH_LITERAL_RACES", 36)));
  std::vector<int> sampled;
  for (size_t i = 0; i < sample; ++i) sampled.push_back(slots[i * slots.size() / sample]);
  using Clock = std::chrono::steady_clock;
  double literalSeconds = 0;
  double fastSeconds = 0;
  int samplePairs = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    for (int slot : sampled) {
      literal->analysis(slot).resetComparison();
      test::literalRaceComparison(*literal, slot, home.root / "SEI");
      const int n = store::ra::kRegisteredRunners.numberIn(literal->race(slot));
      samplePairs += n * (n - 1) / 2;
    }
    literalSeconds = std::chrono::duration<double>(Clock::now() - start).count();

    start = Clock::now();
    analysis::ComparisonEngine engine(home.root / "SEI", 1);
    for (int slot : sampled) {
      fast->analysis(slot).resetComparison();
      engine.compareRace(*fast, slot);
    }
    fastSeconds = std::chrono::duration<double>(Clock::now() - start).count();

    for (int slot = 0; slot < model::kRaceSlots; ++slot) {
      if (!(fast->analysis(slot).pairTables == literal->analysis(slot).pairTables) ||
          !(fast->analysis(slot).winRateRank == literal->analysis(slot).winRateRank)) {
        state.SkipWithError("the fast engine differs from the literal method");
      }
    }
  }
  state.SetLabel(home.day);
  state.counters["races"] = static_cast<double>(sampled.size());
  state.counters["pairs"] = samplePairs;
  state.counters["literal_s"] = literalSeconds;
  state.counters["fast_1thread_s"] = fastSeconds;
  state.counters["literal_day_s"] = literalSeconds * home.pairs / samplePairs;
  state.counters["ratio"] = literalSeconds / fastSeconds;
}
BENCHMARK(BM_LiteralAgainstFast)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
