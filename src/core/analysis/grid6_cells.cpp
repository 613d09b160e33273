#include "analysis/grid6_cells.h"

#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/past_run_record.h"

namespace orvalle::analysis::grid6 {
namespace {

namespace past_run = store::past_run;
namespace colours = model::colours;

// The first character of a CP932 text (one or two bytes).
std::string firstCharacter(std::string_view text) {
  if (text.empty()) return {};
  const bool twoBytes = cp932::isLeadByte(static_cast<unsigned char>(text[0])) && text.size() > 1;
  return std::string(text.substr(0, twoBytes ? 2 : 1));
}

bool startsWith(std::string_view text, const std::string& prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

model::CellStyle cellStyle(int row, int column, std::string_view text) {
  static const std::string turf = sj("芝");
  static const std::string dirt = sj("ダ");
  static const std::string circle = sj("○");
  model::CellStyle style;
  if (row == 0) {
    style.background = colours::kSilver;
    return style;
  }
  switch (column) {
    case kDateA:
    case kDateB:
      style.background = colours::kBrightCyan;
      break;
    case kTrackA:
    case kTrackB:
      if (startsWith(text, turf)) {
        style.background = colours::kDarkGreen;
        style.text = colours::kWhite;
      } else if (startsWith(text, dirt)) {
        style.background = colours::kDarkRed;
        style.text = colours::kWhite;
      }
      break;
    case kNameA:
    case kOpponentA:
    case kOpponentB:
    case kNameB:
      style.background = colours::kLightYellow;
      style.leftAligned = true;
      break;
    case kPositionA:
    case kOpponentPositionA:
    case kOpponentPositionB:
    case kPositionB: {
      style.background = colours::kToolTipBackground;
      style.text = model::placeColour(store::toInt(text), colours::kGridFont);
      break;
    }
    case kWeightA:
    case kTimeA:
    case kOpponentWeightA:
    case kOpponentTimeA:
    case kOpponentWeightB:
    case kOpponentTimeB:
    case kWeightB:
    case kTimeB:
      style.background = colours::kToolTipBackground;
      break;
    case kRawMarginA:
    case kCorrectedMarginA:
    case kAdjustedMarginA:
    case kRawMarginB:
    case kCorrectedMarginB:
    case kAdjustedMarginB:
      style.background = colours::kLightGreen;
      break;
    case kDecisionA:
    case kOwnMinusA:
    case kDecisionB:
    case kOwnMinusB:
      style.background = store::trim(text) == circle ? colours::kMagenta : colours::kWhite;
      break;
    case kSeparator:
      style.background = colours::kBlack;
      break;
    default:
      break;
  }
  return style;
}

}  // namespace

model::GridView emptyGrid() {
  static const model::GridView grid = [] {
    struct Heading {
      const char* text;
      int width;
    };
    static constexpr Heading kHeadings[kColumnCount] = {
        {"開催日", 62},
        {"ﾄﾗｯｸ", 40},
        {"比較される馬", 105},
        {"斤量", 28},
        {"着", 18},
        {"ﾀｲﾑ", 38},
        {"比較する馬", 105},
        {"斤量", 28},
        {"着", 18},
        {"ﾀｲﾑ", 38},
        {"差", 30},
        {"修差", 30},
        {"比差", 30},
        {"勝敗", 25},
        {"独－", 25},
        {"", 2},
        {"開催日", 62},
        {"ﾄﾗｯｸ", 40},
        {"比較する馬", 105},
        {"斤量", 28},
        {"着", 18},
        {"ﾀｲﾑ", 38},
        {"比較される馬", 105},
        {"斤量", 28},
        {"着", 18},
        {"ﾀｲﾑ", 38},
        {"差", 30},
        {"修差", 30},
        {"比差", 30},
        {"勝敗", 25},
        {"独－", 25},
    };
    model::GridView g;
    for (const Heading& heading : kHeadings) {
      g.headings.push_back(sj(heading.text));
      g.columnWidths.push_back(heading.width);
    }
    g.style = cellStyle;
    return g;
  }();
  return grid;
}

const std::string& noMatchText() {
  static const std::string text = sj("該当ナシ");
  return text;
}

std::vector<std::string> emptyRow() { return std::vector<std::string>(kColumnCount); }

const std::string& markText(Column column) {
  static const std::string decisionA = sj(" ○");
  static const std::string mark = sj("○");
  return column == kDecisionA ? decisionA : mark;
}

std::string dateCell(std::string_view record) {
  return std::string(past_run::kYear.in(record)) + "/" + std::string(past_run::kMonth.in(record)) +
         "/" + std::string(past_run::kDay.in(record));
}

std::string trackCell(std::string_view record) {
  return firstCharacter(store::codes::trackShortName(past_run::kTrackCode.in(record))) +
         store::numberInWidth(past_run::kDistance.numberIn(record), 4, true);
}

std::string weightCell(std::string_view weightField) {
  std::string digits = store::fitWidth(weightField, 3);
  return digits.substr(0, 2) + "." + digits.substr(2, 1);
}

std::string positionCell(int position) { return store::numberInWidth(position, 2, true); }

std::string timeCell(std::string_view timeField) {
  const int value = store::toInt(timeField);
  if (value <= 0 || value > 9999) return {};
  const std::string digits = store::format("%4d", value);
  return digits.substr(0, 1) + "." + digits.substr(1, 2) + "." + digits.substr(3, 1);
}

Status comparisonShown(const model::GridView& grid) {
  if (grid.rows.size() <= 1 && store::trim(grid.cell(1, kDateA)).empty()) {
    return Status::failure("２頭比較を行ってください。");
  }
  return Status::success();
}

ClipboardCopy clipboardCopy(std::span<const std::string> captions, const model::GridView& grid) {
  Status shown = comparisonShown(grid);
  if (!shown) return {std::move(shown), {}};
  return {Status::success(), model::clipboardText(captions, grid)};
}

}  // namespace orvalle::analysis::grid6
