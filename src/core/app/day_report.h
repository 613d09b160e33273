#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/payout_report.h"
#include "app/race_header_report.h"
#include "model/day_tables.h"

// The loaded and analysed day as plain figures and UTF-8 texts, decoded from
// the day tables: what a report of the day (orvalle-cli's JSON and summary,
// an export) shows without reading a record field itself.
namespace orvalle::app {

class DaySession;

// One registered runner: its identity from the SE record and its figures
// from the comparisons, the predicted odds, the past runs and the result.
// Rates of -1.0 mean "none" (no decided pair, no prediction); counts and
// ranks of 0 mean none.
struct HorseReport {
  int number = 0;
  int bracket = 0;
  std::string name;          // trimmed, full-width blanks removed
  std::string registration;  // registration number, trimmed
  int wins = 0;
  int losses = 0;
  double winRate = -1.0;
  int winRateRank = 0;
  int winPoints = 0;
  int lossPoints = 0;
  double pointWinRate = -1.0;
  int pointWinRateRank = 0;
  int winCountRank = 0;
  int winCountReverseRank = 0;
  int winPointsReverseRank = 0;
  std::optional<double> predictedOdds;  // nullopt without predicted odds
  int predictedOddsRank = 0;
  int expectedWins = 0;
  int upsets = 0;
  double upsetRate = -1.0;
  int earnings = 0;  // prize money of the past runs in the period
  int finish = 0;    // official finishing position, 0 before the result
};

// The pair of horse numbers first < second of the race comparison.
struct PairReport {
  int first = 0;
  int second = 0;
  int count = 0;  // comparison rows
  int firstBetter = 0;
  int secondBetter = 0;
  int firstOwnMinus = 0;
  int secondOwnMinus = 0;
  int firstTotal = 0;
  int secondTotal = 0;
  int winner = 0;  // 1 or 2 for the pair's first or second horse, 0 undecided
  int direct = 0;  // direct meetings
};

// One stored combination and how it scored. Quinella combinations are
// staked again as quinella place: `place` holds that bet's score.
struct CombinationReport {
  struct Score {
    bool hit = false;
    int payout = 0;  // yen won
  };
  std::string text;  // " 1- 2", " 1- 2- 3"
  Score score;
  std::optional<Score> place;  // set for quinella combinations only
};

// One race of the race list.
struct RaceReport {
  int slot = 0;
  std::string key;         // the 16-digit race key
  std::string line;        // the race-list line
  std::string racecourse;  // the racecourse name ("中山"), UTF-8
  int raceNumber = 0;
  int runners = 0;  // registered runners (0-18)
  bool compared = false;
  int condition = 0;  // race condition code of the youngest age group
  RaceHeaderReport header;
  // The paid combinations once the race's payouts are in (an HR record);
  // nullopt before.
  std::optional<std::vector<PaidCombination>> payouts;
  std::vector<HorseReport> horses;  // in horse-number order
  std::vector<PairReport> pairs;    // in pair-number order
  // The stored combinations in their stored order, blanks left out.
  std::vector<CombinationReport> trio;
  std::vector<CombinationReport> quinella;
  std::vector<CombinationReport> exacta;
};

struct DayReport {
  std::string day;  // the loaded day's stem
  std::vector<RaceReport> races;
  std::array<model::DayTally, model::kTallyBetTypeCount> tallies{};  // by model::TallyBetType

  const model::DayTally& tally(model::TallyBetType type) const {
    return tallies[static_cast<size_t>(type)];
  }
};

// The return rate of a day tally: return / stake x 100; nullopt without
// stake.
std::optional<double> returnRate(const model::DayTally& tally);

// The report of the session's loaded day (every race of the race list).
// Empty races and tallies when no day is loaded.
DayReport dayReport(const DaySession& session);

}  // namespace orvalle::app
