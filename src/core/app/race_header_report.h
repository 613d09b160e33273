#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/race_card.h"

// A race's header as the race card shows it above the grid, both as its
// four lines and decoded into plain fields (UTF-8), for reports and exports
// that should not read record fields themselves.
namespace orvalle::app {

// A CP932 text without the ASCII blanks (control characters included) and
// "　" that pad it at either end, cut between whole characters.
std::string_view trimmedText(std::string_view cp932Text);

// The text of a CP932 field as UTF-8, without the ASCII blanks and "　"
// that pad it at either end.
std::string decodedText(std::string_view cp932Text);

// "yyyy-mm-dd" of a date yyyymmdd.
std::string isoDate(int yyyymmdd);

// The race condition of one age group of a race ("3歳" "未勝利").
struct AgeCondition {
  std::string ages;       // "2歳", "3歳", "4歳", "5歳以上"
  std::string condition;  // the condition's name
};

struct RaceHeaderReport {
  // The four header lines of the race card (UTF-8), as they stand there:
  // date, weekday, racecourse, meeting, day, race and start time; the graded
  // running and race name; runners, distance, track, grade, race type and
  // race symbols; weight type and the conditions of the age groups.
  std::array<std::string, model::kRaceHeaderLines> lines;
  std::string date;  // "yyyy-mm-dd", empty when the record holds no date
  std::string weekday;
  std::string racecourse;
  int meeting = 0;
  int dayOfMeeting = 0;
  int raceNumber = 0;
  std::string startTime;  // "hh:mm", empty when not announced
  int gradedRunning = 0;  // the "第n回" of a graded race, 0 for none
  std::string name;       // the race name, empty for an unnamed race
  int runners = 0;        // registered runners
  int distance = 0;       // metres
  std::string track;
  std::string grade;
  std::string raceType;
  std::string raceSymbols;
  std::string weightType;
  std::vector<AgeCondition> conditions;  // the age groups that have one
};

// The header of a race from its RA record. Never fails: blank or junk
// fields give empty texts and zeros.
RaceHeaderReport raceHeaderReport(std::string_view raRecord);

}  // namespace orvalle::app
