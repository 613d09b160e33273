#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include "model/grid_view.h"

class QTableView;

namespace orvalle::gui {

// A grid of the window over the core's grid view: the heading row is the
// view's horizontal header, data row r of the model is row r + 1 of the grid
// view. Texts are shown in UTF-8; background, text colour and alignment come
// from the view's drawing rule.
class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit GridModel(QObject* parent = nullptr);

  // Shows another grid (or the same grid with other rows).
  void setView(model::GridView view);
  const model::GridView& view() const { return m_view; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  model::GridView m_view;
  QStringList m_headings;
  std::vector<QStringList> m_rows;
};

// Draws a cell as the grids of the program do: the background filled, the
// text in its colour two pixels below the cell top, left-aligned or centred,
// clipped to the cell.
class GridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

// Sets up a table view for a grid: the model and delegate, the grid's font,
// no row headers, whole-row selection, a silver heading row and rows high
// enough for the font. `rowHeight` is the grid's row height at 96 dpi.
void setUpGridView(QTableView* table, GridModel* model, int fontPixelSize, int rowHeight);

// Applies the grid view's column widths (pixels at 96 dpi, scaled to the
// screen, and widened alike when the grid's font is wider than the program's
// own fixed-pitch font) to a table view.
void applyColumnWidths(QTableView* table, const model::GridView& view);

}  // namespace orvalle::gui
