#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/day_tables.h"
#include "model/grid_view.h"

// The comparison tables of a race on the analysis tab, as data: "比較詳細表"
// (StringGrid7, one row per pair) and "比較勝敗表" (StringGrid8, the pairs'
// winners as a matrix), filled from the stored pair tables whenever a race
// is shown. Texts are CP932.
namespace orvalle::analysis {

// StringGrid7 of race slot `raceSlot`: 15 columns, one row per pair i < j of
// the registered runners in pair order: horse numbers "%2d", names without
// full-width blanks, better counts, own-minus points and total points
// "%3d", " ○" for the pair's winner, comparison count and direct meetings
// "%3d". Drawn with the heading row and column 0 silver, the horse-number
// columns green-yellow, the name columns light yellow and left-aligned, the
// 勝敗 columns magenta when they hold "○" and white otherwise, columns 13 and
// 14 pink, every other cell white and centred. Throws orvalle::Error for more
// than 18 registered runners.
model::GridView comparisonDetailGrid(const model::DayTables& tables, int raceSlot);

// StringGrid8 of race slot `raceSlot`: (n+1) x (n+1) cells for n registered
// runners, all columns 30 pixels wide. The heading row and the first cell of
// every row hold the horse numbers 1..n "%2d" (the corner is empty); the
// cell in row i, column j holds "○" when horse i won the pair with j and
// "×" when it lost it, and stays empty for an undecided pair. Drawn with the
// heading row and column 0 silver, the diagonal black, cells holding "○"
// magenta and every other cell grey, all centred. Throws orvalle::Error for
// more than 18 registered runners.
model::GridView comparisonResultGrid(const model::DayTables& tables, int raceSlot);

}  // namespace orvalle::analysis
