#include "output/prediction_writer.h"

#include <gtest/gtest.h>

#include "output/processed_days.h"
#include "store/cp932.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle::output {
namespace {

using test::RecordBuilder;
using test::TempDir;

std::string regno(int race, int horse) { return store::format("20191%02d%03d", race, horse); }

// A day of `races` races at Nakayama with `runners` runners each.
void fillDay(model::DayTables& tables, int races, int runners,
             const std::string& date = "20240106") {
  for (int r = 0; r < races; ++r) {
    std::string key = date + "060101" + store::format("%02d", r + 1);
    tables.setRace(
        r, RecordBuilder::ra(key).setNumber(store::ra::kRegisteredRunners, runners).record());
    for (int h = 0; h < runners; ++h) {
      tables.setRunner(r, h,
                       RecordBuilder::se(key, h + 1)
                           .setRaw(store::se::kRegistrationNumber, regno(r + 1, h + 1))
                           .record());
      tables.analysis(r).winCount[h] = h;
      tables.analysis(r).pointWinRateRank[h] = h + 1;
    }
  }
}

std::vector<std::string> linesOf(const std::filesystem::path& path) {
  return store::readLines(path);
}

TEST(PredictionWriterTest, WritesOneLinePerRunnerAndRecordsADayOfSevenRaces) {
  TempDir home;
  model::DayTables tables;
  fillDay(tables, 7, 5);
  auto result = writePredictions(tables, home.path(), home / "SEI", 7);
  EXPECT_EQ(result.filesWritten, 35);
  EXPECT_TRUE(result.recordedAsProcessed);
  auto lines = linesOf(home / "SEI" / "2019" / (regno(3, 2) + ".yos"));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, 19), "2024010606010103  1");
  EXPECT_EQ(lines[0].size(), 50u);
  EXPECT_EQ(readProcessedDays(home.path(), 2024), std::vector<std::string>{"2024年01月06日"});
  EXPECT_EQ(test::readFile(processedDaysFilePath(home.path(), 2024)),
            cp932::fromUtf8("2024年01月06日\r\n"));
}

TEST(PredictionWriterTest, RaceOfFourRunnersWritesNothing) {
  TempDir home;
  model::DayTables tables;
  fillDay(tables, 1, 4);
  EXPECT_EQ(writePredictions(tables, home.path(), home / "SEI", 1).filesWritten, 0);
  EXPECT_FALSE(std::filesystem::exists(home / "SEI"));
}

TEST(PredictionWriterTest, DayOfSixRacesIsWrittenButNotRecorded) {
  TempDir home;
  model::DayTables tables;
  fillDay(tables, 6, 8);
  auto result = writePredictions(tables, home.path(), home / "SEI", 6);
  EXPECT_EQ(result.filesWritten, 48);
  EXPECT_FALSE(result.recordedAsProcessed);
  EXPECT_FALSE(std::filesystem::exists(processedDaysFilePath(home.path(), 2024)));
}

TEST(PredictionWriterTest, WritingTheSameDayTwiceKeepsOneLinePerRaceAndHorse) {
  TempDir home;
  model::DayTables tables;
  fillDay(tables, 8, 6);
  (void)writePredictions(tables, home.path(), home / "SEI", 8);
  tables.analysis(0).winCount[0] = 9;
  (void)writePredictions(tables, home.path(), home / "SEI", 8);
  auto lines = linesOf(home / "SEI" / "2019" / (regno(1, 1) + ".yos"));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(16, 3), "  9");
  EXPECT_EQ(readProcessedDays(home.path(), 2024).size(), 1u);
}

TEST(PredictionWriterTest, RunnersWithoutAUsableNumberAreSkipped) {
  TempDir home;
  model::DayTables tables;
  fillDay(tables, 1, 5);
  std::string key = "2024010606010101";
  tables.setRunner(0, 0, RecordBuilder::se(key, 1).record());  // blank number
  tables.setRunner(
      0, 1,
      RecordBuilder::se(key, 2).setRaw(store::se::kRegistrationNumber, "../../etc/").record());
  EXPECT_EQ(writePredictions(tables, home.path(), home / "SEI", 1).filesWritten, 3);
  EXPECT_FALSE(std::filesystem::exists(home / "etc"));
}

TEST(ProcessedDaysTest, DaysStaySortedOnceAndUnprocessedFollowTheDateList) {
  TempDir home;
  addProcessedDays(home.path(), 2024, {"2024年01月07日", "2024年01月06日"});
  addProcessedDays(home.path(), 2024, {"2024年01月06日", "2024年01月13日"});
  EXPECT_EQ(readProcessedDays(home.path(), 2024),
            (std::vector<std::string>{"2024年01月06日", "2024年01月07日", "2024年01月13日"}));
  std::vector<std::string> dateList = {"2024年01月14日", "2024年01月13日", "2024年01月07日",
                                       "2024年01月06日", "2023年12月28日"};
  EXPECT_EQ(unprocessedDays(dateList, 2024, readProcessedDays(home.path(), 2024)),
            std::vector<std::string>{"2024年01月14日"});
  EXPECT_EQ(unprocessedDays(dateList, 2023, {}), std::vector<std::string>{"2023年12月28日"});
}

}  // namespace
}  // namespace orvalle::output
