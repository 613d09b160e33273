#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/day_tables.h"

// The printed analysis sheet of a race, as data: a list of drawing items in
// tenths of a millimetre from the top left of the printable area, in the
// order they are drawn. The desktop program paints the list onto a printer,
// a PDF file or its preview; nothing here knows how.
namespace orvalle::output {

// The two type faces of the sheet: the fixed-pitch Gothic of everything
// but the horse name and the sex and age, which use the proportional one.
enum class SheetFont { kGothic, kProportionalGothic };

// Pen widths of lines and outlines: the runner table's header band is drawn
// thick, the line between two runners of one bracket thin.
enum class SheetPen { kNone, kThin, kNormal, kThick };

// A colour as 0xRRGGBB.
using SheetColour = unsigned;
inline constexpr SheetColour kSheetBlack = 0x000000;
inline constexpr SheetColour kSheetWhite = 0xFFFFFF;
inline constexpr SheetColour kSheetLightGrey = 0xC0C0C0;

// A text whose top left corner is at (x, y). The text is CP932; `points`
// is the size in points.
struct SheetText {
  int x = 0;
  int y = 0;
  std::string text;
  SheetFont font = SheetFont::kGothic;
  int points = 10;
  bool bold = false;
  SheetColour colour = kSheetBlack;

  bool operator==(const SheetText&) const = default;
};

// A straight line from (x1, y1) to (x2, y2).
struct SheetLine {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  SheetPen pen = SheetPen::kNormal;

  bool operator==(const SheetLine&) const = default;
};

// A rectangle from (left, top) to (right, bottom): outlined with `pen`
// (none for kNone) and filled with `fill` when `filled`.
struct SheetBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  SheetPen pen = SheetPen::kNormal;
  bool filled = false;
  SheetColour fill = kSheetWhite;

  bool operator==(const SheetBox&) const = default;
};

using SheetItem = std::variant<SheetText, SheetLine, SheetBox>;

// One page: the sheet of one race.
struct SheetPage {
  std::vector<SheetItem> items;

  // The texts of the page in drawing order.
  std::vector<const SheetText*> texts() const;

  bool operator==(const SheetPage&) const = default;
};

// The paper the sheet is laid out for: A4 portrait, 210 x 297 mm, printed
// inside a margin of 5 mm on every side; the coordinates of the items start
// at the margin. The widest item ends before x = 2000.
inline constexpr int kSheetPaperWidth = 2100;
inline constexpr int kSheetPaperHeight = 2970;
inline constexpr int kSheetMargin = 50;

// The title of a print job of analysis sheets (CP932): "Orvalle分析結果　印刷".
const std::string& analysisSheetTitle();

// The analysis sheet of race slot `raceSlot` of the loaded day, from its
// race and runner records and its race analysis record: the heading block
// (racecourse, race number in a black box, date and meeting, start time,
// race name, runners, distance, track, grade, race type and symbols,
// conditions, the prize money), the payout block (one row per bet type,
// entries only for paid combinations), the runner table (a header band and
// a row of 105 per registered runner, brackets sharing one cell) and the
// combination column headed by `settingName` (CP932, the active user
// combination setting) listing the race's twelve trio combinations with
// their hits and payouts. Blank or zero figures print as dashes. Throws
// orvalle::Error for a race slot out of range.
SheetPage analysisSheet(const model::DayTables& tables, int raceSlot, std::string_view settingName);

}  // namespace orvalle::output
