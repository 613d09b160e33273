#include "settings_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <optional>

#include "app/home_lock.h"
#include "app/user_input.h"
#include "gui_text.h"
#include "notifier.h"
#include "store/cp932.h"
#include "store/error.h"

namespace orvalle::gui {
namespace {

constexpr int kAxisRows = 2;

QComboBox* listOf(QWidget* parent, const QString& name, std::span<const std::string> entries) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  for (const std::string& entry : entries) list->addItem(fromCp932(entry));
  list->setCurrentIndex(-1);
  return list;
}

// The entry chosen in a list as the core keeps it (CP932), empty when none.
std::string chosen(const QComboBox* list) {
  return list->currentIndex() < 0 ? std::string() : cp932::fromUtf8(toUtf8(list->currentText()));
}

// Chooses the entry whose text is `cp932Text`, or none.
void choose(QComboBox* list, const std::string& cp932Text) {
  list->setCurrentIndex(cp932Text.empty() ? -1 : list->findText(fromCp932(cp932Text)));
}

// Shows the notices of a dialog command, unless it ended because the user
// answered No (the question was the answer already).
void showResult(QWidget* parent, const app::CommandResult& result, bool declined) {
  if (!declined) showNotices(parent, result);
}

}  // namespace

UserSettingsDialog::UserSettingsDialog(const app::Home& home, QWidget* parent)
    : QDialog(parent), m_home(home), m_commands(std::make_unique<app::UserSettingsCommands>(home)) {
  setObjectName(QStringLiteral("UserKaimeForm"));
  setWindowTitle(QStringLiteral("ユーザー買い目設定"));
  auto* grid = new QGridLayout;

  m_settings = new QComboBox(this);
  m_settings->setObjectName(QStringLiteral("SelCombo"));
  m_settings->setMinimumContentsLength(16);
  auto* reload = new QToolButton(this);
  reload->setObjectName(QStringLiteral("SpeedButton1"));
  reload->setText(QStringLiteral("設定追加"));
  auto* remove = new QToolButton(this);
  remove->setObjectName(QStringLiteral("SpeedButton2"));
  remove->setText(QStringLiteral("設定削除"));
  grid->addWidget(new QLabel(QStringLiteral("設定選択"), this), 0, 0);
  grid->addWidget(m_settings, 0, 1, 1, 2);
  auto* settingButtons = new QHBoxLayout;
  settingButtons->addWidget(reload);
  settingButtons->addWidget(remove);
  grid->addLayout(settingButtons, 0, 3);

  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("Edit1"));
  grid->addWidget(new QLabel(QStringLiteral("設定名"), this), 1, 0);
  grid->addWidget(m_name, 1, 1, 1, 2);

  for (size_t row = 0; row < m_rules.size(); ++row) {
    const bool axis = row < kAxisRows;
    const int number = axis ? static_cast<int>(row) + 1 : static_cast<int>(row) - kAxisRows + 1;
    const QString prefix = axis ? QStringLiteral("Jiku") : QStringLiteral("Himo");
    RuleRow& rule = m_rules[row];
    rule.criterion =
        listOf(this, prefix + QStringLiteral("Item%1").arg(number), betting::rankCriterionTexts());
    rule.rank =
        listOf(this, prefix + QStringLiteral("Jun%1").arg(number), betting::rankEntryTexts());
    auto* clear = new QToolButton(this);
    clear->setObjectName(QStringLiteral("SpeedButton%1").arg(3 + row));
    clear->setText(QStringLiteral("ｸﾘｱ"));
    connect(clear, &QToolButton::clicked, this, [rule] {
      rule.criterion->setCurrentIndex(-1);
      rule.rank->setCurrentIndex(-1);
    });
    QString caption;
    if (axis) caption = QStringLiteral("軸馬%1").arg(QChar(u'１' + (number - 1)));
    if (row == kAxisRows) caption = QStringLiteral("流し馬");
    const int gridRow = 2 + static_cast<int>(row);
    grid->addWidget(new QLabel(caption, this), gridRow, 0);
    grid->addWidget(rule.criterion, gridRow, 1);
    grid->addWidget(rule.rank, gridRow, 2);
    grid->addWidget(clear, gridRow, 3);
    for (QComboBox* list : {rule.criterion, rule.rank}) list->installEventFilter(this);
  }
  m_settings->installEventFilter(this);
  m_name->installEventFilter(this);

  m_trios = new QCheckBox(QStringLiteral("下記抑えの買い目を追加する"), this);
  m_trios->setObjectName(QStringLiteral("CheckBox1"));
  m_trios->setChecked(true);
  auto* notes = new QLabel(
      QStringLiteral("・単人気１位－単人気２位－pt勝率１位\n・単人気１位－単人気２位－pt勝率２位\n"
                     "・馬連・ワイド・馬単は「軸馬１」より各「流し馬」へ流され、かつ軸馬1-軸馬2の"
                     "組合せをﾌﾟﾗｽして買い目を生成します。\n・三連複は「軸馬１・軸馬２」より各"
                     "「流し馬」へ流して買い目を生成します。"),
      this);
  notes->setWordWrap(true);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("BitBtn2"));
  ok->setAutoDefault(false);
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName(QStringLiteral("BitBtn1"));
  close->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(m_trios);
  layout->addWidget(notes);
  layout->addLayout(buttons);

  connect(m_settings, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!m_filling && index >= 0) showSetting(index);
  });
  connect(reload, &QToolButton::clicked, this,
          [this] { fillSettings(static_cast<int>(m_commands->editor().lines().size()) - 1); });
  connect(remove, &QToolButton::clicked, this, &UserSettingsDialog::remove);
  connect(ok, &QPushButton::clicked, this, &UserSettingsDialog::save);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  fillSettings(m_commands->activeIndex());
}

