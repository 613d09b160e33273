#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <optional>
#include <vector>

#include "model/detailed_race_card.h"

class QTableView;

namespace orvalle::gui {

// The detailed race card (StringGrid5) of the current race: one tall row per
// runner in horse-number order, columns 0-4 the runner and its records,
// columns 5-104 its past runs. The cells are painted from the core's data
// (DetailedCardDelegate); the display text of a cell is its lines joined by
// line breaks, for copying and tests.
class DetailedCardModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The roles the delegate paints from.
  enum Role { kRunnerRole = Qt::UserRole + 1, kPastRunRole };

  explicit DetailedCardModel(QObject* parent = nullptr);

  // Shows the first `runners` runner slots of race slot `raceSlot` of the
  // tables (nullptr or -1: nothing).
  void showRace(const model::DayTables* tables, int raceSlot, int runners);
  void clear() { showRace(nullptr, -1, 0); }

  const model::DetailedRunnerInfo& runner(int row) const { return m_runners.at(row); }
  const model::PastRunCell& pastRun(int row, int pastRunSlot) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<std::string> m_headings;
  std::vector<model::DetailedRunnerInfo> m_runners;
  std::vector<std::vector<model::PastRunCell>> m_pastRuns;  // by row, then slot
};

// Paints the cells of the detailed race card: bracket and horse number on
// their colours, the runner's five lines, its records by distance and by
// going, and each past run as a six-line block with its finishing position
// and prediction mark in colour; every cell ends in a black bottom line.
class DetailedCardDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

  // The row height the six lines of a past run need (at least 65 pixels).
  static int rowHeight(const QWidget* widget);
};

// Sets up the table view of the detailed race card: model, delegate, three
// frozen-looking fixed columns' widths, row heights and the heading font.
void setUpDetailedCardView(QTableView* table, DetailedCardModel* model);

}  // namespace orvalle::gui
