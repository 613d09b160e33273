#include "app/user_settings_commands.h"

#include "betting/odds_ceiling.h"

namespace orvalle::app {

UserSettingsCommands::UserSettingsCommands(const Home& home)
    : m_settings(home.iniPath()), m_editor(home.userSetPath()) {}

int UserSettingsCommands::activeIndex() const {
  const auto count = static_cast<int>(m_editor.lines().size());
  if (count == 0) return -1;
  const int stored = m_settings.integer(settings::kUserSettingId);
  return stored >= 0 && stored < count ? stored : 0;
}

CommandResult UserSettingsCommands::select(int index, betting::UserSetting& form) {
  m_settings.setInteger(settings::kUserSettingId, m_editor.show(index, form));
  return CommandResult{};
}

CommandResult UserSettingsCommands::save(const betting::UserSetting& form,
                                         const betting::Confirm& confirm) {
  return finish(m_editor.save(form, confirm));
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
  return CommandResult{
      true, {Notice{betting::oddsCeilingStoredMessage(ini.decimal(settings::kOddsCeiling))}}};
}

}  // namespace orvalle::app
