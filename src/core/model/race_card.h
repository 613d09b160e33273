#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/colours.h"
#include "model/day_tables.h"
#include "model/grid_view.h"

// The race card of a race (grid StringGrid4): one row of 27 cells per
// registered runner with its identity, its ratings from the comparisons, its
// predicted odds, its prediction outcomes and its official result; the four
// header lines above it, its sorts, its clipboard text and the colours it is
// drawn with. Every text is CP932.
namespace orvalle::model {

inline constexpr int kRaceCardColumns = 27;
inline constexpr int kRaceHeaderLines = 4;

using RaceCardCells = std::array<std::string, kRaceCardColumns>;

// Columns of the race card.
namespace race_card_column {
inline constexpr int kBracket = 0;
inline constexpr int kHorseNumber = 1;
inline constexpr int kHorseName = 2;
inline constexpr int kSexAge = 3;
inline constexpr int kJockey = 4;
inline constexpr int kWeightCarried = 5;
inline constexpr int kApprentice = 6;
inline constexpr int kTrainer = 7;
inline constexpr int kBlinkers = 8;
inline constexpr int kWinCount = 9;
inline constexpr int kWinCountReverseRank = 10;
inline constexpr int kLossCount = 11;
inline constexpr int kWinRate = 12;
inline constexpr int kWinRateRank = 13;
inline constexpr int kWinPoints = 14;
inline constexpr int kWinPointsReverseRank = 15;
inline constexpr int kLossPoints = 16;
inline constexpr int kPointWinRate = 17;
inline constexpr int kPointWinRateRank = 18;
inline constexpr int kPredictedOdds = 19;
inline constexpr int kPredictedOddsRank = 20;
inline constexpr int kExpectedWins = 21;
inline constexpr int kUpsets = 22;
inline constexpr int kUpsetRate = 23;
inline constexpr int kFinishingPosition = 24;
inline constexpr int kRaceTime = 25;
inline constexpr int kFinalOdds = 26;
}  // namespace race_card_column

// The heading row: "枠", "馬", "馬名", ..., "確ｵｯｽﾞ".
const RaceCardCells& raceCardHeadings();

// Column widths in pixels, for the GUI and printing.
const std::array<int, kRaceCardColumns>& raceCardColumnWidths();

// One runner row: the runner slot it was built from and its cells.
struct RaceCardRow {
  int runnerSlot = 0;
  RaceCardCells cells;

  bool operator==(const RaceCardRow&) const = default;
};

// The row of a runner slot of a race: bracket and horse number "%2d", name
// trimmed without full-width blanks, sex and age, jockey, weight carried
// "57.0", apprentice, trainer, blinkers mark; then the ratings, odds,
// outcomes and result in their formats, each rating, count or rank below 1
// (a rate below 0, odds not above 0, a time or final odds of 0) in its empty
// form, so the race card never shows a 0 in columns 9 to 24. Throws
// orvalle::Error for a slot out of range.
RaceCardRow raceCardRow(const DayTables& tables, int raceSlot, int runnerSlot);

// The rows of the registered runners of a race (RA registered runners), in
// horse-number order. Throws orvalle::Error when the count passes 18.
std::vector<RaceCardRow> raceCardRows(const DayTables& tables, int raceSlot);

// The sorts of the race card, by their buttons.
enum class RaceCardSort {
  kHorseNumber,        // "馬番"
  kWinCount,           // "勝数"
  kLossCount,          // "負数"
  kWinRate,            // "勝率"
  kWinPoints,          // "勝ﾎﾟｲﾝﾄ"
  kLossPoints,         // "負ﾎﾟｲﾝﾄ"
  kPointWinRate,       // "Pt勝率"
  kOddsRank,           // "ｵｯｽﾞ順位"
  kFinishingPosition,  // "着順"
};
inline constexpr std::array<RaceCardSort, 9> kRaceCardSorts = {
    RaceCardSort::kHorseNumber,  RaceCardSort::kWinCount,  RaceCardSort::kLossCount,
    RaceCardSort::kWinRate,      RaceCardSort::kWinPoints, RaceCardSort::kLossPoints,
    RaceCardSort::kPointWinRate, RaceCardSort::kOddsRank,  RaceCardSort::kFinishingPosition};

// The columns a sort orders by, and their directions.
struct RaceCardSortKeys {
  int primaryColumn = 0;
  bool primaryDescending = false;
  int secondaryColumn = 0;
  bool secondaryDescending = false;

