#include "app/user_settings_commands.h"

#include "betting/odds_ceiling.h"
#include "betting/user_settings.h"

namespace orvalle::app {

UserSettingsCommands::UserSettingsCommands(const Home& home)
    : m_settings(home.iniPath()), m_editor(home.userSetPath()) {}

void UserSettingsCommands::reload() { m_editor = betting::UserSettingsEditor(m_editor.path()); }

int UserSettingsCommands::activeIndex() const {
  return betting::activeSettingIndex(m_settings.integer(settings::kUserSettingId),
                                     m_editor.lines().size());
}

Status UserSettingsCommands::checkIndex(int index) const {
  const size_t count = m_editor.lines().size();
  if (index < 0 || static_cast<size_t>(index) >= count) {
    return Status::failure(betting::noSuchSettingMessage(index, count));
  }
  return Status::success();
}

CommandResult UserSettingsCommands::select(int index, betting::UserSetting& form) {
  m_settings.setInteger(settings::kUserSettingId, m_editor.show(index, form));
  return CommandResult{};
}

CommandResult UserSettingsCommands::save(const betting::UserSetting& form,
                                         const betting::Confirm& confirm) {
  return finish(m_editor.save(form, confirm));
}

CommandResult UserSettingsCommands::saveLine(std::string_view line,
                                             const betting::Confirm& confirm) {
  if (betting::splitSettingLine(line).size() >
      static_cast<size_t>(betting::kUserSettingFieldCount)) {
    return CommandResult::failure("設定の項目が多すぎます（" +
                                  std::to_string(betting::kUserSettingFieldCount) + "項目まで）。");
  }
  return save(betting::parseUserSetting(line), confirm);
}

CommandResult UserSettingsCommands::remove(int index, const betting::Confirm& confirm) {
  return finish(m_editor.remove(index, confirm));
}

CommandResult UserSettingsCommands::finish(const betting::SettingsChange& change) {
  switch (change.outcome) {
    case betting::ChangeOutcome::kInvalid:
      return CommandResult::failure(change.message, /*beep=*/true);
    case betting::ChangeOutcome::kDeclined:
      return CommandResult::failure(change.message, /*beep=*/false);
    case betting::ChangeOutcome::kDone:
      break;
  }
  m_settings.setInteger(settings::kUserSettingId, change.setId);
  CommandResult result;
  if (!change.message.empty()) result.notices.push_back(Notice{change.message, false});
  return result;
}

CommandResult setOddsCeiling(Settings& ini, std::string_view input) {
  if (Status status = ini.setFromText(settings::kOddsCeiling, input); !status) {
    return CommandResult::failure(status.message());
  }
  return CommandResult::information(
      betting::oddsCeilingStoredMessage(ini.decimal(settings::kOddsCeiling)));
}

}  // namespace orvalle::app
