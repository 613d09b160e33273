#include "dialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/home_lock.h"
#include "gui_text.h"
#include "notifier.h"
#include "store/error.h"

namespace orvalle::gui {

PeriodDialog::PeriodDialog(const app::Home& home, QWidget* parent)
    : QDialog(parent), m_home(home), m_settings(home.iniPath()), m_days(new QSpinBox(this)) {
  setObjectName(QStringLiteral("DataSpanSetForm"));
  setWindowTitle(QStringLiteral("過去走データ利用範囲指定"));
  const app::SettingKey& key = app::settings::kPastRunPeriod;
  m_days->setObjectName(QStringLiteral("SpinEdit1"));
  m_days->setRange(static_cast<int>(key.range->minimum), static_cast<int>(key.range->maximum));
  m_days->setValue(m_settings.integer(key));

  auto* explanation =
      new QLabel(QStringLiteral("馬同士の能力比較に利用するデータの範囲を日単位で指定してください。"
                                "なお、365日（1年分）未満には指定できません。"),
                 this);
  explanation->setWordWrap(true);
  auto* field = new QHBoxLayout;
  field->addWidget(m_days);
  field->addWidget(new QLabel(QStringLiteral("日"), this));
  field->addStretch(1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn1"));
  connect(buttons, &QDialogButtonBox::accepted, this, &PeriodDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PeriodDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation);
  layout->addLayout(field);
  layout->addWidget(buttons);
  setMinimumWidth(scaled(this, 360));
}

void PeriodDialog::accept() {
  try {
    app::withHomeWriteLock(
        m_home, [&] { m_settings.setInteger(app::settings::kPastRunPeriod, m_days->value()); });
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
    return;
  }
  QDialog::accept();
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("バージョン情報"));
  auto* name = new QLabel(QStringLiteral("Orvalle for JRA-VAN Data Lab."), this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  name->setFont(big);
  auto* version = new QLabel(QStringLiteral("Ver.1.30"), this);
  version->setObjectName(QStringLiteral("VersionLabel"));
  auto* build =
      new QLabel(QStringLiteral("orvalle %1 (Qt %2)")
                     .arg(QStringLiteral(ORVALLE_VERSION), QString::fromLatin1(qVersion())),
                 this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(name);
  layout->addWidget(version);
  layout->addWidget(build);
  layout->addWidget(buttons);
}

}  // namespace orvalle::gui