  bool operator==(const RaceCardSortKeys&) const = default;
};
RaceCardSortKeys raceCardSortKeys(RaceCardSort sort);

// The caption of a sort's button (CP932), e.g. "Pt勝率".
std::string raceCardSortCaption(RaceCardSort sort);

// Sorts runner rows by the sort's primary column, then its secondary column,
// comparing cell texts by byte value (a blank sorts before a digit, "　"
// after every digit). Rows equal in both keys keep horse-number order.
void sortRaceCard(std::vector<RaceCardRow>& rows, RaceCardSort sort);

// The four header lines of a race (Label1-Label4) from its RA record:
// date, weekday, racecourse, meeting, day, race number and start time; the
// graded running ("第n回 ") and race name; runners, distance, track, grade,
// race type and race symbols; weight type and the age conditions.
std::array<std::string, kRaceHeaderLines> raceHeaderLines(std::string_view raRecord);

// The message above the comparison tables (ShukeiLabel): whether the race
// comparison has run for the race.
std::string comparedMessage(bool compared);

// Everything the race card of a race shows, its rows sorted.
struct RaceCard {
  int raceSlot = 0;
  std::array<std::string, kRaceHeaderLines> header;
  std::vector<RaceCardRow> rows;
  std::string comparedMessage;
};
RaceCard raceCard(const DayTables& tables, int raceSlot, RaceCardSort sort);

// The race card grid (StringGrid4) of rows in their order: the 27 headings,
// the column widths and its drawing rule. Heading row silver. Background:
// column 0 the bracket colour of the cell's number; column 1 the tool-tip
// background; columns 19-20 light yellow; columns 24-26 light cyan; others
// white. Text: in the rank columns 10, 13, 15, 18, 20 and 24 red for the
// value 1, blue for 2 and 3, otherwise the grid's font colour. The horse
// names (column 2) are drawn left-aligned, every other cell centred.
GridView raceCardGrid(std::span<const RaceCardRow> rows);

// The clipboard text of a race card: the header lines joined by CR LF, CR LF,
// then every row of the grid from the heading row, cells separated by TAB,
// each row ended by CR LF.
std::string raceCardClipboardText(const RaceCard& card);

// The two horses picked on the race card for the two-horse and head-to-head
// comparisons: the names in Edit1 and Edit2, the weights carried beside them
// and the horses' registration numbers (comparison horses A and B).
class ComparisonPicker {
 public:
  // A click on a runner row: the first horse clicked while Edit1 is blank
  // becomes horse A; a click on another horse than the one in Edit1 becomes
  // horse B (a third horse replaces B); a second click on horse A does
  // nothing.
  void pick(std::string_view horseName, std::string_view weightCarried,
            std::string_view registrationNumber);
  // The button "クリア": empties Edit1 and Edit2; horses A and B and the
  // weights keep their values until the next pick.
  void clear();

  const std::string& edit1() const { return m_edit1; }
  const std::string& edit2() const { return m_edit2; }
  const std::string& weightA() const { return m_weightA; }
  const std::string& weightB() const { return m_weightB; }
  const std::string& horseA() const { return m_horseA; }
  const std::string& horseB() const { return m_horseB; }

 private:
  std::string m_edit1, m_edit2, m_weightA, m_weightB, m_horseA, m_horseB;
};

// A click on a race card row: picks its horse name (column 2), its weight
// carried (column 5) and the registration number of the runner whose horse
// number is in column 1. Throws orvalle::Error when that horse number is
// outside 1-18.
void pickFromRaceCard(ComparisonPicker& picker, const DayTables& tables, int raceSlot,
                      const RaceCardRow& row);

}  // namespace orvalle::model
