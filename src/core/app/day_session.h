#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquire/jv_link.h"
#include "acquire/results_fetch.h"
#include "analysis/two_horse_comparison.h"
#include "app/command_result.h"
#include "app/home.h"
#include "app/settings.h"
#include "betting/user_settings.h"
#include "model/day_loader.h"
#include "model/day_tables.h"
#include "model/grid_view.h"
#include "model/race_card.h"
#include "output/analysis_sheet.h"
#include "output/hit_report.h"
#include "output/payout_import.h"
#include "store/progress.h"

namespace orvalle::app {

// What the results command did.
struct ResultsOutcome {
  // Done; failed with the message of a failed JV-Link call (acquire::
  // ResultsFetchResult::status: JV-Link having no results for the day is no
  // failure), the payout import having run all the same; cancelled when the
  // read loop stopped on the cancel, the import having run on what was
  // stored.
  CommandResult result;
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
  // Done, or cancelled before anything was written.
  CommandResult result;
  // The report's lines (CP932); report.text() is what goes to the clipboard.
  output::HitReport report;
  // Where it was written; files.written is false when the day had fewer
  // than two hits (nothing written, nothing to open or copy).
  output::HitReportFiles files;
};

// The comparisons of two horses of the analysis tab.
enum class ComparisonKind {
  kTwoHorses,   // "２頭の比較": through the common opponents
  kHeadToHead,  // "直接対決の比較": the races the two ran against each other
};

// What a two-horse or head-to-head comparison shows. When the result
// failed, only its message is set: the grid and the labels keep what they
// showed.
struct ComparisonOutcome {
  CommandResult result;
  // StringGrid6: the comparison rows, or one row reading "該当ナシ".
  model::GridView grid;
  // CtLabel "該当数：" n (CP932); nullopt when no row was listed, the label
  // then keeps its text.
  std::optional<std::string> countLabel;
  // pt1Label, pt2Label, dpt1Label, dpt2Label (CP932, "%3d"): A ahead, B
  // ahead, A's own-minus points, B's own-minus points. Nullopt after a
  // head-to-head comparison, which leaves them as they are.
  std::optional<std::array<std::string, 4>> pointLabels;
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

// The days with an RA day file in the home's data folder, newest first
// (UTF-8 stems): the date list.
std::vector<std::string> dateList(const Home& home);

// The work of the main window on one race day, without any window: the day
// tables, the race list, the current race, the two horses picked for the
// comparisons, and the commands that load a day, compare its races and
// horses, write their predictions and fetch and report its results. The GUI
// and orvalle-cli run the same commands through it.
//
// Threads: one command at a time. A front end may run a command on a worker
// thread; while it runs, no other thread reads or changes anything of the
// session (the tables, the race list, the picker, the settings, the
// outcomes): the window reads them only between commands, when the command
// has returned. The only things that cross threads while a command runs are
// its progress callback (called on the command's thread; the front end
// hands each report over to its own thread) and its CancelFlag (set from
// any thread). A cancelled command returns Outcome::kCancelled.
class DaySession {
 public:
  explicit DaySession(Home home, SessionOptions options = {});

  const Home& home() const { return m_home; }
  Settings& settings() { return m_settings; }
  model::DayTables& tables() { return *m_tables; }
  const model::DayTables& tables() const { return *m_tables; }

  // The date list of the session's home (app::dateList).
  std::vector<std::string> dateList() const;

  // The loaded day's stem (UTF-8), empty when none is loaded.
  const std::string& loadedDay() const { return m_loadedDay; }
  // The race list of the loaded day (empty after a failed load).
  const std::vector<model::RaceListEntry>& raceList() const { return m_raceList; }
  // The race slot of race-list line `line` (0-based); -1 when out of range.
  int raceSlotOfLine(int line) const;
  // The registered runners of a race slot (RA registered runners, 0-18).
  // Throws orvalle::Error for a slot out of range.
  int runnerCount(int raceSlot) const;

