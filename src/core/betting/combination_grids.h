#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/day_tables.h"
#include "model/grid_view.h"

namespace orvalle::betting {

// The three combination grids of the tab "買い目", as data for the GUI:
// "馬連・ワイド" (StringGrid2), "馬単" (StringGrid1), "三連複" (StringGrid27).
enum class CombinationGridKind { kQuinella, kExacta, kTrio };

// Rows of every grid: the heading row and 12 rows; row height 14 pixels.
inline constexpr int kCombinationGridRows = 13;
inline constexpr int kCombinationGridRowHeight = 14;

// The object name of a grid ("StringGrid2", "StringGrid1", "StringGrid27").
std::string_view combinationGridName(CombinationGridKind kind);

// The grid of one race: the CP932 headings and widths of its columns,
// StringGrid2 "", "買い目", "馬連結果", "馬連配当", "ﾜｲﾄﾞ結果", "ﾜｲﾄﾞ配当"
// (10, 60, 60, 60, 60, 60); StringGrid1 and StringGrid27 "", "買い目",
// "結果", "配当" (10, 60, 40, 60); then 12 data rows. Row k (1..12) holds
// combination k of the race when it is not blank: column 1 its text; on a
// hit the result column "的中" and the payout column the payout "%8d"
// (StringGrid2: columns 2 and 3 for the quinella, 4 and 5 for the quinella
// place). Every other cell is empty; combination k always stands in row k.
// Drawn with the heading row and column 0 silver, the combination column
// pale green (A4FFA4), a result column magenta when it holds "的中" and white
// otherwise, a payout column pale cyan (BFFFFF); every text centred.
model::GridView combinationGrid(const model::RaceAnalysis& analysis, CombinationGridKind kind);

// The labels of the day tallies of one bet type, as data for the GUI.
// Captions: "レース数：", "的中数：", "投資額：", "回収額：", "回収率："
// (UTF-8); label names are the field names with the bet type's suffix:
// "RaceSu", "TekiSu", "ToushiGaku", "KaishuGaku", "KaishuRitu" + "UR"
// (quinella), "WD" (quinella place), "UT" (exacta), "SRF" (trio) + "Label".
// The texts are dayTallyTexts (below) in the same order.
struct DayTallyLabel {
  std::string name;
  std::string_view caption;
};
std::array<DayTallyLabel, 5> dayTallyLabels(model::TallyBetType type);

// The caption of a bet type's tally set (UTF-8): "馬連", "ワイド", "馬単",
// "三連複".
std::string_view betTypeCaption(model::TallyBetType type);

// The texts of the day-tally labels of one bet type: races "%2d", hits "%2d"
// and return "%8d" (empty while the stake is below 1), stake "%8d", return
// rate return / stake x 100 "%5.1f" (empty when the stake is 0). UTF-8 (ASCII).
struct DayTallyTexts {
  std::string races;
  std::string hits;
  std::string stake;
  std::string payoutReturn;
  std::string returnRate;

  bool operator==(const DayTallyTexts&) const = default;
};
DayTallyTexts dayTallyTexts(const model::DayTally& tally);

}  // namespace orvalle::betting
