#pragma once

#include <QWidget>

namespace orvalle::gui {

// A horizontal up-down: two arrow buttons that step a position between 0 and
// a maximum (UpDown1 steps through the races of the race list).
class UpDown : public QWidget {
  Q_OBJECT

 public:
  explicit UpDown(QWidget* parent = nullptr);

  int position() const { return m_position; }
  int maximum() const { return m_maximum; }
  void setMaximum(int maximum);
  // Moves to `position` (kept within 0..maximum) without emitting clicked.
  void setPosition(int position);

 signals:
  // A button moved the position.
  void clicked(int position);

 private:
  void step(int delta);

  int m_position = 0;
  int m_maximum = 35;
};

}  // namespace orvalle::gui
