#include "analysis_report.h"

#include <iomanip>
#include <string>
#include <utility>

#include "session_support.h"

namespace orvalle::cli {
namespace {

using nlohmann::json;

json rate(double value) { return value < 0 ? json(nullptr) : json(value); }

// Empty texts and zero numbers of a header are null.
json textOrNull(const std::string& text) { return text.empty() ? json(nullptr) : json(text); }
json numberOrNull(int number) { return number > 0 ? json(number) : json(nullptr); }

}  // namespace

json horseJson(const app::HorseReport& horse) {
  return json{
      {"number", horse.number},
      {"bracket", horse.bracket},
      {"name", horse.name},
      {"regno", horse.registration},
      {"wins", horse.wins},
      {"losses", horse.losses},
      {"winRate", rate(horse.winRate)},
      {"winRateRank", horse.winRateRank},
      {"winPoints", horse.winPoints},
      {"lossPoints", horse.lossPoints},
      {"pointRate", rate(horse.pointWinRate)},
      {"pointRateRank", horse.pointWinRateRank},
      {"winCountRank", horse.winCountRank},
      {"winCountReverseRank", horse.winCountReverseRank},
      {"winPointsReverseRank", horse.winPointsReverseRank},
      {"odds", horse.predictedOdds ? json(*horse.predictedOdds) : json(nullptr)},
      {"oddsRank", horse.predictedOddsRank},
      {"expectedWins", horse.expectedWins},
      {"upsets", horse.upsets},
      {"upsetRate", rate(horse.upsetRate)},
      {"earnings", horse.earnings},
      {"finish", horse.finish},
  };
}

namespace {

json pairJson(const app::PairReport& pair) {
  return json{
      {"first", pair.first},
      {"second", pair.second},
      {"count", pair.count},
      {"firstBetter", pair.firstBetter},
      {"secondBetter", pair.secondBetter},
      {"firstOwnMinus", pair.firstOwnMinus},
      {"secondOwnMinus", pair.secondOwnMinus},
      {"firstTotal", pair.firstTotal},
      {"secondTotal", pair.secondTotal},
      {"winner", pair.winner},
      {"direct", pair.direct},
  };
}

json combinationsJson(const std::vector<app::CombinationReport>& combinations) {
  json list = json::array();
  for (const app::CombinationReport& combination : combinations) {
    json entry{{"text", combination.text},
               {"hit", combination.score.hit},
               {"payout", combination.score.payout}};
    if (combination.place) {
      entry["placeHit"] = combination.place->hit;
      entry["placePayout"] = combination.place->payout;
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

json raceHeaderJson(const app::RaceHeaderReport& header) {
  json conditions = json::array();
  for (const app::AgeCondition& c : header.conditions) {
    conditions.push_back(json{{"ages", c.ages}, {"condition", c.condition}});
  }
  return json{
      {"lines", header.lines},
      {"date", textOrNull(header.date)},
      {"weekday", textOrNull(header.weekday)},
      {"racecourse", textOrNull(header.racecourse)},
      {"meeting", header.meeting},
      {"dayOfMeeting", header.dayOfMeeting},
      {"raceNumber", header.raceNumber},
      {"startTime", textOrNull(header.startTime)},
      {"gradedRunning", numberOrNull(header.gradedRunning)},
      {"name", textOrNull(header.name)},
      {"runners", header.runners},
      {"distance", numberOrNull(header.distance)},
      {"track", textOrNull(header.track)},
      {"grade", textOrNull(header.grade)},
      {"raceType", textOrNull(header.raceType)},
      {"raceSymbols", textOrNull(header.raceSymbols)},
      {"weightType", textOrNull(header.weightType)},
      {"conditions", std::move(conditions)},
  };
}

json payoutsJson(const std::optional<std::vector<app::PaidCombination>>& payouts) {
  if (!payouts) return nullptr;
  json block = json::object();
  for (const app::PayoutBetType& bet : app::kPayoutBetTypes) block[bet.key] = json::array();
  for (const app::PaidCombination& paid : *payouts) {
    block[paid.betType->key].push_back(json{{"numbers", paid.numbers},
                                            {"text", paid.text},
                                            {"payout", paid.payout},
                                            {"popularity", paid.popularity}});
  }
  return block;
}

json analysisJson(const app::DayReport& report, const std::vector<app::Notice>& notices) {
  json races = json::array();
  for (const app::RaceReport& race : report.races) {
    json horses = json::array();
    for (const app::HorseReport& horse : race.horses) horses.push_back(horseJson(horse));
    json pairs = json::array();
    for (const app::PairReport& pair : race.pairs) pairs.push_back(pairJson(pair));
    races.push_back(json{
        {"slot", race.slot},
        {"key", race.key},
        {"line", race.line},
        {"runners", race.runners},
        {"compared", race.compared},
        {"condition", race.condition},
        {"header", raceHeaderJson(race.header)},
        {"payouts", payoutsJson(race.payouts)},
        {"horses", std::move(horses)},
        {"pairs", std::move(pairs)},
        {"trio", combinationsJson(race.trio)},
        {"quinella", combinationsJson(race.quinella)},
        {"exacta", combinationsJson(race.exacta)},
    });
  }
  using model::TallyBetType;
  json day{{"day", report.day},
           {"races", std::move(races)},
           {"tallies",
            {{"quinella", tallyJson(report.tally(TallyBetType::kQuinella))},
             {"quinellaPlace", tallyJson(report.tally(TallyBetType::kQuinellaPlace))},
             {"exacta", tallyJson(report.tally(TallyBetType::kExacta))},
             {"trio", tallyJson(report.tally(TallyBetType::kTrio))}}}};
  addNotices(day, notices);
  return day;
}

void addNotices(json& object, const std::vector<app::Notice>& notices) {
  if (notices.empty()) return;
  json texts = json::array();
  for (const app::Notice& notice : notices) texts.push_back(notice.text);
  object["notices"] = std::move(texts);
}

void printAnalysisSummary(std::ostream& out, const app::DayReport& report) {
  out << report.day << "\n";
  int number = 1;
  for (const app::RaceReport& race : report.races) {
    out << std::setw(2) << number++ << " " << race.line << " " << std::setw(2) << race.runners
        << "頭" << (race.compared ? "" : " 未集計");
    static const char* const kMarks[] = {"◎", "○", "▲"};
    for (int rank = 1; rank <= 3; ++rank) {
      for (const app::HorseReport& horse : race.horses) {
        if (horse.pointWinRateRank != rank) continue;
        out << "  " << kMarks[rank - 1] << horse.number << " " << horse.name << "("
            << oneDecimal(horse.pointWinRate * 100) << ")";
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
    const model::DayTally& t = report.tally(type);
    out << name << ": レース数 " << t.races << " 的中数 " << t.hits << " 投資額 " << t.stake
        << " 回収額 " << t.payoutReturn;
    if (auto rate = app::returnRate(t)) out << " 回収率 " << oneDecimal(*rate) << "%";
    out << "\n";
  }
}

}  // namespace orvalle::cli