  // Selects race-list line `line` (0-based) as the current race, as a click
  // on the race list does. Fails with "レースがありません: " n " (1-" lines
  // ")" (1-based) when the race list has no such line.
  CommandResult selectRace(int line);

  // Chooses a date: loads the day (the settings' past-run period and
  // "IgnoDate"), makes the first race the current race, then runs what
  // `after` says. Fails with the loading's message. Reports the loading's
  // progress and honours `cancel` between races and runners; a cancelled
  // load leaves no day loaded, like a failed one. Throws orvalle::Error when
  // a file cannot be read or written.
  CommandResult loadDay(std::string_view stem, AfterLoading after = AfterLoading::kAsSettings,
                        const ProgressCallback& progress = {}, const CancelFlag* cancel = nullptr);

  // The all-race comparison of the loaded day, then (unless "IgnoDate" is
  // on, which is said in a notice, or the session is read-only) the
  // prediction files and the processed-days file, then the combination
  // calculation. Fails with "出馬表が読み込まれていません。" when no day is
  // loaded. Reports progress per race and honours `cancel` between races: a
  // cancelled comparison writes nothing and leaves no combinations and zero
  // day tallies.
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

  // The two horses picked for the comparisons: the names in Edit1 and Edit2
  // (CP932), the weights beside them and their registration numbers.
  const model::ComparisonPicker& picker() const { return m_picker; }

  // A click on the race card row of runner slot `runnerSlot` of the current
  // race (model::pickFromRaceCard): the first horse while Edit1 is blank
  // becomes horse A, another horse horse B. Fails with "馬番がありません: " and
  // the horse number when the race has no such runner.
  CommandResult pickRunner(int runnerSlot);

  // The button "クリア": empties Edit1 and Edit2 (ComparisonPicker::clear).
  void clearPicks() { m_picker.clear(); }

  // The two-horse or head-to-head comparison of the names typed in Edit1
  // and Edit2 (UTF-8, converted by cp932Input: a name CP932 cannot hold
  // fails with its message) with the picked weights and registration
  // numbers, the current race's date and the past-run period "DataSpan" /
  // "period" read afresh (analysis::compareTwoHorses, analysis::
  // compareHeadToHead). Fails with the comparison's check messages (with
  // the warning beep, but for a missing past-run file). Throws
  // orvalle::Error when a past-run file cannot be read.
  ComparisonOutcome compareHorses(ComparisonKind kind, std::string_view edit1,
                                  std::string_view edit2) const;

  // A comparison of two runners of the current race named by horse number,
  // as orvalle-cli's `compare` runs it: "クリア", clicks on the rows of
  // horse A and horse B, and their names in Edit1 and Edit2. The same horse
  // twice stands for its name typed in both boxes with its weight beside
  // both, so the head-to-head comparison fails with "２頭の馬は別の馬名を入力
  // してください。". Fails with "出馬表が読み込まれていません。" when no day is
  // loaded and with "馬番がありません: " n for a horse the race does not have.
  ComparisonOutcome compareRunners(ComparisonKind kind, int horseA, int horseB);

  // Whether the options allow processing unprocessed days: "AllRace" /
  // "ExecComp" must be on (so that loading a day compares it and writes its
  // predictions) and "ReadKako"/"IgnoDate" off; fails with the menu's
  // message otherwise.
  CommandResult checkUnprocessedOptions() const;

  // The unprocessed days of `year` (the date list's days of that year not in
  // its processed-days file), newest first. Fails with the menu's messages
  // when the options do not allow processing them ("AllRace"/"ExecComp" must
  // be on, "ReadKako"/"IgnoDate" off) and with year + "年の未処理データは
  // ありません。" when there is none.
  CommandResult unprocessedDays(int year, std::vector<std::string>& days) const;

