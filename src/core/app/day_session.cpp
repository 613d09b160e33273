#include "app/day_session.h"

#include "analysis/race_comparison.h"
#include "app/odds_import_command.h"
#include "betting/combination_calculation.h"
#include "betting/race_scoring.h"
#include "betting/user_settings.h"
#include "betting/user_settings_file.h"
#include "output/prediction_writer.h"
#include "output/processed_days.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/fixed_width.h"

namespace orvalle::app {

std::string CommandResult::text() const {
  std::string out;
  for (const Notice& notice : notices) {
    if (!out.empty()) out += "\n";
    out += notice.text;
  }
  return out;
}

DaySession::DaySession(Home home, SessionOptions options)
    : m_home(std::move(home)),
      m_options(std::move(options)),
      m_settings(m_home.iniPath()),
      m_userSettingLines{sj(betting::kDefaultUserSettingLine)},
      m_tables(std::make_unique<model::DayTables>()) {}

std::vector<std::string> DaySession::dateList() const {
  return store::listDays(m_home.dataFolder());
}

int DaySession::raceSlotOfLine(int line) const {
  if (line < 0 || line >= static_cast<int>(m_raceList.size())) return -1;
  return m_raceList[static_cast<size_t>(line)].raceSlot;
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

  m_loadedDay.clear();
  m_raceList.clear();
  model::DayLoadResult loaded = model::loadDay(*m_tables, request);
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
  std::optional<int> year;
  if (!m_loadedDay.empty()) year = store::toInt(std::string_view(m_loadedDay).substr(0, 4));
  return app::importPredictedOdds(m_home, archive, year);
}

CommandResult DaySession::compareAllRaces(const ProgressCallback& progress,
                                          const CancelFlag* cancel) {
  if (m_raceList.empty()) return CommandResult::failure("出馬表が読み込まれていません。");

  analysis::AllRaceOptions options;
  options.seiFolder = m_home.seiFolder();
  options.ignorePastRunDates = m_settings.boolean(settings::kIgnorePastRunDates);
  options.threads = m_options.threads;
  options.progress = progress;
  options.cancel = cancel;
  analysis::AllRaceOutcome outcome = analysis::compareAllRaces(*m_tables, options);
  if (!outcome.status.ok()) return CommandResult::failure(outcome.status.message());

  CommandResult result;
  if (outcome.cancelled) {
    // Combinations of an earlier comparison would not match the reset ranks.
    betting::clearScores(*m_tables, /*texts=*/true);
    m_tables->zeroTallies();
    return result;
  }
  if (!outcome.message.empty()) {
    result.notices.push_back(Notice{outcome.message, true});
  } else if (outcome.writePredictions && m_options.writePredictions) {
    (void)output::writePredictions(*m_tables, m_home.root(), m_home.seiFolder(),
                                   static_cast<int>(m_raceList.size()));
  }
  calculateCombinations();
  return result;
}

void DaySession::calculateCombinations() {
  const double ceiling = m_settings.decimal(settings::kOddsCeiling);
  if (auto lines = betting::readUserSettingLines(m_home.userSetPath())) {
    m_userSettingLines = std::move(*lines);
  }
  const int index = m_options.userSettingIndex ? *m_options.userSettingIndex
                                               : m_settings.integer(settings::kUserSettingId);
  const betting::UserSetting active =
      betting::activeUserSetting(m_userSettingLines, index, m_popularityTrios);
  m_popularityTrios = active.popularityTrios;
  betting::calculateCombinations(*m_tables, ceiling, active);
}

CommandResult DaySession::unprocessedDays(int year, std::vector<std::string>& days) const {
  days.clear();
  if (!m_settings.boolean(settings::kCompareAfterLoading)) {
    return CommandResult::failure(
        "メニューの「ｵﾌﾟｼｮﾝ」－「データ読込後直ちに全レース比較を行う」のﾁｪｯｸをしてから実行して"
        "ください。");
  }
  if (m_settings.boolean(settings::kIgnorePastRunDates)) {
    return CommandResult::failure(
        "メニューの「ｵﾌﾟｼｮﾝ」－「データ読込時過去走の日付を無視する」のﾁｪｯｸをはずしてから実行"
        "してください。");
  }
  days = output::unprocessedDays(dateList(), year, output::readProcessedDays(m_home.root(), year));
  if (days.empty()) {
    return CommandResult::failure(std::to_string(year) + "年の未処理データはありません。");
  }
  return CommandResult{};
}

CommandResult DaySession::processDays(const std::vector<std::string>& days,
                                      const ProgressCallback& progress, const CancelFlag* cancel) {
  CommandResult result;
  for (auto day = days.rbegin(); day != days.rend(); ++day) {
    if (cancel != nullptr && cancel->cancelled()) return result;
    CommandResult loaded = loadDay(*day, AfterLoading::kAsSettings, progress, cancel);
    result.notices.insert(result.notices.end(), loaded.notices.begin(), loaded.notices.end());
    if (!loaded) {
      result.ok = false;
      return result;
    }
  }
  result.notices.push_back(Notice{"処理が終了しました。", true});
  return result;
}

}  // namespace orvalle::app
