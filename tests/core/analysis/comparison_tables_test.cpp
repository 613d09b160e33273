#include "analysis/comparison_tables.h"

#include <gtest/gtest.h>

#include <memory>

#include "analysis_test_support.h"
#include "store/cp932.h"
#include "store/pair_numbers.h"

namespace orvalle::analysis {
namespace {

namespace colours = model::colours;
using model::PairTable;

class ComparisonTablesTest : public ::testing::Test {
 protected:
  ComparisonTablesTest() : m_tables(std::make_unique<model::DayTables>()) {
    setTestRace(*m_tables, 2, 20240301,
                {{"アルファ", 550, "2020000001"},
                 {"ベータ　ワン", 560, "2020000002"},
                 {"ガンマ", 570, "2020000003"}});
    model::RaceAnalysis& analysis = m_tables->analysis(2);
    auto set = [&](int i, int j, std::initializer_list<std::pair<PairTable, int>> values) {
      for (auto [table, value] : values)
        analysis.pair(table, store::codes::pairNumber(i, j)) = value;
    };
    set(1, 2,
        {{PairTable::kComparisonCount, 12},
         {PairTable::kFirstBetter, 7},
         {PairTable::kSecondBetter, 5},
         {PairTable::kFirstOwnMinus, 1},
         {PairTable::kFirstTotal, 8},
         {PairTable::kSecondTotal, 5},
         {PairTable::kFirstWon, 1},
         {PairTable::kDirect, 2}});
    set(1, 3,
        {{PairTable::kSecondWon, 1},
         {PairTable::kSecondTotal, 1},
         {PairTable::kSecondOwnMinus, 1},
         {PairTable::kComparisonCount, 1}});
  }
  std::unique_ptr<model::DayTables> m_tables;
};

TEST_F(ComparisonTablesTest, DetailGridHasOneRowPerPair) {
  model::GridView grid = comparisonDetailGrid(*m_tables, 2);
  ASSERT_EQ(grid.columnCount(), 15);
  EXPECT_EQ(grid.headings[13], sj("比較数"));
  EXPECT_EQ(grid.headings[14], sj("直接対決"));
  EXPECT_EQ(grid.columnWidths[2], 105);
  ASSERT_EQ(grid.rows.size(), 3u);
  const std::vector<std::string> first = {
      "",    " 1",  sj("アルファ"), "  7", "  1", "  8", sj(" ○"), " 2", sj("ベータワン"),
      "  5", "  0", "  5",          "",    " 12", "  2"};
  EXPECT_EQ(grid.rows[0], first);
  EXPECT_EQ(grid.cell(2, 7), " 3");
  EXPECT_EQ(grid.cell(2, 6), "");
  EXPECT_EQ(grid.cell(2, 12), sj(" ○"));
  EXPECT_EQ(grid.cell(3, 1), " 2");
  EXPECT_EQ(grid.cell(3, 13), "  0");

  const model::GridView::Style style = grid.style;
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style(2, 0, "").background, colours::kSilver);
  EXPECT_EQ(style(1, 7, " 3").background, colours::kGreenYellow);
  EXPECT_TRUE(style(1, 8, "x").leftAligned);
  EXPECT_EQ(style(1, 6, sj(" ○")).background, colours::kMagenta);
  EXPECT_EQ(style(1, 12, "").background, colours::kWhite);
  EXPECT_EQ(style(1, 14, "  2").background, colours::kPink);
  EXPECT_EQ(style(1, 4, "  1").background, colours::kWhite);
  // The grid's own cells: the first pair's winner mark, the second's none.
  EXPECT_EQ(grid.cellStyle(1, 6).background, colours::kMagenta);
  EXPECT_EQ(grid.cellStyle(2, 6).background, colours::kWhite);
}

TEST_F(ComparisonTablesTest, ResultGridReadsAsEachHorsesResults) {
  model::GridView grid = comparisonResultGrid(*m_tables, 2);
  const std::vector<std::string> header = {"", " 1", " 2", " 3"};
  EXPECT_EQ(grid.headings, header);
  EXPECT_EQ(grid.columnWidths, std::vector<int>(4, 30));
  const std::vector<std::vector<std::string>> rows = {
      {" 1", "", sj("○"), sj("×")},
      {" 2", sj("×"), "", ""},
      {" 3", sj("○"), "", ""},
  };
  EXPECT_EQ(grid.rows, rows);
  EXPECT_EQ(grid.cellStyle(2, 2).background, colours::kBlack);
  EXPECT_EQ(grid.cellStyle(1, 2).background, colours::kMagenta);  // "○"
  EXPECT_EQ(grid.cellStyle(2, 1).background, colours::kGrey);     // "×"
  EXPECT_EQ(grid.cellStyle(3, 0).background, colours::kSilver);
  EXPECT_EQ(grid.cellStyle(0, 3).background, colours::kSilver);

  const std::vector<std::string> labels = {"L1", "L2", "L3", "L4"};
  EXPECT_EQ(model::clipboardText(labels, grid),
            "L1\r\nL2\r\nL3\r\nL4\r\n\t 1\t 2\t 3\r\n 1\t\t" + sj("○") + "\t" + sj("×") +
                "\r\n 2\t" + sj("×") + "\t\t\r\n 3\t" + sj("○") + "\t\t\r\n");
}

TEST_F(ComparisonTablesTest, ARaceWithoutRunnersHasNoRows) {
  setTestRace(*m_tables, 4, 20240301, {});
  EXPECT_TRUE(comparisonDetailGrid(*m_tables, 4).rows.empty());
  model::GridView grid = comparisonResultGrid(*m_tables, 4);
  EXPECT_TRUE(grid.rows.empty());
  EXPECT_EQ(grid.headings.size(), 1u);
}

}  // namespace
}  // namespace orvalle::analysis