  // The predicted-odds import of an archive (importPredictedOdds of
  // app/odds_import_command.h): the loaded day's new-format flag decides the
  // KOL quinella layout; with no day loaded the data's own date decides. The
  // tables are not touched: the odds count once the day is loaded again.
  CommandResult importPredictedOdds(const std::filesystem::path& archive) const;

  // Loads each of `days` from the last to the first, each followed by the
  // all-race comparison, and ends with "処理が終了しました。". Stops at the
  // first day that fails to load, with its message, and at a cancel
  // (between days, races and runners), cancelled. `progress` gets the
  // reports of each day's loading and comparison; `dayProgress`, when set,
  // one report as each day starts: position the days done, maximum the
  // days, the upper line the day's stem.
  CommandResult processDays(const std::vector<std::string>& days,
                            const ProgressCallback& progress = {},
                            const CancelFlag* cancel = nullptr,
                            const ProgressCallback& dayProgress = {});

  // The results command ("結果情報") on the loaded day: takes the race date
  // of race slot 0 and, when it is a number above 0, fetches the day's
  // real-time results ("0B12") through `link` into the day files
  // (acquire::fetchResults: JVRTOpen, the read loop until `cancel`, the two
  // closes; a JVRTOpen other than 0 beeps through `observer` and reads
  // nothing), then runs the payout import with the current race
  // (output::importPayouts), which also runs on the files as they are when
  // nothing could be fetched. Reports progress per stored record (position
  // the records stored so far, maximum 0: not known ahead). Does
  // nothing when no day with races is loaded. `link` must be initialised.
  // Throws orvalle::Error when a day file cannot be read or written (the
  // import then does not run).
  ResultsOutcome fetchResults(acquire::JvLink& link, acquire::ResultsFetchObserver& observer,
                              const ProgressCallback& progress = {},
                              const CancelFlag* cancel = nullptr);

  // The same with the JV-Link of `sourceOption`, or of "JvLink" / "source"
  // of the settings when it is empty (openReplayJvLink). Throws
  // orvalle::Error when no source is set or JVInit fails; nothing is
  // fetched or imported then.
  ResultsOutcome fetchResults(std::string_view sourceOption,
                              acquire::ResultsFetchObserver& observer,
                              const ProgressCallback& progress = {},
                              const CancelFlag* cancel = nullptr);

  // The hit report of the loaded day ("的中" for kFull, "穴的中" for
  // kLongShot; output::buildHitReport over the race list, reporting
  // progress per race). When it holds at least two hits, creates the home's
  // report folder "HPupload" (an existing one of another letter case is
  // used) and saves the fragment and the running hit list there
  // (output::saveHitReport); a cancel before that writes nothing. Leaves the
  // last race of the race list as the current race, as the report's walk
  // through the races does. Throws orvalle::Error when the folder cannot be
  // created or a file cannot be written.
  // The analysis sheets of the loaded day, as "印刷" lays them out: one page
  // per race of the race list, in list order, the combination column headed
  // by the name of the active user combination setting (the lines of
  // "UserSet.usd" read afresh when the file exists, the line "UserSetting" /
  // "SetID" or the session's userSettingIndex, as calculateCombinations
  // takes them; no name when there is no line). Fails with "ﾃﾞｰﾀを読み込んで
  // ください。" when the race list is empty. Throws orvalle::Error when the
  // settings file exists but cannot be read.
  CommandResult analysisSheets(std::vector<output::SheetPage>& pages);

  HitReportOutcome writeHitReport(output::HitReportKind kind, const ProgressCallback& progress = {},
                                  const CancelFlag* cancel = nullptr);

 private:
  ComparisonOutcome compare(ComparisonKind kind, analysis::ComparisonRequest request) const;
  // The setting the combination calculation and the sheets take: the lines
  // of "UserSet.usd" read afresh (a missing file keeps those read before).
  betting::UserSetting activeUserSetting();
  // The combination calculation with settings read before.
  void applyCombinations(double oddsCeiling, const betting::UserSetting& active);

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
  model::ComparisonPicker m_picker;
};

}  // namespace orvalle::app
