#include "model/grid_text.h"

#include <algorithm>

namespace orvalle::model {
namespace {

int columnCount(const TextGrid& grid) {
  size_t columns = 0;
  for (const auto& row : grid) columns = std::max(columns, row.size());
  return static_cast<int>(columns);
}

}  // namespace

CellRange wholeGrid(const TextGrid& grid) {
  return {0, 0, columnCount(grid) - 1, static_cast<int>(grid.size()) - 1};
}

std::string gridCopyText(const TextGrid& grid, CellRange range, std::string_view heading) {
  const int rows = static_cast<int>(grid.size());
  const int columns = columnCount(grid);
  if (range.left > range.right || range.top > range.bottom) return {};
  if (range.left >= columns || range.top >= rows || range.right < 0 || range.bottom < 0) return {};
  const int left = std::max(range.left, 0);
  const int top = std::max(range.top, 0);
  const int right = std::min(range.right, columns - 1);
  const int bottom = std::min(range.bottom, rows - 1);

  std::string text(heading);
  for (int r = top; r <= bottom; ++r) {
    const auto& row = grid[static_cast<size_t>(r)];
    for (int c = left; c <= right; ++c) {
      if (c > left) text += '\t';
      if (static_cast<size_t>(c) < row.size()) text += row[static_cast<size_t>(c)];
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace orvalle::model