UserSettingsDialog::~UserSettingsDialog() = default;

void UserSettingsDialog::fillSettings(int select) {
  m_filling = true;
  m_settings->clear();
  m_listed = m_commands->editor().lines();
  for (const std::string& name : m_commands->editor().names()) m_settings->addItem(fromCp932(name));
  m_settings->setCurrentIndex(-1);
  m_filling = false;
  if (m_settings->count() == 0) {
    // No setting left: empty fields (the core stores SetID 0).
    betting::UserSetting empty;
    empty.popularityTrios = m_trios->isChecked();
    showForm(empty);
    return;
  }
  m_filling = true;
  m_settings->setCurrentIndex(std::clamp(select, 0, m_settings->count() - 1));
  m_filling = false;
  showSetting(m_settings->currentIndex());
}

void UserSettingsDialog::showSetting(int index) {
  betting::UserSetting shown = form();
  try {
    app::withHomeWriteLock(m_home, [&] {
      m_commands->reload();
      (void)m_commands->select(workingIndexOf(index), shown);
    });
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
    return;
  }
  // Another program changed the settings: the list shows them as they are.
  if (m_commands->editor().lines() != m_listed) {
    fillSettings(m_commands->activeIndex());
    return;
  }
  showForm(shown);
}

app::CommandResult UserSettingsDialog::change(const Command& command, bool& declined) {
  std::map<std::string, bool> answers;  // by question, all Yes
  for (;;) {
    std::optional<std::string> asked;
    const betting::Confirm confirm = [&](const std::string& question) {
      if (answers.contains(question)) return true;
      asked = question;
      return false;
    };
    app::CommandResult result = app::withHomeWriteLock(m_home, [&] {
      m_commands->reload();
      return command(confirm);
    });
    declined = asked && !Notifier::instance().confirm(this, fromUtf8(*asked));
    if (!asked || declined) return result;
    answers[*asked] = true;
  }
}

