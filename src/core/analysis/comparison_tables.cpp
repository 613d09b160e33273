#include "analysis/comparison_tables.h"

#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/pair_numbers.h"
#include "store/record.h"

namespace orvalle::analysis {
namespace {

using model::CellStyle;
using model::GridView;
using model::PairTable;
namespace colours = model::colours;

// Columns of StringGrid7.
enum DetailColumn {
  kBlank = 0,
  kFirstNumber = 1,
  kFirstName = 2,
  kFirstBetter = 3,
  kFirstOwnMinus = 4,
  kFirstTotal = 5,
  kFirstWon = 6,
  kSecondNumber = 7,
  kSecondName = 8,
  kSecondBetter = 9,
  kSecondOwnMinus = 10,
  kSecondTotal = 11,
  kSecondWon = 12,
  kCount = 13,
  kDirect = 14,
};

constexpr int kResultColumnWidth = 30;

int registeredRunners(const model::DayTables& tables, int raceSlot) {
  const int runners = store::ra::kRegisteredRunners.numberIn(tables.race(raceSlot));
  if (runners > model::kRunnerSlots) {
    throw Error("範囲外の番号です: runner " + std::to_string(runners - 1) + " (0-17)");
  }
  return std::max(runners, 0);
}

std::string shownName(std::string_view seRecord) {
  return std::string(
      store::trim(store::withoutFullWidthBlanks(store::se::kHorseName.in(seRecord))));
}

const std::string& circle() {
  static const std::string text = sj("○");
  return text;
}

CellStyle detailCellStyle(int row, int column, std::string_view text) {
  CellStyle style;
  if (row == 0 || column == kBlank) {
    style.background = colours::kSilver;
    return style;
  }
  switch (column) {
    case kFirstNumber:
    case kSecondNumber:
      style.background = colours::kGreenYellow;
      break;
    case kFirstName:
    case kSecondName:
      style.background = colours::kLightYellow;
      style.leftAligned = true;
      break;
    case kFirstWon:
    case kSecondWon:
      style.background =
          text.find(circle()) != std::string_view::npos ? colours::kMagenta : colours::kWhite;
      break;
    case kCount:
    case kDirect:
      style.background = colours::kPink;
      break;
    default:
      break;
  }
  return style;
}

CellStyle resultCellStyle(int row, int column, std::string_view text) {
  CellStyle style;
  if (row == 0 || column == 0) {
    style.background = colours::kSilver;
  } else if (row == column) {
    style.background = colours::kBlack;
  } else if (text.find(circle()) != std::string_view::npos) {
    style.background = colours::kMagenta;
  } else {
    style.background = colours::kGrey;
  }
  return style;
}

}  // namespace

GridView comparisonDetailGrid(const model::DayTables& tables, int raceSlot) {
  static const GridView empty = [] {
    struct Heading {
      const char* text;
      int width;
    };
    static constexpr Heading kHeadings[] = {
        {"", 10},     {"馬番", 28}, {"馬名", 105}, {"Pt", 28},     {"独Pt", 28},
        {"総Pt", 28}, {"勝敗", 28}, {"馬番", 28},  {"馬名", 105},  {"Pt", 28},
        {"独Pt", 28}, {"総Pt", 28}, {"勝敗", 28},  {"比較数", 50}, {"直接対決", 50},
    };
    GridView grid;
    for (const Heading& heading : kHeadings) {
      grid.headings.push_back(sj(heading.text));
      grid.columnWidths.push_back(heading.width);
    }
    grid.style = detailCellStyle;
    return grid;
  }();
  static const std::string won = sj(" ○");

  GridView grid = empty;
  const model::RaceAnalysis& analysis = tables.analysis(raceSlot);
  const int runners = registeredRunners(tables, raceSlot);
  for (int i = 1; i <= runners; ++i) {
    for (int j = i + 1; j <= runners; ++j) {
      const int pair = store::codes::pairNumber(i, j);
      auto number = [&](PairTable table) {
        return store::format("%3d", analysis.pair(table, pair));
      };
      std::vector<std::string> row(grid.headings.size());
      row[kFirstNumber] = store::format("%2d", i);
      row[kFirstName] = shownName(tables.runner(raceSlot, i - 1));
      row[kFirstBetter] = number(PairTable::kFirstBetter);
      row[kFirstOwnMinus] = number(PairTable::kFirstOwnMinus);
      row[kFirstTotal] = number(PairTable::kFirstTotal);
      if (analysis.pair(PairTable::kFirstWon, pair) == 1) row[kFirstWon] = won;
      row[kSecondNumber] = store::format("%2d", j);
      row[kSecondName] = shownName(tables.runner(raceSlot, j - 1));
      row[kSecondBetter] = number(PairTable::kSecondBetter);
      row[kSecondOwnMinus] = number(PairTable::kSecondOwnMinus);
      row[kSecondTotal] = number(PairTable::kSecondTotal);
      if (analysis.pair(PairTable::kSecondWon, pair) == 1) row[kSecondWon] = won;
      row[kCount] = number(PairTable::kComparisonCount);
      row[kDirect] = number(PairTable::kDirect);
      grid.rows.push_back(std::move(row));
    }
  }
  return grid;
}

GridView comparisonResultGrid(const model::DayTables& tables, int raceSlot) {
  static const std::string lost = sj("×");
  const model::RaceAnalysis& analysis = tables.analysis(raceSlot);
  const int runners = registeredRunners(tables, raceSlot);
  const auto size = static_cast<size_t>(runners + 1);

  GridView grid;
  grid.headings.assign(size, std::string());
  grid.columnWidths.assign(size, kResultColumnWidth);
  grid.style = resultCellStyle;
  grid.rows.assign(static_cast<size_t>(runners), std::vector<std::string>(size));
  for (int i = 1; i <= runners; ++i) {
    grid.headings[static_cast<size_t>(i)] = store::format("%2d", i);
    grid.rows[static_cast<size_t>(i - 1)][0] = store::format("%2d", i);
  }
  // Row i, column j of the window: data row i - 1, cell j.
  auto cell = [&](int row, int column) -> std::string& {
    return grid.rows[static_cast<size_t>(row - 1)][static_cast<size_t>(column)];
  };
  for (int i = 1; i <= runners; ++i) {
    for (int j = i + 1; j <= runners; ++j) {
      const int pair = store::codes::pairNumber(i, j);
      if (analysis.pair(PairTable::kFirstWon, pair) == 1) {
        cell(i, j) = circle();
        cell(j, i) = lost;
      } else if (analysis.pair(PairTable::kSecondWon, pair) == 1) {
        cell(j, i) = circle();
        cell(i, j) = lost;
      }
    }
  }
  return grid;
}

}  // namespace orvalle::analysis
