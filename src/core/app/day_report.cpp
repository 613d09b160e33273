#include "app/day_report.h"

#include <algorithm>

#include "app/day_session.h"
#include "model/race_analysis.h"
#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/pair_numbers.h"
#include "store/record.h"

namespace orvalle::app {
namespace {

HorseReport horseReport(const model::DayTables& tables, int raceSlot, int runner) {
  const model::RaceAnalysis& a = tables.analysis(raceSlot);
  std::string_view se = tables.runner(raceSlot, runner);
  HorseReport horse;
  horse.number = store::se::kHorseNumber.numberIn(se);
  horse.bracket = store::se::kBracket.numberIn(se);
  horse.name =
      cp932::toUtf8(store::trim(store::withoutFullWidthBlanks(store::se::kHorseName.in(se))));
  horse.registration = cp932::toUtf8(store::trim(store::se::kRegistrationNumber.in(se)));
  horse.wins = a.winCount[runner];
  horse.losses = a.lossCount[runner];
  horse.winRate = a.winRate[runner];
  horse.winRateRank = a.winRateRank[runner];
  horse.winPoints = a.winPoints[runner];
  horse.lossPoints = a.lossPoints[runner];
  horse.pointWinRate = a.pointWinRate[runner];
  horse.pointWinRateRank = a.pointWinRateRank[runner];
  horse.winCountRank = a.winCountRank[runner];
  horse.winCountReverseRank = a.winCountReverseRank[runner];
  horse.winPointsReverseRank = a.winPointsReverseRank[runner];
  if (a.predictedOdds[runner] > 0) horse.predictedOdds = a.predictedOdds[runner];
  horse.predictedOddsRank = a.predictedOddsRank[runner];
  horse.expectedWins = a.expectedWinCount[runner];
  horse.upsets = a.upsetCount[runner];
  horse.upsetRate = a.upsetRate[runner];
  horse.earnings = a.periodEarnings[runner];
  horse.finish = store::toInt(a.result.finishingPosition[runner]);
  return horse;
}

std::vector<PairReport> pairReports(const model::RaceAnalysis& a, int runners) {
  using model::PairTable;
  std::vector<PairReport> pairs;
  for (int i = 1; i < runners; ++i) {
    for (int j = i + 1; j <= runners; ++j) {
      const int k = store::codes::pairNumber(i, j);
      PairReport pair;
      pair.first = i;
      pair.second = j;
      pair.count = a.pair(PairTable::kComparisonCount, k);
      pair.firstBetter = a.pair(PairTable::kFirstBetter, k);
      pair.secondBetter = a.pair(PairTable::kSecondBetter, k);
      pair.firstOwnMinus = a.pair(PairTable::kFirstOwnMinus, k);
      pair.secondOwnMinus = a.pair(PairTable::kSecondOwnMinus, k);
      pair.firstTotal = a.pair(PairTable::kFirstTotal, k);
      pair.secondTotal = a.pair(PairTable::kSecondTotal, k);
      pair.winner = a.pair(PairTable::kFirstWon, k) > 0    ? 1
                    : a.pair(PairTable::kSecondWon, k) > 0 ? 2
                                                           : 0;
      pair.direct = a.pair(PairTable::kDirect, k);
      pairs.push_back(pair);
    }
  }
  return pairs;
}

template <typename Texts, typename Scores>
std::vector<CombinationReport> combinationReports(const Texts& texts, const Scores& scores,
                                                  const Scores* placeScores = nullptr) {
  std::vector<CombinationReport> list;
  for (int k = 0; k < Texts::size(); ++k) {
    if (store::trim(texts[k]).empty()) continue;
    CombinationReport combination;
    combination.text = cp932::toUtf8(texts[k]);
    combination.score = {scores.hit[k] != 0, scores.payout[k]};
    if (placeScores != nullptr) {
      combination.place =
          CombinationReport::Score{placeScores->hit[k] != 0, placeScores->payout[k]};
    }
    list.push_back(std::move(combination));
  }
  return list;
}

}  // namespace

std::optional<double> returnRate(const model::DayTally& tally) {
  if (tally.stake <= 0) return std::nullopt;
  return 100.0 * tally.payoutReturn / tally.stake;
}

DayReport dayReport(const DaySession& session) {
  const model::DayTables& tables = session.tables();
  DayReport report;
  report.day = session.loadedDay();
  for (const model::RaceListEntry& entry : session.raceList()) {
    const int slot = entry.raceSlot;
    std::string_view race = tables.race(slot);
    const model::RaceAnalysis& a = tables.analysis(slot);
    RaceReport out;
    out.slot = slot;
    out.key = std::string(store::raceKey(race));
    out.line = cp932::toUtf8(entry.line);
    out.racecourse = cp932::toUtf8(
        store::trim(store::codes::racecourseName(store::head::kRacecourseCode.in(race), 2)));
    out.raceNumber = store::head::kRaceNumber.numberIn(race);
    out.runners = session.runnerCount(slot);
    out.compared = a.compared;
    out.condition = store::ra::kConditionCodeYoungest.numberIn(race);
    out.header = raceHeaderReport(race);
    if (const std::string_view hr = tables.payout(slot); isPayoutRecord(hr)) {
      out.payouts = paidCombinations(hr);
    }
    for (int runner = 0; runner < out.runners; ++runner) {
      out.horses.push_back(horseReport(tables, slot, runner));
    }
    out.pairs = pairReports(a, out.runners);
    const model::CombinationBlock& c = a.combinations;
    out.trio = combinationReports(c.trio, c.trioScores);
    out.quinella = combinationReports(c.quinella, c.quinellaScores, &c.quinellaPlaceScores);
    out.exacta = combinationReports(c.exacta, c.exactaScores);
    report.races.push_back(std::move(out));
  }
  for (int t = 0; t < model::kTallyBetTypeCount; ++t) {
    report.tallies[static_cast<size_t>(t)] = tables.tally(static_cast<model::TallyBetType>(t));
  }
  return report;
}

}  // namespace orvalle::app
