#pragma once

#include <cstdint>
#include <string>

#include "model/combination_block.h"
#include "store/checked_array.h"
#include "store/payout_block.h"

namespace orvalle::model {

inline constexpr int kRaceSlots = 36;
inline constexpr int kRunnerSlots = 18;
inline constexpr int kPastRunSlots = 100;
inline constexpr int kPairCount = 153;

// Finishes in 1st, 2nd and 3rd place and in 4th place or worse.
struct FinishCounts {
  CheckedArray<int32_t, 4> places;

  int32_t total() const { return places[0] + places[1] + places[2] + places[3]; }
  bool operator==(const FinishCounts&) const = default;
};

// The twelve tables of a race indexed by pair number 1..153 (pair 1-2 is 1,
// 1-18 is 17, 2-3 is 18, 17-18 is 153). Index 0 is unused.
enum class PairTable {
  kComparisonCount,
  kFirstWon,
  kSecondWon,
  kFirstBetter,
  kSecondBetter,
  kFirstOwnMinus,
  kSecondOwnMinus,
  kFirstTotal,
  kSecondTotal,
  kDirect,
  kReserved1,
  kReserved2,
};
inline constexpr int kPairTableCount = 12;

// The official results of the race's runners, kept as JV-Data text, and its
// payout block.
struct ResultSection {
  CheckedArray<std::string, kRunnerSlots> raceTime;           // up to 5, "1234" = 1:23.4
  CheckedArray<std::string, kRunnerSlots> finishingPosition;  // up to 3
  CheckedArray<std::string, kRunnerSlots> popularityRank;     // up to 3
  CheckedArray<std::string, kRunnerSlots> finalOdds;          // up to 5, "0123" = 12.3
  store::PayoutBlock payouts;

  void clear() { *this = ResultSection{}; }
  bool operator==(const ResultSection&) const = default;
};

// Everything the program works out for one race slot: the runners' past-run
// statistics, predicted odds, comparison results and ranks, the pair tables,
// the combination block and the official results. Per-runner arrays are
// indexed by runner slot (horse number - 1). A rate of -1.0 means not
// computed; counts and ranks of 0 mean none.
struct RaceAnalysis {
  template <typename T>
  using PerRunner = CheckedArray<T, kRunnerSlots>;

  PerRunner<int32_t> periodEarnings;
  PerRunner<FinishCounts> overallCounts;
  PerRunner<FinishCounts> turfHeavyCounts;
  PerRunner<FinishCounts> turfCounts;
  PerRunner<FinishCounts> dirtHeavyCounts;
  PerRunner<FinishCounts> dirtCounts;
  PerRunner<FinishCounts> shortDistanceCounts;
  PerRunner<FinishCounts> middleDistanceCounts;
  PerRunner<FinishCounts> longDistanceCounts;

  PerRunner<double> predictedOdds;       // 0 = none
  PerRunner<int32_t> predictedOddsRank;  // 1 = lowest odds

  PerRunner<int32_t> winCount;
  PerRunner<int32_t> lossCount;
  PerRunner<double> winRate;
  PerRunner<int32_t> winRateRank;
  PerRunner<int32_t> winCountRank;
  PerRunner<int32_t> winCountReverseRank;
  PerRunner<int32_t> winPoints;
  PerRunner<int32_t> lossPoints;
  PerRunner<double> pointWinRate;
  PerRunner<int32_t> pointWinRateRank;
  PerRunner<int32_t> winPointsReverseRank;

  CheckedArray<CheckedArray<int32_t, kPairCount + 1>, kPairTableCount> pairTables;

  PerRunner<int32_t> expectedWinCount;
  PerRunner<int32_t> upsetCount;
  PerRunner<double> upsetRate;

  CombinationBlock combinations;
  ResultSection result;
  bool compared = false;

  RaceAnalysis();

  // Entry `pairNumber` (1..153) of one pair table; checked.
  int32_t& pair(PairTable table, int pairNumber) {
    return pairTables[static_cast<int>(table)][checkedPair(pairNumber)];
  }
  int32_t pair(PairTable table, int pairNumber) const {
    return pairTables[static_cast<int>(table)][checkedPair(pairNumber)];
  }

  // The comparison fields to their empty values (counts, points and ranks 0,
  // rates -1.0; the win-count rank is kept) and every pair table to 0.
  void resetComparison();

  // What choosing a date clears before a day is loaded: the comparison
  // fields and pair tables, the predicted odds and their ranks, the
  // combination texts, hit flags, payouts won and race tallies, and the
  // result section. The past-run statistics, prediction outcomes and the
  // win-count rank are kept.
  void resetForDayLoad();

  // The past-run statistics and prediction outcomes of one runner to their
  // empty values, before its past runs are read.
  void resetRunnerStatistics(int runnerSlot);

 private:
  static int checkedPair(int pairNumber);
};

}  // namespace orvalle::model
