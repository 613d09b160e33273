#include "betting/user_settings_editor.h"

#include <utility>

#include "betting/user_settings_file.h"
#include "store/cp932.h"
#include "store/fixed_width.h"

namespace orvalle::betting {
namespace {

// The entry of `entries` equal to `text` after trimming both, or nullptr.
const std::string* entryOf(std::span<const std::string> entries, std::string_view text) {
  const std::string_view trimmed = store::trim(text);
  for (const std::string& entry : entries) {
    if (store::trim(entry) == trimmed) return &entry;
  }
  return nullptr;
}

// The state of a rule in the form.
enum class RuleState { kEmpty, kInvalid, kSet };

RuleState stateOf(const RankRule& rule) {
  const bool noCriterion = store::trim(rule.criterion).empty();
  const bool noRank = store::trim(rule.rank).empty();
  if (noCriterion && noRank) return RuleState::kEmpty;
  if (noCriterion || noRank) return RuleState::kInvalid;
  if (entryOf(rankCriterionTexts(), rule.criterion) == nullptr ||
      entryOf(rankEntryTexts(), rule.rank) == nullptr) {
    return RuleState::kInvalid;
  }
  return RuleState::kSet;
}

// Both rules name the same criterion and the same rank number (a partner
// " 3" is the axis "3").
bool sameRank(const RankRule& a, const RankRule& b) {
  return store::trim(a.criterion) == store::trim(b.criterion) &&
         store::toInt(a.rank) == store::toInt(b.rank);
}

// Both rules have the same texts (trimmed).
bool sameTexts(const RankRule& a, const RankRule& b) {
  return store::trim(a.criterion) == store::trim(b.criterion) &&
         store::trim(a.rank) == store::trim(b.rank);
}

// The rule as the dialog's lists hold it: each text the list entry it
// names; a text without an entry stays as it is (validation refused it).
RankRule asEntries(const RankRule& rule) {
  RankRule out = rule;
  if (const std::string* entry = entryOf(rankCriterionTexts(), rule.criterion)) {
    out.criterion = *entry;
  }
  if (const std::string* entry = entryOf(rankEntryTexts(), rule.rank)) out.rank = *entry;
  return out;
}

RankRule trimmed(const RankRule& rule) {
  return {std::string(store::trim(rule.criterion)), std::string(store::trim(rule.rank))};
}

std::string partnerLabel(int k) { return "流し馬" + std::to_string(k) + "点目"; }

bool holdsLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

Status validateUserSetting(const UserSetting& form) {
  const RankRule axis1 = trimmed(form.axis1);
  const RankRule axis2 = trimmed(form.axis2);
  switch (stateOf(axis1)) {
    case RuleState::kEmpty:
      return Status::failure("軸馬1を入力してください。");
    case RuleState::kInvalid:
      return Status::failure("軸馬1の入力が不正です。");
    case RuleState::kSet:
      break;
  }
  switch (stateOf(axis2)) {
    case RuleState::kEmpty:
      return Status::failure("軸馬2を入力してください。");
    case RuleState::kInvalid:
      return Status::failure("軸馬2の入力が不正です。");
    case RuleState::kSet:
      break;
  }
  if (axis1 == axis2) return Status::failure("軸馬1と軸馬2は別の馬を入力してください。");
  if (stateOf(form.partners[0]) == RuleState::kEmpty) {
    return Status::failure("流し馬１点目を入力してください。");
  }
  for (int k = 1; k <= kPartnerRuleCount; ++k) {
    const RankRule& partner = form.partners[k - 1];
    const RuleState state = stateOf(partner);
    if (state == RuleState::kInvalid)
      return Status::failure(partnerLabel(k) + "の入力が不正です。");
    if (state == RuleState::kEmpty) continue;
    if (sameRank(partner, axis1))
      return Status::failure(partnerLabel(k) + "が軸馬1と重複しています。");
    if (sameRank(partner, axis2))
      return Status::failure(partnerLabel(k) + "が軸馬2と重複しています。");
    for (int m = k + 1; m <= kPartnerRuleCount; ++m) {
      if (sameTexts(partner, form.partners[m - 1])) {
        return Status::failure(partnerLabel(k) + "と" + partnerLabel(m) + "と重複しています。");
      }
    }
  }
  if (store::trim(form.name).empty()) return Status::failure("設定名を入力してくだい。");
  return Status::success();
}

UserSettingsEditor::UserSettingsEditor(std::filesystem::path path) : m_path(std::move(path)) {
  if (auto lines = readUserSettingLines(m_path)) m_lines = std::move(*lines);
}

std::vector<std::string> UserSettingsEditor::names() const {
  std::vector<std::string> names;
  names.reserve(m_lines.size());
  for (const std::string& line : m_lines) names.push_back(parseUserSetting(line).name);
  return names;
}

int UserSettingsEditor::indexOfName(std::string_view name) const {
  for (size_t i = 0; i < m_lines.size(); ++i) {
    if (parseUserSetting(m_lines[i]).name == name) return static_cast<int>(i);
  }
  return -1;
}

int UserSettingsEditor::show(int index, UserSetting& form) const {
  form.axis1 = RankRule{};
  form.partners.fill(RankRule{});
  index = activeSettingIndex(index, m_lines.size());
  if (index < 0) {
    form.name.clear();
    form.axis2 = RankRule{};
    return 0;
  }
  const UserSetting line = parseUserSetting(m_lines[static_cast<size_t>(index)]);
  auto take = [](std::span<const std::string> entries, std::string_view text, std::string& target) {
    if (const std::string* entry = entryOf(entries, text)) target = *entry;
  };
  form.name = line.name;
  take(rankCriterionTexts(), line.axis1.criterion, form.axis1.criterion);
  take(rankEntryTexts(), line.axis1.rank, form.axis1.rank);
  take(rankCriterionTexts(), line.axis2.criterion, form.axis2.criterion);
  take(rankEntryTexts(), line.axis2.rank, form.axis2.rank);
  for (int k = 0; k < kPartnerRuleCount; ++k) {
    take(rankCriterionTexts(), line.partners[k].criterion, form.partners[k].criterion);
    take(rankEntryTexts(), line.partners[k].rank, form.partners[k].rank);
  }
  form.popularityTrios = line.popularityTrios;
  return index;
}

SettingsChange UserSettingsEditor::save(const UserSetting& form, const Confirm& confirm) {
  if (Status status = validateUserSetting(form); !status) {
    return {ChangeOutcome::kInvalid, status.message(), 0};
  }
  if (holdsLineBreakOrNul(form.name)) {
    return {ChangeOutcome::kInvalid, "設定名に改行は使えません。", 0};
  }
  UserSetting setting;
  setting.name = std::string(store::trim(form.name));
  setting.axis1 = trimmed(asEntries(form.axis1));
  setting.axis2 = trimmed(asEntries(form.axis2));
  for (int k = 0; k < kPartnerRuleCount; ++k) setting.partners[k] = asEntries(form.partners[k]);
  setting.popularityTrios = form.popularityTrios;

  const std::string nameUtf8 = cp932::toUtf8(setting.name);
  const int existing = indexOfName(setting.name);
  // The same setting saved again (a command repeated after it was broken
  // off between writing the line and choosing it) is no conflict: nothing
  // is written and it is chosen as a new one would be.
  if (existing >= 0 && m_lines[static_cast<size_t>(existing)] == userSettingLine(setting)) {
    return {ChangeOutcome::kDone, "設定[" + nameUtf8 + "]を保存しました。", existing};
  }
  if (existing >= 0) {
    std::string question = "[" + nameUtf8 + "]はすでに登録済みの名称です。上書きしますか?";
    if (!confirm || !confirm(question)) return {ChangeOutcome::kDeclined, std::move(question), 0};
  }
  std::vector<std::string> lines = m_lines;
  if (existing >= 0) {
    lines[static_cast<size_t>(existing)] = userSettingLine(setting);
  } else {
    lines.push_back(userSettingLine(setting));
  }
  write(lines);
  m_lines = std::move(lines);
  const std::string message = existing >= 0 ? "設定[" + nameUtf8 + "]を上書保存しました。"
                                            : "設定[" + nameUtf8 + "]を保存しました。";
  return {ChangeOutcome::kDone, message, static_cast<int>(m_lines.size()) - 1};
}

SettingsChange UserSettingsEditor::remove(int index, const Confirm& confirm) {
  if (m_lines.empty()) return {ChangeOutcome::kInvalid, "削除項目がありません。", 0};
  if (index < 0 || static_cast<size_t>(index) >= m_lines.size()) {
    throw Error(noSuchSettingMessage(index, m_lines.size()));
  }
  std::string question = cp932::toUtf8(parseUserSetting(m_lines[static_cast<size_t>(index)]).name) +
                         " を削除しますか?";
  if (!confirm || !confirm(question)) return {ChangeOutcome::kDeclined, std::move(question), 0};
  std::vector<std::string> lines = m_lines;
  lines.erase(lines.begin() + index);
  write(lines);
  m_lines = std::move(lines);
  return {ChangeOutcome::kDone, "", 0};
}

void UserSettingsEditor::write(const std::vector<std::string>& lines) {
  writeUserSettingLines(m_path, lines);
}

}  // namespace orvalle::betting
