#include "model/grid_view.h"

#include <algorithm>

namespace orvalle::model {

int GridView::columnCount() const { return static_cast<int>(headings.size()); }

int GridView::rowCount() const { return static_cast<int>(rows.size()) + 1; }

std::string_view GridView::cell(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
  const std::vector<std::string>& cells = row == 0 ? headings : rows[static_cast<size_t>(row - 1)];
  if (static_cast<size_t>(column) >= cells.size()) return {};
  return cells[static_cast<size_t>(column)];
}

CellStyle GridView::cellStyle(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
  if (style != nullptr) return style(row, column, cell(row, column));
  CellStyle plain;
  if (row == 0) plain.background = colours::kSilver;
  return plain;
}

CellRange wholeGrid(const GridView& grid) {
  return {0, 0, grid.columnCount() - 1, grid.rowCount() - 1};
}

std::string gridCopyText(const GridView& grid, CellRange range, std::string_view heading) {
  const int rows = grid.rowCount();
  const int columns = grid.columnCount();
  if (range.left > range.right || range.top > range.bottom) return {};
  if (range.left >= columns || range.top >= rows || range.right < 0 || range.bottom < 0) return {};
  const int left = std::max(range.left, 0);
  const int top = std::max(range.top, 0);
  const int right = std::min(range.right, columns - 1);
  const int bottom = std::min(range.bottom, rows - 1);

  std::string text(heading);
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) {
      if (c > left) text += '\t';
      text += grid.cell(r, c);
    }
    text += "\r\n";
  }
  return text;
}

std::string clipboardText(std::span<const std::string> captions, const GridView& grid) {
  std::string text;
  for (const std::string& caption : captions) {
    text += caption;
    text += "\r\n";
  }
  return text + gridCopyText(grid, wholeGrid(grid), "");
}

}  // namespace orvalle::model
