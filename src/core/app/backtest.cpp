#include "app/backtest.h"

#include <algorithm>
#include <system_error>

#include "app/day_report.h"
#include "app/day_session.h"
#include "betting/race_scoring.h"
#include "betting/user_settings.h"
#include "betting/user_settings_file.h"
#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/file_system.h"
#include "store/fixed_width.h"
#include "store/payout_block.h"
#include "store/record.h"

namespace orvalle::app {
namespace {

using model::TallyBetType;

double percent(int64_t part, int64_t whole) {
  return whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : -1.0;
}

// A race is final when its payouts are known, or it was cancelled.
bool isFinal(const model::DayTables& tables, int slot) {
  const store::PayoutBlock& payouts = tables.analysis(slot).result.payouts;
  if (payouts.at(store::BetType::kWin, 0).payout > 0) return true;
  return store::head::kDataKind.in(tables.race(slot)) == "9";
}

// The scores of a bet type in a race's combination block.
struct RaceScores {
  int32_t stake = 0;
  int32_t hits = 0;
  int32_t largestPayout = 0;
};

template <size_t N>
RaceScores scoresOf(const model::BetScores<N>& scores) {
  RaceScores out{scores.tally.stake, scores.tally.hits, 0};
  for (int k = 0; k < static_cast<int>(N); ++k) {
    if (scores.hit[k] != 0) out.largestPayout = std::max(out.largestPayout, scores.payout[k]);
  }
  return out;
}

RaceScores scoresOf(const model::CombinationBlock& block, TallyBetType type) {
  switch (type) {
    case TallyBetType::kQuinella:
      return scoresOf(block.quinellaScores);
    case TallyBetType::kQuinellaPlace:
      return scoresOf(block.quinellaPlaceScores);
    case TallyBetType::kExacta:
      return scoresOf(block.exactaScores);
    case TallyBetType::kTrio:
      break;
  }
  return scoresOf(block.trioScores);
}

bool hasPayoutFile(const Home& home, const std::string& day) {
  return store::pathExists(store::dayFilePath(home.dataFolder(), day, "", store::kHrExtension));
}

int combinationsOf(const model::DayTally& tally) {
  return tally.stake / betting::kStakePerCombination;
}

}  // namespace

int BacktestDay::combinations(int betType) const {
  return combinationsOf(tallies[static_cast<size_t>(betType)]);
}

double BacktestFigures::hitRate() const { return percent(hits, combinations); }
double BacktestFigures::returnRate() const { return percent(payoutReturn, stake); }
double BacktestFigures::returnRateWithoutLargest() const {
  return percent(payoutReturn - largestPayout, stake);
}

CommandResult runBacktest(const Home& home, const BacktestRequest& request,
                          BacktestReport& report) {
  report = BacktestReport{};
  Settings settings(home.iniPath());
  if (settings.boolean(settings::kIgnorePastRunDates)) {
    return CommandResult::failure(std::string(settings::kIgnorePastRunDatesOnMessage));
  }
  // As the combination calculation: a missing file means the default setting.
  const std::vector<std::string> lines =
      betting::readUserSettingLines(home.userSetPath())
          .value_or(std::vector<std::string>{sj(betting::kDefaultUserSettingLine)});
  int index = betting::activeSettingIndex(settings.integer(settings::kUserSettingId), lines.size());
  if (request.settingIndex) {
    index = *request.settingIndex;
    if (index < 0 || static_cast<size_t>(index) >= lines.size()) index = -1;
  }
  if (index < 0) {
    return CommandResult::failure(
        betting::noSuchSettingMessage(request.settingIndex.value_or(0), lines.size()));
  }
  report.settingIndex = index;
  report.settingName =
      cp932::toUtf8(betting::parseUserSetting(lines[static_cast<size_t>(index)]).name);
  report.oddsCeiling = settings.decimal(settings::kOddsCeiling);

  SessionOptions options;
  options.writePredictions = false;
  options.userSettingIndex = index;
  options.threads = request.threads;
  DaySession session(home, options);

  const std::vector<std::string> days = daysOfRange(home, request.fromDay, request.toDay);
  std::array<int, kBetTypeCount> losingRun{};
  for (size_t i = 0; i < days.size(); ++i) {
    const std::string& day = days[i];
    if (request.cancel != nullptr && request.cancel->cancelled()) {
      report.cancelled = true;
      return CommandResult::cancel();
    }
    if (request.progress) {
      request.progress({static_cast<int>(i + 1), static_cast<int>(days.size()),
                        "【バックテスト】しばらくお待ちください", day});
    }
    if (!hasPayoutFile(home, day) || !session.loadDay(day, AfterLoading::kNothing)) {
      report.skippedDays.push_back(day);
      continue;
    }
    const model::DayTables& tables = session.tables();
    const auto& races = session.raceList();
    if (!std::all_of(races.begin(), races.end(), [&](const model::RaceListEntry& race) {
          return isFinal(tables, race.raceSlot);
        })) {
      report.skippedDays.push_back(day);
      continue;
    }
    CommandResult compared = session.compareAllRaces({}, request.cancel);
    if (compared.cancelled()) report.cancelled = true;
    if (!compared) return compared;

    BacktestDay scored;
    scored.day = day;
    scored.date = store::toInt(store::dateOfDayStem(day).value_or(""));
    scored.races = static_cast<int>(races.size());
    for (int t = 0; t < kBetTypeCount; ++t) {
      const auto type = static_cast<TallyBetType>(t);
      const model::DayTally& tally = tables.tally(type);
      scored.tallies[static_cast<size_t>(t)] = tally;
      BacktestFigures& figures = report.figures[static_cast<size_t>(t)];
      figures.races += tally.races;
      figures.hits += tally.hits;
      figures.stake += tally.stake;
      figures.payoutReturn += tally.payoutReturn;
      figures.combinations += combinationsOf(tally);
      int& run = losingRun[static_cast<size_t>(t)];
      for (const model::RaceListEntry& race : races) {
        const RaceScores scores = scoresOf(tables.analysis(race.raceSlot).combinations, type);
        figures.largestPayout = std::max(figures.largestPayout, scores.largestPayout);
        if (scores.stake <= 0) continue;
        run = scores.hits > 0 ? 0 : run + 1;
        figures.longestLosingRun = std::max(figures.longestLosingRun, run);
      }
    }
    report.days.push_back(std::move(scored));
  }
  return CommandResult{};
}

std::string backtestCsv(const BacktestReport& report) {
  static constexpr const char* kKeys[kBetTypeCount] = {"quinella", "quinellaPlace", "exacta",
                                                       "trio"};
  std::string csv = "date,betType,races,combinations,hits,stake,return,returnRate\r\n";
  for (const BacktestDay& day : report.days) {
    for (int t = 0; t < kBetTypeCount; ++t) {
      const model::DayTally& tally = day.tallies[static_cast<size_t>(t)];
      csv +=
          store::format("%04d-%02d-%02d,", day.date / 10000, day.date / 100 % 100, day.date % 100) +
          kKeys[t] +
          store::format(",%d,%d,%d,%d,%d,", tally.races, day.combinations(t), tally.hits,
                        tally.stake, tally.payoutReturn);
      if (auto rate = returnRate(tally)) csv += store::format("%.1f", *rate);
      csv += "\r\n";
    }
  }
  return csv;
}

void writeBacktestCsv(const std::filesystem::path& path, const BacktestReport& report) {
  store::writeFileAtomicallyOrThrow(path, backtestCsv(report));
}

}  // namespace orvalle::app
