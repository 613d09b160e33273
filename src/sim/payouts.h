#pragma once

#include "race.h"
#include "rng.h"

namespace orvalle::sim {

// The payouts of a run race, consistent with its finish: win (every horse
// placed first), place (the first three, the first two when seven horses or
// fewer started; a dead heat adds entries), bracket quinella (only when nine
// or more horses are entered), quinella, quinella place (pairs within the
// first three), exacta, trio and trifecta. Payouts follow the betting's win
// probabilities (Harville's rule for the combinations) after the take of
// each bet type, with a little noise, at least 100 yen; popularity ranks
// rank the combination's probability among all combinations of its bet
// type. The win payout is the winner's odds times ten.
RacePayouts computePayouts(const SimRace& race, Rng& rng);

}  // namespace orvalle::sim
