#include "model/past_run_loader.h"

#include <gtest/gtest.h>

#include <limits>

#include "store/error.h"
#include "store/past_run_record.h"
#include "store/prediction_file.h"
#include "support/race_day_builder.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle::model {
namespace {

namespace fs = std::filesystem;
namespace pr = store::past_run;
using test::LineBuilder;
using test::pastRunLine;
using test::RecordBuilder;
using test::TempDir;
using test::writeLinesFile;

constexpr std::string_view kRegistrationNumber = "2019104321";
constexpr int kRaceDate = 20240106;

// A race key of a past run at Nakayama ("06") on a date.
std::string keyOn(int date, int raceNumber = 11) {
  return std::to_string(date) + "06" + "0101" + store::format("%02d", raceNumber);
}

class PastRunLoaderTest : public ::testing::Test {
 protected:
  PastRunLoaderTest() {
    m_tables.setRace(0, RecordBuilder::ra("2024010606010111").record());
    m_tables.setRunner(0, 0,
                       RecordBuilder::se("2024010606010111", 1)
                           .setRaw(store::se::kRegistrationNumber, kRegistrationNumber)
                           .record());
  }

  fs::path pastRunFile() const { return m_sei / "2019" / "2019104321.kak"; }
  fs::path predictionFile() const { return m_sei / "2019" / "2019104321.yos"; }

  int load(bool ignoreDates = false, int periodDays = 365) {
    return loadPastRuns(m_tables, 0, 0, m_sei,
                        PastRunPeriod::of(kRaceDate, periodDays, ignoreDates));
  }
  std::string slotKey(int slot) const {
    return std::string(pr::kRaceKey.in(m_tables.pastRun(0, 0, slot)));
  }
  const RaceAnalysis& analysis() const { return m_tables.analysis(0); }

