#include "app/user_settings_commands.h"

#include <gtest/gtest.h>

#include "app/startup.h"
#include "betting/user_settings.h"
#include "store/cp932.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

class UserSettingsCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { (void)ensureDefaultUserSettings(m_home); }
  int setId() const { return Settings(m_home.iniPath()).integer(settings::kUserSettingId); }

  TempDir m_dir;
  Home m_home{m_dir.path()};
};

betting::Confirm yes() {
  return [](const std::string&) { return true; };
}
betting::Confirm no() {
  return [](const std::string&) { return false; };
}

TEST_F(UserSettingsCommandsTest, SavingSelectsTheLastSettingAndStoresIt) {
  UserSettingsCommands commands(m_home);
  EXPECT_EQ(commands.activeIndex(), 0);
  betting::UserSetting form = betting::parseUserSetting(sj(betting::kDefaultUserSettingLine));
  form.name = sj("二");
  CommandResult saved = commands.save(form, no());
  ASSERT_TRUE(saved) << saved.text();
  EXPECT_EQ(saved.text(), "設定[二]を保存しました。");
  EXPECT_EQ(setId(), 1);
  EXPECT_EQ(commands.activeIndex(), 1);

  // Overwriting the first keeps its place; the last is still selected.
  ASSERT_TRUE(commands.select(0, form));
  EXPECT_EQ(setId(), 0);
  form.axis1 = {sj("勝率"), " 1"};
  CommandResult declined = commands.save(form, no());
  EXPECT_FALSE(declined);
  EXPECT_EQ(declined.text(), "[設定１]はすでに登録済みの名称です。上書きしますか?");
  EXPECT_FALSE(declined.notices[0].beep);
  EXPECT_EQ(setId(), 0);
  ASSERT_TRUE(commands.save(form, yes()));
  EXPECT_EQ(setId(), 1);
  EXPECT_EQ(commands.editor().names(), (std::vector<std::string>{sj("設定１"), sj("二")}));

  // A validation failure beeps and stores nothing.
  form.partners[0] = {};
  CommandResult refused = commands.save(form, yes());
  EXPECT_FALSE(refused);
  EXPECT_TRUE(refused.notices[0].beep);
  EXPECT_EQ(refused.text(), "流し馬１点目を入力してください。");
}

TEST_F(UserSettingsCommandsTest, DeletingStoresTheFirstAndAStaleIdFallsBack) {
  writeFile(m_home.userSetPath(), readFile(m_home.userSetPath()) +
                                      sj("二,勝率,1,勝率,2,勝率, 3,,,,,,,,,,,,,,,,,,,1,\r\n"));
  Settings(m_home.iniPath()).setInteger(settings::kUserSettingId, 5);
  UserSettingsCommands commands(m_home);
  EXPECT_EQ(commands.activeIndex(), 0);  // SetID 5 lies beyond the two lines
  betting::UserSetting form;
  ASSERT_TRUE(commands.select(5, form));
  EXPECT_EQ(setId(), 0);
  EXPECT_EQ(form.name, sj("設定１"));

  ASSERT_TRUE(commands.select(1, form));
  ASSERT_TRUE(commands.remove(1, yes()));
  EXPECT_EQ(setId(), 0);
  ASSERT_TRUE(commands.remove(0, yes()));
  EXPECT_EQ(setId(), 0);
  EXPECT_EQ(commands.activeIndex(), -1);
  EXPECT_EQ(readFile(m_home.userSetPath()), "");
  CommandResult nothing = commands.remove(0, yes());
  EXPECT_FALSE(nothing);
  EXPECT_EQ(nothing.text(), "削除項目がありません。");
}

TEST_F(UserSettingsCommandsTest, AReloadKeepsWhatAnotherProgramSavedMeanwhile) {
  UserSettingsCommands open(m_home);  // loaded before the other program saves
  ASSERT_TRUE(UserSettingsCommands(m_home).saveLine(sj("二,勝率,1,勝率,2,勝率, 3"), yes()));
  open.reload();
  ASSERT_EQ(open.editor().names(), (std::vector<std::string>{sj("設定１"), sj("二")}));
  ASSERT_TRUE(open.saveLine(sj("三,勝率,1,勝率,2,勝率, 4"), yes()));
  EXPECT_EQ(UserSettingsCommands(m_home).editor().names(),
            (std::vector<std::string>{sj("設定１"), sj("二"), sj("三")}));
  EXPECT_EQ(setId(), 2);
}

TEST_F(UserSettingsCommandsTest, AWholeLineIsSavedAsItsFormAndIndexesAreChecked) {
  UserSettingsCommands commands(m_home);
  EXPECT_TRUE(commands.checkIndex(0));
  EXPECT_EQ(commands.checkIndex(1).message(), "設定がありません: 1 (0-0)");
  EXPECT_EQ(commands.checkIndex(-1).message(), "設定がありません: -1 (0-0)");

  const std::string line = sj("二,勝率,1,勝率,2,勝率, 3,,,,,,,,,,,,,,,,,,,1,");
  CommandResult tooLong = commands.saveLine(line + "x,", yes());
  EXPECT_TRUE(tooLong.failed());
  EXPECT_EQ(tooLong.text(), "設定の項目が多すぎます（26項目まで）。");
  EXPECT_EQ(commands.editor().lines().size(), 1u);

  CommandResult saved = commands.saveLine(line, no());
  ASSERT_TRUE(saved) << saved.text();
  EXPECT_EQ(commands.editor().lines().back(), line);
  EXPECT_EQ(setId(), 1);
  EXPECT_TRUE(commands.checkIndex(1));

  ASSERT_TRUE(commands.remove(1, yes()));
  ASSERT_TRUE(commands.remove(0, yes()));
  EXPECT_EQ(commands.checkIndex(0).message(), "ユーザー買い目設定がありません。");
}

TEST(OddsCeilingTest, TheDialogsChecksAndMessage) {
  TempDir dir;
  Settings settings(dir / "orvalle.ini");
  const std::pair<std::string, std::string> refused[] = {
      {"", "入力がありません。"},
      {"  ", "入力がありません。"},
      {"0.9", "１倍未満のｵｯｽﾞは指定できません。"},
      {"20.1", "２０倍越のｵｯｽﾞは指定できません。"},
  };
  for (const auto& [input, message] : refused) {
    CommandResult result = setOddsCeiling(settings, input);
    EXPECT_FALSE(result) << input;
    EXPECT_EQ(result.text(), message) << input;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "orvalle.ini"));

  CommandResult stored = setOddsCeiling(settings, "5");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored.text(), "ｵｯｽﾞの上限を 5.0に指定しました。");
  EXPECT_EQ(setOddsCeiling(settings, "20").text(), "ｵｯｽﾞの上限を20.0に指定しました。");
  EXPECT_EQ(setOddsCeiling(settings, "1.0").text(), "ｵｯｽﾞの上限を 1.0に指定しました。");
  EXPECT_DOUBLE_EQ(settings.decimal(settings::kOddsCeiling), 1.0);
}

}  // namespace
}  // namespace orvalle::app
