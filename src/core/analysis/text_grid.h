#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/colours.h"
#include "store/error.h"

namespace orvalle::analysis {

// The contents of a string grid as data: the header row, the column widths
// in pixels and the data rows, every cell CP932 text. Each data row has one
// cell per column.
struct TextGrid {
  std::vector<std::string> header;
  std::vector<int> columnWidths;
  std::vector<std::vector<std::string>> rows;

  int columnCount() const { return static_cast<int>(header.size()); }
  // The cell in data row `row` (0-based, below the header) and `column`;
  // the empty text outside the grid.
  std::string_view cell(int row, int column) const;
  // A data row of empty cells.
  std::vector<std::string> emptyRow() const {
    return std::vector<std::string>(header.size(), std::string());
  }
};

// The grid as the clipboard takes it: the header row, then every data row,
// cells separated by TAB, every row ended by CR LF.
std::string gridText(const TextGrid& grid);

// The clipboard text of a comparison grid: each of `captions` (the race
// header labels Label1 to Label4, then for the two-horse grid the names in
// Edit1 and Edit2) followed by CR LF, then gridText.
std::string clipboardText(std::span<const std::string> captions, const TextGrid& grid);

// The outcome of a copy command: the text for the clipboard, or a failed
// status with the message to show (the clipboard is then left alone).
struct ClipboardCopy {
  Status status;
  std::string text;  // CP932
};

// The colours of the comparison grids, as data for the GUI (model::Colour:
// an RGB value or a colour of the desktop).
namespace grid_colours {
using model::Colour;
inline constexpr Colour kSilver = model::colours::kSilver;
inline constexpr Colour kLightCyan = Colour::fromRgb(0x80FFFF);
inline constexpr Colour kDarkGreen = Colour::fromRgb(0x008000);
inline constexpr Colour kMaroon = Colour::fromRgb(0x800000);
inline constexpr Colour kLightYellow = model::colours::kLightYellow;
inline constexpr Colour kLightGreen = Colour::fromRgb(0x80FF80);
inline constexpr Colour kMagenta = model::colours::kMagenta;
inline constexpr Colour kWhite = model::colours::kWhite;
inline constexpr Colour kBlack = model::colours::kBlack;
inline constexpr Colour kGreenYellow = Colour::fromRgb(0x2FFF97);
inline constexpr Colour kPink = Colour::fromRgb(0xFFB9FF);
inline constexpr Colour kGrey = model::colours::kGrey;
inline constexpr Colour kRed = model::colours::kRed;
inline constexpr Colour kBlue = model::colours::kBlue;
inline constexpr Colour kToolTipBackground = model::colours::kToolTipBackground;
inline constexpr Colour kWindowText = model::colours::kGridFont;
}  // namespace grid_colours

// How one cell is drawn: background, text colour and alignment (text two
// pixels below the cell top in every grid).
struct CellStyle {
  model::Colour background = grid_colours::kWhite;
  model::Colour text = grid_colours::kWindowText;
  bool leftAligned = false;

  bool operator==(const CellStyle&) const = default;
};

}  // namespace orvalle::analysis
