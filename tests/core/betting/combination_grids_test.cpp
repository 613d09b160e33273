#include "betting/combination_grids.h"

#include <gtest/gtest.h>

#include "store/cp932.h"

namespace orvalle::betting {
namespace {

using Row = std::vector<std::string>;

TEST(CombinationGridsTest, ARaceWithoutCombinationsShowsEmptyGrids) {
  model::RaceAnalysis race;
  const model::TextGrid quinella = combinationGrid(race, CombinationGridKind::kQuinella);
  ASSERT_EQ(quinella.size(), 13u);
  EXPECT_EQ(quinella[0], (Row{"", sj("買い目"), sj("馬連結果"), sj("馬連配当"), sj("ﾜｲﾄﾞ結果"),
                              sj("ﾜｲﾄﾞ配当")}));
  const model::TextGrid trio = combinationGrid(race, CombinationGridKind::kTrio);
  EXPECT_EQ(trio[0], (Row{"", sj("買い目"), sj("結果"), sj("配当")}));
  for (const model::TextGrid& grid : {quinella, trio}) {
    for (size_t r = 1; r < grid.size(); ++r) {
      EXPECT_EQ(grid[r], Row(grid[0].size())) << "row " << r;
    }
  }
  EXPECT_EQ(combinationGridName(CombinationGridKind::kExacta), "StringGrid1");
  EXPECT_EQ(combinationGridColumns(CombinationGridKind::kExacta)[2].width, 40);
}

TEST(CombinationGridsTest, HitsShowTheirPayoutInTheirRow) {
  model::RaceAnalysis race;
  model::CombinationBlock& block = race.combinations;
  block.quinella[0] = " 1- 2";
  block.quinella[1] = " 1- 3";
  block.quinella[3] = " 1- 5";  // combination 4 stays in row 4
  block.quinellaPlaceScores.hit[1] = 1;
  block.quinellaPlaceScores.payout[1] = 450;
  block.quinellaScores.hit[0] = 1;
  block.quinellaScores.payout[0] = 12340;
  block.trio[11] = " 1- 2- 3";
  block.trioScores.hit[11] = 1;
  block.trioScores.payout[11] = 123456789;

  const model::TextGrid quinella = combinationGrid(race, CombinationGridKind::kQuinella);
  EXPECT_EQ(quinella[1], (Row{"", " 1- 2", sj("的中"), "   12340", "", ""}));
  // Hit only as quinella place: columns 4 and 5, columns 2 and 3 empty.
  EXPECT_EQ(quinella[2], (Row{"", " 1- 3", "", "", sj("的中"), "     450"}));
  EXPECT_EQ(quinella[3], Row(6));
  EXPECT_EQ(quinella[4][1], " 1- 5");
  const model::TextGrid trio = combinationGrid(race, CombinationGridKind::kTrio);
  EXPECT_EQ(trio[12], (Row{"", " 1- 2- 3", sj("的中"), "123456789"}));
}

TEST(CombinationGridsTest, CellColours) {
  using model::colours::kMagenta;
  using model::colours::kSilver;
  using model::colours::kWhite;
  const auto quinella = CombinationGridKind::kQuinella;
  const auto exacta = CombinationGridKind::kExacta;
  const std::string hit = sj("的中");
  EXPECT_EQ(combinationCellColour(quinella, 2, 0, hit), kSilver);
  EXPECT_EQ(combinationCellColour(quinella, 0, 3, ""), kSilver);
  EXPECT_EQ(combinationCellColour(quinella, 1, 3, " 1- 2"), model::Colour::fromRgb(0xA4FFA4));
  EXPECT_EQ(combinationCellColour(quinella, 4, 3, hit), kMagenta);
  EXPECT_EQ(combinationCellColour(quinella, 4, 3, ""), kWhite);
  EXPECT_EQ(combinationCellColour(quinella, 5, 3, "450"), model::Colour::fromRgb(0xBFFFFF));
  EXPECT_EQ(combinationCellColour(exacta, 2, 1, hit), kMagenta);
  EXPECT_EQ(combinationCellColour(exacta, 3, 1, "100"), model::Colour::fromRgb(0xBFFFFF));
}

TEST(CombinationGridsTest, DayTallyLabels) {
  const auto trio = dayTallyLabels(model::TallyBetType::kTrio);
  EXPECT_EQ(trio[4].name, "KaishuRituSRFLabel");
  EXPECT_EQ(trio[4].caption, "回収率：");
  EXPECT_EQ(dayTallyLabels(model::TallyBetType::kQuinellaPlace)[0].name, "RaceSuWDLabel");
  EXPECT_EQ(dayTallyLabels(model::TallyBetType::kQuinella)[1].name, "TekiSuURLabel");
  EXPECT_EQ(betTypeCaption(model::TallyBetType::kExacta), "馬単");
}

}  // namespace
}  // namespace orvalle::betting
