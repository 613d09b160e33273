#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "analysis/horse_history.h"
#include "analysis/name_table.h"
#include "analysis/worker_pool.h"
#include "model/day_tables.h"
#include "store/error.h"
#include "store/progress.h"

namespace orvalle::analysis {

// The race comparison: rates every runner of a race against every other
// through the common opponents of their past runs (all runs before the race
// date, however old) and stores the pair tables, the win and loss counts
// and points, the rates and their ranks and the compared flag in the race's
// analysis record.
//
// One engine serves one command: each runner's past-run file is read and
// parsed once (a horse met again in another race of the command is not read
// again), its runs are indexed by opponent, and the rows of a pair are
// counted by joining the two indexes. The pairs of a race are worked out on
// all threads of the engine's pool; the results do not depend on the number
// of threads. The files are assumed not to change while the engine lives.
class ComparisonEngine {
 public:
  // `threads` as for WorkerPool (0 = one per core).
  explicit ComparisonEngine(std::filesystem::path seiFolder, unsigned threads = 0);
  ~ComparisonEngine();
  ComparisonEngine(const ComparisonEngine&) = delete;
  ComparisonEngine& operator=(const ComparisonEngine&) = delete;

  // The race comparison of race slot `raceSlot`, adding to its analysis
  // record, which must have been reset (RaceAnalysis::resetComparison): the
  // per-runner counts are sums over the pairs. A race without registered
  // runners is left as it is. A pair with a blank name, a weight carried of
  // 0, equal names or a missing past-run file is skipped (its direct
  // meetings are still counted when A's file exists). Throws orvalle::Error
  // when a past-run file cannot be read or an index is out of range (more
  // than 18 registered runners); the record is then partly written.
  void compareRace(model::DayTables& tables, int raceSlot);

  unsigned threadCount() const { return m_pool.size(); }

 private:
  struct Runner;
  const HorseHistory* loadedHistory(const std::string& registrationNumber) const;
  void loadHistories(const std::vector<Runner>& runners);

  std::filesystem::path m_seiFolder;
  WorkerPool m_pool;
  NameTable m_names;
  // By registration number; nullptr for a horse without a past-run file.
  std::unordered_map<std::string, std::unique_ptr<HorseHistory>> m_histories;
};

// The win rates, point win rates and their ranks of the first `runners`
// runners of a race from their win and loss counts and points. A runner
// with wins + losses > 0 gets its win rate and the line "%10.3f" rate +
// "%10d" wins + "%2d" horse number; the lines are sorted as text
// (store::compareCaseInsensitive) and the line at position p of c gets the
// rank c - p, so equal rates at three decimals rank by more wins, then by
// the higher horse number. The same for the points. Runners without counts
// keep their rate and rank.
void rateAndRank(model::RaceAnalysis& analysis, int runners);

// What the all-race comparison takes: the SEI folder, the option
// "ReadKako"/"IgnoDate", the threads, and where to report progress and look
// for a cancel request.
struct AllRaceOptions {
  std::filesystem::path seiFolder;
  bool ignorePastRunDates = false;
  unsigned threads = 0;  // 0 = one per core
  ProgressCallback progress;
  const CancelFlag* cancel = nullptr;
};

// What the caller does after an all-race comparison.
struct AllRaceOutcome {
  // Failed with "出馬表が読み込まれていません。" when the day has no race;
  // nothing was changed then.
  Status status;
  int racesCompared = 0;
  // Stopped by the cancel flag: the races not reached keep reset comparison
  // fields; the caller neither writes predictions nor shows a message.
  bool cancelled = false;
  // True: the caller runs the prediction-file writer next. False after a
  // comparison with "IgnoDate" on (the results are not to be recorded as a
  // processed day) and after a cancel.
  bool writePredictions = false;
  // With "IgnoDate" on, the message to show (UTF-8) instead of writing
  // prediction files: "[データ読込時過去走の日付を無視する]が指定してあるので
  // この比較結果は未処理扱いです。". Empty otherwise.
  std::string message;
};

// The all-race comparison: resets the comparison fields of all 36 race
// analysis records, then runs the race comparison of every non-empty race
// slot in slot order (the race list's order), reporting before each race:
// position = its number in the list, maximum = the races, upper line
// "【解析中】しばらくお待ちください", lower line the race date "yyyy/mm/dd",
// a blank, the racecourse name, a blank, the race number as stored and "R ".
// Each race is made the current race while it is compared; afterwards the
// current race is what it was. The caller then writes the prediction files
// (AllRaceOutcome::writePredictions), runs the combination calculation and
// refreshes the race card. Throws orvalle::Error as compareRace does.
[[nodiscard]] AllRaceOutcome compareAllRaces(model::DayTables& tables,
                                             const AllRaceOptions& options);

// The lower progress line of a race (UTF-8), e.g. "2024/01/06 中山 01R ".
std::string raceProgressLine(std::string_view raRecord);

}  // namespace orvalle::analysis
