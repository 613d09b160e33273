#pragma once

#include <filesystem>
#include <string_view>

#include "model/day_tables.h"

namespace orvalle::output {

// What a payout import did.
struct PayoutImportResult {
  // The HR day file was there: the payouts were replaced and every race was
  // scored again. Without it nothing was scored.
  bool payoutFileRead = false;
  // HR records placed into the payout table, and those that matched no race.
  int payoutsAttached = 0;
  int payoutsDropped = 0;
  // Races scored (every non-empty race slot when the HR file was read).
  int racesScored = 0;
  // The current race received payouts: its display needs refreshing.
  bool currentRaceReceivedPayouts = false;

  bool operator==(const PayoutImportResult&) const = default;
};

// Brings the official payouts and results of the loaded day `stem` (UTF-8
// "yyyy年mm月dd日") from the day files of `dataFolder` into the tables and
// scores every race again:
// 1. reloads the race table from the RA day file (record n into race slot
//    n, at most 36; slots beyond the file keep what they held) and, for
//    every race with a year, its registered runners from the SE day file of
//    its racecourse; a race whose race number is outside 1-12 or whose
//    runners are outside 0-18 cannot be placed in the SE file and keeps its
//    runners. Missing files are skipped.
// 2. When the HR day file exists: blank-fills the payout table and puts
//    each of its records (at most 36, in any order) into the slot of the
//    first race with the same race key (positions 12-27); a record that
//    matches no race is dropped. Clears the hit flags, payouts won and race
//    tallies of every combination block (the combination texts stay),
//    zeroes the day tallies and, for every non-empty race slot, parses the
//    payout block, copies the registered runners' race times, finishing
//    positions, popularity ranks and final odds into the result section
//    and scores the race (betting::scoreRace).
// Without an HR day file the payout blocks, hit flags and tallies keep
// their contents. Importing twice gives the same figures.
//
// `currentRace` is the race slot shown in the race list (-1 when none is
// selected); the result says whether a payout record landed in a race of
// the same racecourse and race number as that race had before the reload.
// Throws orvalle::Error when an existing day file cannot be read; the
// tables then hold what was read up to that point.
PayoutImportResult importPayouts(model::DayTables& tables, const std::filesystem::path& dataFolder,
                                 std::string_view stem, int currentRace);

}  // namespace orvalle::output
