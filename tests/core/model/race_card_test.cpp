#include "model/race_card.h"

#include <gtest/gtest.h>

#include "store/cp932.h"
#include "store/error.h"
#include "support/record_builder.h"

namespace orvalle::model {
namespace {

namespace col = race_card_column;
using test::RecordBuilder;

constexpr std::string_view kKey = "2024010606010111";

std::vector<std::string> utf8(const RaceCardCells& cells, int from, int to) {
  std::vector<std::string> out;
  for (int c = from; c <= to; ++c) out.push_back(cp932::toUtf8(cells[static_cast<size_t>(c)]));
  return out;
}

// A race of `runners` plain runners in race slot 0.
void addRace(DayTables& tables, int runners) {
  tables.setRace(
      0, RecordBuilder::ra(kKey).setNumber(store::ra::kRegisteredRunners, runners).record());
  for (int h = 1; h <= runners; ++h) {
    tables.setRunner(
        0, h - 1,
        RecordBuilder::se(kKey, h)
            .setNumber(store::se::kBracket, (h + 1) / 2)
            .set(store::se::kHorseName, "ウマ" + std::to_string(h))
            .setRaw(store::se::kRegistrationNumber, "20190000" + store::format("%02d", h))
            .setNumber(store::se::kWeightCarried, 540 + h)
            .record());
  }
}

std::vector<int> horseOrder(const std::vector<RaceCardRow>& rows) {
  std::vector<int> order;
  for (const RaceCardRow& row : rows) order.push_back(row.runnerSlot + 1);
  return order;
}

TEST(RaceCardTest, ARaceNotComparedShowsEveryRatingInItsEmptyForm) {
  DayTables tables;
  addRace(tables, 16);
  RaceCard card = raceCard(tables, 0, RaceCardSort::kHorseNumber);
  ASSERT_EQ(card.rows.size(), 16u);
  EXPECT_EQ(card.rows.back().runnerSlot, 15);
  EXPECT_EQ(
      utf8(card.rows[0].cells, 9, 26),
      (std::vector<std::string>{"  ", "　", "　", "     ", "　", "  ", "　", "　", "     ", "　",
                                "　　　", "　", "   ", "   ", "     ", "　", "      ", "     "}));
  EXPECT_EQ(cp932::toUtf8(card.comparedMessage),
            "集計が未実行です。「全レース比較」ボタンをクリックして集計してください。");
  tables.analysis(0).compared = true;
  EXPECT_EQ(cp932::toUtf8(raceCard(tables, 0, RaceCardSort::kHorseNumber).comparedMessage),
            "当レースの集計結果は下記の通りです。");
}

TEST(RaceCardTest, ARunnerRowShowsEveryColumnInItsFormat) {
  DayTables tables;
  addRace(tables, 3);
  tables.setRunner(0, 2,
                   RecordBuilder::se(kKey, 3)
                       .setRaw(store::se::kBracket, "2")
                       .setRaw(store::se::kHorseName, sj("　サクラ　ローレル　　　"))
                       .setRaw(store::se::kSexCode, "2")
                       .setRaw(store::se::kAge, "04")
                       .setRaw(store::se::kJockeyShortName, sj("武豊　　"))
                       .setRaw(store::se::kWeightCarried, "570")
                       .setRaw(store::se::kApprenticeCode, "3")
                       .setRaw(store::se::kTrainerShortName, sj("境勝太郎"))
                       .setRaw(store::se::kBlinkers, "1")
                       .record());
  RaceAnalysis& a = tables.analysis(0);
  a.winCount[2] = 12;
  a.winCountReverseRank[2] = 1;
  a.lossCount[2] = 3;
  a.winRate[2] = 0.8;
  a.winRateRank[2] = 2;
  a.winPoints[2] = 123;
  a.winPointsReverseRank[2] = 10;
  a.lossPoints[2] = 45;
  a.pointWinRate[2] = 0.732;
  a.pointWinRateRank[2] = 1;
  a.predictedOdds[2] = 3.4;
  a.predictedOddsRank[2] = 2;
  a.expectedWinCount[2] = 2;
  a.upsetCount[2] = 1;
  a.upsetRate[2] = 1.0 / 3.0;
  a.result.finishingPosition[2] = "01";
  a.result.raceTime[2] = "1234";
  a.result.finalOdds[2] = "0123";

  RaceCardRow row = raceCardRow(tables, 0, 2);
  EXPECT_EQ(utf8(row.cells, 0, 26), (std::vector<std::string>{" 2",    " 3",       "サクラローレル",
                                                              "牝 4",  "武豊　　", "57.0",
                                                              "3kg減", "境勝太郎", "○",
                                                              "12",    " 1",       " 3",
                                                              " 80.0", " 2",       " 123",
                                                              "10",    "  45",     " 73.2",
                                                              " 1",    "   3.4",   " 2",
                                                              "  2",   "  1",      " 33.3",
                                                              " 1",    "1.23.4",   " 12.3"}));
  // A rate of 0 is a rate; only a missing one is blank.
  a.winRate[2] = 0.0;
  EXPECT_EQ(raceCardRow(tables, 0, 2).cells[col::kWinRate], "  0.0");
}

TEST(RaceCardTest, RowsFollowTheRegisteredRunnersAndTheirBounds) {
  DayTables tables;
  addRace(tables, 18);
  EXPECT_EQ(raceCardRows(tables, 0).size(), 18u);
  tables.setRace(0, RecordBuilder::ra(kKey).setNumber(store::ra::kRegisteredRunners, 19).record());
  EXPECT_THROW(raceCardRows(tables, 0), Error);
  EXPECT_THROW(raceCardRow(tables, 36, 0), Error);
}

// A race of five runners with the given win counts, loss counts and
// win-rate ranks.
DayTables& ratedRace(DayTables& tables, std::array<int, 5> wins, std::array<int, 5> losses,
                     std::array<int, 5> ranks) {
  addRace(tables, 5);
  for (int k = 0; k < 5; ++k) {
    tables.analysis(0).winCount[k] = wins[static_cast<size_t>(k)];
    tables.analysis(0).lossCount[k] = losses[static_cast<size_t>(k)];
    tables.analysis(0).winRateRank[k] = ranks[static_cast<size_t>(k)];
  }
  return tables;
}

TEST(RaceCardTest, SortsOrderByBytesWithBlanksAndFullWidthBlanksWhereTheyFall) {
  DayTables tables;
  ratedRace(tables, {0, 5, 5, 12, 0}, {3, 2, 7, 1, 0}, {0, 2, 1, 0, 3});
  struct Case {
    RaceCardSort sort;
    std::vector<int> order;
  };
  const Case cases[] = {
      // "  " (no wins) comes last; equal wins by fewer losses, "　" last.
      {RaceCardSort::kWinCount, {4, 2, 3, 1, 5}},
      // Fewest losses first, no losses ("　") last.
      {RaceCardSort::kLossCount, {4, 2, 1, 3, 5}},
      // Unranked ("　") last, then more wins first.
      {RaceCardSort::kWinRate, {3, 2, 5, 4, 1}},
      {RaceCardSort::kHorseNumber, {1, 2, 3, 4, 5}},
  };
  for (const Case& c : cases) {
    std::vector<RaceCardRow> rows = raceCardRows(tables, 0);
    sortRaceCard(rows, c.sort);
    EXPECT_EQ(horseOrder(rows), c.order) << cp932::toUtf8(raceCardSortCaption(c.sort));
  }
}

TEST(RaceCardTest, RowsEqualInBothKeysKeepHorseNumberOrderWhateverTheSortBefore) {
  DayTables tables;
  ratedRace(tables, {2, 4, 2, 4, 2}, {1, 0, 1, 0, 1}, {0, 0, 0, 0, 0});
  std::vector<RaceCardRow> rows = raceCardRows(tables, 0);
  sortRaceCard(rows, RaceCardSort::kLossCount);
  EXPECT_EQ(horseOrder(rows), (std::vector<int>{1, 3, 5, 2, 4}));
  std::reverse(rows.begin(), rows.end());
  sortRaceCard(rows, RaceCardSort::kWinCount);
  EXPECT_EQ(horseOrder(rows), (std::vector<int>{2, 4, 1, 3, 5}));
  sortRaceCard(rows, RaceCardSort::kPointWinRate);
  EXPECT_EQ(horseOrder(rows), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST(RaceCardTest, FinishingPositionSortPutsRunnersWithoutPositionLast) {
  DayTables tables;
  addRace(tables, 4);
  const char* positions[] = {"03", "00", "01", "10"};
  for (int k = 0; k < 4; ++k) tables.analysis(0).result.finishingPosition[k] = positions[k];
  std::vector<RaceCardRow> rows = raceCardRows(tables, 0);
  sortRaceCard(rows, RaceCardSort::kFinishingPosition);
  EXPECT_EQ(horseOrder(rows), (std::vector<int>{3, 1, 4, 2}));
}

TEST(RaceCardTest, HeaderLinesOfAGradedRace) {
  std::string raceName = sj("中山金杯");
  while (raceName.size() < 60) raceName += sj("　");
  auto ra = RecordBuilder::ra(kKey)
                .setRaw(store::ra::kWeekdayCode, "1")
                .setRaw(store::ra::kStartTime, "1545")
                .setRaw(store::ra::kGradedRaceRunning, "073")
                .setRaw(store::ra::kRaceName, raceName)
                .setNumber(store::ra::kRegisteredRunners, 16)
                .setNumber(store::ra::kDistance, 2000)
                .setRaw(store::ra::kTrackCode, "17")
                .setRaw(store::ra::kGradeCode, "C")
                .setRaw(store::ra::kRaceTypeCode, "14")
                .setRaw(store::ra::kRaceSymbolCode, "A13")
                .setRaw(store::ra::kWeightTypeCode, "4")
                .setRaw(store::ra::kConditionCode2yo, "000")
                .setRaw(store::ra::kConditionCode3yo, "005")
                .setRaw(store::ra::kConditionCode4yo, "999")
                .setRaw(store::ra::kConditionCode5yoAndUp, "016");
  auto lines = raceHeaderLines(ra.record());
  EXPECT_EQ(cp932::toUtf8(lines[0]), "2024年01月06日(土)中山01回01日11R   15.45発走");
  EXPECT_EQ(lines[1], sj("第73回 ") + raceName);
  EXPECT_EQ(cp932::toUtf8(lines[2]),
            "16頭  2000ﾒｰﾄﾙ 芝 右回り G3    サラ系４歳上 (混合)牡[指定]　　　　　");
  EXPECT_EQ(cp932::toUtf8(lines[3]), "定量  3歳: 500万下 4歳:オープン 5歳以上:1600万下");

  // Without a graded running the race name stands alone; unknown codes give
  // their blank forms.
  ra.setRaw(store::ra::kGradedRaceRunning, "000")
      .setRaw(store::ra::kGradeCode, " ")
      .setRaw(store::ra::kWeekdayCode, "2")
      .setRaw(store::ra::kWeightTypeCode, " ")
      .setRaw(store::ra::kConditionCode3yo, "703")
      .setRaw(store::ra::kConditionCode4yo, "000")
      .setRaw(store::ra::kConditionCode5yoAndUp, "000");
  lines = raceHeaderLines(ra.record());
  EXPECT_EQ(lines[1], raceName);
  EXPECT_EQ(cp932::toUtf8(lines[0]), "2024年01月06日(日)中山01回01日11R   15.45発走");
  EXPECT_EQ(cp932::toUtf8(lines[2]),
            "16頭  2000ﾒｰﾄﾙ 芝 右回り 　　  サラ系４歳上 (混合)牡[指定]　　　　　");
  EXPECT_EQ(cp932::toUtf8(lines[3]), "  3歳:未勝利  ");
}

TEST(RaceCardTest, ClipboardTextHoldsTheHeaderAndEveryRowTabSeparated) {
  DayTables tables;
  addRace(tables, 2);
  RaceCard card = raceCard(tables, 0, RaceCardSort::kHorseNumber);
  card.header = {"L1", "L2", "L3", "L4"};
  std::string text = raceCardClipboardText(card);
  ASSERT_EQ(text.substr(0, 16), "L1\r\nL2\r\nL3\r\nL4\r\n");
  std::string rest = text.substr(16);
  std::string heading;
  for (const std::string& cell : raceCardHeadings())
    heading += (heading.empty() ? "" : "\t") + cell;
  EXPECT_EQ(rest.substr(0, heading.size() + 2), heading + "\r\n");
  rest = rest.substr(heading.size() + 2);
  std::string first;
  for (const std::string& cell : card.rows[0].cells) first += (first.empty() ? "" : "\t") + cell;
  EXPECT_EQ(rest.substr(0, first.size() + 2), first + "\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4 + 1 + 2);
  EXPECT_EQ(std::count(rest.begin(), rest.end(), '\t'), 2 * 26);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(RaceCardTest, GridHoldsTheHeadingsWidthsAndRowsInTheirOrder) {
  DayTables tables;
  addRace(tables, 3);
  std::vector<RaceCardRow> rows = raceCardRows(tables, 0);
  std::swap(rows[0], rows[2]);
  const GridView grid = raceCardGrid(rows);
  ASSERT_EQ(grid.columnCount(), kRaceCardColumns);
  ASSERT_EQ(grid.rowCount(), 4);
  EXPECT_EQ(grid.cell(0, col::kPointWinRate), sj("pt勝率"));
  EXPECT_EQ(grid.columnWidths[col::kHorseName], 130);
  EXPECT_EQ(grid.columnWidths[col::kFinalOdds], 40);
  EXPECT_EQ(grid.cell(1, col::kHorseNumber), " 3");
  EXPECT_EQ(grid.cell(3, col::kHorseNumber), " 1");
  // The grid applies its own drawing rule to the cell's text.
  EXPECT_EQ(grid.cellStyle(1, col::kBracket).background, colours::kGrey);  // bracket 2
  EXPECT_EQ(grid.cellStyle(0, col::kBracket).background, colours::kSilver);
}

TEST(RaceCardTest, ColoursAsData) {
  const GridView::Style style = raceCardGrid({}).style;
  ASSERT_NE(style, nullptr);
  auto background = [style](int row, int column, std::string_view text) {
    return style(row, column, text).background;
  };
  auto textColour = [style](int row, int column, std::string_view text) {
    return style(row, column, text).text;
  };
  const Colour brackets[] = {colours::kWhite,  colours::kGrey,   colours::kRed,
                             colours::kBlue,   colours::kYellow, colours::kGreen,
                             colours::kOrange, colours::kMagenta};
  for (int b = 1; b <= 8; ++b) {
    EXPECT_EQ(background(1, col::kBracket, store::format("%2d", b)), brackets[b - 1]) << b;
  }
  EXPECT_EQ(background(0, col::kBracket, sj("枠")), colours::kSilver);
  EXPECT_EQ(background(3, col::kHorseNumber, " 3"), colours::kToolTipBackground);
  EXPECT_EQ(background(3, col::kPredictedOdds, "   3.4"), colours::kLightYellow);
  EXPECT_EQ(background(3, col::kPredictedOddsRank, " 1"), colours::kLightYellow);
  EXPECT_EQ(background(3, col::kFinalOdds, " 12.3"), colours::kLightCyan);
  EXPECT_EQ(background(3, col::kWinRate, " 80.0"), colours::kWhite);

  for (int column : {10, 13, 15, 18, 20, 24}) {
    EXPECT_EQ(textColour(1, column, " 1"), colours::kRed) << column;
    EXPECT_EQ(textColour(1, column, " 2"), colours::kBlue) << column;
    EXPECT_EQ(textColour(1, column, " 3"), colours::kBlue) << column;
    EXPECT_EQ(textColour(1, column, " 4"), colours::kGridFont) << column;
    EXPECT_EQ(textColour(1, column, sj("　")), colours::kGridFont) << column;
  }
  EXPECT_EQ(textColour(0, col::kWinRateRank, " 1"), colours::kGridFont);
  EXPECT_EQ(textColour(1, col::kWinCount, " 1"), colours::kGridFont);
  EXPECT_EQ(textColour(1, col::kHorseNumber, " 1"), colours::kGridFont);
  EXPECT_TRUE(style(1, col::kHorseName, "x").leftAligned);
  EXPECT_FALSE(style(0, col::kHorseName, "x").leftAligned);
  EXPECT_FALSE(style(1, col::kJockey, "x").leftAligned);
}

TEST(RaceCardTest, PickingComparisonHorses) {
  ComparisonPicker picker;
  picker.pick("A", "55.0", "0000000001");
  picker.pick("A", "55.0", "0000000001");  // the same horse again: still only A
  EXPECT_EQ(picker.edit1(), "A");
  EXPECT_EQ(picker.edit2(), "");
  EXPECT_EQ(picker.horseB(), "");
  picker.pick("B", "54.0", "0000000002");
  picker.pick("C", "57.0", "0000000003");  // a third horse replaces B
  EXPECT_EQ(picker.edit2(), "C");
  EXPECT_EQ(picker.weightB(), "57.0");
  EXPECT_EQ(picker.horseB(), "0000000003");
  EXPECT_EQ(picker.horseA(), "0000000001");
  EXPECT_EQ(picker.weightA(), "55.0");

  picker.clear();
  EXPECT_EQ(picker.edit1(), "");
  EXPECT_EQ(picker.edit2(), "");
  EXPECT_EQ(picker.horseA(), "0000000001");
  EXPECT_EQ(picker.horseB(), "0000000003");
  picker.pick("C", "57.0", "0000000003");
  EXPECT_EQ(picker.edit1(), "C");
  EXPECT_EQ(picker.horseA(), "0000000003");
}

TEST(RaceCardTest, AClickPicksTheRunnerOfTheHorseNumberInTheRow) {
  DayTables tables;
  addRace(tables, 4);
  std::vector<RaceCardRow> rows = raceCardRows(tables, 0);
  sortRaceCard(rows, RaceCardSort::kFinishingPosition);
  ComparisonPicker picker;
  pickFromRaceCard(picker, tables, 0, rows[2]);
  EXPECT_EQ(picker.edit1(), rows[2].cells[col::kHorseName]);
  EXPECT_EQ(picker.weightA(), "54.3");
  EXPECT_EQ(picker.horseA(), "2019000003");

  RaceCardRow junk = rows[0];
  junk.cells[col::kHorseNumber] = "19";
  EXPECT_THROW(pickFromRaceCard(picker, tables, 0, junk), Error);
}

}  // namespace
}  // namespace orvalle::model
