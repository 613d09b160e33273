#include "model/detailed_race_card.h"

#include <gtest/gtest.h>

#include "store/cp932.h"
#include "store/error.h"
#include "store/past_run_record.h"
#include "support/race_day_builder.h"
#include "support/record_builder.h"

namespace orvalle::model {
namespace {

namespace pr = store::past_run;
using test::LineBuilder;
using test::pastRunLine;
using test::RecordBuilder;

constexpr std::string_view kKey = "2024010606010111";

void addRace(DayTables& tables, int runners) {
  tables.setRace(
      0, RecordBuilder::ra(kKey).setNumber(store::ra::kRegisteredRunners, runners).record());
  for (int h = 1; h <= runners; ++h) {
    tables.setRunner(0, h - 1,
                     RecordBuilder::se(kKey, h).setNumber(store::se::kBracket, h).record());
  }
}

// Fills the first `count` past-run slots of a runner.
void giveRuns(DayTables& tables, int runnerSlot, int count, int firstSlot = 0) {
  for (int s = firstSlot; s < firstSlot + count; ++s) {
    tables.setPastRun(0, runnerSlot, s, pastRunLine("2023120106010101", 1).line());
  }
}

TEST(DetailedRaceCardTest, PastRunsAreNumberedForTheRunnerWithTheMost) {
  DayTables tables;
  addRace(tables, 3);
  EXPECT_TRUE(pastRunNumbering(tables, 0).empty());  // a race of newcomers

  giveRuns(tables, 1, 3);
  giveRuns(tables, 2, 2);
  giveRuns(tables, 2, 5, 3);  // a gap after two runs ends the count
  std::vector<std::string> headings = pastRunNumbering(tables, 0);
  ASSERT_EQ(headings.size(), 3u);
  EXPECT_EQ(cp932::toUtf8(headings[0]), "  1走前");
  EXPECT_EQ(cp932::toUtf8(headings[2]), "  3走前");

  giveRuns(tables, 0, 80);
  headings = pastRunNumbering(tables, 0);
  ASSERT_EQ(headings.size(), 50u);
  EXPECT_EQ(cp932::toUtf8(headings.back()), " 50走前");

  // Runners beyond the registered ones do not count.
  DayTables other;
  addRace(other, 1);
  giveRuns(other, 5, 4);
  EXPECT_TRUE(pastRunNumbering(other, 0).empty());
}

TEST(DetailedRaceCardTest, HeadingsCoverAllHundredPastRunColumnsNumberedUpToFifty) {
  DayTables tables;
  addRace(tables, 2);
  std::vector<std::string> headings = detailedCardHeadings(tables, 0);
  ASSERT_EQ(headings.size(), 105u);
  EXPECT_EQ(cp932::toUtf8(headings[3]), "全・距離別成績");
  EXPECT_EQ(headings[5], "");  // no runner has a past run

  giveRuns(tables, 0, 2);
  giveRuns(tables, 1, kPastRunSlots);  // every slot filled
  headings = detailedCardHeadings(tables, 0);
  ASSERT_EQ(headings.size(), 105u);
  EXPECT_EQ(cp932::toUtf8(headings[2]), "馬名");
  EXPECT_EQ(cp932::toUtf8(headings[5]), "  1走前");
  EXPECT_EQ(cp932::toUtf8(headings[54]), " 50走前");
  for (size_t c = 55; c < headings.size(); ++c) EXPECT_EQ(headings[c], "") << c;
  // The runs beyond the fiftieth are still there to be shown.
  EXPECT_FALSE(pastRunCell(tables, 0, 1, 99).empty);

  const auto& widths = detailedCardColumnWidths();
  EXPECT_EQ((std::vector<int>(widths.begin(), widths.begin() + 6)),
            (std::vector<int>{20, 20, 140, 90, 100, 145}));
  EXPECT_EQ(widths.back(), 145);
}

TEST(DetailedRaceCardTest, ARunnerWithThreeRunsShowsThemThenGreyCells) {
  DayTables tables;
  addRace(tables, 1);
  giveRuns(tables, 0, 3);
  for (int slot = 0; slot < 3; ++slot) {
    PastRunCell cell = pastRunCell(tables, 0, 0, slot);
    EXPECT_FALSE(cell.empty) << slot;
    EXPECT_EQ(cell.background, colours::kWhite) << slot;
  }
  PastRunCell grey = pastRunCell(tables, 0, 0, 3);
  EXPECT_TRUE(grey.empty);
  EXPECT_EQ(grey.background, colours::kLightGrey);
  EXPECT_EQ(grey.lines, (std::array<std::string, 5>{}));
  EXPECT_EQ(grey.mark, "");
  EXPECT_THROW(pastRunCell(tables, 0, 0, 100), Error);
}

TEST(DetailedRaceCardTest, PastRunBlockTexts) {
  DayTables tables;
  addRace(tables, 1);
  tables.setPastRun(0, 0, 0,
                    pastRunLine("2023122806050811", 1)
                        .setRaw(pr::kShortRaceName, sj("有馬記"))
                        .setRaw(pr::kGradeCode, "A")
                        .setNumber(pr::kRegisteredRunners, 16)
                        .setNumber(pr::kDistance, 2500)
                        .setRaw(pr::kTrackCode, "18")
                        .setRaw(pr::kWeatherCode, "1")
                        .setRaw(pr::kTurfGoingCode, "2")
                        .setRaw(pr::kJockeyShortName, sj("武豊　　"))
                        .setRaw(pr::kWeightCarried, "570")
                        .setRaw(pr::kHorseNumber, "05")
                        .setRaw(pr::kPopularityRank, "03")
                        .setRaw(pr::kRaceTime, "2315")
                        .setRaw(pr::kLast3Furlongs, "345")
                        .setRaw(pr::kCorner1Position, "03")
                        .setRaw(pr::kCorner2Position, "00")
                        .setRaw(pr::kCorner3Position, "  ")
                        .setRaw(pr::kCorner4Position, "12")
                        .setRaw(pr::kHorseWeight, "488")
                        .setNumber(pr::kPrizeMoney, 50000)
                        .setNumber(pr::kAddedPrizeMoney, 1234)
                        .line());
  tables.pastRunMark(0, 0, 0) = 1;
  PastRunCell cell = pastRunCell(tables, 0, 0, 0);
  EXPECT_EQ(cp932::toUtf8(cell.lines[0]), "5中山12.28G1 有馬記");
  EXPECT_EQ(cp932::toUtf8(cell.lines[1]), "16頭2500m芝右晴稍重");
  EXPECT_EQ(cp932::toUtf8(cell.lines[2]), "武豊　　57.0kg⑤ 3人");
  // 2:31.5 is 1515 tenths, 1170 of them for the first 1900 m: 36.9 s per 600 m.
  EXPECT_EQ(cp932::toUtf8(cell.lines[3]), "2315 前:369 後:345");
  EXPECT_EQ(cp932::toUtf8(cell.lines[4]), "③－－⑫488kg  51234千円");
  EXPECT_EQ(cell.finishingPosition, " 1");
  EXPECT_EQ(cell.finishingPositionColour, colours::kRed);
  EXPECT_EQ(cp932::toUtf8(cell.mark), "順当");
  EXPECT_EQ(cell.markColour, colours::kBlue);
}

TEST(DetailedRaceCardTest, PastRunBlockOfARunWithoutResult) {
  DayTables tables;
  addRace(tables, 1);
  tables.setPastRun(0, 0, 0,
                    pastRunLine("2023122806050811", 0)
                        .setRaw(pr::kConditionCode, "005")
                        .setRaw(pr::kRaceTime, "0000")
                        .setRaw(pr::kLast3Furlongs, "999")
                        .setRaw(pr::kHorseWeight, "000")
                        .line());
  tables.pastRunMark(0, 0, 0) = 2;
  PastRunCell cell = pastRunCell(tables, 0, 0, 0);
  EXPECT_EQ(cp932::toUtf8(cell.lines[0]), "5中山12.28　　 500下");
  EXPECT_EQ(cp932::toUtf8(cell.lines[3]), "     前:    後:   ");
  EXPECT_EQ(cp932::toUtf8(cell.lines[4]), "－－－－           0千円");
  EXPECT_EQ(cell.finishingPosition, " ");
  EXPECT_EQ(cell.finishingPositionColour, colours::kBlack);
  EXPECT_EQ(cp932::toUtf8(cell.mark), "裏切");
  EXPECT_EQ(cell.markColour, colours::kDarkRed);

  tables.pastRunMark(0, 0, 0) = 0;
  EXPECT_EQ(cp932::toUtf8(pastRunCell(tables, 0, 0, 0).mark), "　");
}

TEST(DetailedRaceCardTest, FinishingPositionColours) {
  DayTables tables;
  addRace(tables, 1);
  const Colour expected[] = {colours::kRed, colours::kBlue, colours::kBlue, colours::kBlack,
                             colours::kBlack};
  for (int p = 1; p <= 5; ++p) {
    tables.setPastRun(0, 0, 0, pastRunLine("2023122806050811", p == 5 ? 12 : p).line());
    PastRunCell cell = pastRunCell(tables, 0, 0, 0);
    EXPECT_EQ(cell.finishingPositionColour, expected[p - 1]) << p;
  }
  EXPECT_EQ(pastRunCell(tables, 0, 0, 0).finishingPosition, "12");
}

TEST(DetailedRaceCardTest, RaceLabelFromShortNameOrCondition) {
  struct Case {
    const char* shortName;
    const char* condition;
    const char* label;
  };
  const Case cases[] = {
      {"ＡＪＣ", "999", "ＡＪＣ"},
      {"　金杯", "016", "金杯"},
      {"", "703", "未勝利"},
      {"　　　", "703", "未勝利"},
      {"", "005", "500下"},
      {"", "016", "1600下"},
      {"", "099", "9900下"},
      {"", "100", "1億下"},
      {"", "701", "新馬"},
      {"", "702", "未出走"},
      {"", "999", "ｵｰﾌﾟﾝ"},
      {"", "000", " "},
      {"", "101", " "},
      {"", "abc", " "},
  };
  for (const Case& c : cases) {
    std::string line = pastRunLine("2023122806050811", 1)
                           .set(pr::kShortRaceName, c.shortName)
                           .setRaw(pr::kConditionCode, c.condition)
                           .line();
    EXPECT_EQ(cp932::toUtf8(pastRunRaceLabel(line)), c.label) << c.shortName << " " << c.condition;
  }
}

TEST(DetailedRaceCardTest, RunnerColumnsShowIdentityAndRecords) {
  DayTables tables;
  addRace(tables, 5);
  tables.setRunner(0, 4,
                   RecordBuilder::se(kKey, 5)
                       .setRaw(store::se::kBracket, "3")
                       .set(store::se::kHorseName, "サクラローレルの名前")
                       .setRaw(store::se::kSexCode, "3")
                       .setRaw(store::se::kAge, "07")
                       .setRaw(store::se::kBlinkers, "1")
                       .setRaw(store::se::kJockeyShortName, sj("横山典弘"))
                       .setRaw(store::se::kWeightCarried, "575")
                       .setRaw(store::se::kApprenticeCode, "1")
                       .setRaw(store::se::kTrainerShortName, sj("小島太　"))
                       .record());
  RaceAnalysis& a = tables.analysis(0);
  a.periodEarnings[4] = 123456;
  a.overallCounts[4].places = {};
  for (int i = 0; i < 4; ++i) {
    a.overallCounts[4].places[i] = 10 + i;
    a.shortDistanceCounts[4].places[i] = i;
    a.turfHeavyCounts[4].places[i] = 2;
  }
  DetailedRunnerInfo info = detailedRunnerInfo(tables, 0, 4);
  EXPECT_EQ(info.bracket, "3");
  EXPECT_EQ(info.bracketBackground, colours::kRed);
  EXPECT_EQ(info.bracketDigit, colours::kWhite);
  EXPECT_EQ(info.horseNumber, " 5");
  EXPECT_EQ(cp932::toUtf8(info.horseName), "サクラローレルの名");
  EXPECT_EQ(cp932::toUtf8(info.sexAge), "ｾﾝ 7");
  EXPECT_EQ(cp932::toUtf8(info.earnings), " 123456千円");
  EXPECT_EQ(cp932::toUtf8(info.blinkers), "ﾌﾞﾘﾝ");
  EXPECT_EQ(cp932::toUtf8(info.jockey), "騎　手:横山典弘");
  EXPECT_EQ(info.weightCarried, "57.5kg");
  EXPECT_EQ(cp932::toUtf8(info.apprentice), "1kg減");
  EXPECT_EQ(cp932::toUtf8(info.trainer), "調教師:小島太　");
  EXPECT_EQ(cp932::toUtf8(info.distanceRecord[0]), "全:10-11-12-13");
  EXPECT_EQ(cp932::toUtf8(info.distanceRecord[1]), "短: 0- 1- 2- 3");
  EXPECT_EQ(cp932::toUtf8(info.distanceRecord[3]), "長: 0- 0- 0- 0");
  EXPECT_EQ(cp932::toUtf8(info.goingRecord[0]), "芝全: 0- 0- 0- 0");
  EXPECT_EQ(cp932::toUtf8(info.goingRecord[1]), "芝重: 2- 2- 2- 2");
  EXPECT_EQ(cp932::toUtf8(info.goingRecord[3]), "ダ重: 0- 0- 0- 0");

  // Brackets 1 and 5 carry black digits, the others white.
  for (int bracket = 1; bracket <= 8; ++bracket) {
    tables.setRunner(0, 0,
                     RecordBuilder::se(kKey, 1).setNumber(store::se::kBracket, bracket).record());
    EXPECT_EQ(detailedRunnerInfo(tables, 0, 0).bracketDigit,
              bracket == 1 || bracket == 5 ? colours::kBlack : colours::kWhite)
        << bracket;
  }
}

}  // namespace
}  // namespace orvalle::model
