#include "detailed_card.h"

#include <QHeaderView>
#include <QPainter>
#include <QTableView>

#include "frozen_columns.h"
#include "gui_text.h"

namespace orvalle::gui {
namespace {

constexpr int kFirstPastRunColumn = model::kDetailedFixedColumns;

struct Fonts {
  QFont bold10 = fixedPitchPointFont(10, true);
  QFont regular8 = fixedPitchPointFont(8);
  QFont bold9 = fixedPitchPointFont(9, true);
};

const Fonts& fonts() {
  static const Fonts instance;
  return instance;
}

QColor colourOf(model::Colour colour, const QStyleOptionViewItem& option) {
  return toQColor(colour, option.palette);
}

// Draws one line of text with its top at `y`.
void drawLine(QPainter* painter, int x, int y, const QString& text) {
  painter->drawText(QPoint(x, y + painter->fontMetrics().ascent()), text);
}

void paintRunnerCell(QPainter* painter, const QStyleOptionViewItem& option, int column,
                     const model::DetailedRunnerInfo& info, const QWidget* widget) {
  const QRect cell = option.rect;
  const int x0 = cell.left() + 1 + 1;
  const int y0 = cell.top() + 1 + 1;
  auto px = [widget](int pixels) { return scaled(widget, pixels); };
  painter->setPen(Qt::black);
  switch (column) {
    case 0:
      painter->fillRect(cell, colourOf(info.bracketBackground, option));
      painter->setFont(fonts().bold10);
      painter->setPen(colourOf(info.bracketDigit, option));
      drawLine(painter, cell.left() + 1 + px(5), y0, fromCp932(info.bracket));
      return;
    case 1:
      painter->fillRect(cell, option.palette.color(QPalette::ToolTipBase));
      painter->setFont(fonts().bold10);
      drawLine(painter, x0, y0, fromCp932(info.horseNumber));
      return;
    case 2: {
      painter->fillRect(cell, Qt::white);
      painter->setFont(fonts().bold10);
      drawLine(painter, x0, y0, fromCp932(info.horseName));
      const int h = painter->fontMetrics().height();
      painter->setFont(fonts().regular8);
      drawLine(painter, x0, y0 + h, fromCp932(info.sexAge));
      drawLine(painter, x0 + px(24), y0 + h, fromCp932(info.earnings));
      drawLine(painter, x0 + px(99), y0 + h, fromCp932(info.blinkers));
      drawLine(painter, x0, y0 + 2 * h, fromCp932(info.jockey));
      drawLine(painter, x0 + px(29), y0 + 3 * h, fromCp932(info.weightCarried));
      drawLine(painter, x0 + px(99), y0 + 3 * h, fromCp932(info.apprentice));
      drawLine(painter, x0, y0 + 4 * h, fromCp932(info.trainer));
      return;
    }
    case 3:
    case 4: {
      painter->fillRect(cell, Qt::white);
      painter->setFont(fonts().regular8);
      const int h = painter->fontMetrics().height();
      const auto& lines = column == 3 ? info.distanceRecord : info.goingRecord;
      // Distance records leave 5 pixels after the overall line, going records
      // after the two turf lines.
      const int gapAfter = column == 3 ? 0 : 1;
      int y = y0;
      for (int line = 0; line < 4; ++line) {
        drawLine(painter, x0, y, fromCp932(lines[static_cast<size_t>(line)]));
        y += h + (line == gapAfter ? 5 : 0);
      }
      return;
    }
    default:
      return;
  }
}

void paintPastRunCell(QPainter* painter, const QStyleOptionViewItem& option,
                      const model::PastRunCell& run, const QWidget* widget) {
  const QRect cell = option.rect;
  painter->fillRect(cell, colourOf(run.background, option));
  if (run.empty) return;
  const int x0 = cell.left() + 2;
  const int y0 = cell.top() + 2;
  painter->setFont(fonts().regular8);
  painter->setPen(Qt::black);
  const int h = painter->fontMetrics().height();
  for (int line = 0; line < 5; ++line) {
    drawLine(painter, x0, y0 + line * h, fromCp932(run.lines[static_cast<size_t>(line)]));
  }
  painter->setFont(fonts().bold9);
  painter->setPen(colourOf(run.finishingPositionColour, option));
  drawLine(painter, cell.left() + scaled(widget, 125), y0 + 2 * h,
           fromCp932(run.finishingPosition));
  painter->setFont(fonts().regular8);
  painter->setPen(colourOf(run.markColour, option));
  drawLine(painter, x0, y0 + 5 * h - 2, fromCp932(run.mark));
}

QString joinedLines(std::initializer_list<std::string> lines) {
  QStringList parts;
  for (const std::string& line : lines) parts << fromCp932(line);
  return parts.join(QLatin1Char('\n'));
}

}  // namespace

DetailedCardModel::DetailedCardModel(QObject* parent) : QAbstractTableModel(parent) {}

void DetailedCardModel::showRace(const model::DayTables* tables, int raceSlot, int runners) {
  beginResetModel();
  m_runners.clear();
  m_pastRuns.clear();
  if (tables != nullptr && raceSlot >= 0) {
    m_headings = model::detailedCardHeadings(*tables, raceSlot);
    for (int runner = 0; runner < runners; ++runner) {
      m_runners.push_back(model::detailedRunnerInfo(*tables, raceSlot, runner));
      std::vector<model::PastRunCell> runs;
      runs.reserve(model::kPastRunSlots);
      for (int slot = 0; slot < model::kPastRunSlots; ++slot) {
        runs.push_back(model::pastRunCell(*tables, raceSlot, runner, slot));
      }
      m_pastRuns.push_back(std::move(runs));
    }
  } else {
    m_headings.assign(model::kDetailedColumns, std::string());
    for (int column = 0; column < model::kDetailedFixedColumns; ++column) {
      m_headings[static_cast<size_t>(column)] =
          model::detailedFixedHeadings()[static_cast<size_t>(column)];
    }
  }
  endResetModel();
}

const model::PastRunCell& DetailedCardModel::pastRun(int row, int pastRunSlot) const {
  return m_pastRuns.at(static_cast<size_t>(row)).at(static_cast<size_t>(pastRunSlot));
}

int DetailedCardModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_runners.size());
}

int DetailedCardModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : model::kDetailedColumns;
}

QVariant DetailedCardModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  const model::DetailedRunnerInfo& info = m_runners[static_cast<size_t>(index.row())];
  switch (index.column()) {
    case 0:
      return fromCp932(info.bracket);
    case 1:
      return fromCp932(info.horseNumber);
    case 2:
      return joinedLines({info.horseName, info.sexAge + " " + info.earnings + " " + info.blinkers,
                          info.jockey, info.weightCarried + " " + info.apprentice, info.trainer});
    case 3:
      return joinedLines({info.distanceRecord[0], info.distanceRecord[1], info.distanceRecord[2],
                          info.distanceRecord[3]});
    case 4:
      return joinedLines(
          {info.goingRecord[0], info.goingRecord[1], info.goingRecord[2], info.goingRecord[3]});
    default: {
      const model::PastRunCell& run = pastRun(index.row(), index.column() - kFirstPastRunColumn);
      if (run.empty) return QString();
      return joinedLines({run.lines[0], run.lines[1], run.lines[2] + " " + run.finishingPosition,
                          run.lines[3], run.lines[4], run.mark});
    }
  }
}

QVariant DetailedCardModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section < 0 || section >= static_cast<int>(m_headings.size())) return {};
  return fromCp932(m_headings[static_cast<size_t>(section)]);
}

void DetailedCardDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  const auto* model = qobject_cast<const DetailedCardModel*>(index.model());
  if (model == nullptr) return;
  painter->save();
  painter->setClipRect(option.rect);
  if (index.column() < kFirstPastRunColumn) {
    paintRunnerCell(painter, option, index.column(), model->runner(index.row()), option.widget);
  } else {
    paintPastRunCell(painter, option,
                     model->pastRun(index.row(), index.column() - kFirstPastRunColumn),
                     option.widget);
  }
  painter->setPen(Qt::black);
  painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
  painter->restore();
}

int DetailedCardDelegate::rowHeight(const QWidget* widget) {
  const int bold = QFontMetrics(fonts().bold10).height();
  const int small = QFontMetrics(fonts().regular8).height();
  // Line 1 and the four lines of the runner cell, or the six lines of a past
  // run, whichever is higher.
  const int needed = 2 + std::max(bold + 4 * small, 6 * small) + 2;
  return std::max(scaled(widget, 65), needed);
}

void setUpDetailedCardView(QTableView* table, DetailedCardModel* model) {
  table->setModel(model);
  auto* delegate = new DetailedCardDelegate(table);
  table->setItemDelegate(delegate);
  table->setFont(fixedPitchFont(12));
  table->verticalHeader()->hide();
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->horizontalHeader()->setFont(fixedPitchFont(12));
  table->horizontalHeader()->setStyleSheet(gridHeaderStyleSheet());
  table->horizontalHeader()->setFixedHeight(
      std::max(scaled(table, 17), QFontMetrics(fixedPitchFont(12)).height() + 4));
  table->horizontalHeader()->setDefaultSectionSize(scaled(table, 145));
  const auto& widths = model::detailedCardColumnWidths();
  for (int column = 0; column < model::kDetailedFixedColumns; ++column) {
    table->horizontalHeader()->resizeSection(column,
                                             scaled(table, widths[static_cast<size_t>(column)]));
  }
  table->verticalHeader()->setDefaultSectionSize(DetailedCardDelegate::rowHeight(table));
  table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // The bracket, the horse number and the horse stay in sight while the
  // past runs scroll.
  freezeColumns(table, 3, delegate);
}

}  // namespace orvalle::gui
