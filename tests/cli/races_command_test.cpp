#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "support/race_day_builder.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;
using test::RaceDayBuilder;
using test::readFile;
using test::TempDir;

// A day of two racecourses in the order of its RA file.
void writeDay(const fs::path& data) {
  RaceDayBuilder day("20240106");
  for (int r = 1; r <= 3; ++r) day.addRace("06", r, 4, 1, 1);
  day.addRace("01", 1, 2, 1, 2);
  day.addRace("08", 11, 16, 5, 8);
  day.write(data);
}

TEST(RacesCommandTest, PrintsTheRaceListNumberedFromOne) {
  TempDir home;
  writeDay(home / "DATA");
  for (const char* argument : {"20240106", "2024年01月06日"}) {
    CliRun run = runCliForTest({"--home", home.path().string(), "races", argument});
    EXPECT_EQ(run.status, kExitSuccess) << run.err;
    EXPECT_EQ(run.out, readFile(ORVALLE_TEST_DATA_DIR "/cli/races.txt")) << argument;
    EXPECT_EQ(run.err, "");
  }
}

TEST(RacesCommandTest, ADayThatCannotBeLoadedPrintsItsMessage) {
  TempDir home;
  writeDay(home / "DATA");
  CliRun missing = runCliForTest({"--home", home.path().string(), "races", "20240107"});
  EXPECT_EQ(missing.status, kExitFailure);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "2024年01月07日のデータ作成は未完了のようです。\n");

  fs::remove(home / "DATA" / "2024年01月06日京都.jvSEr");
  CliRun incomplete = runCliForTest({"--home", home.path().string(), "races", "20240106"});
  EXPECT_EQ(incomplete.status, kExitFailure);
  EXPECT_EQ(incomplete.out, "");
  EXPECT_EQ(
      incomplete.err,
      "2024年01月06日のデータ作成は未完了です。少し時間をおいてデータを再取得してください。\n");
}

TEST(RacesCommandTest, ADayArgumentThatIsNotADayIsAUsageError) {
  TempDir home;
  for (const char* argument : {"2024016", "../../x", "2024-01-06"}) {
    CliRun run = runCliForTest({"--home", home.path().string(), "races", argument});
    EXPECT_EQ(run.status, kExitUsage) << argument;
    EXPECT_EQ(run.out, "") << argument;
  }
  EXPECT_EQ(runCliForTest({"--home", home.path().string(), "races"}).status, kExitUsage);
}

}  // namespace
}  // namespace orvalle::cli
