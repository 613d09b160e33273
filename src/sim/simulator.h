#pragma once

#include <cstdint>
#include <filesystem>

#include "store/progress.h"

namespace orvalle::sim {

// The first race day of a simulation is the first one on or after this date;
// 520 race days from it end in late 2025.
inline constexpr int kDefaultStartDate = 20210101;

struct SimulationOptions {
  std::filesystem::path outputFolder;  // the replay source folder SRC
  int days = 8;                        // race days, 1-20000
  uint64_t seed = 1;
  int startDate = kDefaultStartDate;  // yyyymmdd
  // Reported as each weekend's files are written: position the race days
  // written, maximum the race days, the upper line the last day written
  // ("yyyy年mm月dd日"). Changes nothing of what is written.
  ProgressCallback progress = {};
};

// What a simulation wrote.
struct SimulationSummary {
  int days = 0;
  int races = 0;
  int runners = 0;  // SE records of the final results, scratched horses included
  int horses = 0;   // different horses among them
  int files = 0;
  int firstDate = 0;  // yyyymmdd of the first and last race day
  int lastDate = 0;
  uint64_t bytes = 0;
};

// Writes a replay source of `options.days` synthetic JRA race days into
// `options.outputFolder`, the same bytes for the same options:
// - SRC/RACEDIFF/<yyyymmddhhnnss>_<text>.txt, in time order: for every race
//   day the entries (RA and SE of data kind "1", horse numbers "00", on the
//   Thursday before), the race card (kind "2", on the Friday) and, after the
//   weekend, the final results (RA and SE kind "7", HR kind "2"); now and then
//   a later file delivers one race's results again, corrected.
// - SRC/0B12/<yyyymmdd>.txt: the last day's results as the real-time service
//   delivers them (RA and SE kind "5", HR kind "1"); that day has no final
//   results in RACEDIFF.
// Every record is CP932 of its fixed length ending in CR LF. The folder is
// created when missing. Throws orvalle::Error when the options are out of
// range, when RACEDIFF or 0B12 in the folder already hold files (a replay
// source is never mixed with another), or when a file cannot be written;
// files written before a write failure stay.
SimulationSummary simulate(const SimulationOptions& options);

}  // namespace orvalle::sim
