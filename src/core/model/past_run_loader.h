#pragma once

#include <filesystem>

#include "model/day_tables.h"

namespace orvalle::model {

// Which past runs a race takes: those dated strictly after the period start
// and strictly before the race date, or every run when the option
// "ReadKako" / "IgnoDate" is on. The race's own day is never in the period.
struct PastRunPeriod {
  int raceDate = 0;     // yyyymmdd of the race being loaded
  int periodStart = 0;  // yyyymmdd
  bool ignoreDates = false;

  // The period of a race: the start is the race date minus `periodDays`
  // calendar days. A race date that is not a date gives the start 0.
  static PastRunPeriod of(int raceDate, int periodDays, bool ignoreDates);

  bool contains(int date) const { return ignoreDates || (date > periodStart && date < raceDate); }
};

// Loads the past runs of one registered runner of a loaded race into the day
// tables and works out its statistics:
// - reads the newest 100 lines of the horse's past-run file (SEI / first four
//   characters of the registration number / number + ".kak"), newest first,
//   and copies each run in the period into the next past-run slot (slot 0 the
//   newest); the slots after the last run taken are blanked and their marks
//   zeroed;
// - sums the prize money and added prize money of the runs taken into the
//   period earnings, and counts their finishing positions (1st, 2nd, 3rd,
//   4th or worse) overall, on turf (track 10-22) and dirt (23-29), on heavy
//   going (going 3 or 4) of each, and by distance (1-1600, 1601-2200,
//   2201 m and more); a run without a finishing position counts nowhere but
//   is still kept;
// - looks each run taken up in the horse's prediction file (same folder,
//   ".yos", its newest 100 lines in the period, the newest line of the same
//   date and racecourse): a point-win-rate rank of 1 or 2 makes the run an
//   expected win (finished 1st-3rd, mark 1) or an upset (anything else,
//   mark 2), and gives the upset rate.
// Each file is read once. A registration number that cannot name a file, or
// a missing file, gives a runner without past runs (or without prediction
// outcomes). Returns the number of runs taken (0-100). Throws orvalle::Error
// for a slot out of range or a file that exists but cannot be read.
int loadPastRuns(DayTables& tables, int raceSlot, int runnerSlot,
                 const std::filesystem::path& seiFolder, const PastRunPeriod& period);

}  // namespace orvalle::model
