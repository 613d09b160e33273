#pragma once

#include <filesystem>
#include <string_view>

#include "analysis/opponent_index.h"
#include "model/day_tables.h"

// The comparisons by their literal method, as the reference the fast engine
// is tested and measured against: for every opponent entry of every eligible
// past run of horse A, horse B's past-run file is read again record by
// record (store::FixedRecordFile), and every row is formed and decided on
// its own. Written from the rules alone; shares no code with the engine but
// the store's record layout.
namespace orvalle::test {

// The rows of the pair A, B counted: A's and B's 18-byte names, today's
// weights in 0.1 kg, the past-run files, the race date and the period start
// (0 takes every run before the race date). Both files must exist.
analysis::PairCounts literalPairComparison(std::string_view nameA18, std::string_view nameB18,
                                           int weightA, int weightB,
                                           const std::filesystem::path& fileA,
                                           const std::filesystem::path& fileB, int raceDate,
                                           int periodStart = 0);

// The direct meetings: entries named B in A's runs before the race date in
// which A finished.
int literalDirectMeetings(std::string_view nameB18, const std::filesystem::path& fileA,
                          int raceDate);

// The race comparison of one race slot by the literal method, adding to its
// analysis record (reset it first), with the rates and ranks of the two text
// lists and the compared flag.
void literalRaceComparison(model::DayTables& tables, int raceSlot,
                           const std::filesystem::path& seiFolder);

// Resets the comparison fields of all race slots and runs the literal race
// comparison of every non-empty one.
void literalAllRaceComparison(model::DayTables& tables, const std::filesystem::path& seiFolder);

}  // namespace orvalle::test
