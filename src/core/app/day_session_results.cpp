// The commands of the session that work on a day's results: the results
// command and the hit report.
#include <memory>

#include "acquire/replay_jv_link.h"
#include "app/acquire_command.h"
#include "app/day_session.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::app {

ResultsOutcome DaySession::fetchResults(acquire::JvLink& link,
                                        acquire::ResultsFetchObserver& observer,
                                        const CancelFlag* cancel) {
  ResultsOutcome outcome;
  if (m_loadedDay.empty() || m_raceList.empty()) return outcome;
  outcome.ran = true;

  const std::string date(store::head::kRaceDate.in(m_tables->race(0)));
  if (store::toInt(date) > 0) {
    outcome.fetched = true;
    outcome.fetch = acquire::fetchResults(link, m_home.dataFolder(), date, observer, cancel);
  }
  outcome.import =
      output::importPayouts(*m_tables, m_home.dataFolder(), m_loadedDay, m_tables->currentRace);
  return outcome;
}

ResultsOutcome DaySession::fetchResults(std::string_view sourceOption,
                                        acquire::ResultsFetchObserver& observer,
                                        const CancelFlag* cancel) {
  auto link = std::make_unique<acquire::ReplayJvLink>(jvLinkSource(m_home, sourceOption));
  if (Status status = acquire::initialiseJvLink(*link); !status) throw Error(status.message());
  return fetchResults(*link, observer, cancel);
}

HitReportOutcome DaySession::writeHitReport(output::HitReportKind kind) {
  HitReportOutcome outcome;
  outcome.report = output::buildHitReport(*m_tables, m_raceList, kind);
  if (!m_raceList.empty()) m_tables->currentRace = m_raceList.back().raceSlot;
  if (outcome.report.worthWriting()) {
    const std::filesystem::path folder = m_home.ensureFolder(Home::kHpUploadFolderName);
    outcome.files = output::saveHitReport(outcome.report, folder);
  }
  return outcome;
}

}  // namespace orvalle::app
