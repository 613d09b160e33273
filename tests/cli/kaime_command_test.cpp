#include <gtest/gtest.h>

#include "app/settings.h"
#include "betting/user_settings.h"
#include "cli_test_support.h"
#include "store/cp932.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

class KaimeCommandTest : public ::testing::Test {
 protected:
  CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", m_home.path().string()});
    return runCliForTest(args);
  }
  int setId() const {
    return app::Settings(m_home / "orvalle.ini").integer(app::settings::kUserSettingId);
  }

  test::TempDir m_home;
};

const std::string kDefault(betting::kDefaultUserSettingLine);
const std::string kSecond = "二,勝率,1,勝率,2,勝率,3,勝数,4,,,,,,,,,,,,,,,,,0,";

TEST_F(KaimeCommandTest, ListShowsTheDefaultSettingOfANewHome) {
  CliRun list = run({"kaime", "list"});
  ASSERT_EQ(list.status, kExitSuccess) << list.err;
  EXPECT_EQ(list.out, "* 0 " + kDefault + "\n");
  EXPECT_EQ(readFile(m_home / "UserSet.usd"), sj(kDefault) + "\r\n");
}

TEST_F(KaimeCommandTest, AddValidatesSavesAndSelects) {
  CliRun added = run({"kaime", "add", kSecond});
  ASSERT_EQ(added.status, kExitSuccess) << added.err;
  // Partner ranks are written as the dialog's entries, with a blank.
  const std::string stored = "二,勝率,1,勝率,2,勝率, 3,勝数, 4,,,,,,,,,,,,,,,,,0,";
  EXPECT_EQ(added.out, "設定[二]を保存しました。\n  0 " + kDefault + "\n* 1 " + stored + "\n");
  EXPECT_EQ(setId(), 1);
  EXPECT_EQ(readFile(m_home / "UserSet.usd"), sj(kDefault) + "\r\n" + sj(stored) + "\r\n");

  const std::pair<std::string, std::string> refused[] = {
      {"三,勝率,1,勝率,1,勝率,3,,,,,,,,,,,,,,,,,,,1,", "軸馬1と軸馬2は別の馬を入力してください。"},
      {"三,勝率,1,勝率,2,,,,,,,,,,,,,,,,,,,,,1,", "流し馬１点目を入力してください。"},
      {"三,勝率,1,勝率,2,勝率,3,勝率,03,,,,,,,,,,,,,,,,,1,", "流し馬2点目の入力が不正です。"},
      {"三,人気,1,勝率,2,勝率,3,,,,,,,,,,,,,,,,,,,1,", "軸馬1の入力が不正です。"},
      {",勝率,1,勝率,2,勝率,3,,,,,,,,,,,,,,,,,,,1,", "設定名を入力してくだい。"},
      {"a,b," + kDefault, "設定の項目が多すぎます（26項目まで）。"},
  };
  for (const auto& [line, message] : refused) {
    CliRun result = run({"kaime", "add", line});
    EXPECT_EQ(result.status, kExitFailure) << line;
    EXPECT_EQ(result.err, message + "\n") << line;
    EXPECT_EQ(result.out, "") << line;
  }
  EXPECT_EQ(setId(), 1);
  EXPECT_EQ(run({"kaime", "list"}).out, "  0 " + kDefault + "\n* 1 " + stored + "\n");
}

TEST_F(KaimeCommandTest, AnExistingNameNeedsOverwrite) {
  ASSERT_EQ(run({"kaime", "add", kSecond}).status, kExitSuccess);
  ASSERT_EQ(run({"kaime", "select", "0"}).status, kExitSuccess);
  const std::string changed = "設定１,単人気,1,単人気,2,単人気,3,,,,,,,,,,,,,,,,,,,1,";
  CliRun asked = run({"kaime", "add", changed});
  EXPECT_EQ(asked.status, kExitFailure);
  EXPECT_EQ(asked.err, "[設定１]はすでに登録済みの名称です。上書きしますか?\n");
  EXPECT_EQ(setId(), 0);

  CliRun overwritten = run({"kaime", "add", changed, "--overwrite"});
  ASSERT_EQ(overwritten.status, kExitSuccess) << overwritten.err;
  EXPECT_EQ(overwritten.out.substr(0, overwritten.out.find('\n')),
            "設定[設定１]を上書保存しました。");
  // The line keeps its place; the last setting becomes the active one.
  EXPECT_NE(overwritten.out.find("  0 設定１,単人気,1,単人気,2,単人気, 3,"), std::string::npos)
      << overwritten.out;
  EXPECT_NE(overwritten.out.find("* 1 二,"), std::string::npos);
  EXPECT_EQ(setId(), 1);
}

