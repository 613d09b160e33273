#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquire/jv_link.h"
#include "acquire/results_fetch.h"
#include "app/home.h"
#include "app/settings.h"
#include "model/day_loader.h"
#include "model/day_tables.h"
#include "output/hit_report.h"
#include "output/payout_import.h"
#include "store/progress.h"

namespace orvalle::app {

// A message a command shows the user (an information box), UTF-8.
struct Notice {
  std::string text;
  bool beep = false;  // the warning beep sounds before it
};

// The outcome of a command of the session: success or failure, and the
// messages to show in order. A failed command's last notice is its reason.
struct [[nodiscard]] CommandResult {
  bool ok = true;
  std::vector<Notice> notices;

  explicit operator bool() const { return ok; }
  static CommandResult failure(std::string message, bool beep = true) {
    return CommandResult{false, {Notice{std::move(message), beep}}};
  }
  // The text of every notice, one per line.
  std::string text() const;
};

// What the results command did.
struct ResultsOutcome {
  // False when no day with races is loaded: the command did nothing.
  bool ran = false;
  // JV-Link was asked for the race date of race slot 0 (a number above 0).
  bool fetched = false;
  // JV-Link's side: JVRTOpen's result, the read loop's end, stored records.
  acquire::ResultsFetchResult fetch;
  // The payout import that followed. When import.currentRaceReceivedPayouts
  // is set, the window redisplays the current race.
  output::PayoutImportResult import;
};

// What the hit report did.
struct HitReportOutcome {
  // The report's lines (CP932); report.text() is what goes to the clipboard.
  output::HitReport report;
  // Where it was written; files.written is false when the day had fewer
  // than two hits (nothing written, nothing to open or copy).
  output::HitReportFiles files;
};

// What follows loading a day.
enum class AfterLoading {
  kAsSettings,  // the all-race comparison when "AllRace"/"ExecComp" is on
  kCompare,     // always the all-race comparison
  kNothing,
};

// How a session treats the home.
struct SessionOptions {
  // False for a read-only run (the backtest): the all-race comparison writes
  // neither the prediction files nor the processed-days file.
  bool writePredictions = true;
  // The line of "UserSet.usd" the combination calculation takes instead of
  // "UserSetting"/"SetID", which is then neither read nor written (an index
  // beyond the last line falls back to line 0 as SetID does); nullopt: SetID.
  std::optional<int> userSettingIndex;
  // Threads of the comparisons (0 = one per core).
  unsigned threads = 0;
};

// The work of the main window on one race day, without any window: the day
// tables, the race list, and the commands that load a day, compare its
// races and write their predictions. The GUI and orvalle-cli run the same
// commands through it. Not thread-safe: one command at a time (a GUI runs
// it on a worker thread and shows its progress).
class DaySession {
 public:
  explicit DaySession(Home home, SessionOptions options = {});

  const Home& home() const { return m_home; }
  Settings& settings() { return m_settings; }
  model::DayTables& tables() { return *m_tables; }
  const model::DayTables& tables() const { return *m_tables; }

  // The date list: the days with an RA day file, newest first (UTF-8 stems).
  std::vector<std::string> dateList() const;

  // The loaded day's stem (UTF-8), empty when none is loaded.
  const std::string& loadedDay() const { return m_loadedDay; }
  // The race list of the loaded day (empty after a failed load).
  const std::vector<model::RaceListEntry>& raceList() const { return m_raceList; }
  // The race slot of race-list line `line` (0-based); -1 when out of range.
  int raceSlotOfLine(int line) const;

  // Chooses a date: loads the day (the settings' past-run period and
  // "IgnoDate"), makes the first race the current race, then runs what
  // `after` says. Fails with the loading's message. Throws orvalle::Error
  // when a file cannot be read or written.
  CommandResult loadDay(std::string_view stem, AfterLoading after = AfterLoading::kAsSettings,
                        const ProgressCallback& progress = {}, const CancelFlag* cancel = nullptr);

