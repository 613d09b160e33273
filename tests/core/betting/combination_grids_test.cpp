#include "betting/combination_grids.h"

#include <gtest/gtest.h>

#include "store/cp932.h"

namespace orvalle::betting {
namespace {

using Row = std::vector<std::string>;

TEST(CombinationGridsTest, ARaceWithoutCombinationsShowsEmptyGrids) {
  model::RaceAnalysis race;
  const model::GridView quinella = combinationGrid(race, CombinationGridKind::kQuinella);
  ASSERT_EQ(quinella.rowCount(), 13);
  EXPECT_EQ(quinella.headings, (Row{"", sj("買い目"), sj("馬連結果"), sj("馬連配当"),
                                    sj("ﾜｲﾄﾞ結果"), sj("ﾜｲﾄﾞ配当")}));
  EXPECT_EQ(quinella.columnWidths, (std::vector<int>{10, 60, 60, 60, 60, 60}));
  const model::GridView trio = combinationGrid(race, CombinationGridKind::kTrio);
  EXPECT_EQ(trio.headings, (Row{"", sj("買い目"), sj("結果"), sj("配当")}));
  for (const model::GridView& grid : {quinella, trio}) {
    for (size_t r = 0; r < grid.rows.size(); ++r) {
      EXPECT_EQ(grid.rows[r], Row(grid.headings.size())) << "row " << r + 1;
    }
  }
  EXPECT_EQ(combinationGridName(CombinationGridKind::kExacta), "StringGrid1");
  const model::GridView exacta = combinationGrid(race, CombinationGridKind::kExacta);
  EXPECT_EQ(exacta.columnWidths, (std::vector<int>{10, 60, 40, 60}));
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

  const model::GridView quinella = combinationGrid(race, CombinationGridKind::kQuinella);
  EXPECT_EQ(quinella.rows[0], (Row{"", " 1- 2", sj("的中"), "   12340", "", ""}));
  // Hit only as quinella place: columns 4 and 5, columns 2 and 3 empty.
  EXPECT_EQ(quinella.rows[1], (Row{"", " 1- 3", "", "", sj("的中"), "     450"}));
  EXPECT_EQ(quinella.rows[2], Row(6));
  EXPECT_EQ(quinella.cell(4, 1), " 1- 5");
  const model::GridView trio = combinationGrid(race, CombinationGridKind::kTrio);
  EXPECT_EQ(trio.rows[11], (Row{"", " 1- 2- 3", sj("的中"), "123456789"}));
}

TEST(CombinationGridsTest, CellColours) {
  using model::colours::kMagenta;
  using model::colours::kSilver;
  using model::colours::kWhite;
  model::RaceAnalysis race;
  const model::GridView::Style quinella =
      combinationGrid(race, CombinationGridKind::kQuinella).style;
  const model::GridView::Style exacta = combinationGrid(race, CombinationGridKind::kExacta).style;
  ASSERT_NE(quinella, nullptr);
  ASSERT_NE(exacta, nullptr);
  auto colour = [](model::GridView::Style style, int row, int column, std::string_view text) {
    const model::CellStyle cell = style(row, column, text);
    EXPECT_FALSE(cell.leftAligned);
    return cell.background;
  };
  const std::string hit = sj("的中");
  EXPECT_EQ(colour(quinella, 0, 2, hit), kSilver);
  EXPECT_EQ(colour(quinella, 3, 0, ""), kSilver);
  EXPECT_EQ(colour(quinella, 3, 1, " 1- 2"), model::Colour::fromRgb(0xA4FFA4));
  EXPECT_EQ(colour(quinella, 3, 4, hit), kMagenta);
  EXPECT_EQ(colour(quinella, 3, 4, ""), kWhite);
  EXPECT_EQ(colour(quinella, 3, 5, "450"), model::Colour::fromRgb(0xBFFFFF));
  EXPECT_EQ(colour(exacta, 1, 2, hit), kMagenta);
  EXPECT_EQ(colour(exacta, 1, 3, "100"), model::Colour::fromRgb(0xBFFFFF));
  // Column 4 is a result column of the quinella grid only.
  EXPECT_EQ(colour(exacta, 1, 4, hit), model::Colour::fromRgb(0xBFFFFF));
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
