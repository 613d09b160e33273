#include "analysis/race_comparison.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/comparison_rule.h"
#include "analysis/opponent_index.h"
#include "model/day_loader.h"
#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/horse_files.h"
#include "store/pair_numbers.h"
#include "store/record.h"
#include "store/text_file.h"

namespace orvalle::analysis {
namespace {

using model::PairTable;

// What one pair of a race comes to, before it is added to the record.
struct PairOutcome {
  int first = 0;  // runner slots
  int second = 0;
  bool compared = false;
  PairCounts counts;
  bool directCounted = false;
  int32_t direct = 0;
};

// Ranks the lines "rate count horse" as the rate lists do: ascending text
// order, the line at position p of c lines ranks c - p.
void rankLines(std::vector<std::string>& lines, model::RaceAnalysis::PerRunner<int32_t>& ranks) {
  std::sort(lines.begin(), lines.end(), store::CaseInsensitiveLess());
  lines.erase(std::unique(lines.begin(), lines.end(),
                          [](const std::string& a, const std::string& b) {
                            return store::compareCaseInsensitive(a, b) == 0;
                          }),
              lines.end());
  const auto count = static_cast<int>(lines.size());
  for (int p = 0; p < count; ++p) {
    const int horse = store::fieldInt(lines[static_cast<size_t>(p)], 21, 2);
    ranks[horse - 1] = count - p;
  }
}

// Restores the current race when the all-race comparison ends, also by an
// exception.
class CurrentRaceKeeper {
 public:
  explicit CurrentRaceKeeper(model::DayTables& tables)
      : m_tables(tables), m_saved(tables.currentRace) {}
  ~CurrentRaceKeeper() { m_tables.currentRace = m_saved; }
  CurrentRaceKeeper(const CurrentRaceKeeper&) = delete;
  CurrentRaceKeeper& operator=(const CurrentRaceKeeper&) = delete;

