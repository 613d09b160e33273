#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/colours.h"
#include "model/day_tables.h"

// The detailed race card of a race (grid StringGrid5): per runner its
// identity, its record in the past-run period by distance and by track and
// going, and its past runs, one six-line block per past-run slot, newest
// first. This is the content as data; where each text goes in a cell is the
// GUI's business. Every text is CP932.
namespace orvalle::model {

// Columns: 0 bracket, 1 horse number, 2 horse, 3 record by distance, 4 record
// by going, then one per past-run slot.
inline constexpr int kDetailedFixedColumns = 5;
inline constexpr int kDetailedColumns = kDetailedFixedColumns + kPastRunSlots;
// At most this many past-run columns are numbered.
inline constexpr int kMaxNumberedPastRuns = 50;

// Headings of columns 0-4: "枠", "馬", "馬名", "全・距離別成績", "馬場別成績".
const std::array<std::string, kDetailedFixedColumns>& detailedFixedHeadings();

// The past-run numbering: "%3d走前" for k = 1..m, the headings of columns 5 to
// 4 + m, where m is the largest number of leading filled past-run slots (year
// not blank) among the registered runners of the race, at most 50. Empty
// when no runner has a past run. Throws orvalle::Error for a race slot out of
// range or more than 18 registered runners.
std::vector<std::string> pastRunNumbering(const DayTables& tables, int raceSlot);

// All 105 headings of the grid: the five fixed headings, then the past-run
// numbering in columns 5 onwards and empty headings for the rest of the 100
// past-run columns (columns 55 to 104 are never numbered). Throws as
// pastRunNumbering.
std::vector<std::string> detailedCardHeadings(const DayTables& tables, int raceSlot);

// The 105 column widths in pixels: 20, 20, 140, 90, 100, then 145 for each
// past-run column.
const std::array<int, kDetailedColumns>& detailedCardColumnWidths();

// Columns 0 to 4 of a runner row.
struct DetailedRunnerInfo {
  // Column 0: "%1d" of the bracket on its bracket colour, the digit black on
  // brackets 1 and 5 and white on the others.
  std::string bracket;
  Colour bracketBackground;
  Colour bracketDigit;
  // Column 1: "%2d" of the horse number, on the tool-tip background.
  std::string horseNumber;
  // Column 2, five lines: the first 18 bytes of the horse name (line 1);
  // sex and age, "%7d千円" of the period earnings and the blinkers mark
  // ("ﾌﾞﾘﾝ" or a blank) on line 2; "騎　手:" + jockey (line 3); weight
  // carried "%4.1fkg" and the apprentice text on line 4; "調教師:" + trainer
  // (line 5).
  std::string horseName;
  std::string sexAge;
  std::string earnings;
  std::string blinkers;
  std::string jockey;
  std::string weightCarried;
  std::string apprentice;
  std::string trainer;
  // Column 3: "全:", "短:", "中:", "長:" each followed by the count quadruple
  // "%2d-%2d-%2d-%2d" (overall, then distances 1-1600, 1601-2200, 2201- m).
  std::array<std::string, 4> distanceRecord;
  // Column 4: "芝全:", "芝重:", "ダ全:", "ダ重:" with the turf, turf heavy,
  // dirt and dirt heavy counts.
  std::array<std::string, 4> goingRecord;

  bool operator==(const DetailedRunnerInfo&) const = default;
};

// Columns 0-4 of a runner slot of a race. Throws orvalle::Error for a slot
// out of range.
DetailedRunnerInfo detailedRunnerInfo(const DayTables& tables, int raceSlot, int runnerSlot);

// The block of one past run.
struct PastRunCell {
  // A slot whose year is blank: light grey and nothing else.
  bool empty = true;
  Colour background = colours::kLightGrey;
  // Line 1: meeting (its second character), racecourse, "mm.dd", grade and
  // the race label. Line 2: runners "%2d頭", distance "%4dm", track, weather
  // and turf going. Line 3: jockey, weight carried "57.0kg", circled horse
  // number, popularity rank and "人". Line 4: race time "%4d", " 前:" and the
  // early-pace figure, " 後:" and the last 3 furlongs "%3d". Line 5: corner
  // positions as circled numbers ("－" when none), horse weight "480kg" (five
  // blanks when none) and "%7d千円" of the prize money and added prize money.
  std::array<std::string, 5> lines;
  // Drawn beside line 3: the finishing position "%2d" (one blank when 0), red
  // for 1, blue for 2 and 3, black otherwise.
  std::string finishingPosition;
  Colour finishingPositionColour = colours::kBlack;
  // Line 6: the prediction mark, "順当" in blue, "裏切" in dark red, "　"
  // in black.
  std::string mark;
  Colour markColour = colours::kBlack;

  bool operator==(const PastRunCell&) const = default;
};

// The block of past-run slot `pastRunSlot` (0-99, column 5 + slot) of a
// runner. Throws orvalle::Error for a slot out of range.
PastRunCell pastRunCell(const DayTables& tables, int raceSlot, int runnerSlot, int pastRunSlot);

// The race label of a past run: its short race name trimmed and without
// full-width blanks, or when that is empty the condition of the youngest age
// admitted: 1-99 the value x 100 and "下" ("500下"), 100 "1億下", 701 "新馬",
// 702 "未出走", 703 "未勝利", 999 "ｵｰﾌﾟﾝ", anything else one blank.
std::string pastRunRaceLabel(std::string_view pastRun);

}  // namespace orvalle::model
