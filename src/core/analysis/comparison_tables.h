#pragma once

#include <span>
#include <string>
#include <string_view>

#include "analysis/text_grid.h"
#include "model/day_tables.h"

// The comparison tables of a race on the analysis tab, as data: "比較詳細表"
// (StringGrid7, one row per pair) and "比較勝敗表" (StringGrid8, the pairs'
// winners as a matrix), filled from the stored pair tables whenever a race
// is shown. Texts are CP932.
namespace orvalle::analysis {

// StringGrid7 of race slot `raceSlot`: 15 columns, one row per pair i < j of
// the registered runners in pair order: horse numbers "%2d", names without
// full-width blanks, better counts, own-minus points and total points
// "%3d", " ○" for the pair's winner, comparison count and direct meetings
// "%3d". Throws orvalle::Error for more than 18 registered runners.
TextGrid comparisonDetailGrid(const model::DayTables& tables, int raceSlot);

// How a cell of StringGrid7 is drawn; `row` 0 is the header row.
CellStyle comparisonDetailCellStyle(int column, int row, std::string_view text);

// StringGrid8 of race slot `raceSlot`: (n+1) x (n+1) cells for n registered
// runners, all columns 30 pixels wide. The header row and the first cell of
// every row hold the horse numbers 1..n "%2d" (the corner is empty); the
// cell in row i, column j holds "○" when horse i won the pair with j and
// "×" when it lost it, and stays empty for an undecided pair. Throws
// orvalle::Error for more than 18 registered runners.
TextGrid comparisonResultGrid(const model::DayTables& tables, int raceSlot);

// How a cell of StringGrid8 is drawn; `row` 0 is the header row.
CellStyle comparisonResultCellStyle(int column, int row, std::string_view text);

}  // namespace orvalle::analysis
