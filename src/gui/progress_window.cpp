#include "progress_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui_text.h"

namespace orvalle::gui {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_upper(new QLabel(this)),
      m_lower(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("中止"), this)) {
  setObjectName(QStringLiteral("PrgrsForm"));
  setWindowTitle(QStringLiteral("処理中"));
  m_upper->setObjectName(QStringLiteral("UpperLabel"));
  m_lower->setObjectName(QStringLiteral("LowerLabel"));
  m_bar->setObjectName(QStringLiteral("ProgressBar1"));
  m_cancel->setObjectName(QStringLiteral("CancelBtn"));
  m_upper->setMinimumWidth(scaled(this, 320));
  m_bar->setTextVisible(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_upper);
  layout->addWidget(m_lower);
  layout->addWidget(m_bar);
  layout->addWidget(m_cancel, 0, Qt::AlignRight);
  connect(m_cancel, &QPushButton::clicked, this, [this] {
    m_cancel->setEnabled(false);
    emit cancelRequested();
  });
}

void ProgressWindow::reset(const QString& upperLine, const QString& lowerLine) {
  m_upper->setText(upperLine);
  m_lower->setText(lowerLine);
  m_bar->setRange(0, 0);
  m_cancel->setEnabled(true);
}

void ProgressWindow::setCancellable(bool cancellable) { m_cancel->setVisible(cancellable); }

void ProgressWindow::showProgress(const Progress& progress) {
  if (!progress.upperLine.empty()) m_upper->setText(fromUtf8(progress.upperLine));
  if (!progress.lowerLine.empty()) m_lower->setText(fromUtf8(progress.lowerLine));
  m_bar->setRange(0, std::max(progress.maximum, 0));
  if (progress.maximum > 0) m_bar->setValue(std::clamp(progress.position, 0, progress.maximum));
}

QString ProgressWindow::upperLine() const { return m_upper->text(); }
QString ProgressWindow::lowerLine() const { return m_lower->text(); }

}  // namespace orvalle::gui
