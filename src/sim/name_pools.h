#pragma once

#include <string>
#include <vector>

namespace orvalle::sim {

// The fixed pools of names the simulator draws from. Every text is CP932,
// converted once on first use; the pools are the same for every seed.

// A jockey or trainer: short name of four full-width characters (8 bytes,
// padded with "　"), five-digit code, region (1 Miho/east, 2 Ritto/west).
struct Person {
  std::string shortName;
  int code = 0;
  int region = 1;
  double skill = 0;        // jockeys: effect on the horse's run, in ability units
  int apprenticeCode = 0;  // jockeys: 0 none, 1-3 kilograms of allowance
  bool jumps = false;      // jockeys who ride in jump races
};

// An owner: name (CP932, unpadded), six-digit code and racing colours.
struct Owner {
  std::string name;
  std::string colours;
  int code = 0;
};

// A named graded race of the calendar: run each year on the given weekend
// (0-based within the period), day (0 Saturday, 1 Sunday) and racecourse as
// race 11.
struct GradedRace {
  int period;
  int weekend;
  int day;
  int course;
  const char* name;  // UTF-8 in the table; see gradedRaceName
  char grade;        // 'A' G1, 'B' G2, 'C' G3
  int raceType;      // 11, 12, 13, 14
  int surface;       // 0 turf, 1 dirt
  int distance;
  bool fillies;
  char weightType;  // '1' handicap, '2' set by conditions, '3' by age, '4' fixed
  int firstYear;    // year of the first running
};

const std::vector<Person>& jockeys();
const std::vector<Person>& trainers();
const std::vector<Owner>& owners();

// The graded race on that place of the calendar, or nullptr.
const GradedRace* gradedRaceAt(int period, int weekend, int day, int course);
// CP932 name of a graded race of the table.
const std::string& gradedRaceName(const GradedRace& race);

// The CP932 name of a special race (grade "特別"): a word of the racecourse
// or the season with a suffix fitting the class; stable for a given calendar
// place (the same race comes back each year).
std::string specialRaceName(int course, int period, int weekend, int day, int raceNumber,
                            bool openClass);

// Parts of horse names: full-width katakana words (CP932), two bytes per
// character.
const std::vector<std::string>& horseNamePrefixes();
const std::vector<std::string>& horseNameWords();
// Single katakana characters (CP932) for names made of syllables.
const std::vector<std::string>& katakanaSyllables();

}  // namespace orvalle::sim
