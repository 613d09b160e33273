#pragma once

#include <QWidget>

#include <array>
#include <vector>

#include "output/results_panel.h"

class QLabel;

namespace orvalle::gui {

// The results tab "ﾚｰｽ結果": seven groups of boxes (win, place, bracket
// quinella, quinella, quinella place, exacta, trio), each with its rows
// "結果：", "人気：" and "配当：", lime bold text on black. The boxes carry
// the object names by which the program addresses them (Label3D20, UTLabel1,
// ...).
class ResultsPanelWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ResultsPanelWidget(QWidget* parent = nullptr);

  // Shows the texts of a race's payout block (empty boxes for a race without
  // payouts).
  void showPayouts(const store::PayoutBlock& payouts);
  void clear();

  // The box of `entry` (0-based) in `row` of the group of `type`.
  QLabel* box(store::BetType type, output::ResultsRow row, int entry) const;

 private:
  struct Group {
    store::BetType type;
    std::array<std::vector<QLabel*>, 3> rows;  // result, popularity, payout
  };
  void showGroup(Group& group, const output::ResultsGroupTexts& texts);

  std::vector<Group> m_groups;
};

}  // namespace orvalle::gui
