#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/colours.h"

// The one form in which every grid of the program reaches the window, the
// clipboard and the command-line tool: its heading row, column widths, data
// rows and the rule it is drawn with. Rows are numbered as the window numbers
// them: row 0 is the heading row, the data rows follow from row 1.
namespace orvalle::model {

// How one cell is drawn: background, text colour and alignment (the text is
// drawn two pixels below the cell top in every grid).
struct CellStyle {
  Colour background = colours::kWhite;
  Colour text = colours::kGridFont;
  bool leftAligned = false;  // else centred

  bool operator==(const CellStyle&) const = default;
};

// A grid as the window shows it and the clipboard takes it: the heading row,
// the column widths in pixels at 96 dpi, the data rows (CP932 cells, each row
// headings.size() cells) and how each cell is drawn.
struct GridView {
  // The drawing rule of a grid: the style of the cell in `row` (0 = heading
  // row) and `column` holding `text`.
  using Style = CellStyle (*)(int row, int column, std::string_view text);

  std::vector<std::string> headings;           // row 0
  std::vector<int> columnWidths;               // one per column
  std::vector<std::vector<std::string>> rows;  // rows 1.. (data)
  Style style = nullptr;                       // nullptr: heading row silver, cells white, centred

  // The number of columns: one per heading.
  int columnCount() const;
  // The data rows plus the heading row.
  int rowCount() const;
  // The text of a cell, row 0 being the heading row; the empty text outside
  // the grid (and for a missing cell of a short data row).
  std::string_view cell(int row, int column) const;
  // How a cell is drawn, row 0 being the heading row: the grid's style
  // applied to the cell's text. A cell outside the grid is a plain white
  // centred cell.
  CellStyle cellStyle(int row, int column) const;
};

// A block of cells, columns `left` to `right` and rows `top` to `bottom`,
// both ends included; row 0 is the heading row.
struct CellRange {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The range of every cell of a grid, heading row included.
CellRange wholeGrid(const GridView& grid);

// The copy text of a block of a grid: `heading` as given, then every row of
// the range (row 0 being the heading row) with its cells separated by TAB and
// ended by CR LF. A range that lies outside the grid or is reversed
// (left > right, top > bottom) gives the empty text, heading included; a
// range that reaches past the grid is cut to it.
std::string gridCopyText(const GridView& grid, CellRange range, std::string_view heading);

// The clipboard text of a whole grid: each of `captions` followed by CR LF,
// then every row from the heading row down as gridCopyText gives them.
std::string clipboardText(std::span<const std::string> captions, const GridView& grid);

}  // namespace orvalle::model
