#include "analysis/text_grid.h"

namespace orvalle::analysis {
namespace {

void appendRow(std::string& text, const std::vector<std::string>& cells) {
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) text += '\t';
    text += cells[i];
  }
  text += "\r\n";
}

}  // namespace

std::string_view TextGrid::cell(int row, int column) const {
  if (row < 0 || static_cast<size_t>(row) >= rows.size()) return {};
  const auto& cells = rows[static_cast<size_t>(row)];
  if (column < 0 || static_cast<size_t>(column) >= cells.size()) return {};
  return cells[static_cast<size_t>(column)];
}

std::string gridText(const TextGrid& grid) {
  std::string text;
  appendRow(text, grid.header);
  for (const auto& row : grid.rows) appendRow(text, row);
  return text;
}

std::string clipboardText(std::span<const std::string> captions, const TextGrid& grid) {
  std::string text;
  for (const std::string& caption : captions) {
    text += caption;
    text += "\r\n";
  }
  return text + gridText(grid);
}

std::optional<uint32_t> rgb(Colour colour) {
  switch (colour) {
    case Colour::kSilver:
      return 0xC0C0C0;
    case Colour::kLightCyan:
      return 0x80FFFF;
    case Colour::kDarkGreen:
      return 0x008000;
    case Colour::kMaroon:
      return 0x800000;
    case Colour::kLightYellow:
      return 0xFFFF80;
    case Colour::kLightGreen:
      return 0x80FF80;
    case Colour::kMagenta:
      return 0xFF00FF;
    case Colour::kWhite:
      return 0xFFFFFF;
    case Colour::kBlack:
      return 0x000000;
    case Colour::kGreenYellow:
      return 0x2FFF97;
    case Colour::kPink:
      return 0xFFB9FF;
    case Colour::kGrey:
      return 0x808080;
    case Colour::kRed:
      return 0xFF0000;
    case Colour::kBlue:
      return 0x0000FF;
    case Colour::kToolTipBackground:
    case Colour::kWindowText:
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace orvalle::analysis