  TempDir m_home;
  fs::path m_sei = m_home / "SEI";
  DayTables m_tables;
};

TEST_F(PastRunLoaderTest, TheRaceDayItselfIsNotAPastRun) {
  writeLinesFile(pastRunFile(), {pastRunLine(keyOn(kRaceDate), 1).line()});
  EXPECT_EQ(load(), 0);
  EXPECT_TRUE(store::isBlank(m_tables.pastRun(0, 0, 0)));
  EXPECT_EQ(analysis().overallCounts[0].total(), 0);
}

TEST_F(PastRunLoaderTest, PeriodStartIsExcludedAndCountedInCalendarDays) {
  // 365 days before 2024-01-06 is 2023-01-06 (2023 is no leap year).
  writeLinesFile(pastRunFile(),
                 {pastRunLine(keyOn(20230106), 1).line(), pastRunLine(keyOn(20230107), 2).line(),
                  pastRunLine(keyOn(20240105), 3).line()});
  EXPECT_EQ(load(), 2);
  EXPECT_EQ(slotKey(0), keyOn(20240105));
  EXPECT_EQ(slotKey(1), keyOn(20230107));
  EXPECT_TRUE(store::isBlank(m_tables.pastRun(0, 0, 2)));
}

TEST_F(PastRunLoaderTest, IgnoringDatesTakesLaterRunsAndTheRaceDayToo) {
  writeLinesFile(pastRunFile(),
                 {pastRunLine(keyOn(20100101), 1).line(), pastRunLine(keyOn(kRaceDate), 2).line(),
                  pastRunLine(keyOn(20240113), 3).line()});
  EXPECT_EQ(load(false), 0);
  EXPECT_EQ(load(true), 3);
  EXPECT_EQ(slotKey(0), keyOn(20240113));
  EXPECT_EQ(slotKey(1), keyOn(kRaceDate));
  EXPECT_EQ(slotKey(2), keyOn(20100101));
}

TEST_F(PastRunLoaderTest, ALongFileGivesItsNewestHundredNewestFirst) {
  std::vector<std::string> lines;
  for (int i = 0; i < 120; ++i) {
    lines.push_back(pastRunLine(keyOn(20200101 + 100 * (i / 12) + i % 12 + 1), 1).line());
  }
  writeLinesFile(pastRunFile(), lines);
  EXPECT_EQ(load(true), 100);
  for (int slot = 0; slot < 100; ++slot) {
    ASSERT_EQ(m_tables.pastRun(0, 0, slot).substr(0, 824), lines[static_cast<size_t>(119 - slot)])
        << "slot " << slot;
  }
  EXPECT_EQ(analysis().overallCounts[0].places[0], 100);
}

struct StatisticsCase {
  const char* name;
  const char* track;
  const char* turfGoing;
  const char* dirtGoing;
  int distance;
  int position;
  // Expected 1-based place counted (0: none) in: overall, turf heavy, turf,
  // dirt heavy, dirt, short, middle, long.
  std::array<int, 8> places;
};

TEST_F(PastRunLoaderTest, FinishesCountByTrackGoingAndDistance) {
  const StatisticsCase cases[] = {
      {"turf heavy middle", "17", "3", "0", 1800, 2, {2, 2, 2, 0, 0, 0, 2, 0}},
      {"turf good short", "11", "1", " ", 1600, 1, {1, 0, 1, 0, 0, 1, 0, 0}},
      {"dirt bad long", "24", " ", "4", 2201, 3, {3, 0, 0, 3, 3, 0, 0, 3}},
      {"dirt slightly heavy", "29", "0", "2", 1000, 1, {1, 0, 0, 0, 1, 1, 0, 0}},
      {"seventh is fourth or worse", "23", "0", "1", 2200, 7, {4, 0, 0, 0, 4, 0, 4, 0}},
      {"jump race, no surface", "54", "1", "0", 3000, 4, {4, 0, 0, 0, 0, 0, 0, 4}},
      {"no position counts nowhere", "17", "3", "0", 1800, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
      {"no distance", "22", "4", "0", 0, 1, {1, 1, 1, 0, 0, 0, 0, 0}},
  };
  for (const StatisticsCase& c : cases) {
    writeLinesFile(pastRunFile(), {pastRunLine(keyOn(20231224), c.position)
                                       .setRaw(pr::kTrackCode, c.track)
                                       .setRaw(pr::kTurfGoingCode, c.turfGoing)
                                       .setRaw(pr::kDirtGoingCode, c.dirtGoing)
                                       .setNumber(pr::kDistance, c.distance)
                                       .line()});
    EXPECT_EQ(load(), 1) << c.name;
    // The run is kept whether or not it counts.
    EXPECT_EQ(slotKey(0), keyOn(20231224)) << c.name;
    const RaceAnalysis& a = analysis();
    const FinishCounts* counts[] = {&a.overallCounts[0],        &a.turfHeavyCounts[0],
                                    &a.turfCounts[0],           &a.dirtHeavyCounts[0],
                                    &a.dirtCounts[0],           &a.shortDistanceCounts[0],
                                    &a.middleDistanceCounts[0], &a.longDistanceCounts[0]};
    for (size_t i = 0; i < 8; ++i) {
      FinishCounts expected;
      if (c.places[i] > 0) expected.places[c.places[i] - 1] = 1;
      EXPECT_EQ(*counts[i], expected) << c.name << ", table " << i;
    }
  }
}

TEST_F(PastRunLoaderTest, EarningsSumPrizesOfTheRunsInThePeriod) {
  writeLinesFile(pastRunFile(),
                 {pastRunLine(keyOn(20200101), 1).setNumber(pr::kPrizeMoney, 99999).line(),
                  pastRunLine(keyOn(20231001), 1)
                      .setNumber(pr::kPrizeMoney, 1500)
                      .setNumber(pr::kAddedPrizeMoney, 20)
                      .line(),
                  pastRunLine(keyOn(20231201), 5).setNumber(pr::kPrizeMoney, 300).line()});
  EXPECT_EQ(load(), 2);
  EXPECT_EQ(analysis().periodEarnings[0], 1820);
}

TEST_F(PastRunLoaderTest, EarningsOfJunkPrizesStopAtTheLimitInsteadOfWrapping) {
  std::vector<std::string> lines;
  for (int i = 0; i < 30; ++i) {
    lines.push_back(pastRunLine(keyOn(20230201 + 100 * (i / 28) + i % 28), 1)
                        .setNumber(pr::kPrizeMoney, 99999999)
                        .setNumber(pr::kAddedPrizeMoney, 99999999)
                        .line());
  }
  writeLinesFile(pastRunFile(), lines);
  EXPECT_EQ(load(), 30);
  EXPECT_EQ(analysis().periodEarnings[0], std::numeric_limits<int32_t>::max());
}

// A prediction line of a race with the point-win-rate rank.
std::string predictionOf(const std::string& key, int pointWinRateRank) {
  store::PredictionFigures figures;
  figures.winCount = 3;
  figures.pointWinRateRank = pointWinRateRank;
  return store::predictionLine(key, figures);
}

TEST_F(PastRunLoaderTest, PredictionsMarkExpectedWinsAndUpsets) {
  writeLinesFile(pastRunFile(), {pastRunLine(keyOn(20231001), 1).line(),    // rank 1, won
                                 pastRunLine(keyOn(20231008), 3).line(),    // rank 2, third
                                 pastRunLine(keyOn(20231015), 5).line(),    // rank 2, fifth
                                 pastRunLine(keyOn(20231022), 0).line(),    // rank 1, no place
                                 pastRunLine(keyOn(20231029), 1).line(),    // rank 3
                                 pastRunLine(keyOn(20231105), 1).line()});  // no line
  writeLinesFile(predictionFile(),
                 {predictionOf(keyOn(20231001), 1), predictionOf(keyOn(20231008), 2),
                  predictionOf(keyOn(20231015), 2), predictionOf(keyOn(20231022), 1),
                  predictionOf(keyOn(20231029), 3)});
  EXPECT_EQ(load(), 6);
  // Slots run newest first.
  const int expectedMarks[] = {0, 0, 2, 2, 1, 1};
  for (int slot = 0; slot < 6; ++slot) {
    EXPECT_EQ(m_tables.pastRunMark(0, 0, slot), expectedMarks[slot]) << "slot " << slot;
  }
  EXPECT_EQ(analysis().expectedWinCount[0], 2);
  EXPECT_EQ(analysis().upsetCount[0], 2);
  EXPECT_DOUBLE_EQ(analysis().upsetRate[0], 0.5);
}

TEST_F(PastRunLoaderTest, ThePredictionOfARunIsTheNewestLineOfItsDateAndRacecourse) {
  // The race number is not compared: of two races of the day at the same
  // racecourse the later line decides, and a rank 3 there hides the rank 1.
  writeLinesFile(pastRunFile(), {pastRunLine(keyOn(20231001, 5), 1).line()});
  writeLinesFile(predictionFile(),
                 {predictionOf(keyOn(20231001, 2), 1), predictionOf(keyOn(20231001, 9), 3)});
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(m_tables.pastRunMark(0, 0, 0), 0);
  EXPECT_EQ(analysis().expectedWinCount[0] + analysis().upsetCount[0], 0);
  EXPECT_EQ(analysis().upsetRate[0], -1.0);

  writeLinesFile(predictionFile(), {predictionOf(keyOn(20231001, 9), 2)});
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(m_tables.pastRunMark(0, 0, 0), 1);
  EXPECT_EQ(analysis().expectedWinCount[0], 1);
  EXPECT_DOUBLE_EQ(analysis().upsetRate[0], 0.0);
}

TEST_F(PastRunLoaderTest, OnlyTheNewestHundredPredictionLinesAreRead) {
  std::vector<std::string> predictions;
  predictions.push_back(predictionOf(keyOn(20231001), 1));  // the oldest line
  for (int i = 0; i < 100; ++i) predictions.push_back(predictionOf(keyOn(20231101 + i % 28), 3));
  writeLinesFile(pastRunFile(), {pastRunLine(keyOn(20231001), 1).line()});
  writeLinesFile(predictionFile(), predictions);
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(analysis().expectedWinCount[0], 0);

  predictions.pop_back();
  writeLinesFile(predictionFile(), predictions);
  EXPECT_EQ(load(), 1);
  EXPECT_EQ(analysis().expectedWinCount[0], 1);
}

TEST_F(PastRunLoaderTest, AReloadClearsWhatTheRunnerHadBefore) {
  writeLinesFile(pastRunFile(),
                 {pastRunLine(keyOn(20231001), 1).line(), pastRunLine(keyOn(20231008), 2).line()});
  writeLinesFile(predictionFile(), {predictionOf(keyOn(20231008), 1)});
  EXPECT_EQ(load(), 2);
  EXPECT_EQ(m_tables.pastRunMark(0, 0, 0), 1);

  fs::remove(pastRunFile());
  EXPECT_EQ(load(), 0);
  EXPECT_TRUE(store::isBlank(m_tables.pastRun(0, 0, 0)));
  EXPECT_TRUE(store::isBlank(m_tables.pastRun(0, 0, 1)));
  EXPECT_EQ(m_tables.pastRunMark(0, 0, 0), 0);
  EXPECT_EQ(analysis().overallCounts[0].total(), 0);
  EXPECT_EQ(analysis().expectedWinCount[0], 0);
  EXPECT_EQ(analysis().upsetRate[0], -1.0);
}

TEST_F(PastRunLoaderTest, ARegistrationNumberThatCannotNameAFileGivesNoPastRuns) {
  // The files the damaged numbers would name if they were used as paths.
  const std::string line = pastRunLine(keyOn(20231001), 1).line();
  writeLinesFile(m_sei / "2019" / "2019" / "04321.kak", {line});
  writeLinesFile(m_sei / "2019" / "20191043  .kak", {line});
  writeLinesFile(m_sei / "2019" / "2019104321.kak", {line});
  for (std::string_view number : {"2019/04321", "20191043  ", "          "}) {
    m_tables.setRunner(0, 0,
                       RecordBuilder::se("2024010606010111", 1)
                           .setRaw(store::se::kRegistrationNumber, number)
                           .record());
    EXPECT_EQ(load(true), 0) << number;
  }
}

TEST_F(PastRunLoaderTest, DamagedFilesLoadWithoutFailing) {
  // A short last line, a line of junk and an empty line among good ones.
  std::string bytes = pastRunLine(keyOn(20231001), 1).line() + "\r\n" + std::string(824, '\xff') +
                      "\r\n" + pastRunLine(keyOn(20231008), 2).line().substr(0, 200);
  test::writeFile(pastRunFile(), bytes);
  test::writeFile(predictionFile(), "20231008060\r\n\x81");
  EXPECT_EQ(load(), 2);
  EXPECT_EQ(slotKey(0), keyOn(20231008));
  EXPECT_EQ(slotKey(1), keyOn(20231001));
  EXPECT_EQ(analysis().overallCounts[0].places[0], 1);
  EXPECT_EQ(analysis().overallCounts[0].places[1], 1);
}

TEST_F(PastRunLoaderTest, SlotsOutOfRangeEndTheCommand) {
  EXPECT_THROW(loadPastRuns(m_tables, 36, 0, m_sei, PastRunPeriod::of(kRaceDate, 365, false)),
               Error);
  EXPECT_THROW(loadPastRuns(m_tables, 0, 18, m_sei, PastRunPeriod::of(kRaceDate, 365, false)),
               Error);
}

}  // namespace
}  // namespace orvalle::model
