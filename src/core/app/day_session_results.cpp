// The commands of the session that work on a day's results: the results
// command and the hit report.
#include <memory>

#include "app/acquire_command.h"
#include "app/day_session.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::app {
namespace {

constexpr std::string_view kFetchingLine = "結果情報を取得しています。";
constexpr std::string_view kReportingLine = "的中レポートを作成しています。";

// Passes the fetch's calls on and reports every stored record as progress.
class ProgressingObserver final : public acquire::ResultsFetchObserver {
 public:
  ProgressingObserver(acquire::ResultsFetchObserver& next, const ProgressCallback& progress)
      : m_next(next), m_progress(progress) {}

  void beep() override { m_next.beep(); }
  void stored(const store::StoredRecord& record) override {
    m_next.stored(record);
    if (m_progress) m_progress({++m_count, 0, std::string(kFetchingLine), record.fileName});
  }

 private:
  acquire::ResultsFetchObserver& m_next;
  const ProgressCallback& m_progress;
  int m_count = 0;
};

}  // namespace

ResultsOutcome DaySession::fetchResults(acquire::JvLink& link,
                                        acquire::ResultsFetchObserver& observer,
                                        const ProgressCallback& progress,
                                        const CancelFlag* cancel) {
  ResultsOutcome outcome;
  if (m_loadedDay.empty() || m_raceList.empty()) return outcome;
  outcome.ran = true;

  const std::string date(store::head::kRaceDate.in(m_tables->race(0)));
  if (store::toInt(date) > 0) {
    outcome.fetched = true;
    ProgressingObserver reporting(observer, progress);
    outcome.fetch = acquire::fetchResults(link, m_home.dataFolder(), date, reporting, cancel);
    if (Status status = outcome.fetch.status(); !status) {
      outcome.result = CommandResult::failure(status.message());
    } else if (outcome.fetch.cancelled) {
      outcome.result = CommandResult::cancel();
    }
  }
  outcome.import =
      output::importPayouts(*m_tables, m_home.dataFolder(), m_loadedDay, m_tables->currentRace);
  return outcome;
}

ResultsOutcome DaySession::fetchResults(std::string_view sourceOption,
                                        acquire::ResultsFetchObserver& observer,
                                        const ProgressCallback& progress,
                                        const CancelFlag* cancel) {
  std::unique_ptr<acquire::JvLink> link = openReplayJvLink(m_home, sourceOption);
  return fetchResults(*link, observer, progress, cancel);
}

HitReportOutcome DaySession::writeHitReport(output::HitReportKind kind,
                                            const ProgressCallback& progress,
                                            const CancelFlag* cancel) {
  HitReportOutcome outcome;
  const auto races = static_cast<int>(m_raceList.size());
  outcome.report = output::buildHitReport(
      *m_tables, m_raceList, kind, [&](int race, const model::RaceListEntry& entry) {
        if (progress) {
          progress({race + 1, races, std::string(kReportingLine), cp932::toUtf8(entry.line)});
        }
      });
  if (!m_raceList.empty()) m_tables->currentRace = m_raceList.back().raceSlot;
  if (cancel != nullptr && cancel->cancelled()) {
    outcome.result = CommandResult::cancel();
    return outcome;
  }
  if (outcome.report.worthWriting()) {
    const std::filesystem::path folder = m_home.ensureFolder(Home::kHpUploadFolderName);
    outcome.files = output::saveHitReport(outcome.report, folder);
  }
  return outcome;
}

}  // namespace orvalle::app
