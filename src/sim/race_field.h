#pragma once

#include <vector>

#include "horse.h"
#include "race.h"
#include "rng.h"

namespace orvalle::sim {

// The horses that may run the plan on `day`. Strictness 0 asks for the
// race's own class and a rested horse; 1 admits neighbouring classes (a
// maiden in a one-win race, a horse stepping up a class); 2 also horses that
// rested only two weeks; 3 (the last resort) any class and any rest. Retired
// horses, horses already entered that day and horses before their debut
// never run.
bool mayRun(const RacePlan& plan, const Horse& horse, int day, int strictness);

// Chooses the field of a race from `pool` (indices into `horses`): horses of
// the race's class first, those that waited longest and suit the surface and
// distance best, at most plan.fieldTarget of them. Tops up from the looser
// strictness levels up to `maxStrictness` when the class alone gives fewer;
// returns fewer than five only when even those have too few horses.
std::vector<int> chooseField(const RacePlan& plan, int day, const std::vector<int>& pool,
                             const std::vector<Horse>& horses, Rng& rng, int maxStrictness = 2);

// The bracket (1-8) of horse number `horseNumber` in a field of `runners`: up
// to eight runners one per bracket, more fill the brackets from the outside
// (the highest brackets get the extra horses).
int bracketOf(int horseNumber, int runners);

// Sets up the runners of `race` from the chosen horses: horse numbers by
// draw with their brackets, jockeys from `jockeysHere` (indices into
// jockeys(); better horses tend to get better jockeys), weights carried by the
// race's weight type with the apprentices' allowance in ordinary races.
void enterRunners(SimRace& race, const std::vector<int>& field, const std::vector<Horse>& horses,
                  const std::vector<int>& jockeysHere, int day, Rng& rng);

// How well a horse suits a race, in ability units (0 = ideal): surface and
// distance preference.
double suitability(const Horse& horse, const RacePlan& plan);

}  // namespace orvalle::sim
