#include "model/grid_view.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace orvalle::model {
namespace {

GridView smallGrid() {
  GridView grid;
  grid.headings = {"a", "b", "c"};
  grid.columnWidths = {10, 20, 30};
  grid.rows = {{"d", "e", "f"}};
  return grid;
}

CellStyle markedStyle(int row, int column, std::string_view text) {
  CellStyle style;
  if (text == "e") style.background = colours::kMagenta;
  style.leftAligned = row == 1 && column == 0;
  return style;
}

TEST(GridViewTest, CellsAreNumberedFromTheHeadingRow) {
  GridView grid = smallGrid();
  grid.rows.push_back({"g"});  // a short row reads empty cells
  EXPECT_EQ(grid.columnCount(), 3);
  EXPECT_EQ(grid.rowCount(), 3);
  EXPECT_EQ(grid.cell(0, 1), "b");
  EXPECT_EQ(grid.cell(1, 2), "f");
  EXPECT_EQ(grid.cell(2, 0), "g");
  EXPECT_EQ(grid.cell(2, 1), "");
  for (auto [row, column] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 3}}) {
    EXPECT_EQ(grid.cell(row, column), "") << row << "," << column;
  }
  EXPECT_EQ(GridView().rowCount(), 1);
  EXPECT_EQ(GridView().columnCount(), 0);
}

TEST(GridViewTest, CellStyleAppliesTheGridsRuleToTheCellText) {
  GridView grid = smallGrid();
  // Without a rule: the heading row silver, data cells white and centred.
  EXPECT_EQ(grid.cellStyle(0, 2), (CellStyle{colours::kSilver, colours::kGridFont, false}));
  EXPECT_EQ(grid.cellStyle(1, 2), CellStyle{});

  grid.style = markedStyle;
  EXPECT_EQ(grid.cellStyle(1, 1).background, colours::kMagenta);
  EXPECT_EQ(grid.cellStyle(0, 1).background, colours::kWhite);  // "b"
  EXPECT_TRUE(grid.cellStyle(1, 0).leftAligned);
  EXPECT_FALSE(grid.cellStyle(0, 0).leftAligned);
  // Outside the grid the rule is not asked.
  EXPECT_EQ(grid.cellStyle(2, 0), CellStyle{});
  EXPECT_EQ(grid.cellStyle(1, 3), CellStyle{});
}

TEST(GridViewTest, GridCopyTakesTheRangeCutToTheGrid) {
  const GridView grid = smallGrid();
  struct Case {
    CellRange range;
    std::string text;
  };
  const Case cases[] = {
      {{0, 0, 2, 1}, "H\r\na\tb\tc\r\nd\te\tf\r\n"},
      {{1, 1, 1, 1}, "H\r\ne\r\n"},
      {{1, 0, 9, 9}, "H\r\nb\tc\r\ne\tf\r\n"},  // reaches past: cut
      {{-3, -1, 0, 0}, "H\r\na\r\n"},
      {{3, 0, 5, 1}, ""},  // right of the grid
      {{0, 2, 2, 3}, ""},  // below it
      {{2, 0, 1, 1}, ""},  // reversed columns
      {{0, 1, 2, 0}, ""},  // reversed rows
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gridCopyText(grid, c.range, "H\r\n"), c.text)
        << c.range.left << "," << c.range.top << "," << c.range.right << "," << c.range.bottom;
  }
  EXPECT_EQ(gridCopyText({}, {0, 0, 0, 0}, "H"), "");
  const CellRange whole = wholeGrid(grid);
  EXPECT_EQ((std::array{whole.left, whole.top, whole.right, whole.bottom}),
            (std::array{0, 0, 2, 1}));
}

TEST(GridViewTest, ClipboardTextPutsTheCaptionsAboveTheWholeGrid) {
  const std::vector<std::string> captions = {"L1", "", "L3"};
  EXPECT_EQ(clipboardText(captions, smallGrid()), "L1\r\n\r\nL3\r\na\tb\tc\r\nd\te\tf\r\n");
  EXPECT_EQ(clipboardText({}, smallGrid()), "a\tb\tc\r\nd\te\tf\r\n");
}

}  // namespace
}  // namespace orvalle::model
