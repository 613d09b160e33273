#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/day_loader.h"
#include "model/day_tables.h"

namespace orvalle::output {

// The two reports: every hit ("的中") or only long shots ("穴的中"), whose
// payout must be greater than the long-shot floor of its bet type.
enum class HitReportKind { kFull, kLongShot };

// The limits of one bet type, in yen per 100: a payout at or above the
// colour limit is shown red with the image "lis1", below it blue with
// "lis2"; the long-shot report lists payouts greater than the floor.
struct HitReportLimits {
  int colourLimit;
  int longShotFloor;
};
// Trio 10000 / 5000, quinella 10000 / 5000, quinella place 5000 / 3000,
// exacta 10000 / 5000. Other bet types are not reported.
HitReportLimits hitReportLimits(store::BetType type);

// The report of a day, computed from the stored combination blocks and
// payout blocks. All texts are CP932.
struct HitReport {
  // The fragment's lines: the heading line, then one line per hit.
  std::vector<std::string> fragment;
  // The lines the report adds to the running hit list, in report order
  // (duplicates included).
  std::vector<std::string> hitListLines;
  // yyyymmdd of race slot 0 (RA positions 12-19), which names the fragment
  // file.
  std::string date;

  // The report is written only with the heading and at least two hits.
  bool worthWriting() const { return fragment.size() > 2; }
  // The fragment's text: its lines, each ended by CR LF.
  std::string text() const;
};

// The heading line of the fragment.
const std::string& hitReportHeading();

// The first line of a new hit list, " Orvalle for JRA-VAN Data Lab.", which
// sorts before every dated line.
inline constexpr std::string_view kHitListFirstLine = " Orvalle for JRA-VAN Data Lab.";

// The file names in the report folder.
inline constexpr std::string_view kHitListFileName = "Manbaken.txt";
// "TK" + yyyymmdd + ".txt".
std::string fragmentFileName(std::string_view date);

// Builds the report of the races of `raceList` (in its order). For each race
// and each bet type in the order trio, quinella, quinella place, exacta,
// each combination in its grid row order (trio rows 1-12, quinella and
// exacta rows 1-11; a blank combination is an empty row) is compared by its
// first 8 (trio) or 5 characters with every paid entry the results tab shows
// (resultsGroupTexts), in entry order; each equal entry whose payout is
// greater than the floor (0 for the full report, the long-shot floor
// otherwise) gives one fragment line:
//   image + colour + racecourse name (short form, no trailing blanks) +
//   race number "%2d" + bet-type tag + combination + "/配当 %7d円" + "　" +
//   short race name (RA positions 593-604) + "</font>"
// and one hit-list line:
//   year, month-day, racecourse code and race number of the RA record +
//   bet-type tag + combination + "/配当 %7d円".
// Bet-type tags: "R[３連複]:", "R[馬連　]：　", "R[ワイド]：　", "R[馬単　]：　".
// `beforeRace`, when set, is called with the race-list line's index and
// entry before each race is walked (for progress reports).
using HitReportRaceVisit = std::function<void(int line, const model::RaceListEntry& entry)>;
HitReport buildHitReport(const model::DayTables& tables,
                         const std::vector<model::RaceListEntry>& raceList, HitReportKind kind,
                         const HitReportRaceVisit& beforeRace = {});

// What saving a report did.
struct HitReportFiles {
  bool written = false;                // false: fewer than two hits, nothing written
  std::filesystem::path fragmentPath;  // set when written
  std::filesystem::path hitListPath;   // set when written
};

// Saves a report worth writing (report.worthWriting()) into the existing
// report folder `folder`: the fragment as "TK" + date + ".txt", and the hit
// list "Manbaken.txt" loaded (a missing file starts with kHitListFirstLine),
// merged with the report's lines and saved sorted in the system's order
// without duplicate lines. Both files are CP932 lines ended by CR LF,
// written atomically. A report not worth writing writes nothing. Throws
// orvalle::Error when the date is not eight digits or a file cannot be read
// or written (a file already written stays; the other keeps its old
// content).
HitReportFiles saveHitReport(const HitReport& report, const std::filesystem::path& folder);

// The running hit list of a file as the report loads it: the lines sorted
// in the system's order with duplicates dropped; a missing file gives the
// single line kHitListFirstLine. Throws orvalle::Error when it cannot be
// read.
std::vector<std::string> loadHitList(const std::filesystem::path& path);

}  // namespace orvalle::output
