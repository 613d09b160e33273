#include "unprocessed_dialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/day_session.h"
#include "gui_text.h"
#include "notifier.h"

namespace orvalle::gui {

UnprocessedYearDialog::UnprocessedYearDialog(const app::DaySession& session, int currentYear,
                                             QWidget* parent)
    : QDialog(parent), m_session(session), m_year(new QSpinBox(this)) {
  setObjectName(QStringLiteral("YosoExecuteForm"));
  setWindowTitle(QStringLiteral("未読込データ処理"));
  auto* text = new QLabel(
      QStringLiteral(
          "今まで一度も「全レース比較」をしていない開催日のデータがある場合は、そのレース"
          "出走馬の順当馬及び裏切り馬のカウントができません。まだ未処理の開催日データを"
          "処理してください。なお、処理は年単位で行われます。"),
      this);
  text->setWordWrap(true);
  m_year->setObjectName(QStringLiteral("SpinEdit1"));
  m_year->setRange(1990, currentYear);
  m_year->setValue(currentYear);
  auto* field = new QHBoxLayout;
  field->addWidget(m_year);
  field->addWidget(new QLabel(QStringLiteral("年の未処理開催日データを読み込む。"), this));
  field->addStretch(1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn1"));
  connect(buttons, &QDialogButtonBox::accepted, this, &UnprocessedYearDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addLayout(field);
  layout->addWidget(buttons);
  setMinimumWidth(scaled(this, 420));
}

void UnprocessedYearDialog::accept() {
  const int year = m_year->value();
  std::vector<std::string> days;
  const app::CommandResult listed = m_session.unprocessedDays(year, days);
  if (!listed) {
    showNotices(this, listed);
    return;
  }
  UnprocessedListDialog list(year, days, this);
  if (list.exec() != QDialog::Accepted) return;
  m_days = std::move(days);
  QDialog::accept();
}

UnprocessedListDialog::UnprocessedListDialog(int year, const std::vector<std::string>& days,
                                             QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
  setObjectName(QStringLiteral("NoYosoListForm"));
  setWindowTitle(QStringLiteral("未処理データリスト"));
  auto* title = new QLabel(QStringLiteral("%1年の未処理開催日データ").arg(year), this);
  title->setObjectName(QStringLiteral("Label1"));
  m_list->setObjectName(QStringLiteral("ListBox1"));
  for (const std::string& day : days) m_list->addItem(fromUtf8(day));
  auto* start = new QPushButton(QStringLiteral("Start"), this);
  start->setObjectName(QStringLiteral("BitBtn1"));
  connect(start, &QPushButton::clicked, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(new QLabel(QStringLiteral("下記の開催日データを読み込み処理します。"), this));
  layout->addWidget(m_list, 1);
  layout->addWidget(start, 0, Qt::AlignRight);
}

}  // namespace orvalle::gui
