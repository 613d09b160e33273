#include "model/race_analysis.h"

namespace orvalle::model {

RaceAnalysis::RaceAnalysis() {
  winRate.fill(-1.0);
  pointWinRate.fill(-1.0);
  upsetRate.fill(-1.0);
}

int RaceAnalysis::checkedPair(int pairNumber) {
  if (pairNumber < 1 || pairNumber > kPairCount) {
    throw Error("範囲外の組番です: " + std::to_string(pairNumber) + " (1-153)");
  }
  return pairNumber;
}

void RaceAnalysis::resetComparison() {
  winCount.fill(0);
  lossCount.fill(0);
  winPoints.fill(0);
  lossPoints.fill(0);
  winRateRank.fill(0);
  pointWinRateRank.fill(0);
  winCountReverseRank.fill(0);
  winPointsReverseRank.fill(0);
  winRate.fill(-1.0);
  pointWinRate.fill(-1.0);
  for (auto& table : pairTables) table.fill(0);
  compared = false;
}

void RaceAnalysis::resetForDayLoad() {
  resetComparison();
  predictedOdds.fill(0.0);
  predictedOddsRank.fill(0);
  // Hit flags of every bet type go with the texts: a flag left from another
  // day would mark a combination of this day as hit.
  combinations.clearAll();
  result.clear();
}

void RaceAnalysis::resetRunnerStatistics(int runnerSlot) {
  periodEarnings[runnerSlot] = 0;
  for (auto* counts : {&overallCounts, &turfHeavyCounts, &turfCounts, &dirtHeavyCounts, &dirtCounts,
                       &shortDistanceCounts, &middleDistanceCounts, &longDistanceCounts}) {
    (*counts)[runnerSlot] = FinishCounts{};
  }
  expectedWinCount[runnerSlot] = 0;
  upsetCount[runnerSlot] = 0;
  upsetRate[runnerSlot] = -1.0;
}

}  // namespace orvalle::model
