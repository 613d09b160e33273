#pragma once

#include <string>

#include "race_calendar.h"
#include "rng.h"

namespace orvalle::sim {

// Entry conditions of a race as condition codes.
inline constexpr int kNewcomer = 701;  // 新馬: horses that never ran
inline constexpr int kMaiden = 703;    // 未勝利: horses that never won
inline constexpr int kOneWin = 5;      // 1勝 (500万下)
inline constexpr int kTwoWins = 10;    // 2勝 (1000万下)
inline constexpr int kThreeWins = 16;  // 3勝 (1600万下)
inline constexpr int kOpen = 999;      // オープン

// Surfaces of a race.
inline constexpr int kTurf = 0;
inline constexpr int kDirt = 1;
inline constexpr int kJumps = 2;

// What a race is before its runners are known: the RA fields that the race
// programme fixes.
struct RacePlan {
  int raceType = 13;  // 11 2yo, 12 3yo, 13 3yo and up, 14 4yo and up, 18/19 jumps
  int condition = kOneWin;
  bool fillies = false;
  int surface = kTurf;
  int distance = 1600;
  int track = 17;
  char courseLane = 'A';  // turf rail position A-C, blank on dirt
  char weightType = '3';  // '1' handicap, '2' by conditions, '3' by age, '4' fixed
  char grade = ' ';       // ' ', 'E' special, 'A'-'C' G1-G3
  std::string name;       // CP932, empty for an ordinary race
  std::string symbol;     // race symbol code, 3 characters
  int running = 0;        // running number of a graded race
  int specialNumber = 0;  // number of a special race, 0 for an ordinary one
  int firstPrize = 0;     // hundreds of yen
  int fieldTarget = 16;   // wished number of runners (5-18)
  int startTime = 1000;   // hhmm

  bool isJump() const { return surface == kJumps; }
  bool isSpecial() const { return grade != ' '; }
  // Youngest and oldest age admitted.
  int minAge() const;
  int maxAge() const;
};

// The race of `raceNumber` (1-12) at the meeting `courseSlot` (0 = main course)
// of a race day: race type, conditions, surface and distance as the season
// and the racecourse have them, with the named graded races of the calendar
// as race 11.
RacePlan planRace(const RaceDay& day, int courseSlot, int raceNumber, Rng& rng);

// The plan with its entry conditions relaxed by one step, used when too few
// horses can run it: a fillies' race opens to all, a newcomer race becomes a
// maiden race, a class race takes the neighbouring class, a jump race
// becomes a one-win flat race. The surface and distance stay.
RacePlan fallbackPlan(const RacePlan& plan, const RaceDay& day, int courseSlot, int raceNumber,
                      Rng& rng);

// The track code of a racecourse, surface and distance: turf 10-22 (left or
// right handed, inner or outer course), dirt 23/24, jumps 51-59.
int trackCode(int course, int surface, int distance);

}  // namespace orvalle::sim
