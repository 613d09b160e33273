#pragma once

#include <string>

#include "model/day_tables.h"

namespace orvalle::betting {

// The stake of one combination and bet type, in yen.
inline constexpr int kStakePerCombination = 100;

// Every hit flag and payout won of the combination blocks of all 36 race
// slots to 0 and their race tallies to 0; with `texts` the combination
// texts are emptied too.
void clearScores(model::DayTables& tables, bool texts);

// Scores the combinations of race slot `raceSlot` against its payout block:
// 100 yen per non-blank combination and bet type; each paid combination of
// the same text is a hit (a combination matching two paid entries counts
// two hits and both payouts); quinella texts are staked again as quinella
// place. Adds 1 race and the race's hits, return and stake to the day
// tallies of every bet type. The race's scores must be cleared before.
void scoreRace(model::DayTables& tables, int raceSlot);

}  // namespace orvalle::betting
