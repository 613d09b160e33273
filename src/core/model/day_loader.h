#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/day_tables.h"
#include "store/progress.h"

namespace orvalle::model {

// What loading a day needs: the folders, the day and the settings values that
// steer the past runs. The model reads no settings file; callers pass the
// values of "DataSpan" / "period" and "ReadKako" / "IgnoDate".
struct DayLoadRequest {
  std::filesystem::path dataFolder;  // day files and predicted-odds day files
  std::filesystem::path seiFolder;   // past-run and prediction files
  std::string stem;                  // the day, "yyyy年mm月dd日" (UTF-8)
  int pastRunPeriodDays = 1826;
  bool ignorePastRunDates = false;
  // Progress while loading: upper line the day (while races are read) or the
  // runner whose past runs are read ("中山11R/⑤ホース名"), lower line
  // "レースデータを読み込んでいます。"; may be empty.
  ProgressCallback progress;
  // Looked at between races and between runners; may be null.
  const CancelFlag* cancel = nullptr;
};

// One line of the race list: the race slot and its text (CP932), e.g.
// "中山  05回 08日11R".
struct RaceListEntry {
  int raceSlot = 0;
  std::string line;

  bool operator==(const RaceListEntry&) const = default;
};

// The outcome of loading a day: success with the race list (one entry per
// non-empty race slot, in slot order), or failure with the user's message
// (UTF-8) and an empty race list, or cancelled (no message, an empty race
// list).
class [[nodiscard]] DayLoadResult {
 public:
  static DayLoadResult success(std::vector<RaceListEntry> raceList);
  static DayLoadResult failure(std::string message);
  static DayLoadResult cancel();

  bool ok() const { return m_ok; }
  bool cancelled() const { return m_cancelled; }
  explicit operator bool() const { return m_ok; }
  const std::string& message() const { return m_message; }
  const std::vector<RaceListEntry>& raceList() const { return m_raceList; }

 private:
  bool m_ok = false;
  bool m_cancelled = false;
  std::string m_message;
  std::vector<RaceListEntry> m_raceList;
};

// The message of a command that needs a loaded day when none is.
inline constexpr std::string_view kDayNotLoadedMessage = "出馬表が読み込まれていません。";

// Messages of a day that cannot be loaded; B is the day stem.
// B + "のデータ作成は未完了のようです。": the day has no RA day file.
std::string dayNotCreatedMessage(std::string_view stem);
// B + "のデータ作成は未完了です。少し時間をおいてデータを再取得してください。":
// a racecourse of the day has no SE day file, or its runners are incomplete.
std::string dayIncompleteMessage(std::string_view stem);

// The race-list line of an RA record (CP932): the racecourse name in six
// bytes (selector 0), the meeting as stored, "回 ", the day of meeting as
// stored, "日", the race number "%2d" and "R" — "札幌  01回 02日 1R".
std::string raceListLine(std::string_view raRecord);

// Loads a race day into the tables, replacing the day loaded before:
// 1. sets the new-format flag (year 2005 or later) and resets every race
//    analysis record for a new day;
// 2. fails with dayNotCreatedMessage when the RA day file is missing;
// 3. blank-fills the record tables and past runs, then reads the RA day file
//    into race slots 0, 1, ... (at most 36 records; further records are
//    ignored) and for each race its registered runners from the SE day file
//    of its racecourse (slot (race number - 1) x 18 + runner slot). It fails
//    with dayIncompleteMessage when the SE day file is missing, when a
//    registered runner's record has no bracket number of at least 1, or when
//    the race cannot be placed: a race number outside 1-12, registered
//    runners outside 1-18, or a racecourse code without a name;
// 4. attaches the HR day file's records (at most 36; optional) by year,
//    month-day, racecourse and race number;
// 5. reads the predicted-odds day file (".yoz", at most 36 lines; optional):
//    each line goes to the first race of the same date, racecourse name and
//    race number (a "J" line names its racecourse by the JV-Data code, a "K"
//    line by the KOL code); its win odds set the runners' predicted odds and
//    the runners with odds get ranks 1, 2, ... by odds ("%6.1f"), equal odds
//    by horse number; a line that matches no race is ignored;
// 6. parses every race's payout block and copies its runners' race times,
//    finishing positions, popularity ranks and final odds into the result
//    section (with or without an HR file);
// 7. loads the past runs of every registered runner (loadPastRuns) with the
//    period of its race, and resets each race's comparison fields again.
// On failure the record tables are left blank (no race of the day before
// stays loaded) and the race list is empty; a cancel (request.cancel, seen
// between races and runners) leaves them the same way. Throws
// orvalle::Error when a file exists but cannot be read.
DayLoadResult loadDay(DayTables& tables, const DayLoadRequest& request);

}  // namespace orvalle::model
