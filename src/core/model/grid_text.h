#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvalle::model {

// The texts of a grid as the program copies them: rows from the heading row
// (row 0) down, each a list of cell texts (CP932).
using TextGrid = std::vector<std::vector<std::string>>;

// A block of cells, columns `left` to `right` and rows `top` to `bottom`,
// both ends included.
struct CellRange {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The range of every cell of a grid.
CellRange wholeGrid(const TextGrid& grid);

// The clipboard text of a block of a grid: `heading` as given, then every row
// of the range with its cells separated by TAB and ended by CR LF. A range
// that lies outside the grid or is reversed (left > right, top > bottom) gives
// the empty text, heading included; a range that reaches past the grid is cut
// to it. The grid has as many columns as its longest row; a shorter row reads
// empty cells.
std::string gridCopyText(const TextGrid& grid, CellRange range, std::string_view heading);

}  // namespace orvalle::model
