#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/home.h"
#include "app/settings.h"
#include "app/user_settings_commands.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace orvalle::gui {

// The user combination settings dialog "ユーザー買い目設定" (TUserKaimeForm):
// the settings of "UserSet.usd" in SelCombo, the chosen one shown in its
// name box, its two axis rules, its ten partner rules and the insurance
// trio check box; OK saves (overwriting after a question), "設定削除"
// deletes, "ｸﾘｱ" empties a rule. Every check and message is the core's
// (app::UserSettingsCommands); choosing a setting stores it as the active
// one. Each change holds the home's lock and starts from the files as they
// stand then, so that a change another program made while the dialog was
// open is kept.
class UserSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Throws orvalle::Error when "UserSet.usd" exists but cannot be read.
  explicit UserSettingsDialog(const app::Home& home, QWidget* parent = nullptr);
  ~UserSettingsDialog() override;

  // The form as the core takes it: the name as typed and the list entries
  // chosen (CP932).
  betting::UserSetting form() const;

 private:
  struct RuleRow {
    QComboBox* criterion = nullptr;
    QComboBox* rank = nullptr;
  };
  void fillSettings(int select);
  void showSetting(int index);
  void showForm(const betting::UserSetting& form);
  void save();
  void remove();
  bool eventFilter(QObject* watched, QEvent* event) override;

  using Command = std::function<app::CommandResult(const betting::Confirm&)>;
  // Runs `command` under the home's lock on "UserSet.usd" read afresh. Its
  // question is asked with the lock released: the command runs answering
  // No and, when it asked and the user answers Yes, runs again with that
  // answer. `declined` tells that the user answered No.
  app::CommandResult change(const Command& command, bool& declined);
  // The index in the working copy of the setting listed at `listed`, found
  // by its line (the file may have changed since the list was filled); -1
  // when it is no longer there.
  int workingIndexOf(int listed) const;

  app::Home m_home;
  std::unique_ptr<app::UserSettingsCommands> m_commands;
  std::vector<std::string> m_listed;  // the lines of the settings in SelCombo
  QComboBox* m_settings = nullptr;    // SelCombo
  QLineEdit* m_name = nullptr;        // Edit1
  QCheckBox* m_trios = nullptr;       // CheckBox1
  std::array<RuleRow, 2 + betting::kPartnerRuleCount> m_rules;  // axis 1, axis 2, partners
  bool m_filling = false;
};

// The odds-ceiling dialog "ｵｯｽﾞｼｷｲ値設定" (TOddsSpanForm): the upper odds of
// the runners that get reverse ranks, "OddsSpan"/"ceil"; OK stores it with
// the core's checks and messages, the dialog stays open until closed.
class OddsCeilingDialog : public QDialog {
  Q_OBJECT

 public:
  OddsCeilingDialog(const app::Home& home, QWidget* parent = nullptr);

 private:
  app::Home m_home;
  app::Settings m_settings;
  QLineEdit* m_value = nullptr;  // the numeric box
};

}  // namespace orvalle::gui
