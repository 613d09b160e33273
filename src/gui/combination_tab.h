#pragma once

#include <QTabWidget>

#include <array>
#include <vector>

#include "betting/combination_grids.h"

class QLabel;
class QTableView;

namespace orvalle::gui {

class GridModel;

// The tab "買い目": the combination grids of the current race, "馬連・ワイド"
// (StringGrid2), "馬単" (StringGrid1) and "三連複" (StringGrid27), each
// beside the day tallies of its bet types (RaceSuURLabel ... KaishuRituSRFLabel).
class CombinationTab : public QTabWidget {
  Q_OBJECT

 public:
  explicit CombinationTab(QWidget* parent = nullptr);

  // Shows the combinations of a race and the day tallies of the tables.
  void showRace(const model::DayTables& tables, int raceSlot);
  // Empty grids and tallies.
  void clear();

  GridModel* gridModel(betting::CombinationGridKind kind) const;

 private:
  struct TallySet {
    model::TallyBetType type;
    std::array<QLabel*, 5> labels{};
  };
  QWidget* addPage(betting::CombinationGridKind kind, std::vector<model::TallyBetType> types,
                   const QString& title);
  void showTallies(const model::DayTables* tables);

  std::array<GridModel*, 3> m_models{};
  std::array<QTableView*, 3> m_tables{};
  std::vector<TallySet> m_tallies;
};

}  // namespace orvalle::gui
