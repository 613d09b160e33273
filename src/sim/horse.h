#pragma once

#include <algorithm>
#include <string>

namespace orvalle::sim {

// A simulated racehorse with the hidden qualities that decide its runs.
struct Horse {
  std::string registration;  // ten digits: birth year + six digits
  std::string name;          // CP932 full-width katakana, 2-9 characters, unpadded
  int sex = 1;               // 1 colt/horse, 2 filly/mare, 3 gelding
  int birthYear = 0;
  int coat = 1;             // coat colour code 01-08
  double ability = 0;       // hidden ability, drifts a little with every run
  double surfaceBias = 0;   // above 0 better on dirt, below 0 better on turf
  int bestDistance = 1600;  // metres
  int style = 2;            // running style 1 front-runner ... 4 closer
  int bodyWeight = 470;     // usual weight in kilograms
  int lastWeight = 0;       // weight at the last weighed start, 0 before the first
  int starts = 0;
  int wins = 0;  // flat wins: the class
  int jumpWins = 0;
  bool jumper = false;  // runs only in jump races
  bool blinkers = false;
  bool retired = false;
  int debutDay = 0;  // earliest day of the first start
  int readyDay = 0;  // earliest day of the next start
  int busyDay = -1;  // the race day it is entered on, to run once a day
  int trainer = 0;   // index into trainers()
  int owner = 0;     // index into owners()

  // Class in races for older horses: 0 maiden, 1-3 wins, 4 open.
  int winClass() const { return std::min(wins, 4); }
  int age(int year) const { return year - birthYear; }
};

}  // namespace orvalle::sim
