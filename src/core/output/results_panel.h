#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store/payout_block.h"

// The results tab "ﾚｰｽ結果": the official results of the displayed race as
// texts of boxes, one group of boxes per bet type with three rows (result,
// popularity, payout), and where the boxes stand.
namespace orvalle::output {

// The three rows of a group.
enum class ResultsRow { kResult, kPopularity, kPayout };

// The texts of one entry of a group (ASCII): the combination or horse
// number, the popularity rank "%2d" and the payout "%8d", or three empty
// texts for an entry that is not shown.
struct ResultsEntryTexts {
  std::string result;
  std::string popularity;
  std::string payout;

  bool shown() const { return !result.empty(); }
  bool operator==(const ResultsEntryTexts&) const = default;
};

// One group of the tab: its bet type and its entries in payout-block order
// (PayoutBlock::count(type) of them).
struct ResultsGroupTexts {
  store::BetType type = store::BetType::kWin;
  std::vector<ResultsEntryTexts> entries;

  bool operator==(const ResultsGroupTexts&) const = default;
};

// The bet types of the tab from top to bottom: win, place, bracket
// quinella, quinella, quinella place, exacta, trio.
inline constexpr int kResultsGroupCount = 7;

// The texts of the whole tab for a race's payout block, groups in tab order:
// - win and place: an entry whose horse number is not 0 shows the number
//   "%2d", the popularity "%2d" and the payout "%8d";
// - bracket quinella, quinella and quinella place: an entry whose
//   combination text is neither blank nor " 0- 0" shows the text, the
//   popularity "%2d" and the payout "%8d";
// - exacta and trio: the same, the zero text being " 0- 0" and " 0- 0- 0";
// every other entry shows three empty boxes. A race without payouts (an
// empty block) shows empty boxes in every group.
std::array<ResultsGroupTexts, kResultsGroupCount> resultsPanelTexts(
    const store::PayoutBlock& payouts);

// The texts of the group of one bet type (see resultsPanelTexts).
ResultsGroupTexts resultsGroupTexts(const store::PayoutBlock& payouts, store::BetType type);

// Where the boxes of a group stand, in pixels: the group caption at `top`,
// its rows 12, 27 and 42 below it, entry k (1-based) at 43 + 64 x (k - 1)
// from the left; every box 60 x 15.
struct ResultsGroupLayout {
  store::BetType type;
  int top;
  int entries;
};
inline constexpr int kResultsRowOffsets[] = {12, 27, 42};
inline constexpr int kResultsBoxLeft = 43;
inline constexpr int kResultsBoxStride = 64;
inline constexpr int kResultsBoxWidth = 60;
inline constexpr int kResultsBoxHeight = 15;
inline constexpr ResultsGroupLayout kResultsGroupLayouts[kResultsGroupCount] = {
    {store::BetType::kWin, 12, 3},
    {store::BetType::kPlace, 78, 5},
    {store::BetType::kBracketQuinella, 142, 3},
    {store::BetType::kQuinella, 208, 3},
    {store::BetType::kQuinellaPlace, 272, 7},
    {store::BetType::kExacta, 334, 6},
    {store::BetType::kTrio, 396, 3},
};

// The group caption of a bet type (CP932): "単勝", "複勝", "枠連", "馬連",
// "ﾜｲﾄﾞ", "馬単", "三連複".
const std::string& resultsGroupCaption(store::BetType type);

// The caption beside a row (CP932): "結果：", "人気：", "配当：".
const std::string& resultsRowCaption(ResultsRow row);

// The object name of the box of entry `entry` (0-based) in `row` of a
// group, by which the window and its tests find it. The win to quinella
// place groups use the 3-D labels numbered row by row, each row's caption
// label first: win "Label3D19" (result caption), "Label3D20".."Label3D22"
// (results), "Label3D23" (popularity caption), ... "Label3D30"; place from
// "Label3D32", bracket quinella from "Label3D51", quinella from "Label3D64",
// quinella place from "Label3D77" to "Label3D100". Exacta "UTLabel1",
// "UTNLabel1", "UTHLabel1" and trio "SFLabel1", "SFNLabel1", "SFHLabel1"
// (numbered from 1). Throws orvalle::Error for an entry the group does not
// have.
std::string resultsBoxName(store::BetType type, ResultsRow row, int entry);

// The object name of the caption label of a row of the win to quinella
// place groups ("Label3D19", "Label3D23", "Label3D27" for win); empty for
// exacta and trio, whose row captions are plain labels.
std::string resultsRowCaptionName(store::BetType type, ResultsRow row);

}  // namespace orvalle::output
