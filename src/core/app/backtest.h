#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/command_result.h"
#include "app/home.h"
#include "model/day_tables.h"
#include "store/progress.h"

namespace orvalle::app {

// What a backtest runs over.
struct BacktestRequest {
  std::string fromDay;  // first day stem (UTF-8), empty: from the oldest day
  std::string toDay;    // last day stem (UTF-8), empty: to the newest day
  // The line of "UserSet.usd" to bet with; nullopt: the active setting
  // ("UserSetting"/"SetID", line 0 beyond the last line). Never stored.
  std::optional<int> settingIndex;
  unsigned threads = 0;  // threads of the comparisons, 0 = one per core
  ProgressCallback progress;
  const CancelFlag* cancel = nullptr;
};

// The four bet types of the tallies, in their order (model::TallyBetType).
inline constexpr int kBetTypeCount = model::kTallyBetTypeCount;

// The figures of one bet type over the days of a backtest. Races are the
// races scored (as the day tallies count them: every race with
// combinations formed, debut races not); a losing run counts the races in
// a row (date, then race-list order) that had a stake of this bet type and
// no hit, races without a stake neither ending nor extending it.
struct BacktestFigures {
  int64_t races = 0;
  int64_t combinations = 0;   // combinations staked (BacktestDay::combinations)
  int64_t hits = 0;           // hit combinations
  int64_t stake = 0;          // yen
  int64_t payoutReturn = 0;   // yen
  int32_t largestPayout = 0;  // the largest payout of one hit combination, yen
  int longestLosingRun = 0;   // races

  // hits / combinations x 100; -1.0 without combinations.
  double hitRate() const;
  // return / stake x 100; -1.0 without stake.
  double returnRate() const;
  // (return - largest payout) / stake x 100; -1.0 without stake.
  double returnRateWithoutLargest() const;
};

// The day tallies of one day of a backtest.
struct BacktestDay {
  std::string day;  // stem (UTF-8)
  int date = 0;     // yyyymmdd
  int races = 0;    // races of the race list
  std::array<model::DayTally, kBetTypeCount> tallies{};

  // The combinations staked of a bet type (model::TallyBetType): its stake
  // over the stake per combination.
  int combinations(int betType) const;
};

struct BacktestReport {
  int settingIndex = 0;
  std::string settingName;  // UTF-8
  double oddsCeiling = 0;
  std::vector<BacktestDay> days;                         // the days scored, in date order
  std::vector<std::string> skippedDays;                  // days of the range without final results
  std::array<BacktestFigures, kBetTypeCount> figures{};  // by model::TallyBetType
  bool cancelled = false;
};

// A backtest of the home's days from `fromDay` to `toDay` in date order:
// each day with final results is loaded, compared and given its
// combinations with the chosen setting, which are scored against its
// stored payouts; the figures are summed per bet type. A day counts as
// final when it loads and every race of it has its payouts (a paid win
// entry) or is cancelled (RA data kind "9"); other days (no HR day file, a
// race still unpaid, a day that does not load) are listed as skipped: their
// unpaid races would add stake without return.
// Read-only: writes no prediction file, no processed-days file and no
// setting. Fails with the option's message when "ReadKako"/"IgnoDate" is on
// (past runs after the day would take part), when "UserSet.usd" holds no
// setting or `settingIndex` names none (betting::noSuchSettingMessage).
// Throws orvalle::Error when a file cannot be read. A cancel stops before
// the next day (or within a day's comparison, that day not counted) with the
// figures so far: the result is cancelled and report.cancelled set.
CommandResult runBacktest(const Home& home, const BacktestRequest& request, BacktestReport& report);

// The figures of the days of a report as CSV, one line per day and bet type
// ended by CR LF after the heading line "date,betType,races,combinations,
// hits,stake,return,returnRate": the date "yyyy-mm-dd", the bet type's key
// ("quinella", "quinellaPlace", "exacta", "trio"), the day tally, and the
// return rate "%.1f" (empty without stake).
std::string backtestCsv(const BacktestReport& report);

// Writes backtestCsv(report) to `path`, atomically. Throws orvalle::Error
// when it cannot be written; an old file then stays.
void writeBacktestCsv(const std::filesystem::path& path, const BacktestReport& report);

}  // namespace orvalle::app