TEST_F(KaimeCommandTest, QuotedNamesReadBack) {
  const std::string line = "\"本命, \"\"堅め\"\"\",勝率,1,勝率,2,勝率,3,,,,,,,,,,,,,,,,,,,1,";
  CliRun added = run({"kaime", "add", line});
  ASSERT_EQ(added.status, kExitSuccess) << added.err;
  EXPECT_NE(added.out.find("設定[本命, \"堅め\"]を保存しました。"), std::string::npos);
  // Another setting under the same name: the question.
  std::string other = line;
  other.replace(other.rfind(",1,"), 3, ",0,");  // the popularity trios off
  CliRun again = run({"kaime", "add", other});
  EXPECT_EQ(again.status, kExitFailure);
  EXPECT_EQ(again.err, "[本命, \"堅め\"]はすでに登録済みの名称です。上書きしますか?\n");
}

// A damaged line of the file (a stray CR, a NUL) does not stop later
// changes, and its bytes stay as they were.
TEST_F(KaimeCommandTest, ADamagedLineDoesNotBlockChanges) {
  const std::string damaged("\x89\xF3,\x8F\x9F\x97\xA6,1\0x,", 12);
  // Lines 0 "stray", 1 the damaged one; the add makes line 2.
  writeFile(m_home / "UserSet.usd", "stray\r" + damaged + "\r\n");
  CliRun added = run({"kaime", "add", kSecond});
  ASSERT_EQ(added.status, kExitSuccess) << added.err;
  EXPECT_NE(readFile(m_home / "UserSet.usd").find(damaged + "\r\n"), std::string::npos);
  CliRun removed = run({"kaime", "delete", "0"});
  ASSERT_EQ(removed.status, kExitSuccess) << removed.err;
  EXPECT_NE(readFile(m_home / "UserSet.usd").find(damaged + "\r\n"), std::string::npos);
}

// A repeated add completes one that was broken off after its line was
// written and before it was chosen: the same line is no conflict.
TEST_F(KaimeCommandTest, RepeatingAnAddCompletesIt) {
  ASSERT_EQ(run({"kaime", "add", kSecond}).status, kExitSuccess);
  ASSERT_EQ(run({"kaime", "select", "0"}).status, kExitSuccess);  // the choice was lost
  const std::string before = readFile(m_home / "UserSet.usd");
  CliRun repeated = run({"kaime", "add", kSecond});
  ASSERT_EQ(repeated.status, kExitSuccess) << repeated.err;
  EXPECT_EQ(repeated.out.substr(0, repeated.out.find('\n')), "設定[二]を保存しました。");
  EXPECT_EQ(readFile(m_home / "UserSet.usd"), before);
  EXPECT_EQ(setId(), 1);
}

TEST_F(KaimeCommandTest, SelectAndDelete) {
  ASSERT_EQ(run({"kaime", "add", kSecond}).status, kExitSuccess);
  CliRun selected = run({"kaime", "select", "0"});
  ASSERT_EQ(selected.status, kExitSuccess) << selected.err;
  EXPECT_EQ(selected.out.substr(0, 4), "* 0 ");
  EXPECT_EQ(setId(), 0);
  CliRun beyond = run({"kaime", "select", "2"});
  EXPECT_EQ(beyond.status, kExitFailure);
  EXPECT_EQ(beyond.err, "設定がありません: 2 (0-1)\n");
  EXPECT_EQ(run({"kaime", "delete", "5"}).status, kExitFailure);

  // A SetID stored beyond the lines marks the first.
  ASSERT_EQ(run({"set", "UserSetting", "SetID", "7"}).status, kExitSuccess);
  EXPECT_EQ(run({"kaime", "list"}).out.substr(0, 4), "* 0 ");

  CliRun deleted = run({"kaime", "delete", "0"});
  ASSERT_EQ(deleted.status, kExitSuccess) << deleted.err;
  EXPECT_EQ(deleted.out, "* 0 二,勝率,1,勝率,2,勝率, 3,勝数, 4,,,,,,,,,,,,,,,,,0,\n");
  EXPECT_EQ(setId(), 0);
  ASSERT_EQ(run({"kaime", "delete", "0"}).status, kExitSuccess);
  EXPECT_EQ(readFile(m_home / "UserSet.usd"), "");
  // The empty file is the user's: it is not filled with the default again.
  EXPECT_EQ(run({"kaime", "list"}).out, "");
  CliRun nothing = run({"kaime", "delete", "0"});
  EXPECT_EQ(nothing.status, kExitFailure);
  EXPECT_EQ(nothing.err, "削除項目がありません。\n");
  EXPECT_EQ(run({"kaime"}).status, kExitUsage);
  EXPECT_EQ(run({"kaime", "select", "x"}).status, kExitUsage);
}

}  // namespace
}  // namespace orvalle::cli
