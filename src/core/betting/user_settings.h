#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/checked_array.h"

namespace orvalle::betting {

// A user combination setting is one line of "UserSet.usd": 26 fields
// separated by commas and one more comma at the end. Field 0 is the name,
// fields 1-2 the axis rule 1 (criterion, rank), fields 3-4 the axis rule 2,
// fields 2k+3 and 2k+4 the partner rule k (k = 1..10), field 25 the
// popularity-trio flag ("1" adds the two insurance trios).
inline constexpr int kUserSettingFieldCount = 26;
inline constexpr int kPartnerRuleCount = 10;

// The setting written as the only line when the file is missing (UTF-8;
// stored as CP932): "設定１" takes the runners by point win rate rank, the
// top two as axes, the next ten as partners, with the insurance trios.
inline constexpr std::string_view kDefaultUserSettingLine =
    "設定１,pt勝率,1,pt勝率,2,pt勝率, 3,pt勝率, 4,pt勝率, 5,pt勝率, 6,pt勝率, 7,pt勝率, 8,pt勝率, "
    "9,pt勝率,10,pt勝率,11,pt勝率,12,1,";

// The six rank criteria a rule may name, in the order of the dialog's lists
// (CP932): "pt勝率", "勝率", "単人気", "勝数逆順", "勝pt逆順", "勝数".
std::span<const std::string> rankCriterionTexts();

// The rank texts of the dialog's lists: " 1" ... " 9", "10" ... "18".
std::span<const std::string> rankEntryTexts();

// Splits a setting line (CP932) into its fields by the reading rule: blanks
// (bytes up to and including the space) before a field are skipped; an
// unquoted field ends at a comma or a blank; a field in double quotes may
// hold commas and blanks, a doubled quote standing for one quote (an
// unterminated quote runs to the end of the line); after a field, blanks
// and then one comma are skipped; two commas in a row give an empty field; a
// comma at the very end adds no field. A NUL byte ends the line. Never fails.
std::vector<std::string> splitSettingLine(std::string_view line);

// The stored form of a setting name (CP932): the name itself, or, when it
// holds a comma, a blank (any byte up to the space) or a double quote, the
// name in double quotes with each inner quote doubled, so that
// splitSettingLine reads it back as one field.
std::string quotedSettingName(std::string_view name);

// A rank rule: a criterion text and a rank text (CP932), both empty for no
// rule.
struct RankRule {
  std::string criterion;
  std::string rank;

  // True when both texts are empty after trimming.
  bool empty() const;
  bool operator==(const RankRule&) const = default;
};

// One user combination setting, its texts as stored (CP932). The dialog's
// form holds the same: the name as typed and the list entries chosen.
struct UserSetting {
  std::string name;
  RankRule axis1;
  RankRule axis2;
  CheckedArray<RankRule, kPartnerRuleCount> partners;
  bool popularityTrios = false;

  bool operator==(const UserSetting&) const = default;
};

// The setting of a line: fields as read by splitSettingLine, missing fields
// empty, fields beyond the 26th ignored; the flag is on exactly when field
// 25 is "1".
UserSetting parseUserSetting(std::string_view line);

// The line of a setting (CP932): the name (quotedSettingName), then a comma
// and the text of each of the 24 rule texts and the flag ("1" or "0"), then
// a final comma. Rule texts are written as they are.
std::string userSettingLine(const UserSetting& setting);

// The line of "UserSet.usd" that "UserSetting"/"SetID" chooses among
// `lineCount` lines: `setId`, or line 0 when it lies below 0 or beyond the
// last line; -1 when there is no line.
int activeSettingIndex(int setId, size_t lineCount);

// The messages of a setting index that names no line (UTF-8): the file holds
// none at all, or "設定がありません: " index " (0-" last index ")".
inline constexpr std::string_view kNoUserSettingsMessage = "ユーザー買い目設定がありません。";
std::string noSuchSettingMessage(int index, size_t lineCount);

// The setting the combination calculation takes: the line
// activeSettingIndex(setId) of the lines of the file. With no line, no rule
// is set and the popularity-trio flag is `flagWithoutLines` (the flag as it
// stood before). The name is kept.
UserSetting activeUserSetting(const std::vector<std::string>& lines, int setId,
                              bool flagWithoutLines);

}  // namespace orvalle::betting
