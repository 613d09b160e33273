#pragma once

#include <vector>

#include "horse.h"
#include "race.h"
#include "rng.h"

namespace orvalle::sim {

// Runs a race whose runners are entered (enterRunners) on the going set in
// `race`: late scratches, the betting (win odds, popularity), each runner's
// time from its ability, the distance, the going and the weight carried
// (0.2 s per kilogram), finishing positions consistent with the times (an
// occasional dead heat), corner positions after a pace pattern, last 3 and 4
// furlongs, non-finishers, prize money, the leader's furlong times and the
// counts of starters and finishers. Reads the horses, never changes them.
void runRace(SimRace& race, const std::vector<Horse>& horses, int day, Rng& rng);

// The par time in seconds of a race on good going for a surface and distance
// at a racecourse: about what the winner of a one-win race runs.
double parTime(int course, int surface, int distance);

}  // namespace orvalle::sim