 private:
  model::DayTables& m_tables;
  int m_saved;
};

}  // namespace

struct ComparisonEngine::Runner {
  std::string name;  // 18-byte name
  bool blank = true;
  int weight = 0;  // today, 0.1 kg
  std::string registration;
  int nameId = NameTable::kNone;
  const HorseHistory* history = nullptr;  // nullptr: no past-run file
  std::optional<OpponentIndex> index;
};

ComparisonEngine::ComparisonEngine(std::filesystem::path seiFolder, unsigned threads)
    : m_seiFolder(std::move(seiFolder)), m_pool(threads) {}

ComparisonEngine::~ComparisonEngine() = default;

const HorseHistory* ComparisonEngine::loadedHistory(const std::string& registrationNumber) const {
  auto found = m_histories.find(registrationNumber);
  return found == m_histories.end() ? nullptr : found->second.get();
}

void ComparisonEngine::loadHistories(const std::vector<Runner>& runners) {
  std::vector<std::string> wanted;
  for (const Runner& runner : runners) {
    if (m_histories.contains(runner.registration)) continue;
    if (std::find(wanted.begin(), wanted.end(), runner.registration) != wanted.end()) continue;
    wanted.push_back(runner.registration);
  }
  // Files are read and parsed in parallel; their names are interned after,
  // in the order of the runners, on this thread.
  std::vector<std::unique_ptr<HorseHistory>> loaded(wanted.size());
  m_pool.forEach(wanted.size(), [&](size_t i) {
    std::optional<std::filesystem::path> path = store::pastRunFilePath(m_seiFolder, wanted[i]);
    if (!path) return;
    std::optional<std::string> bytes = store::readFileBytes(*path);
    if (bytes) loaded[i] = std::make_unique<HorseHistory>(std::move(*bytes));
  });
  for (size_t i = 0; i < wanted.size(); ++i) {
    if (loaded[i]) loaded[i]->internNames(m_names);
    m_histories.emplace(wanted[i], std::move(loaded[i]));
  }
}

void ComparisonEngine::compareRace(model::DayTables& tables, int raceSlot) {
  const std::string_view race = tables.race(raceSlot);
  const int runnerCount = store::ra::kRegisteredRunners.numberIn(race);
  if (runnerCount <= 0) return;
  const int raceDate = store::raceDate(race);

  std::vector<Runner> runners(static_cast<size_t>(runnerCount));
  for (int slot = 0; slot < runnerCount; ++slot) {
    const std::string_view record = tables.runner(raceSlot, slot);
    Runner& runner = runners[static_cast<size_t>(slot)];
    // The name as past-run records keep it: its first 18 bytes, cut without
    // splitting a character.
    const std::string_view name = store::se::kHorseName.in(record);
    runner.blank = isBlankName(name);
    runner.name = store::horseName18(name);
    runner.weight = store::se::kWeightCarried.numberIn(record);
    runner.registration = std::string(store::se::kRegistrationNumber.in(record));
  }
  loadHistories(runners);
  for (Runner& runner : runners) {
    if (!runner.blank) runner.nameId = m_names.intern(runner.name);
    runner.history = loadedHistory(runner.registration);
  }
  m_pool.forEach(runners.size(), [&](size_t i) {
    Runner& runner = runners[i];
    if (runner.history != nullptr && !runner.blank) {
      runner.index.emplace(*runner.history, runner.nameId, raceDate);
    }
  });

  std::vector<PairOutcome> outcomes;
  for (int i = 0; i < runnerCount; ++i) {
    for (int j = i + 1; j < runnerCount; ++j) {
      PairOutcome outcome;
      outcome.first = i;
      outcome.second = j;
      outcomes.push_back(outcome);
    }
  }
  m_pool.forEach(outcomes.size(), [&](size_t p) {
    PairOutcome& outcome = outcomes[p];
    const Runner& a = runners[static_cast<size_t>(outcome.first)];
    const Runner& b = runners[static_cast<size_t>(outcome.second)];
    if (a.blank || b.blank || a.name == b.name) return;
    if (a.weight > 0 && b.weight > 0 && a.index && b.index) {
      outcome.compared = true;
      outcome.counts = comparePair(*a.index, *b.index, a.weight, b.weight);
    }
    if (a.index) {
      outcome.directCounted = true;
      outcome.direct = countDirectMeetings(*a.index, b.nameId);
    }
  });

  model::RaceAnalysis& analysis = tables.analysis(raceSlot);
  for (const PairOutcome& outcome : outcomes) {
    const int pair = store::codes::pairNumber(outcome.first + 1, outcome.second + 1);
    if (outcome.compared) {
      const PairCounts& counts = outcome.counts;
      const int32_t firstTotal = counts.firstTotal();
      const int32_t secondTotal = counts.secondTotal();
      analysis.pair(PairTable::kComparisonCount, pair) = counts.count;
      analysis.pair(PairTable::kFirstBetter, pair) = counts.firstBetter;
      analysis.pair(PairTable::kSecondBetter, pair) = counts.secondBetter;
      analysis.pair(PairTable::kFirstOwnMinus, pair) = counts.firstOwnMinus;
      analysis.pair(PairTable::kSecondOwnMinus, pair) = counts.secondOwnMinus;
      analysis.pair(PairTable::kFirstTotal, pair) = firstTotal;
      analysis.pair(PairTable::kSecondTotal, pair) = secondTotal;
      if (secondTotal < firstTotal) {
        ++analysis.winCount[outcome.first];
        ++analysis.pair(PairTable::kFirstWon, pair);
        ++analysis.lossCount[outcome.second];
      } else if (firstTotal < secondTotal) {
        ++analysis.winCount[outcome.second];
        ++analysis.pair(PairTable::kSecondWon, pair);
        ++analysis.lossCount[outcome.first];
      }
      analysis.winPoints[outcome.first] += firstTotal;
      analysis.lossPoints[outcome.first] += secondTotal;
      analysis.winPoints[outcome.second] += secondTotal;
      analysis.lossPoints[outcome.second] += firstTotal;
    }
    if (outcome.directCounted) analysis.pair(PairTable::kDirect, pair) = outcome.direct;
  }
  rateAndRank(analysis, runnerCount);
  analysis.compared = true;
}

void rateAndRank(model::RaceAnalysis& analysis, int runners) {
  std::vector<std::string> rateLines;
  std::vector<std::string> pointLines;
  for (int slot = 0; slot < runners; ++slot) {
    const int32_t wins = analysis.winCount[slot];
    const int32_t losses = analysis.lossCount[slot];
    if (wins + losses > 0) {
      analysis.winRate[slot] = static_cast<double>(wins) / (wins + losses);
      rateLines.push_back(store::format("%10.3f%10d%2d", analysis.winRate[slot], wins, slot + 1));
    }
    const int32_t winPoints = analysis.winPoints[slot];
    const int32_t lossPoints = analysis.lossPoints[slot];
    if (winPoints + lossPoints > 0) {
      analysis.pointWinRate[slot] = static_cast<double>(winPoints) / (winPoints + lossPoints);
      pointLines.push_back(
          store::format("%10.3f%10d%2d", analysis.pointWinRate[slot], winPoints, slot + 1));
    }
  }
  rankLines(rateLines, analysis.winRateRank);
  rankLines(pointLines, analysis.pointWinRateRank);
}

std::string raceProgressLine(std::string_view raRecord) {
  using namespace store::head;
  const std::string line = std::string(kYear.in(raRecord)) + "/" +
                           std::string(kMonth.in(raRecord)) + "/" + std::string(kDay.in(raRecord)) +
                           " " + store::codes::racecourseName(kRacecourseCode.in(raRecord), 2) +
                           " " + std::string(kRaceNumber.in(raRecord)) + "R ";
  return cp932::toUtf8(line);
}

AllRaceOutcome compareAllRaces(model::DayTables& tables, const AllRaceOptions& options) {
  AllRaceOutcome outcome;
  std::vector<int> races;
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    if (!tables.isRaceEmpty(slot)) races.push_back(slot);
  }
  if (races.empty()) {
    outcome.status = Status::failure(std::string(model::kDayNotLoadedMessage));
    return outcome;
  }

  for (int slot = 0; slot < model::kRaceSlots; ++slot) tables.analysis(slot).resetComparison();

  ComparisonEngine engine(options.seiFolder, options.threads);
  CurrentRaceKeeper keeper(tables);
  const auto raceCount = static_cast<int>(races.size());
  for (int i = 0; i < raceCount; ++i) {
    if (options.cancel != nullptr && options.cancel->cancelled()) {
      outcome.cancelled = true;
      return outcome;
    }
    const int slot = races[static_cast<size_t>(i)];
    if (options.progress) {
      options.progress({i + 1, raceCount, "【解析中】しばらくお待ちください",
                        raceProgressLine(tables.race(slot))});
    }
    tables.currentRace = slot;
    engine.compareRace(tables, slot);
    ++outcome.racesCompared;
  }

  if (options.ignorePastRunDates) {
    outcome.message =
        "[データ読込時過去走の日付を無視する]が指定してあるのでこの比較結果は未処理扱いです。";
  } else {
    outcome.writePredictions = true;
  }
  return outcome;
}

}  // namespace orvalle::analysis
