#include "grid_model.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>

#include <cmath>

#include "gui_text.h"

namespace orvalle::gui {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridModel::setView(model::GridView view) {
  beginResetModel();
  m_view = std::move(view);
  m_headings.clear();
  for (const std::string& heading : m_view.headings) m_headings.push_back(fromCp932(heading));
  m_rows.clear();
  m_rows.reserve(m_view.rows.size());
  for (const auto& row : m_view.rows) {
    QStringList cells;
    cells.reserve(static_cast<qsizetype>(row.size()));
    for (const std::string& cell : row) cells.push_back(fromCp932(cell));
    m_rows.push_back(std::move(cells));
  }
  endResetModel();
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_view.columnCount();
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int gridRow = index.row() + 1;
  switch (role) {
    case Qt::DisplayRole: {
      const QStringList& cells = m_rows[static_cast<size_t>(index.row())];
      return index.column() < cells.size() ? cells[index.column()] : QString();
    }
    case Qt::BackgroundRole:
      return toQColor(m_view.cellStyle(gridRow, index.column()).background,
                      QGuiApplication::palette());
    case Qt::ForegroundRole:
      return toQColor(m_view.cellStyle(gridRow, index.column()).text, QGuiApplication::palette());
    case Qt::TextAlignmentRole: {
      const bool left = m_view.cellStyle(gridRow, index.column()).leftAligned;
      return QVariant::fromValue(
          Qt::Alignment((left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop));
    }
    default:
      return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= m_headings.size()) return {};
  if (role == Qt::DisplayRole) return m_headings[section];
  if (role == Qt::BackgroundRole)
    return toQColor(m_view.cellStyle(0, section).background, QGuiApplication::palette());
  return {};
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
  const QRect cell = option.rect;
  const QColor background = index.data(Qt::BackgroundRole).value<QColor>();
  const QColor text = index.data(Qt::ForegroundRole).value<QColor>();
  painter->save();
  painter->fillRect(cell, background);
  if (option.state & QStyle::State_Selected) {
    QColor overlay = option.palette.color(QPalette::Highlight);
    overlay.setAlpha(60);
    painter->fillRect(cell, overlay);
  }
  painter->setClipRect(cell);
  painter->setPen(text);
  painter->setFont(option.font);
  const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
  painter->drawText(cell.adjusted(2, 2, -1, 0), static_cast<int>(alignment) | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

void setUpGridView(QTableView* table, GridModel* model, int fontPixelSize, int rowHeight) {
  table->setModel(model);
  table->setItemDelegate(new GridDelegate(table));
  table->setFont(fixedPitchFont(fontPixelSize));
  table->verticalHeader()->hide();
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setWordWrap(false);
  table->horizontalHeader()->setHighlightSections(false);
  table->horizontalHeader()->setFont(fixedPitchFont(fontPixelSize));
  table->horizontalHeader()->setStyleSheet(gridHeaderStyleSheet());
  const int textHeight = QFontMetrics(table->font()).height() + 3;
  table->verticalHeader()->setDefaultSectionSize(std::max(scaled(table, rowHeight), textHeight));
  table->verticalHeader()->setMinimumSectionSize(1);
}

void applyColumnWidths(QTableView* table, const model::GridView& view) {
  // The widths fit the program's own fixed-pitch font, whose half-width
  // characters are 6 pixels wide at 96 dpi; a wider substitute font widens
  // every column alike so that no number is cut.
  const double fontFactor =
      std::max(1.0, QFontMetricsF(table->font()).horizontalAdvance(QLatin1Char('0')) / 6.0);
  for (int column = 0; column < view.columnCount(); ++column) {
    const int width = column < static_cast<int>(view.columnWidths.size())
                          ? view.columnWidths[static_cast<size_t>(column)]
                          : 64;
    table->horizontalHeader()->resizeSection(
        column, static_cast<int>(std::lround(scaled(table, width) * fontFactor)));
  }
}

}  // namespace orvalle::gui
