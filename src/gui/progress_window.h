#pragma once

#include <QWidget>

#include "store/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace orvalle::gui {

// The progress window: a small window on top of the main window with an
// upper and a lower text line, a progress bar and a cancel button
// ("中止"), shown while a long command runs.
class ProgressWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  // Shows a report: the lines that are not empty replace the shown ones; the
  // bar follows position and maximum (a busy bar while the maximum is 0).
  void showProgress(const Progress& progress);
  // Starts over with two lines and an empty bar.
  void reset(const QString& upperLine, const QString& lowerLine);
  // Whether the cancel button is offered.
  void setCancellable(bool cancellable);

  QString upperLine() const;
  QString lowerLine() const;

 signals:
  void cancelRequested();

 private:
  QLabel* m_upper;
  QLabel* m_lower;
  QProgressBar* m_bar;
  QPushButton* m_cancel;
};

}  // namespace orvalle::gui
