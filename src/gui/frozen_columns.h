#pragma once

class QAbstractItemDelegate;
class QTableView;

namespace orvalle::gui {

// Keeps the first `count` columns of a table view in place while the other
// columns scroll sideways (the fixed columns of the detailed race card): a
// second view over the same model, delegate and selection lies over the
// table's left edge and scrolls up and down with it. Call after the table
// has its model, delegate, fonts and sizes. The overlay belongs to the
// table.
void freezeColumns(QTableView* table, int count, QAbstractItemDelegate* delegate);

}  // namespace orvalle::gui
