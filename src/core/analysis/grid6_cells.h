#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/grid_view.h"
#include "store/error.h"

namespace orvalle::analysis {

// The outcome of a copy command: the text for the clipboard, or a failed
// status with the message to show (the clipboard is then left alone).
struct ClipboardCopy {
  Status status;
  std::string text;  // CP932
};

}  // namespace orvalle::analysis

// The cells of the comparison grid StringGrid6, shared by the two-horse and
// the head-to-head comparison. All texts CP932.
namespace orvalle::analysis::grid6 {

inline constexpr int kColumnCount = 31;

// Columns of the left (horse A) and right (horse B) halves.
enum Column {
  kDateA = 0,
  kTrackA = 1,
  kNameA = 2,
  kWeightA = 3,
  kPositionA = 4,
  kTimeA = 5,
  kOpponentA = 6,
  kOpponentWeightA = 7,
  kOpponentPositionA = 8,
  kOpponentTimeA = 9,
  kRawMarginA = 10,
  kCorrectedMarginA = 11,
  kAdjustedMarginA = 12,
  kDecisionA = 13,
  kOwnMinusA = 14,
  kSeparator = 15,
  kDateB = 16,
  kTrackB = 17,
  kOpponentB = 18,
  kOpponentWeightB = 19,
  kOpponentPositionB = 20,
  kOpponentTimeB = 21,
  kNameB = 22,
  kWeightB = 23,
  kPositionB = 24,
  kTimeB = 25,
  kRawMarginB = 26,
  kCorrectedMarginB = 27,
  kAdjustedMarginB = 28,
  kDecisionB = 29,
  kOwnMinusB = 30,
};

// The grid without data rows: its 31 headings, column widths and drawing
// rule. Heading row silver. Data rows: date columns bright cyan; track
// columns dark green ("芝...") or dark red ("ダ...") with white text; name
// columns light yellow, left-aligned; weight, position and time columns the
// tool-tip background, positions 1 in red, 2 and 3 in blue; margin columns
// light green; the decision and own-minus columns (13, 14, 29, 30) magenta
// when they hold a mark (trimmed text "○"), else white; column 15 black.
// Every cell but the names is centred.
model::GridView emptyGrid();

// A data row of 31 empty cells.
std::vector<std::string> emptyRow();

// The text of the single row of a comparison that listed nothing.
const std::string& noMatchText();  // "該当ナシ"
// The mark of a decision or own-minus column: " ○" (a blank before the
// circle) in kDecisionA, "○" in kOwnMinusA, kDecisionB and kOwnMinusB.
const std::string& markText(Column column);

// The race date of a past-run record, "yyyy/mm/dd" from its year, month and
// day fields.
std::string dateCell(std::string_view record);
// The first character of the short track name of the record's track code,
// then the distance "%4d" (nothing when 0): "芝1600".
std::string trackCell(std::string_view record);
// A weight carried field "550" shown "55.0": characters 1-2, ".", character 3.
std::string weightCell(std::string_view weightField);
// A finishing position "%2d", the empty text when 0.
std::string positionCell(int position);
// A race time field "1345" shown "1.34.5": the value "%4d" as character 1,
// ".", characters 2-3, ".", character 4; the empty text when 0.
std::string timeCell(std::string_view timeField);

// Whether StringGrid6 shows a comparison: a grid of at most one data row
// whose first cell is blank does not, and gives a failed status with
// "２頭比較を行ってください。" (its copy and its print need one).
Status comparisonShown(const model::GridView& grid);

// The clipboard text of StringGrid6: `captions` (Label1 to Label4, Edit1,
// Edit2) then the grid (model::clipboardText); the failed status of
// comparisonShown when the grid shows no comparison.
ClipboardCopy clipboardCopy(std::span<const std::string> captions, const model::GridView& grid);

}  // namespace orvalle::analysis::grid6