  // The all-race comparison of the loaded day, then (unless "IgnoDate" is
  // on, which is said in a notice, or the session is read-only) the
  // prediction files and the processed-days file, then the combination
  // calculation. Fails with "出馬表が読み込まれていません。" when no day is
  // loaded. A cancelled comparison leaves no combinations and zero day
  // tallies.
  CommandResult compareAllRaces(const ProgressCallback& progress = {},
                                const CancelFlag* cancel = nullptr);

  // The combination calculation of the loaded day (betting::
  // calculateCombinations): the odds ceiling "OddsSpan"/"ceil" and the
  // active setting, read afresh: the lines of "UserSet.usd" (a missing file
  // keeps the lines read before, at first the default setting) and the
  // line "UserSetting"/"SetID" (or the session's userSettingIndex), falling
  // back to line 0 beyond the last line; with no line no rule is set and the
  // popularity-trio flag stays as it was (off at first). Runs after every
  // all-race comparison and when the user combination settings dialog
  // closes while a day is loaded. Throws orvalle::Error when the settings
  // file exists but cannot be read.
  void calculateCombinations();

  // The unprocessed days of `year` (the date list's days of that year not in
  // its processed-days file), newest first. Fails with the menu's messages
  // when the options do not allow processing them ("AllRace"/"ExecComp" must
  // be on, "ReadKako"/"IgnoDate" off) and with year + "年の未処理データは
  // ありません。" when there is none.
  CommandResult unprocessedDays(int year, std::vector<std::string>& days) const;

  // The predicted-odds import of an archive (importPredictedOdds of
  // app/odds_import_command.h): the loaded day's year decides the KOL
  // quinella layout; with no day loaded the data's own date decides. The
  // tables are not touched: the odds count once the day is loaded again.
  CommandResult importPredictedOdds(const std::filesystem::path& archive) const;

  // Loads each of `days` from the last to the first, each followed by the
  // all-race comparison, and ends with "処理が終了しました。". Stops at the
  // first day that fails to load, with its message.
  CommandResult processDays(const std::vector<std::string>& days,
                            const ProgressCallback& progress = {},
                            const CancelFlag* cancel = nullptr);

  // The results command ("結果情報") on the loaded day: takes the race date
  // of race slot 0 and, when it is a number above 0, fetches the day's
  // real-time results ("0B12") through `link` into the day files
  // (acquire::fetchResults: JVRTOpen, the read loop until `cancel`, the two
  // closes; a JVRTOpen other than 0 beeps through `observer` and reads
  // nothing), then runs the payout import with the current race
  // (output::importPayouts), which also runs on the files as they are when
  // nothing could be fetched. Does nothing when no day with races is
  // loaded. `link` must be initialised. Throws orvalle::Error when a day
  // file cannot be read or written (the import then does not run).
  ResultsOutcome fetchResults(acquire::JvLink& link, acquire::ResultsFetchObserver& observer,
                              const CancelFlag* cancel = nullptr);

  // The same with the replay JV-Link of `sourceOption`, or of "JvLink" /
  // "source" of the settings when it is empty (app::jvLinkSource),
  // initialised for this command. Throws orvalle::Error when no source is
  // set or JVInit fails; nothing is fetched or imported then.
  ResultsOutcome fetchResults(std::string_view sourceOption,
                              acquire::ResultsFetchObserver& observer,
                              const CancelFlag* cancel = nullptr);

  // The hit report of the loaded day ("的中" for kFull, "穴的中" for
  // kLongShot; output::buildHitReport over the race list). When it holds at
  // least two hits, creates the home's report folder "HPupload" (an existing
  // one of another letter case is used) and saves the fragment and the
  // running hit list there (output::saveHitReport). Leaves the last race of
  // the race list as the current race, as the report's walk through the
  // races does. Throws orvalle::Error when the folder cannot be created or a
  // file cannot be written.
  HitReportOutcome writeHitReport(output::HitReportKind kind);

 private:
  Home m_home;
  SessionOptions m_options;
  Settings m_settings;
  // The working copy of the user combination settings' lines and the
  // popularity-trio flag of the last combination calculation.
  std::vector<std::string> m_userSettingLines;
  bool m_popularityTrios = false;
  std::unique_ptr<model::DayTables> m_tables;
  std::string m_loadedDay;
  std::vector<model::RaceListEntry> m_raceList;
};

}  // namespace orvalle::app
