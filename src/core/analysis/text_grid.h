#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

// Colours of grid cells. The system's colours (tool-tip background, window
// text) have no fixed value; the others are RGB.
enum class Colour {
  kSilver,             // C0C0C0
  kLightCyan,          // 80FFFF
  kDarkGreen,          // 008000
  kMaroon,             // 800000
  kLightYellow,        // FFFF80
  kLightGreen,         // 80FF80
  kMagenta,            // FF00FF
  kWhite,              // FFFFFF
  kBlack,              // 000000
  kGreenYellow,        // 2FFF97
  kPink,               // FFB9FF
  kGrey,               // 808080
  kRed,                // FF0000
  kBlue,               // 0000FF
  kToolTipBackground,  // the system's tool-tip background
  kWindowText,         // the grid's font colour
};

// The RGB value 0xRRGGBB of a colour; nullopt for the system's colours.
std::optional<uint32_t> rgb(Colour colour);

// How one cell is drawn: background, text colour and alignment (text two
// pixels below the cell top in every grid).
struct CellStyle {
  Colour background = Colour::kWhite;
  Colour text = Colour::kWindowText;
  bool leftAligned = false;

  bool operator==(const CellStyle&) const = default;
};

}  // namespace orvalle::analysis
