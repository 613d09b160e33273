#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "store/atomic_file.h"
#include "store/cp932.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

class SettingsCommandsTest : public ::testing::Test {
 protected:
  CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", m_home.path().string()});
    return runCliForTest(args);
  }
  std::string ini() const { return readFile(m_home / "orvalle.ini"); }

  TempDir m_home;
};

TEST_F(SettingsCommandsTest, GetPrintsDefaults) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"DataSpan", "period"}, "1826\n"}, {{"OddsSpan", "ceil"}, "10.0\n"},
      {{"ReadKako", "IgnoDate"}, "0\n"},  {{"AllRace", "ExecComp"}, "1\n"},
      {{"JvDataGet", "LastTime"}, "\n"},  {{"dataspan", "PERIOD"}, "1826\n"},
  };
  for (const auto& [key, expected] : cases) {
    CliRun result = run({"get", key[0], key[1]});
    EXPECT_EQ(result.status, kExitSuccess) << key[0] << " " << key[1] << ": " << result.err;
    EXPECT_EQ(result.out, expected) << key[0] << " " << key[1];
  }
  EXPECT_FALSE(fs::exists(m_home / "orvalle.ini"));
}

TEST_F(SettingsCommandsTest, PeriodOutsideItsRangeIsRefused) {
  CliRun refused = run({"set", "DataSpan", "period", "100"});
  EXPECT_EQ(refused.status, kExitFailure);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("365"), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(m_home / "orvalle.ini"));

  CliRun accepted = run({"set", "DataSpan", "period", "365"});
  EXPECT_EQ(accepted.status, kExitSuccess) << accepted.err;
  EXPECT_EQ(accepted.out, "365\n");
  EXPECT_EQ(run({"get", "DataSpan", "period"}).out, "365\n");
  EXPECT_EQ(ini(), "[DataSpan]\r\nperiod=365\r\n");
}

TEST_F(SettingsCommandsTest, OddsCeilingIsWrittenInItsFormat) {
  CliRun set = run({"set", "OddsSpan", "ceil", "5"});
  EXPECT_EQ(set.status, kExitSuccess) << set.err;
  EXPECT_EQ(set.out, "5.0\n");
  EXPECT_EQ(ini(), "[OddsSpan]\r\nceil= 5.0\r\n");
  EXPECT_EQ(run({"get", "OddsSpan", "ceil"}).out, "5.0\n");

  CliRun tooHigh = run({"set", "OddsSpan", "ceil", "20.1"});
  EXPECT_EQ(tooHigh.status, kExitFailure);
  EXPECT_EQ(tooHigh.err, "２０倍越のｵｯｽﾞは指定できません。\n");
  EXPECT_EQ(run({"get", "OddsSpan", "ceil"}).out, "5.0\n");
}

TEST_F(SettingsCommandsTest, BooleansAndIntegersMustBeWhatTheyAre) {
  EXPECT_EQ(run({"set", "ReadKako", "IgnoDate", "7"}).status, kExitFailure);
  EXPECT_EQ(run({"set", "UserSetting", "SetID", "one"}).status, kExitFailure);
  EXPECT_EQ(run({"set", "locate", "top", "1.5"}).status, kExitFailure);
  EXPECT_FALSE(fs::exists(m_home / "orvalle.ini"));
  EXPECT_EQ(run({"set", "ReadKako", "IgnoDate", "1"}).out, "1\n");
  EXPECT_EQ(run({"get", "ReadKako", "IgnoDate"}).out, "1\n");

  // A boolean stored by hand as 7 reads true and prints "1".
  writeFile(m_home / "orvalle.ini", "[AllRace]\r\nExecComp=0\r\n[datalist]\r\nclose=7\r\n");
  EXPECT_EQ(run({"get", "datalist", "close"}).out, "1\n");
  EXPECT_EQ(run({"get", "AllRace", "ExecComp"}).out, "0\n");
}

TEST_F(SettingsCommandsTest, TextsAreStoredInCp932AndPrintedInUtf8) {
  CliRun set = run({"set", "Dir", "yoso", "/home/u/予想オッズ"});
  EXPECT_EQ(set.status, kExitSuccess) << set.err;
  EXPECT_EQ(set.out, "/home/u/予想オッズ\n");
  EXPECT_EQ(ini(), "[Dir]\r\nyoso=" + sj("/home/u/予想オッズ") + "\r\n");
  EXPECT_EQ(run({"get", "Dir", "yoso"}).out, "/home/u/予想オッズ\n");

  // Stored by hand in brackets or quotes.
  writeFile(m_home / "orvalle.ini",
            "[JvDataGet]\r\nLastTime=\xA2"
            "2024/01/05 18:30:00\xA3\r\n"
            "[JvLink]\r\nsource=\"\"\r\n");
  EXPECT_EQ(run({"get", "JvDataGet", "LastTime"}).out, "2024/01/05 18:30:00\n");
  EXPECT_EQ(run({"get", "JvLink", "source"}).out, "\n");

  // A character CP932 lacks is refused rather than stored as "?".
  CliRun emoji = run({"set", "Dir", "yoso", "🐴"});
  EXPECT_EQ(emoji.status, kExitFailure);
  EXPECT_EQ(run({"get", "JvLink", "source"}).out, "\n");
  EXPECT_EQ(run({"set", "Dir", "yoso", "what?"}).out, "what?\n");
}

TEST_F(SettingsCommandsTest, SetCreatesAMissingHome) {
  TempDir dir;
  fs::path home = dir / "new" / "home";
  CliRun set = runCliForTest({"--home", home.string(), "set", "locate", "top", "20"});
  EXPECT_EQ(set.status, kExitSuccess) << set.err;
  EXPECT_EQ(readFile(home / "orvalle.ini"), "[locate]\r\ntop=20\r\n");
}

TEST_F(SettingsCommandsTest, AFailedWriteKeepsTheOldFileAndFails) {
  ASSERT_EQ(run({"set", "DataSpan", "period", "400"}).status, kExitSuccess);
  std::string before = ini();
  store::injectAtomicWriteFaultForTesting(store::AtomicWriteFault::kRename);
  CliRun failed = run({"set", "DataSpan", "period", "500"});
  EXPECT_EQ(failed.status, kExitFailure);
  EXPECT_EQ(failed.out, "");
  EXPECT_NE(failed.err.find("orvalle.ini"), std::string::npos) << failed.err;
  EXPECT_EQ(ini(), before);
  EXPECT_EQ(run({"get", "DataSpan", "period"}).out, "400\n");
}

}  // namespace
}  // namespace orvalle::cli
