#pragma once

#include <array>
#include <string>
#include <vector>

#include "race_plan.h"

namespace orvalle::sim {

// Abnormality codes of a runner.
inline constexpr int kScratched = 1;  // 出走取消
inline constexpr int kExcluded = 2;   // 発走除外
inline constexpr int kStopped = 4;    // 競走中止

// One runner of a simulated race, with its result once the race is run.
struct SimRunner {
  int horse = -1;       // index into the population
  int horseNumber = 0;  // 1-18
  int bracket = 0;      // 1-8
  int jockey = 0;       // index into jockeys()
  int age = 0;
  int sex = 1;
  int weightCarried = 0;  // tenths of a kilogram
  int apprenticeCode = 0;
  bool blinkers = false;
  int horseWeight = 0;   // kilograms; 999 not weighed
  int weightChange = 0;  // kilograms against the last start
  bool weightChangeKnown = false;
  int abnormality = 0;
  int position = 0;  // confirmed finishing position, 0 none
  int time = 0;      // tenths of a second, 0 none
  std::array<int, 4> corners{};
  int odds = 0;  // win odds in tenths
  int popularity = 0;
  int prize = 0;  // hundreds of yen
  int addedPrize = 0;
  int last3 = 999;  // tenths of a second, 999 none
  int last4 = 999;
  int runningStyle = 0;    // 1 front-runner ... 4 closer, 0 none
  int timeDiff = 0;        // tenths behind the winner (the winner: ahead of the second)
  double probability = 0;  // win probability the betting gave it
  double performance = 0;  // ability shown in this race

  bool starter() const { return abnormality != kScratched && abnormality != kExcluded; }
  bool finisher() const { return starter() && abnormality != kStopped; }
};

// One paid combination: up to three horse (or bracket) numbers, the payout
// in yen per 100 yen and the popularity rank of the combination.
struct PayoutLine {
  std::array<int, 3> numbers{};
  int payout = 0;
  int popularity = 0;
};

// The payouts of a race per bet type, in the order of the HR record.
struct RacePayouts {
  std::vector<PayoutLine> win;
  std::vector<PayoutLine> place;
  std::vector<PayoutLine> bracketQuinella;
  std::vector<PayoutLine> quinella;
  std::vector<PayoutLine> quinellaPlace;
  std::vector<PayoutLine> exacta;
  std::vector<PayoutLine> trio;
  std::vector<PayoutLine> trifecta;
  int placesPaid = 3;  // 2 when seven horses or fewer started
};

// A simulated race: its place in the calendar, its programme, its runners in
// horse-number order and, once run, its result and payouts.
struct SimRace {
  int date = 0;  // yyyymmdd
  int course = 0;
  int meeting = 0;
  int dayOfMeeting = 0;
  int raceNumber = 0;
  int weekdayCode = 0;
  RacePlan plan;
  int weather = 0;
  int turfGoing = 0;
  int dirtGoing = 0;
  std::vector<SimRunner> runners;
  int starters = 0;
  int finishers = 0;
  std::vector<int> laps;  // tenths of a second per furlong of the leader
  std::array<int, 5> prizes{};
  std::array<int, 5> addedPrizes{};
  RacePayouts payouts;

  // The 16-digit race key: date, racecourse, meeting, day, race number.
  std::string key() const;
};

}  // namespace orvalle::sim
