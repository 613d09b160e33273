#include "app/day_session.h"

#include <algorithm>

#include "analysis/head_to_head_comparison.h"
#include "analysis/race_comparison.h"
#include "analysis/request_checks.h"
#include "app/odds_import_command.h"
#include "app/user_input.h"
#include "betting/combination_calculation.h"
#include "betting/race_scoring.h"
#include "betting/user_settings.h"
#include "betting/user_settings_file.h"
#include "output/prediction_writer.h"
#include "output/processed_days.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/record.h"

namespace orvalle::app {
namespace {

ComparisonOutcome failedComparison(CommandResult result) {
  ComparisonOutcome outcome;
  outcome.result = std::move(result);
  return outcome;
}

}  // namespace

std::vector<std::string> dateList(const Home& home) { return store::listDays(home.dataFolder()); }

DaySession::DaySession(Home home, SessionOptions options)
    : m_home(std::move(home)),
      m_options(std::move(options)),
      m_settings(m_home.iniPath()),
      m_userSettingLines{sj(betting::kDefaultUserSettingLine)},
      m_tables(std::make_unique<model::DayTables>()) {}

std::vector<std::string> DaySession::dateList() const { return app::dateList(m_home); }

int DaySession::raceSlotOfLine(int line) const {
  if (line < 0 || line >= static_cast<int>(m_raceList.size())) return -1;
  return m_raceList[static_cast<size_t>(line)].raceSlot;
}

int DaySession::runnerCount(int raceSlot) const {
  return std::clamp(store::ra::kRegisteredRunners.numberIn(m_tables->race(raceSlot)), 0,
                    model::kRunnerSlots);
}

CommandResult DaySession::selectRace(int line) {
  const int slot = raceSlotOfLine(line);
  if (slot < 0) {
    return CommandResult::failure("レースがありません: " + std::to_string(line + 1) + " (1-" +
                                  std::to_string(m_raceList.size()) + ")");
  }
  m_tables->currentRace = slot;
  return CommandResult{};
}

CommandResult DaySession::loadDay(std::string_view stem, AfterLoading after,
                                  const ProgressCallback& progress, const CancelFlag* cancel) {
  model::DayLoadRequest request;
  request.dataFolder = m_home.dataFolder();
  request.seiFolder = m_home.seiFolder();
  request.stem = std::string(stem);
  request.pastRunPeriodDays = m_settings.integer(settings::kPastRunPeriod);
  request.ignorePastRunDates = m_settings.boolean(settings::kIgnorePastRunDates);
  request.progress = progress;
  request.cancel = cancel;

  m_loadedDay.clear();
  m_raceList.clear();
  model::DayLoadResult loaded = model::loadDay(*m_tables, request);
  if (loaded.cancelled()) return CommandResult::cancel();
  if (!loaded) return CommandResult::failure(loaded.message());
  m_loadedDay = std::string(stem);
  m_raceList = loaded.raceList();
  if (!m_raceList.empty()) m_tables->currentRace = m_raceList.front().raceSlot;

  bool compare =
      after == AfterLoading::kCompare ||
      (after == AfterLoading::kAsSettings && m_settings.boolean(settings::kCompareAfterLoading));
  if (!compare) return CommandResult{};
  return compareAllRaces(progress, cancel);
}

CommandResult DaySession::importPredictedOdds(const std::filesystem::path& archive) const {
  return app::importPredictedOdds(m_home, archive, m_loadedDay);
}

CommandResult DaySession::compareAllRaces(const ProgressCallback& progress,
                                          const CancelFlag* cancel) {
  if (m_raceList.empty()) return CommandResult::failure(std::string(model::kDayNotLoadedMessage));
  // Everything the command reads comes before its first write: a settings
  // file that cannot be read fails it with nothing written.
  const double ceiling = m_settings.decimal(settings::kOddsCeiling);
  const betting::UserSetting active = activeUserSetting();

  analysis::AllRaceOptions options;
  options.seiFolder = m_home.seiFolder();
  options.ignorePastRunDates = m_settings.boolean(settings::kIgnorePastRunDates);
  options.threads = m_options.threads;
  options.progress = progress;
  options.cancel = cancel;
  analysis::AllRaceOutcome outcome = analysis::compareAllRaces(*m_tables, options);
  if (!outcome.status.ok()) return CommandResult::failure(outcome.status.message());

  if (outcome.cancelled) {
    // Combinations of an earlier comparison would not match the reset ranks.
    betting::clearScores(*m_tables, /*texts=*/true);
    m_tables->zeroTallies();
    return CommandResult::cancel();
  }
  CommandResult result;
  if (!outcome.message.empty()) {
    result.notices.push_back(Notice{outcome.message, true});
  } else if (outcome.writePredictions && m_options.writePredictions) {
    (void)output::writePredictions(*m_tables, m_home.root(), m_home.seiFolder(),
                                   static_cast<int>(m_raceList.size()));
  }
  applyCombinations(ceiling, active);
  return result;
}

betting::UserSetting DaySession::activeUserSetting() {
  if (auto lines = betting::readUserSettingLines(m_home.userSetPath())) {
    m_userSettingLines = std::move(*lines);
  }
  const int index = m_options.userSettingIndex ? *m_options.userSettingIndex
                                               : m_settings.integer(settings::kUserSettingId);
  return betting::activeUserSetting(m_userSettingLines, index, m_popularityTrios);
}

void DaySession::calculateCombinations() {
  const double ceiling = m_settings.decimal(settings::kOddsCeiling);
  applyCombinations(ceiling, activeUserSetting());
}

void DaySession::applyCombinations(double oddsCeiling, const betting::UserSetting& active) {
  m_popularityTrios = active.popularityTrios;
  betting::calculateCombinations(*m_tables, oddsCeiling, active);
}

CommandResult DaySession::analysisSheets(std::vector<output::SheetPage>& pages) {
  pages.clear();
  if (m_raceList.empty()) return CommandResult::failure("ﾃﾞｰﾀを読み込んでください。");
  const std::string name = activeUserSetting().name;
  pages.reserve(m_raceList.size());
  for (size_t line = 0; line < m_raceList.size(); ++line) {
    pages.push_back(output::analysisSheet(*m_tables, raceSlotOfLine(static_cast<int>(line)), name));
  }
  return {};
}

CommandResult DaySession::pickRunner(int runnerSlot) {
  const int race = m_tables->currentRace;
  if (runnerSlot < 0 || runnerSlot >= runnerCount(race)) {
    return CommandResult::failure("馬番がありません: " + std::to_string(runnerSlot + 1));
  }
  model::pickFromRaceCard(m_picker, *m_tables, race,
                          model::raceCardRow(*m_tables, race, runnerSlot));
  return CommandResult{};
}

ComparisonOutcome DaySession::compareHorses(ComparisonKind kind, std::string_view edit1,
                                            std::string_view edit2) const {
  analysis::ComparisonRequest request;
  for (auto [typed, name] : {std::pair{edit1, &request.nameA}, std::pair{edit2, &request.nameB}}) {
    Input input = cp932Input(typed);
    if (!input) return failedComparison(CommandResult::failure(input.status.message()));
    *name = std::move(input.value);
  }
  request.weightA = m_picker.weightA();
  request.weightB = m_picker.weightB();
  request.registrationA = m_picker.horseA();
  request.registrationB = m_picker.horseB();
  return compare(kind, std::move(request));
}

ComparisonOutcome DaySession::compareRunners(ComparisonKind kind, int horseA, int horseB) {
  if (m_raceList.empty()) {
    return failedComparison(CommandResult::failure(std::string(model::kDayNotLoadedMessage)));
  }
  clearPicks();
  for (int horse : {horseA, horseB}) {
    if (CommandResult picked = pickRunner(horse - 1); !picked) {
      return failedComparison(std::move(picked));
    }
  }
  analysis::ComparisonRequest request;
  request.nameA = m_picker.edit1();
  request.weightA = m_picker.weightA();
  request.registrationA = m_picker.horseA();
  if (horseA == horseB) {
    // The second click picked nothing: the name typed into Edit2 again, with
    // the horse's weight beside it.
    request.nameB = request.nameA;
    request.weightB = request.weightA;
    request.registrationB = request.registrationA;
  } else {
    request.nameB = m_picker.edit2();
    request.weightB = m_picker.weightB();
    request.registrationB = m_picker.horseB();
  }
  return compare(kind, std::move(request));
}

ComparisonOutcome DaySession::compare(ComparisonKind kind,
                                      analysis::ComparisonRequest request) const {
  request.raceDate = store::raceDate(m_tables->race(m_tables->currentRace));
  request.periodDays = m_settings.integer(settings::kPastRunPeriod);
  request.seiFolder = m_home.seiFolder();

  ComparisonOutcome outcome;
  auto failed = [&outcome](const Status& status) {
    // The checks of the input sound the warning beep; a missing file does not.
    const bool beep = !status.message().ends_with(analysis::checks::kMissingFileMessageEnd);
    outcome.result = CommandResult::failure(status.message(), beep);
    return outcome;
  };
  if (kind == ComparisonKind::kHeadToHead) {
    analysis::HeadToHeadResult result = analysis::compareHeadToHead(request);
    if (!result.status) return failed(result.status);
    outcome.countLabel = result.countLabel();
    outcome.grid = std::move(result.grid);
    return outcome;
  }
  analysis::TwoHorseResult result = analysis::compareTwoHorses(request);
  if (!result.status) return failed(result.status);
  outcome.countLabel = result.countLabel();
  outcome.pointLabels = {result.pt1Label(), result.pt2Label(), result.dpt1Label(),
                         result.dpt2Label()};
  outcome.grid = std::move(result.grid);
  return outcome;
}

CommandResult DaySession::checkUnprocessedOptions() const {
  if (!m_settings.boolean(settings::kCompareAfterLoading)) {
    return CommandResult::failure(std::string(settings::kCompareAfterLoadingOffMessage));
  }
  if (m_settings.boolean(settings::kIgnorePastRunDates)) {
    return CommandResult::failure(std::string(settings::kIgnorePastRunDatesOnMessage));
  }
  return CommandResult{};
}

CommandResult DaySession::unprocessedDays(int year, std::vector<std::string>& days) const {
  days.clear();
  if (CommandResult options = checkUnprocessedOptions(); !options) return options;
  days = output::unprocessedDays(dateList(), year, output::readProcessedDays(m_home.root(), year));
  if (days.empty()) {
    return CommandResult::failure(std::to_string(year) + "年の未処理データはありません。");
  }
  return CommandResult{};
}

CommandResult DaySession::processDays(const std::vector<std::string>& days,
                                      const ProgressCallback& progress, const CancelFlag* cancel,
                                      const ProgressCallback& dayProgress) {
  CommandResult result;
  const auto count = static_cast<int>(days.size());
  int done = 0;
  for (auto day = days.rbegin(); day != days.rend(); ++day, ++done) {
    if (cancel != nullptr && cancel->cancelled()) {
      result.append(CommandResult::cancel());
      return result;
    }
    if (dayProgress) dayProgress(Progress{done, count, *day, {}});
    result.append(loadDay(*day, AfterLoading::kAsSettings, progress, cancel));
    if (!result.ok()) return result;
  }
  result.notices.push_back(Notice{"処理が終了しました。", true});
  return result;
}

}  // namespace orvalle::app
