#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "betting/user_settings.h"
#include "store/error.h"

namespace orvalle::betting {

// Asks the user a Yes/No question (UTF-8) and returns true for Yes. The GUI
// shows a confirmation box; the CLI answers from its flags.
using Confirm = std::function<bool(const std::string& question)>;

// The validation of the dialog's OK button on its form: the name as typed
// and the list entries chosen (CP932; an entry not chosen is empty). Returns
// the first failure's message (UTF-8):
//   axis 1 both texts empty "軸馬1を入力してください。", one of them empty
//   "軸馬1の入力が不正です。"; the same for axis 2 ("軸馬2…");
//   axis 1 equal to axis 2 "軸馬1と軸馬2は別の馬を入力してください。";
//   partner 1 both empty "流し馬１点目を入力してください。";
//   for partner k = 1..10: one text empty "流し馬k点目の入力が不正です。",
//   the same criterion and rank number as an axis "流し馬k点目が軸馬1と
//   重複しています。" (or 軸馬2), the same texts as a later partner m
//   "流し馬k点目と流し馬m点目と重複しています。";
//   the name empty after trimming "設定名を入力してくだい。".
// Axis texts are compared trimmed. A text that is not blank and is none of
// the list's entries (rankCriterionTexts, rankEntryTexts, compared trimmed)
// makes its rule "…の入力が不正です。": the dialog's lists cannot hold it.
[[nodiscard]] Status validateUserSetting(const UserSetting& form);

// The outcome of a change of the settings (save or delete).
enum class ChangeOutcome {
  kDone,      // the file was written
  kInvalid,   // refused with a message; nothing written
  kDeclined,  // the user answered No to the question; nothing written
};

struct [[nodiscard]] SettingsChange {
  ChangeOutcome outcome = ChangeOutcome::kDone;
  // kDone: the information to show ("設定[name]を保存しました。",
  // "設定[name]を上書保存しました。"; empty after a delete); kInvalid: the
  // reason; kDeclined: the question that was answered No. UTF-8.
  std::string message;
  // kDone: the index the caller stores as "UserSetting"/"SetID" (the new
  // active setting): the last line after a save, 0 after a delete.
  int setId = 0;

  explicit operator bool() const { return outcome == ChangeOutcome::kDone; }
};

// The user combination settings dialog without its window: the working copy
// of the file's lines and the commands on them. The betting layer stores no
// ini key: the caller stores the index a command returns as
// "UserSetting"/"SetID". Not thread-safe.
class UserSettingsEditor {
 public:
  // Loads the file into the working copy; a missing file gives no settings.
  // Throws orvalle::Error when it exists but cannot be read.
  explicit UserSettingsEditor(std::filesystem::path path);

  const std::filesystem::path& path() const { return m_path; }
  // The working copy (CP932 lines, in file order).
  const std::vector<std::string>& lines() const { return m_lines; }
  // The names of the settings (field 0 of each line, CP932), in file order.
  std::vector<std::string> names() const;
  // The index of the first setting named `name` (CP932), or -1.
  int indexOfName(std::string_view name) const;

  // Selection: shows setting `index` in `form` and returns the index to
  // store as "SetID". Clears the axis 1 and partner rules, then takes the
  // name, the list entries equal to the line's texts (ranks compared
  // trimmed; an axis 2 text without a matching entry leaves that axis 2 text
  // as it was, the others stay cleared) and the flag. An index below 0 or
  // beyond the last line falls back to 0; with no settings the name and all
  // rules are emptied and 0 is returned.
  int show(int index, UserSetting& form) const;

  // The OK button: validates the form (validateUserSetting); when a setting
  // of the trimmed name exists asks "[" + name + "]はすでに登録済みの名称
  // です。上書きしますか?" and replaces that line in place on Yes, else
  // appends the line (the trimmed name, the trimmed axis texts, the partner
  // texts as chosen, the flag) and writes the file. A name holding CR, LF or
  // NUL is refused. A line equal to the one it would write is no conflict:
  // it is kept as it is and its index returned, with the message of a new
  // setting. Throws orvalle::Error when the file cannot be written;
  // the working copy and the file then stay as they were.
  SettingsChange save(const UserSetting& form, const Confirm& confirm);

  // Delete of setting `index`: "削除項目がありません。" when there is none;
  // asks name + " を削除しますか?" and on Yes removes the line and writes the
  // file; the first setting becomes the active one (0, also when none is
  // left). Throws orvalle::Error for an index out of range or when the file
  // cannot be written (nothing changed then).
  SettingsChange remove(int index, const Confirm& confirm);

 private:
  void write(const std::vector<std::string>& lines);

  std::filesystem::path m_path;
  std::vector<std::string> m_lines;
};

}  // namespace orvalle::betting
