#include "betting/user_settings.h"

#include <gtest/gtest.h>

#include "store/cp932.h"

namespace orvalle::betting {
namespace {

using Fields = std::vector<std::string>;

TEST(UserSettingsTest, TheDefaultLineReadsAs26Fields) {
  const Fields fields = splitSettingLine(sj(kDefaultUserSettingLine));
  ASSERT_EQ(fields.size(), 26u);  // the final comma adds none
  EXPECT_EQ(fields[0], sj("設定１"));
  EXPECT_EQ(fields[2], "1");
  EXPECT_EQ(fields[6], "3");  // " 3": the blank before a field is skipped
  EXPECT_EQ(fields[24], "12");
  EXPECT_EQ(fields[25], "1");

  const UserSetting setting = parseUserSetting(sj(kDefaultUserSettingLine));
  EXPECT_EQ(setting.axis1, (RankRule{sj("pt勝率"), "1"}));
  EXPECT_EQ(setting.axis2, (RankRule{sj("pt勝率"), "2"}));
  EXPECT_EQ(setting.partners[0], (RankRule{sj("pt勝率"), "3"}));
  EXPECT_EQ(setting.partners[9], (RankRule{sj("pt勝率"), "12"}));
  EXPECT_TRUE(setting.popularityTrios);
}

TEST(UserSettingsTest, ReadingRule) {
  const std::pair<std::string, Fields> cases[] = {
      {"", {}},
      {"   ", {}},
      {",", {""}},
      {",,", {"", ""}},
      {"a,,b,", {"a", "", "b"}},
      {"  a ,  b  ,", {"a", "b"}},
      {"a b,c", {"a", "b", "c"}},  // an unquoted field ends at a blank
      {"\"a,b c\",d", {"a,b c", "d"}},
      {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"\"\",x", {"", "x"}},
      {"\"open, to the end", {"open, to the end"}},
      {"\"a\"b,c", {"a", "b", "c"}},
      {"a\tb\r", {"a", "b"}},  // control characters are blanks too
      {std::string("a,b\0,c", 7), {"a", "b"}},
  };
  for (const auto& [line, expected] : cases) {
    EXPECT_EQ(splitSettingLine(line), expected) << "[" << line << "]";
  }
}

TEST(UserSettingsTest, NamesWithCommasBlanksOrQuotesReadBack) {
  const std::string names[] = {sj("設定１"), "a,b",         "a b",           "say \"hi\"",
                               "\"",         sj("ソ表,能"), sj("全角　空白")};
  for (const std::string& name : names) {
    UserSetting setting = parseUserSetting(sj(kDefaultUserSettingLine));
    setting.name = name;
    const std::string line = userSettingLine(setting);
    EXPECT_EQ(splitSettingLine(line).size(), 26u) << line;
    EXPECT_EQ(parseUserSetting(line).name, name) << line;
  }
  EXPECT_EQ(quotedSettingName("plain"), "plain");
  EXPECT_EQ(quotedSettingName("a\"b"), "\"a\"\"b\"");
}

TEST(UserSettingsTest, WritingKeepsTheRuleTextsAndEndsWithAComma) {
  UserSetting setting = parseUserSetting(sj(kDefaultUserSettingLine));
  setting.partners[0] = {sj("pt勝率"), " 3"};
  setting.partners[9] = {};
  setting.popularityTrios = false;
  EXPECT_EQ(userSettingLine(setting),
            sj("設定１,pt勝率,1,pt勝率,2,pt勝率, 3,pt勝率,4,pt勝率,5,pt勝率,6,pt勝率,7,pt勝率,8,"
               "pt勝率,9,pt勝率,10,pt勝率,11,,,0,"));
}

TEST(UserSettingsTest, ShortAndLongLines) {
  const UserSetting shortLine = parseUserSetting(sj("短い,勝率,1"));
  EXPECT_EQ(shortLine.axis1, (RankRule{sj("勝率"), "1"}));
  EXPECT_TRUE(shortLine.axis2.empty());
  EXPECT_TRUE(shortLine.partners[9].empty());
  EXPECT_FALSE(shortLine.popularityTrios);
  // Only "1" turns the flag on.
  std::string line = sj(kDefaultUserSettingLine);
  line.replace(line.size() - 2, 1, "2");
  EXPECT_FALSE(parseUserSetting(line).popularityTrios);
  // Fields beyond the 26th are ignored.
  EXPECT_TRUE(parseUserSetting(sj(kDefaultUserSettingLine) + "x,y,").popularityTrios);
}

TEST(UserSettingsTest, TheActiveIndexFallsBackToLineZeroAndIsNoneWithoutLines) {
  const struct {
    int setId;
    size_t lines;
    int active;
  } cases[] = {{0, 0, -1}, {3, 0, -1}, {0, 3, 0}, {2, 3, 2}, {3, 3, 0}, {-1, 3, 0}, {7, 1, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(activeSettingIndex(c.setId, c.lines), c.active) << c.setId << " of " << c.lines;
  }
  EXPECT_EQ(noSuchSettingMessage(4, 3), "設定がありません: 4 (0-2)");
  EXPECT_EQ(noSuchSettingMessage(-1, 1), "設定がありません: -1 (0-0)");
  EXPECT_EQ(noSuchSettingMessage(0, 0), kNoUserSettingsMessage);
}

TEST(UserSettingsTest, ActiveSettingFallsBackToTheFirstLine) {
  const std::vector<std::string> lines = {sj("一,勝率,1,勝率,2,勝率,3,,,,,,,,,,,,,,,,,,,0,"),
                                          sj("二,勝数,1,勝数,2,勝数,3,,,,,,,,,,,,,,,,,,,1,")};
  EXPECT_EQ(activeUserSetting(lines, 1, false).name, sj("二"));
  EXPECT_EQ(activeUserSetting(lines, 2, false).name, sj("一"));
  EXPECT_EQ(activeUserSetting(lines, -1, false).name, sj("一"));
  // With no line no rule is set and the flag stays as it was.
  for (bool flag : {false, true}) {
    const UserSetting none = activeUserSetting({}, 0, flag);
    EXPECT_TRUE(none.axis1.empty());
    EXPECT_TRUE(none.partners[0].empty());
    EXPECT_EQ(none.popularityTrios, flag);
  }
}

}  // namespace
}  // namespace orvalle::betting
