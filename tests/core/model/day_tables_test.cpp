#include "model/day_tables.h"

#include <gtest/gtest.h>

#include "store/error.h"
#include "support/record_builder.h"

namespace orvalle::model {
namespace {

using test::RecordBuilder;

TEST(DayTablesTest, StartsBlankWithEveryRaceEmpty) {
  DayTables tables;
  for (int slot = 0; slot < kRaceSlots; ++slot) EXPECT_TRUE(tables.isRaceEmpty(slot));
  EXPECT_EQ(tables.runner(35, 17), std::string(555, ' '));
  EXPECT_EQ(tables.pastRun(35, 17, 99), std::string(826, ' '));
  EXPECT_EQ(tables.analysis(0).winRate[0], -1.0);
  EXPECT_EQ(tables.analysis(0).pointWinRate[17], -1.0);
}

TEST(DayTablesTest, IndexOutOfRangeEndsTheCommandWithAnError) {
  DayTables tables;
  EXPECT_THROW(tables.race(36), Error);
  EXPECT_THROW(tables.race(-1), Error);
  EXPECT_THROW(tables.runner(0, 18), Error);
  EXPECT_THROW(tables.pastRun(0, 0, 100), Error);
  EXPECT_THROW(tables.pastRunMark(36, 0, 0), Error);
  EXPECT_THROW(tables.analysis(0).winCount[18], Error);
  EXPECT_THROW(tables.analysis(0).pair(PairTable::kDirect, 0), Error);
  EXPECT_THROW(tables.analysis(0).pair(PairTable::kDirect, 154), Error);
  EXPECT_THROW(tables.analysis(0).combinations.trio[12], Error);
  EXPECT_NO_THROW(tables.analysis(35).pair(PairTable::kReserved2, 153));
}

TEST(DayTablesTest, ImagesArePaddedOrCutToTheirSize) {
  DayTables tables;
  tables.setRunner(3, 4, "SE7");
  EXPECT_EQ(tables.runner(3, 4), "SE7" + std::string(552, ' '));
  tables.setPayout(0, std::string(800, 'x'));
  EXPECT_EQ(tables.payout(0), std::string(719, 'x'));
  // Neighbouring slots are untouched.
  EXPECT_EQ(tables.runner(3, 5), std::string(555, ' '));
  EXPECT_EQ(tables.runner(3, 3), std::string(555, ' '));
}

TEST(DayTablesTest, RaceSlotIsEmptyWhenItsYearIsBlankOrZero) {
  DayTables tables;
  tables.setRace(0, RecordBuilder::ra("2024010606010101").record());
  tables.setRace(1, RecordBuilder::ra("0000010606010102").record());
  EXPECT_FALSE(tables.isRaceEmpty(0));
  EXPECT_TRUE(tables.isRaceEmpty(1));
  EXPECT_EQ(tables.raceSlotOfKey("2024010606010101"), 0);
  EXPECT_EQ(tables.raceSlotOfKey("2024010606010102"), -1);
}

TEST(DayTablesTest, ChoosingADateKeepsStatisticsAndWinCountRank) {
  DayTables tables;
  RaceAnalysis& analysis = tables.analysis(2);
  analysis.winCount[0] = 5;
  analysis.winRate[0] = 0.5;
  analysis.winCountRank[0] = 1;
  analysis.periodEarnings[0] = 1234;
  analysis.expectedWinCount[0] = 2;
  analysis.predictedOdds[0] = 3.4;
  analysis.pair(PairTable::kComparisonCount, 1) = 9;
  analysis.combinations.quinella[0] = " 1- 2";
  analysis.combinations.quinellaPlaceScores.hit[0] = 1;
  analysis.result.finishingPosition[0] = "01";
  analysis.compared = true;
  tables.tally(TallyBetType::kTrio).stake = 900;

  tables.resetAnalysesForDayLoad();

  EXPECT_EQ(analysis.winCount[0], 0);
  EXPECT_EQ(analysis.winRate[0], -1.0);
  EXPECT_EQ(analysis.predictedOdds[0], 0.0);
  EXPECT_EQ(analysis.pair(PairTable::kComparisonCount, 1), 0);
  EXPECT_EQ(analysis.combinations.quinella[0], "");
  EXPECT_EQ(analysis.combinations.quinellaPlaceScores.hit[0], 0);
  EXPECT_EQ(analysis.result.finishingPosition[0], "");
  EXPECT_FALSE(analysis.compared);
  EXPECT_EQ(tables.tally(TallyBetType::kTrio), DayTally{});
  // Kept across the reset.
  EXPECT_EQ(analysis.winCountRank[0], 1);
  EXPECT_EQ(analysis.periodEarnings[0], 1234);
  EXPECT_EQ(analysis.expectedWinCount[0], 2);
}

TEST(DayTablesTest, BlankFillClearsImagesAndMarks) {
  DayTables tables;
  tables.setRace(5, RecordBuilder::ra("2024010606010105").record());
  tables.setPastRun(5, 2, 7, "20231224");
  tables.pastRunMark(5, 2, 7) = 2;
  tables.blankFill();
  EXPECT_TRUE(tables.isRaceEmpty(5));
  EXPECT_EQ(tables.pastRun(5, 2, 7), std::string(826, ' '));
  EXPECT_EQ(tables.pastRunMark(5, 2, 7), 0);
}

}  // namespace
}  // namespace orvalle::model
