#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/day_tables.h"

// A home built from a replay source of the simulator, for tests and
// benchmarks of the comparisons, and the race and runner tables of one of
// its days.
namespace orvalle::test {

// Stores every RA, SE and HR record of SRC/RACEDIFF (files in name order)
// into the day files of `dataFolder` by the acquisition's rules, then
// writes the past-run record of every runner of every final race (race and
// runner of data kind "7") into its past-run file under `seiFolder`, each
// file sorted as the merging writer leaves it.
// Returns the day stems of the days with final results, ascending. Throws
// orvalle::Error on a file error.
std::vector<std::string> buildHomeFromReplaySource(const std::filesystem::path& source,
                                                   const std::filesystem::path& dataFolder,
                                                   const std::filesystem::path& seiFolder);

// Fills the race and runner tables of a day as day loading does, without
// its checks: the tables are blank-filled, the RA records of the day go into
// race slots 0, 1, ... (at most 36) and, for each race, SE slot
// (race number - 1) x 18 + k of its racecourse's SE day file into runner
// slot k for k below the registered runners. Throws orvalle::Error when a
// day file is missing.
void fillRaceAndRunnerTables(model::DayTables& tables, const std::filesystem::path& dataFolder,
                             std::string_view stem);

}  // namespace orvalle::test
