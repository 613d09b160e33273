#include "analysis/text_grid.h"

#include "model/grid_text.h"

namespace orvalle::analysis {

std::string_view TextGrid::cell(int row, int column) const {
  if (row < 0 || static_cast<size_t>(row) >= rows.size()) return {};
  const auto& cells = rows[static_cast<size_t>(row)];
  if (column < 0 || static_cast<size_t>(column) >= cells.size()) return {};
  return cells[static_cast<size_t>(column)];
}

std::string gridText(const TextGrid& grid) {
  model::TextGrid rows;
  rows.reserve(grid.rows.size() + 1);
  rows.push_back(grid.header);
  rows.insert(rows.end(), grid.rows.begin(), grid.rows.end());
  return model::gridCopyText(rows, model::wholeGrid(rows), "");
}

std::string clipboardText(std::span<const std::string> captions, const TextGrid& grid) {
  std::string text;
  for (const std::string& caption : captions) {
    text += caption;
    text += "\r\n";
  }
  return text + gridText(grid);
}

}  // namespace orvalle::analysis
