#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;
using test::RaceDay;
using test::readFile;
using test::TempDir;
using test::writeDataFile;
using test::writeFile;

class AcquireCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeDataFile(m_source / "RACEDIFF", "20240106180000", "day1.txt",
                  RaceDay{.date = "20240106"}.records());
    writeDataFile(m_source / "RACEDIFF", "20240107183000", "day2.txt",
                  RaceDay{.date = "20240107", .races = 1}.records());
  }
  CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", m_home.path().string()});
    return runCliForTest(args);
  }
  std::vector<std::string> acquireArgs(std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"acquire", "--source", m_source.path().string(), "--from",
                                     "2024/01/01 00:00:00"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  TempDir m_home;
  TempDir m_source;
};

TEST_F(AcquireCommandTest, PrintsTheFinalStatusTextsAndSavesTheLastTime) {
  CliRun acquired = run(acquireArgs());
  EXPECT_EQ(acquired.status, kExitSuccess) << acquired.err;
  EXPECT_EQ(acquired.out, readFile(ORVALLE_TEST_DATA_DIR "/cli/acquire.txt"));
  EXPECT_EQ(acquired.err, "");

  EXPECT_EQ(run({"days"}).out, "2024年01月07日\n2024年01月06日\n");
  EXPECT_EQ(run({"get", "JvDataGet", "LastTime"}).out, "2024/01/07 18:30:00\n");
  EXPECT_TRUE(fs::exists(m_home / "SEI" / "2006" / "2006000102.kak"));

  // From the saved last time there is nothing new: said on standard output.
  CliRun again = run({"acquire", "--source", m_source.path().string()});
  EXPECT_EQ(again.status, kExitSuccess) << again.err;
  EXPECT_EQ(again.out, "最新のデータがありません。\n");
}

TEST_F(AcquireCommandTest, VerbosePrintsProgressAndEveryStoredRecord) {
  CliRun acquired = run(acquireArgs({"--verbose"}));
  EXPECT_EQ(acquired.status, kExitSuccess) << acquired.err;
  const std::string& out = acquired.out;
  EXPECT_NE(out.find("データ読込み中．．．(1/2)\n"), std::string::npos);
  EXPECT_NE(out.find("作成済み:01R/2024年01月06日.jvRA\n"), std::string::npos);
  EXPECT_NE(out.find("作成済み:02R/03番/2024年01月06日中山.jvSEr\n"), std::string::npos);
  EXPECT_NE(out.find("作成済み:01R/2024年01月07日.jvHR\n"), std::string::npos);
  EXPECT_NE(out.find("2024年01月07日\n過去走データを構築しました。\n"), std::string::npos);
}

TEST_F(AcquireCommandTest, FailuresGoToStandardErrorWithStatusOne) {
  writeFile(m_source / "jvlink.ini", "[emulate]\nread_error=2:1:-403\nclose=-201\n");
  CliRun failed = run(acquireArgs());
  EXPECT_EQ(failed.status, kExitFailure);
  EXPECT_EQ(failed.err,
            "JVReadエラー:ダウンロードしたファイル内容が異常です。(-403)\nJVCloseエラー:(-201)\n");
  EXPECT_EQ(run({"get", "JvDataGet", "LastTime"}).out, "\n");

  // A runner whose registration number names no file: a warning only.
  writeFile(m_source / "jvlink.ini", "");
  RaceDay day{.date = "20240113", .races = 1, .runners = 1};
  std::string se = day.seRecord(1, 1);
  se.replace(30, 10, "..\\..\\x   ");
  writeDataFile(m_source / "RACEDIFF", "20240113180000", "day3.txt", {day.raRecord(1), se});
  CliRun warned = run(acquireArgs());
  EXPECT_EQ(warned.status, kExitSuccess);
  EXPECT_NE(warned.err.find("..\\..\\x"), std::string::npos) << warned.err;
  EXPECT_EQ(warned.out,
            "ReadCount:3, DownloadCount:0\nデータ読込み完了(3/3)\n過去走データを構築しました。\n"
            "データ作成が完了しました。\n");
}

TEST_F(AcquireCommandTest, UsageErrors) {
  EXPECT_EQ(run({"acquire", "--source", m_source.path().string(), "--from", "2024-01-01"}).status,
            kExitUsage);
  EXPECT_EQ(run({"fetch-results", "tomorrow", "--source", m_source.path().string()}).status,
            kExitUsage);
  EXPECT_EQ(run({"fetch-results"}).status, kExitUsage);
}

TEST_F(AcquireCommandTest, FetchResultsPrintsTheStoredRecordCount) {
  ASSERT_EQ(run(acquireArgs()).status, kExitSuccess);
  RaceDay results{.date = "20240107", .races = 1, .dataKind = '5'};
  writeFile(m_source / "0B12" / "20240107.txt",
            results.raRecord(1) + results.seRecord(1, 2) + results.hrRecord(1));
  CliRun fetched = run({"fetch-results", "2024年01月07日", "--source", m_source.path().string()});
  EXPECT_EQ(fetched.status, kExitSuccess) << fetched.err;
  EXPECT_EQ(fetched.out, "3\n");

  // No results for the day: nothing stored.
  CliRun none = run({"fetch-results", "20240108", "--source", m_source.path().string()});
  EXPECT_EQ(none.status, kExitSuccess) << none.err;
  EXPECT_EQ(none.out, "0\n");

  writeFile(m_source / "jvlink.ini", "[emulate]\nrtopen=-504\n");
  CliRun failed = run({"fetch-results", "20240107", "--source", m_source.path().string()});
  EXPECT_EQ(failed.status, kExitFailure);
  EXPECT_EQ(failed.err, "JVRTOpenエラー:サーバーがメンテナンス中です。(-504)\n");
}

}  // namespace
}  // namespace orvalle::cli
