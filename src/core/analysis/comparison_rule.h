#pragma once

#include <optional>
#include <string>
#include <string_view>

// The rating rule shared by the two-horse, head-to-head and race
// comparisons. Margins are exact integers: times in tenths of a second,
// weights carried in tenths of a kilogram, margins in hundredths of a second.
// The weight correction is 0.2 s per kilogram, in the past run (a horse that
// carried more than the opponent gains) and today (the horse that carries
// more than the other gains).
namespace orvalle::analysis {

// A four-digit race time, one digit of minutes m and three of tenths SSS, in
// tenths of a second: m x 600 + SSS ("1345" is 1:34.5, 945 tenths). Zeros,
// blanks, junk or a negative value give 0 (no time).
int raceTimeInTenths(std::string_view raceTime);

// Today's weight carried as the race card shows it ("55.0", kilograms with
// one decimal) in tenths of a kilogram, rounded to the nearest tenth. Nullopt
// when the text is blank or not a decimal number.
std::optional<int> shownWeightInTenths(std::string_view shownWeight);

// The margins of one side of a comparison row: the compared horse's own time
// and weight in its past run, the common opponent's time and weight in the
// same run, and today's weights of the compared horse and of the other horse
// of the pair. A positive margin means the compared horse finished ahead.
struct SideMargins {
  int raw = 0;        // tenths: opponent's time minus own time
  int corrected = 0;  // hundredths: 100 M = 10 raw - 2 (opponent weight - own weight)
  int adjusted = 0;   // hundredths: 100 S = 100 M - 2 (other's weight today - own weight today)

  bool operator==(const SideMargins&) const = default;
};

// The margins of one side. When either time is 0 (no time recorded) the
// margin is not formed from it: raw and corrected margins are 0 and the
// adjusted margin keeps only today's weight term.
SideMargins sideMargins(int ownTime, int ownWeight, int opponentTime, int opponentWeight,
                        int ownWeightToday, int otherWeightToday);

// The weight-corrected margin of a side in hundredths, as sideMargins gives
// it: the part that does not depend on today's weights.
inline int correctedMargin(int ownTime, int ownWeight, int opponentTime, int opponentWeight) {
  if (ownTime == 0 || opponentTime == 0) return 0;
  return 10 * (opponentTime - ownTime) - 2 * (opponentWeight - ownWeight);
}

// Today's weight term of a side's adjusted margin, in hundredths.
inline int todayWeightTerm(int ownWeightToday, int otherWeightToday) {
  return -2 * (otherWeightToday - ownWeightToday);
}

// What one comparison row counts for, from the adjusted margins SA (first
// horse) and SB (second horse): the better side (none on an exact tie) and
// the own-minus point of a side that did not lose to the opponent while the
// other did (zero counts as not losing).
struct RowDecision {
  bool firstBetter = false;
  bool secondBetter = false;
  bool firstOwnMinus = false;
  bool secondOwnMinus = false;

  bool operator==(const RowDecision&) const = default;
};
RowDecision decideRow(int firstAdjusted, int secondAdjusted);

// A margin in hundredths as shown, "%4.1f" of the value / 100.
std::string marginText(int hundredths);
// A raw margin in tenths as shown, "%4.1f" of the value / 10.
std::string rawMarginText(int tenths);

// True when a name is empty after trimming.
bool isBlankName(std::string_view name);

}  // namespace orvalle::analysis
