#pragma once

#include <QDialog>

#include "app/home.h"
#include "app/settings.h"

class QSpinBox;

namespace orvalle::gui {

// The past-run period dialog "過去走データ利用範囲指定" (TDataSpanSetForm): a
// spin box of days (365 to 7300) set to "DataSpan"/"period"; OK writes the
// value to the same key (under the home's lock), closing otherwise leaves it
// unchanged.
class PeriodDialog : public QDialog {
  Q_OBJECT

 public:
  PeriodDialog(const app::Home& home, QWidget* parent = nullptr);

  QSpinBox* spinBox() const { return m_days; }

 public slots:
  void accept() override;

 private:
  app::Home m_home;
  app::Settings m_settings;
  QSpinBox* m_days;
};

// The about window: the program's name and its version text "Ver.1.30".
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace orvalle::gui
