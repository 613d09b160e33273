#pragma once

#include <string_view>

#include "app/command_result.h"
#include "app/home.h"
#include "app/settings.h"
#include "betting/user_settings_editor.h"
#include "store/error.h"

namespace orvalle::app {

// The commands of the user combination settings dialog and of the
// odds-ceiling dialog on a home: "UserSet.usd" through
// betting::UserSettingsEditor, and the chosen setting stored as
// "UserSetting"/"SetID" in the settings file. The GUI's dialogs and the
// CLI's `kaime` commands run them. Not thread-safe.
class UserSettingsCommands {
 public:
  // Loads the home's "UserSet.usd" (none when it is missing). Throws
  // orvalle::Error when it exists but cannot be read.
  explicit UserSettingsCommands(const Home& home);

  const betting::UserSettingsEditor& editor() const { return m_editor; }

  // Reads "UserSet.usd" afresh into the working copy: a change made while
  // another program may have changed the file since it was loaded (the
  // dialog, which stays open) starts from the file as it stands. Throws
  // orvalle::Error when it exists but cannot be read; the working copy then
  // stays as it was.
  void reload();

  // The setting the combination calculation takes: "SetID", or 0 when it
  // lies beyond the last line (or below 0); -1 when there is no setting
  // (betting::activeSettingIndex).
  int activeIndex() const;

  // Whether `index` names a setting; fails with betting::
  // noSuchSettingMessage otherwise. For commands that name a setting by its
  // index rather than choose it in the dialog's list.
  [[nodiscard]] Status checkIndex(int index) const;

  // Selects setting `index`: shows it in `form` (see
  // UserSettingsEditor::show) and stores the index as "SetID" (an index out
  // of range falls back to 0). Throws orvalle::Error when the settings file
  // cannot be written.
  CommandResult select(int index, betting::UserSetting& form);

  // The OK button: on success stores the last line's index as "SetID" and
  // reports the saved message; a validation failure fails with its message
  // (beep); an answer No fails with the question's text (no beep).
  CommandResult save(const betting::UserSetting& form, const betting::Confirm& confirm);

  // Saves a whole setting line (CP932) as the OK button saves the form
  // holding it: fails with "設定の項目が多すぎます（26項目まで）。" for a line
  // of more fields than a setting has, else as save().
  CommandResult saveLine(std::string_view line, const betting::Confirm& confirm);

  // Deletes setting `index` and stores "SetID" 0; fails with
  // "削除項目がありません。" when there is none, with the question's text on
  // an answer No. Throws orvalle::Error for an index out of range.
  CommandResult remove(int index, const betting::Confirm& confirm);

 private:
  CommandResult finish(const betting::SettingsChange& change);

  Settings m_settings;
  betting::UserSettingsEditor m_editor;
};

// The OK button of the odds-ceiling dialog: "入力がありません。" for an empty
// box, "１倍未満のｵｯｽﾞは指定できません。" below 1, "２０倍越のｵｯｽﾞは指定
// できません。" above 20; otherwise stores the value "%4.1f" as
// "OddsSpan"/"ceil" and reports "ｵｯｽﾞの上限を" + value + "に指定しました。".
// `input` is the box's text (CP932). Throws orvalle::Error when the
// settings file cannot be written.
CommandResult setOddsCeiling(Settings& ini, std::string_view input);

}  // namespace orvalle::app
