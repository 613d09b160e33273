#include "betting/combination_grids.h"

#include <span>

#include "store/cp932.h"
#include "store/fixed_width.h"

namespace orvalle::betting {
namespace {

namespace colours = model::colours;

// Columns of a grid: heading (UTF-8) and width in pixels.
struct Column {
  std::string_view heading;
  int width;
};
constexpr Column kQuinellaColumns[] = {{"", 10},         {"買い目", 60},   {"馬連結果", 60},
                                       {"馬連配当", 60}, {"ﾜｲﾄﾞ結果", 60}, {"ﾜｲﾄﾞ配当", 60}};
constexpr Column kSingleColumns[] = {{"", 10}, {"買い目", 60}, {"結果", 40}, {"配当", 60}};

const std::string& hitText() {
  static const std::string kHit = sj("的中");
  return kHit;
}

// Fills result column `resultColumn` and the payout column after it for the
// hit combinations; combination k + 1 stands in data row k (window row k + 1).
template <size_t N>
void fillHits(model::GridView& grid, const model::BetScores<N>& scores, int resultColumn) {
  for (int k = 0; k < static_cast<int>(N); ++k) {
    if (scores.hit[k] != 1) continue;
    auto& row = grid.rows[static_cast<size_t>(k)];
    row[static_cast<size_t>(resultColumn)] = hitText();
    row[static_cast<size_t>(resultColumn + 1)] = store::format("%8d", scores.payout[k]);
  }
}

template <size_t N>
void fillTexts(model::GridView& grid, const CheckedArray<std::string, N>& texts) {
  for (int k = 0; k < static_cast<int>(N); ++k) {
    if (!store::trim(texts[k]).empty()) grid.rows[static_cast<size_t>(k)][1] = texts[k];
  }
}

// The drawing rule of a grid whose result columns are `resultColumns`.
template <int... resultColumns>
model::CellStyle cellStyle(int row, int column, std::string_view text) {
  model::CellStyle style;
  if (row == 0 || column == 0) {
    style.background = colours::kSilver;
  } else if (column == 1) {
    style.background = colours::kPaleGreen;
  } else if ((false || ... || (column == resultColumns))) {
    style.background = text == hitText() ? colours::kMagenta : colours::kWhite;
  } else {
    style.background = colours::kPaleCyan;
  }
  return style;
}

}  // namespace

std::string_view combinationGridName(CombinationGridKind kind) {
  switch (kind) {
    case CombinationGridKind::kQuinella:
      return "StringGrid2";
    case CombinationGridKind::kExacta:
      return "StringGrid1";
    case CombinationGridKind::kTrio:
      break;
  }
  return "StringGrid27";
}

model::GridView combinationGrid(const model::RaceAnalysis& analysis, CombinationGridKind kind) {
  const bool quinella = kind == CombinationGridKind::kQuinella;
  const std::span<const Column> columns = quinella ? std::span<const Column>(kQuinellaColumns)
                                                   : std::span<const Column>(kSingleColumns);
  model::GridView grid;
  for (const Column& column : columns) {
    grid.headings.push_back(sj(column.heading));
    grid.columnWidths.push_back(column.width);
  }
  grid.rows.assign(kCombinationGridRows - 1, std::vector<std::string>(columns.size()));
  grid.style = quinella ? cellStyle<2, 4> : cellStyle<2>;
  const model::CombinationBlock& block = analysis.combinations;
  switch (kind) {
    case CombinationGridKind::kQuinella:
      fillTexts(grid, block.quinella);
      fillHits(grid, block.quinellaScores, 2);
      fillHits(grid, block.quinellaPlaceScores, 4);
      break;
    case CombinationGridKind::kExacta:
      fillTexts(grid, block.exacta);
      fillHits(grid, block.exactaScores, 2);
      break;
    case CombinationGridKind::kTrio:
      fillTexts(grid, block.trio);
      fillHits(grid, block.trioScores, 2);
      break;
  }
  return grid;
}

std::array<DayTallyLabel, 5> dayTallyLabels(model::TallyBetType type) {
  std::string_view suffix = "UR";
  switch (type) {
    case model::TallyBetType::kQuinella:
      break;
    case model::TallyBetType::kQuinellaPlace:
      suffix = "WD";
      break;
    case model::TallyBetType::kExacta:
      suffix = "UT";
      break;
    case model::TallyBetType::kTrio:
      suffix = "SRF";
      break;
  }
  auto name = [suffix](std::string_view field) {
    return std::string(field) + std::string(suffix) + "Label";
  };
  return {DayTallyLabel{name("RaceSu"), "レース数："}, DayTallyLabel{name("TekiSu"), "的中数："},
          DayTallyLabel{name("ToushiGaku"), "投資額："},
          DayTallyLabel{name("KaishuGaku"), "回収額："},
          DayTallyLabel{name("KaishuRitu"), "回収率："}};
}

std::string_view betTypeCaption(model::TallyBetType type) {
  switch (type) {
    case model::TallyBetType::kQuinella:
      return "馬連";
    case model::TallyBetType::kQuinellaPlace:
      return "ワイド";
    case model::TallyBetType::kExacta:
      return "馬単";
    case model::TallyBetType::kTrio:
      break;
  }
  return "三連複";
}

DayTallyTexts dayTallyTexts(const model::DayTally& tally) {
  DayTallyTexts texts;
  texts.races = store::format("%2d", tally.races);
  texts.stake = store::format("%8d", tally.stake);
  if (tally.stake >= 1) {
    texts.hits = store::format("%2d", tally.hits);
    texts.payoutReturn = store::format("%8d", tally.payoutReturn);
    texts.returnRate = store::format("%5.1f", 100.0 * tally.payoutReturn / tally.stake);
  }
  return texts;
}

}  // namespace orvalle::betting
