#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/day_tables.h"

namespace orvalle::output {

// What writing the predictions of a day did.
struct PredictionWriteResult {
  int filesWritten = 0;
  std::vector<std::string> dayStems;  // UTF-8, the days of the loaded races
  bool recordedAsProcessed = false;   // the day went into the processed-days file
};

// Writes every runner's ratings of the loaded day into its prediction file
// and records the day as processed. Races of 5 to 18 registered runners are
// written, one line per runner with a registration number that may name a
// file; a horse's line of the same race is replaced. The day goes into the
// processed-days file of its year only when the race list holds more than
// six races (`raceListCount`), so a day read only in part stays unprocessed.
// Throws orvalle::Error when a file cannot be written; files written before
// stay written.
PredictionWriteResult writePredictions(const model::DayTables& tables,
                                       const std::filesystem::path& homeFolder,
                                       const std::filesystem::path& seiFolder, int raceListCount);

}  // namespace orvalle::output
