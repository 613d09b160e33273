#include "analysis_report.h"

#include <algorithm>

#include "model/race_analysis.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/pair_numbers.h"
#include "store/record.h"

namespace orvalle::cli {
namespace {

using nlohmann::json;

json rate(double value) { return value < 0 ? json(nullptr) : json(value); }

std::string horseName(std::string_view runner) {
  return cp932::toUtf8(
      store::trim(store::withoutFullWidthBlanks(store::se::kHorseName.in(runner))));
}

json horseJson(const model::DayTables& tables, int raceSlot, int runner) {
  const model::RaceAnalysis& a = tables.analysis(raceSlot);
  std::string_view se = tables.runner(raceSlot, runner);
  return json{
      {"number", store::se::kHorseNumber.numberIn(se)},
      {"bracket", store::se::kBracket.numberIn(se)},
      {"name", horseName(se)},
      {"regno", cp932::toUtf8(store::trim(store::se::kRegistrationNumber.in(se)))},
      {"wins", a.winCount[runner]},
      {"losses", a.lossCount[runner]},
      {"winRate", rate(a.winRate[runner])},
      {"winRateRank", a.winRateRank[runner]},
      {"winPoints", a.winPoints[runner]},
      {"lossPoints", a.lossPoints[runner]},
      {"pointRate", rate(a.pointWinRate[runner])},
      {"pointRateRank", a.pointWinRateRank[runner]},
      {"winCountRank", a.winCountRank[runner]},
      {"winCountReverseRank", a.winCountReverseRank[runner]},
      {"winPointsReverseRank", a.winPointsReverseRank[runner]},
      {"odds", a.predictedOdds[runner] > 0 ? json(a.predictedOdds[runner]) : json(nullptr)},
      {"oddsRank", a.predictedOddsRank[runner]},
      {"expectedWins", a.expectedWinCount[runner]},
      {"upsets", a.upsetCount[runner]},
      {"upsetRate", rate(a.upsetRate[runner])},
      {"earnings", a.periodEarnings[runner]},
      {"finish", store::toInt(a.result.finishingPosition[runner])},
  };
}

json pairsJson(const model::RaceAnalysis& a, int runners) {
  using model::PairTable;
  json pairs = json::array();
  for (int i = 1; i < runners; ++i) {
    for (int j = i + 1; j <= runners; ++j) {
      int k = store::codes::pairNumber(i, j);
      int winner = a.pair(PairTable::kFirstWon, k) > 0    ? 1
                   : a.pair(PairTable::kSecondWon, k) > 0 ? 2
                                                          : 0;
      pairs.push_back(json{
          {"first", i},
          {"second", j},
          {"count", a.pair(PairTable::kComparisonCount, k)},
          {"firstBetter", a.pair(PairTable::kFirstBetter, k)},
          {"secondBetter", a.pair(PairTable::kSecondBetter, k)},
          {"firstOwnMinus", a.pair(PairTable::kFirstOwnMinus, k)},
          {"secondOwnMinus", a.pair(PairTable::kSecondOwnMinus, k)},
          {"firstTotal", a.pair(PairTable::kFirstTotal, k)},
          {"secondTotal", a.pair(PairTable::kSecondTotal, k)},
          {"winner", winner},
          {"direct", a.pair(PairTable::kDirect, k)},
      });
    }
  }
  return pairs;
}

template <typename Texts, typename Scores>
json combinationsJson(const Texts& texts, const Scores& scores, const Scores* placeScores) {
  json list = json::array();
  for (int k = 0; k < Texts::size(); ++k) {
    if (store::trim(texts[k]).empty()) continue;
    json entry{{"text", texts[k]}, {"hit", scores.hit[k] != 0}, {"payout", scores.payout[k]}};
    if (placeScores != nullptr) {
      entry["placeHit"] = placeScores->hit[k] != 0;
      entry["placePayout"] = placeScores->payout[k];
    }
    list.push_back(std::move(entry));
  }
  return list;
}

json tallyJson(const model::DayTally& tally) {
  return json{{"races", tally.races},
              {"hits", tally.hits},
              {"stake", tally.stake},
              {"return", tally.payoutReturn}};
}

}  // namespace

json analysisJson(const app::DaySession& session) {
  const model::DayTables& tables = session.tables();
  json races = json::array();
  for (const model::RaceListEntry& entry : session.raceList()) {
    const int slot = entry.raceSlot;
    std::string_view race = tables.race(slot);
    const int runners =
        std::clamp(store::ra::kRegisteredRunners.numberIn(race), 0, model::kRunnerSlots);
    const model::RaceAnalysis& a = tables.analysis(slot);
    json horses = json::array();
    for (int runner = 0; runner < runners; ++runner)
      horses.push_back(horseJson(tables, slot, runner));
    const model::CombinationBlock& c = a.combinations;
    races.push_back(json{
        {"slot", slot},
        {"key", std::string(store::raceKey(race))},
        {"line", cp932::toUtf8(entry.line)},
        {"runners", runners},
        {"compared", a.compared},
        {"condition", store::ra::kConditionCodeYoungest.numberIn(race)},
        {"horses", std::move(horses)},
        {"pairs", pairsJson(a, runners)},
        {"trio",
         combinationsJson(c.trio, c.trioScores, static_cast<decltype(&c.trioScores)>(nullptr))},
        {"quinella", combinationsJson(c.quinella, c.quinellaScores, &c.quinellaPlaceScores)},
        {"exacta", combinationsJson(c.exacta, c.exactaScores,
                                    static_cast<decltype(&c.exactaScores)>(nullptr))},
    });
  }
  using model::TallyBetType;
  return json{{"day", session.loadedDay()},
              {"races", std::move(races)},
              {"tallies",
               {{"quinella", tallyJson(tables.tally(TallyBetType::kQuinella))},
                {"quinellaPlace", tallyJson(tables.tally(TallyBetType::kQuinellaPlace))},
                {"exacta", tallyJson(tables.tally(TallyBetType::kExacta))},
                {"trio", tallyJson(tables.tally(TallyBetType::kTrio))}}}};
}

void printAnalysisSummary(std::ostream& out, const app::DaySession& session) {
  const model::DayTables& tables = session.tables();
  out << session.loadedDay() << "\n";
  int number = 1;
  for (const model::RaceListEntry& entry : session.raceList()) {
    const int slot = entry.raceSlot;
    const int runners = std::clamp(store::ra::kRegisteredRunners.numberIn(tables.race(slot)), 0,
                                   model::kRunnerSlots);
    const model::RaceAnalysis& a = tables.analysis(slot);
    out << store::format("%2d ", number++) << cp932::toUtf8(entry.line)
        << store::format(" %2d頭", runners) << (a.compared ? "" : " 未集計");
    static const char* const kMarks[] = {"◎", "○", "▲"};
    for (int rank = 1; rank <= 3; ++rank) {
      for (int runner = 0; runner < runners; ++runner) {
        if (a.pointWinRateRank[runner] != rank) continue;
        std::string_view se = tables.runner(slot, runner);
        out << "  " << kMarks[rank - 1] << store::se::kHorseNumber.numberIn(se) << " "
            << horseName(se) << store::format("(%.1f)", a.pointWinRate[runner] * 100);
      }
    }
    out << "\n";
  }
  using model::TallyBetType;
  const std::pair<const char*, TallyBetType> kTallies[] = {{"馬連", TallyBetType::kQuinella},
                                                           {"ワイド", TallyBetType::kQuinellaPlace},
                                                           {"馬単", TallyBetType::kExacta},
                                                           {"三連複", TallyBetType::kTrio}};
  for (const auto& [name, type] : kTallies) {
    const model::DayTally& t = tables.tally(type);
    out << name << ": レース数 " << t.races << " 的中数 " << t.hits << " 投資額 " << t.stake
        << " 回収額 " << t.payoutReturn;
    if (t.stake > 0) out << store::format(" 回収率 %.1f%%", 100.0 * t.payoutReturn / t.stake);
    out << "\n";
  }
}

}  // namespace orvalle::cli
