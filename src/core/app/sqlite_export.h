#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/command_result.h"
#include "app/home.h"
#include "store/progress.h"

// The export of the home's race days into an SQLite database: every day's
// races (RA), runners (SE) and payouts (HR) as decoded columns beside the
// raw CP932 record, and for the days the all-race comparison has processed
// every runner's figures and the stored combinations. The tables and their
// columns are described in docs/manual/export.md.
namespace orvalle::app {

// The schema version the export writes ("PRAGMA user_version").
inline constexpr int kSqliteExportSchemaVersion = 1;

// What an export writes.
struct SqliteExportRequest {
  std::filesystem::path database;  // created when missing
  std::string fromDay;             // first day stem (UTF-8), empty: from the oldest day
  std::string toDay;               // last day stem (UTF-8), empty: to the newest day
  unsigned threads = 0;            // threads of the comparisons, 0 = one per core
  // Reported after each day's commit: position the days done, maximum the
  // days of the range, the upper line the day's stem.
  ProgressCallback progress;
  const CancelFlag* cancel = nullptr;
  // Called with a day's stem when its rows are written, before its
  // transaction commits. Lets a test stop the export inside a transaction.
  std::function<void(const std::string& day)> beforeCommit;
};

// What an export wrote.
struct SqliteExportReport {
  std::vector<std::string> days;          // the days written, oldest first
  std::vector<std::string> comparedDays;  // those with figures and combinations
  // Processed days that no longer load (an incomplete day): their records
  // are written, their figures not.
  std::vector<std::string> uncomparedDays;
  int64_t races = 0;
  int64_t runners = 0;
  int64_t payouts = 0;
  int64_t figures = 0;
  int64_t combinations = 0;
  bool cancelled = false;
};

// Exports the days of the home from `fromDay` to `toDay` (days with an RA
// day file, oldest first) into `request.database`. Each day is one
// transaction: its earlier rows are deleted and its rows written anew, so an
// export repeated over the same days changes no row count, and a process
// killed during an export leaves the days committed before, each whole
// (the export writes through SQLite's write-ahead log, which keeps no part
// of an unfinished day; the log file beside the database holds the
// committed days until the database is next opened, and goes when the
// export ends). A day listed in the processed-days file of its year is loaded and
// compared read-only (no prediction or processed-days file is written, as in
// a backtest) for its figures and combinations, with the settings of the
// home. Reads the home only; the caller holds its reader lock.
// Done with a notice of the counts written; done with a notice saying so
// when the range holds no day. Throws orvalle::Error naming the file when
// the database cannot be opened or written or is not one of this export
// (another schema version, another kind of file), and when a day file cannot
// be read; the days committed before stay. A cancel stops
// before the next day: the result is cancelled and report.cancelled set.
CommandResult exportToSqlite(const Home& home, const SqliteExportRequest& request,
                             SqliteExportReport& report);

}  // namespace orvalle::app