int UserSettingsDialog::workingIndexOf(int listed) const {
  if (listed < 0 || static_cast<size_t>(listed) >= m_listed.size()) return -1;
  const std::vector<std::string>& lines = m_commands->editor().lines();
  const auto found = std::find(lines.begin(), lines.end(), m_listed[static_cast<size_t>(listed)]);
  return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

void UserSettingsDialog::showForm(const betting::UserSetting& setting) {
  m_name->setText(fromCp932(setting.name));
  const betting::RankRule* rules[2 + betting::kPartnerRuleCount] = {&setting.axis1, &setting.axis2};
  for (int k = 0; k < betting::kPartnerRuleCount; ++k) rules[kAxisRows + k] = &setting.partners[k];
  for (size_t row = 0; row < m_rules.size(); ++row) {
    choose(m_rules[row].criterion, rules[row]->criterion);
    choose(m_rules[row].rank, rules[row]->rank);
  }
  m_trios->setChecked(setting.popularityTrios);
}

betting::UserSetting UserSettingsDialog::form() const {
  betting::UserSetting setting;
  setting.name = cp932::fromUtf8(toUtf8(m_name->text()));
  betting::RankRule* rules[2 + betting::kPartnerRuleCount] = {&setting.axis1, &setting.axis2};
  for (int k = 0; k < betting::kPartnerRuleCount; ++k) rules[kAxisRows + k] = &setting.partners[k];
  for (size_t row = 0; row < m_rules.size(); ++row) {
    rules[row]->criterion = chosen(m_rules[row].criterion);
    rules[row]->rank = chosen(m_rules[row].rank);
  }
  setting.popularityTrios = m_trios->isChecked();
  return setting;
}

void UserSettingsDialog::save() {
  // A typed name that CP932 cannot hold is refused before anything else.
  const app::Input name = app::cp932Input(toUtf8(m_name->text()));
  if (!name) {
    Notifier::instance().inform(this, fromUtf8(name.status.message()), true);
    return;
  }
  bool declined = false;
  try {
    const betting::UserSetting typed = form();
    const app::CommandResult result =
        change([&](const betting::Confirm& confirm) { return m_commands->save(typed, confirm); },
               declined);
    showResult(this, result, declined);
    // The saved setting, the last line, becomes the chosen one.
    if (result) fillSettings(static_cast<int>(m_commands->editor().lines().size()) - 1);
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
}

void UserSettingsDialog::remove() {
  bool declined = false;
  const int listed = std::max(m_settings->currentIndex(), 0);
  try {
    const app::CommandResult result = change(
        [&](const betting::Confirm& confirm) {
          const int index = workingIndexOf(listed);
          // Deleted by another program meanwhile: nothing is left to do.
          if (index < 0 && !m_commands->editor().lines().empty()) return app::CommandResult{};
          return m_commands->remove(std::max(index, 0), confirm);
        },
        declined);
    showResult(this, result, declined);
    if (result) fillSettings(0);
  } catch (const Error& error) {
    Notifier::instance().inform(this, fromUtf8(error.what()), true);
  }
}

bool UserSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  // Enter moves on to the next control and goes no further.
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

OddsCeilingDialog::OddsCeilingDialog(const app::Home& home, QWidget* parent)
    : QDialog(parent), m_home(home), m_settings(home.iniPath()), m_value(new QLineEdit(this)) {
  setObjectName(QStringLiteral("OddsSpanForm"));
  setWindowTitle(QStringLiteral("ｵｯｽﾞｼｷｲ値設定"));
  auto* explanation = new QLabel(
      QStringLiteral(
          "ﾃﾞｰﾀ量が少ないのに強い馬もいます。これを考慮するためにｵｯｽﾞで人気化している馬を"
          "勝数または勝ﾎﾟｲﾝﾄを逆順で並べ替えた順位を利用するのも有効となります。ここでは"
          "そのｵｯｽﾞの上限値を指定します。"),
      this);
  explanation->setWordWrap(true);
  // Two integer digits and one decimal.
  m_value->setObjectName(QStringLiteral("OddsEdit"));
  m_value->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("\\d{0,2}(\\.\\d?)?")), m_value));
  m_value->setText(fromCp932(m_settings.displayValue(app::settings::kOddsCeiling)));
  m_value->setMaximumWidth(scaled(m_value, 60));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("BitBtn1"));
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName(QStringLiteral("BitBtn2"));
  close->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, [this] {
    try {
      const std::string input = cp932::fromUtf8(toUtf8(m_value->text()));
      showResult(
          this,
          app::withHomeWriteLock(m_home, [&] { return app::setOddsCeiling(m_settings, input); }),
          false);
    } catch (const Error& error) {
      Notifier::instance().inform(this, fromUtf8(error.what()), true);
    }
  });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* field = new QHBoxLayout;
  field->addWidget(new QLabel(QStringLiteral("ｵｯｽﾞの上限値："), this));
  field->addWidget(m_value);
  field->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(explanation);
  layout->addLayout(field);
  layout->addLayout(buttons);
  setMinimumWidth(scaled(this, 380));
}

}  // namespace orvalle::gui
