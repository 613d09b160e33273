#include "up_down.h"

#include <QHBoxLayout>
#include <QToolButton>

#include <algorithm>

namespace orvalle::gui {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
  auto* down = new QToolButton(this);
  down->setObjectName(QStringLiteral("UpDownPrevious"));
  down->setArrowType(Qt::LeftArrow);
  down->setAutoRepeat(true);
  down->setToolTip(QStringLiteral("前のレース"));
  auto* up = new QToolButton(this);
  up->setObjectName(QStringLiteral("UpDownNext"));
  up->setArrowType(Qt::RightArrow);
  up->setAutoRepeat(true);
  up->setToolTip(QStringLiteral("次のレース"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(down);
  layout->addWidget(up);
  connect(down, &QToolButton::clicked, this, [this] { step(-1); });
  connect(up, &QToolButton::clicked, this, [this] { step(1); });
}

void UpDown::setMaximum(int maximum) {
  m_maximum = std::max(maximum, 0);
  m_position = std::clamp(m_position, 0, m_maximum);
}

void UpDown::setPosition(int position) { m_position = std::clamp(position, 0, m_maximum); }

void UpDown::step(int delta) {
  const int next = std::clamp(m_position + delta, 0, m_maximum);
  if (next == m_position) return;
  m_position = next;
  emit clicked(m_position);
}

}  // namespace orvalle::gui
