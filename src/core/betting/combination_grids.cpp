#include "betting/combination_grids.h"

#include "store/cp932.h"
#include "store/fixed_width.h"

namespace orvalle::betting {
namespace {

constexpr model::Colour kLightGreen = model::Colour::fromRgb(0xA4FFA4);
constexpr model::Colour kPayoutCyan = model::Colour::fromRgb(0xBFFFFF);

const std::string& hitText() {
  static const std::string kHit = sj("的中");
  return kHit;
}

// Fills result column `resultColumn` and the payout column after it for the
// hit combinations.
template <size_t N>
void fillHits(model::TextGrid& grid, const model::BetScores<N>& scores, int resultColumn) {
  for (int k = 0; k < static_cast<int>(N); ++k) {
    if (scores.hit[k] != 1) continue;
    auto& row = grid[static_cast<size_t>(k + 1)];
    row[static_cast<size_t>(resultColumn)] = hitText();
    row[static_cast<size_t>(resultColumn + 1)] = store::format("%8d", scores.payout[k]);
  }
}

template <size_t N>
void fillTexts(model::TextGrid& grid, const CheckedArray<std::string, N>& texts) {
  for (int k = 0; k < static_cast<int>(N); ++k) {
    if (!store::trim(texts[k]).empty()) grid[static_cast<size_t>(k + 1)][1] = texts[k];
  }
}

bool isResultColumn(CombinationGridKind kind, int column) {
  return column == 2 || (kind == CombinationGridKind::kQuinella && column == 4);
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

std::vector<GridColumn> combinationGridColumns(CombinationGridKind kind) {
  if (kind == CombinationGridKind::kQuinella) {
    return {{"", 10},         {"買い目", 60},   {"馬連結果", 60},
            {"馬連配当", 60}, {"ﾜｲﾄﾞ結果", 60}, {"ﾜｲﾄﾞ配当", 60}};
  }
  return {{"", 10}, {"買い目", 60}, {"結果", 40}, {"配当", 60}};
}

model::TextGrid combinationGrid(const model::RaceAnalysis& analysis, CombinationGridKind kind) {
  const std::vector<GridColumn> columns = combinationGridColumns(kind);
  model::TextGrid grid(kCombinationGridRows, std::vector<std::string>(columns.size()));
  for (size_t c = 0; c < columns.size(); ++c) grid[0][c] = sj(columns[c].heading);
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

model::Colour combinationCellColour(CombinationGridKind kind, int column, int row,
                                    std::string_view cp932Text) {
  if (row == 0 || column == 0) return model::colours::kSilver;
  if (column == 1) return kLightGreen;
  if (isResultColumn(kind, column)) {
    return cp932Text == hitText() ? model::colours::kMagenta : model::colours::kWhite;
  }
  return kPayoutCyan;
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

}  // namespace orvalle::betting
