#include "output/analysis_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "store/cp932.h"
#include "store/error.h"
#include "store/record.h"
#include "support/record_builder.h"

namespace orvalle::output {
namespace {

using store::BetType;
using test::RecordBuilder;
namespace ra = store::ra;
using Text = std::optional<std::string>;

std::string raceKey(int raceNumber) { return "20240106060101" + store::format("%02d", raceNumber); }

// Race slot 0: Nakayama, meeting 1, day 1, race `raceNumber`, with `runners`
// registered; horse h in `brackets[h - 1]`, or (h + 1) / 2.
void addRace(model::DayTables& tables, int runners, std::vector<int> brackets = {},
             int raceNumber = 11) {
  tables.setRace(
      0,
      RecordBuilder::ra(raceKey(raceNumber)).setNumber(ra::kRegisteredRunners, runners).record());
  for (int h = 1; h <= std::min(runners, 18); ++h) {
    const int bracket = h <= int(brackets.size()) ? brackets[size_t(h - 1)] : (h + 1) / 2;
    tables.setRunner(
        0, h - 1,
        RecordBuilder::se(raceKey(raceNumber), h).setNumber(store::se::kBracket, bracket).record());
  }
}

// The one text drawn at (x, y) in UTF-8, nullopt when there is none.
Text textAt(const SheetPage& page, int x, int y) {
  Text found;
  for (const SheetText* text : page.texts()) {
    if (text->x != x || text->y != y) continue;
    EXPECT_FALSE(found.has_value()) << "two texts at " << x << ", " << y;
    found = cp932::toUtf8(text->text);
  }
  return found;
}

// The drawing position of an item, -1 when it is not drawn.
long indexOf(const SheetPage& page, const SheetItem& item) {
  const auto it = std::find(page.items.begin(), page.items.end(), item);
  return it == page.items.end() ? -1 : it - page.items.begin();
}

TEST(AnalysisSheetTest, RowsAndFrameFollowTheRegisteredRunners) {
  const std::pair<int, Text> kNumbers[] = {{1, "①"}, {2, "②"}, {16, "⑯"}, {18, "⑱"}};
  for (const auto& [registered, rows] : {std::pair{16, 16}, {1, 1}, {18, 18}, {0, 0}, {25, 18}}) {
    model::DayTables tables;
    addRace(tables, registered);
    const SheetPage page = analysisSheet(tables, 0, "");
    const int bottom = 705 + 105 * rows;
    const long band = indexOf(page, SheetBox{50, 600, 1450, 705, SheetPen::kThick, true, 0xC0C0C0});
    EXPECT_GE(band, 0);
    EXPECT_GT(indexOf(page, SheetText{55, 615, sj("枠"), SheetFont::kGothic, 11}), band);
    EXPECT_GE(indexOf(page, SheetBox{50, 705, 1450, bottom, SheetPen::kNormal}), 0) << registered;
    EXPECT_GE(indexOf(page, SheetLine{1230, 600, 1230, bottom}), 0);
    EXPECT_GE(indexOf(page, SheetLine{740, 700, 740, bottom}), 0);
    const auto texts = page.texts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](auto* t) { return t->x == 107; }), rows);
    for (const auto& [j, number] : kNumbers) {
      EXPECT_EQ(textAt(page, 107, 630 + 105 * j), j <= rows ? number : std::nullopt);
    }
  }
}

TEST(AnalysisSheetTest, RunnersOfOneBracketShareItsCell) {
  model::DayTables tables;
  addRace(tables, 4, {1, 1, 2, 8});
  const SheetPage page = analysisSheet(tables, 0, "");
  const Text kColours[] = {"白", std::nullopt, "黒", "桃"};
  const Text kNumbers[] = {"1", std::nullopt, "2", "8"};
  for (int j = 1; j <= 4; ++j) {
    const int top = 600 + 105 * j;
    const bool shared = j == 2;
    EXPECT_EQ(indexOf(page, SheetLine{50, top, 1450, top}) >= 0, !shared) << j;
    EXPECT_EQ(indexOf(page, SheetLine{100, top, 1450, top, SheetPen::kThin}) >= 0, shared) << j;
    EXPECT_EQ(indexOf(page, SheetBox{60, top + 45, 90, top + 95}) >= 0, !shared) << j;
    EXPECT_EQ(textAt(page, 60, top + 10), kColours[j - 1]);
    EXPECT_EQ(textAt(page, 65, top + 55), kNumbers[j - 1]);
  }
}

TEST(AnalysisSheetTest, RaceNumberStandsInTheBlackBoxByItsWidth) {
  for (const auto& [race, x] : {std::pair{9, 70}, {10, 55}, {1, 70}, {12, 55}}) {
    model::DayTables tables;
    addRace(tables, 2, {}, race);
    const SheetPage page = analysisSheet(tables, 0, "");
    const SheetText number{x, 275, std::to_string(race), SheetFont::kGothic, 20, true, kSheetWhite};
    const long box = indexOf(page, SheetBox{50, 270, 130, 350, SheetPen::kNone, true, 0});
    EXPECT_GE(box, 0);
    EXPECT_GT(indexOf(page, number), box) << race;  // drawn on the box
    EXPECT_EQ(textAt(page, x == 55 ? 70 : 55, 275), std::nullopt);
    EXPECT_TRUE(textAt(page, 250, 190)->ends_with(store::format("%02dR", race)));
  }
}

TEST(AnalysisSheetTest, OnlyPaidEntriesArePrintedEachInItsPlace) {
  model::DayTables tables;
  addRace(tables, 12);
  model::RaceAnalysis& a = tables.analysis(0);
  a.combinations.trio[0] = " 1- 2- 3";
  const char* const kLabels[] = {"【単勝】", "【複勝】", "【枠連】",  "【馬連】",
                                 "【ﾜｲﾄﾞ】", "【馬単】", "【三連複】"};
  const SheetPage unpaid = analysisSheet(tables, 0, "");
  for (int row = 0; row < 7; ++row) EXPECT_EQ(textAt(unpaid, 50, 380 + 30 * row), kLabels[row]);
  for (const SheetText* t : unpaid.texts()) {
    EXPECT_FALSE(t->y >= 380 && t->y <= 560 && t->x != 50) << cp932::toUtf8(t->text);
    EXPECT_NE(cp932::toUtf8(t->text), "的中");
  }

  store::PayoutBlock& p = a.result.payouts;
  p.at(BetType::kWin, 0) = {3, "", 1, 230};
  p.at(BetType::kPlace, 0) = {3, "", 1, 110};
  p.at(BetType::kPlace, 2) = {12, "", 5, 1520};  // the second place unpaid
  p.at(BetType::kBracketQuinella, 0) = {0, " 2- 6", 9, 4410};
  p.at(BetType::kQuinellaPlace, 0) = {0, " 0- 0", 0, 0};
  p.at(BetType::kQuinellaPlace, 1) = {0, " 3-12", 20, 2050};
  p.at(BetType::kTrio, 0) = {0, " 3- 7-12", 88, 123450};
  const SheetPage paid = analysisSheet(tables, 0, "");
  EXPECT_EQ(textAt(paid, 190, 380), "　③ [     230]");
  EXPECT_EQ(textAt(paid, 190, 410), "　③ [     110]");
  EXPECT_EQ(textAt(paid, 430, 410), std::nullopt);
  EXPECT_EQ(textAt(paid, 670, 410), "　⑫ [    1520]");
  EXPECT_EQ(textAt(paid, 190, 440), "②-⑥[    4410]");
  EXPECT_EQ(textAt(paid, 190, 500), std::nullopt);
  EXPECT_EQ(textAt(paid, 430, 500), "③-⑫[    2050]");
  EXPECT_EQ(textAt(paid, 190, 560), "③-⑦-⑫[  123450]");
}

TEST(AnalysisSheetTest, CombinationColumnMarksHitsAndPayouts) {
  model::DayTables tables;
  addRace(tables, 10);
  model::CombinationBlock& c = tables.analysis(0).combinations;
  c.trio[0] = " 1- 2- 3";
  c.trio[1] = " 1- 2- 4";
  c.trio[11] = " 8- 9-10";
  c.trioScores.hit[1] = 1;
  c.trioScores.payout[1] = 12340;
  const SheetPage page = analysisSheet(tables, 0, sj("本命重視"));
  EXPECT_EQ(textAt(page, 1500, 605), "【買い目】(設定名→本命重視)");
  for (int k = 1; k <= 12; ++k) {
    const int y = 605 + 35 * k;
    const std::string& trio = c.trio[k - 1];
    EXPECT_EQ(textAt(page, 1520, y), trio.empty() ? std::nullopt : Text(trio)) << k;
    EXPECT_EQ(textAt(page, 1690, y), k == 2 ? Text("的中") : std::nullopt) << k;
    EXPECT_EQ(textAt(page, 1780, y), k == 2 ? Text("   12340") : std::nullopt) << k;
  }
}

TEST(AnalysisSheetTest, FiguresOfARunnerAndTheirDashForms) {
  model::DayTables tables;
  addRace(tables, 2);
  model::RaceAnalysis& a = tables.analysis(0);
  a.periodEarnings[1] = 4520;
  a.winCount[1] = 12, a.lossCount[1] = 3, a.winRate[1] = 0.8;
  a.winRateRank[1] = 1, a.winCountReverseRank[1] = 10;
  a.winPoints[1] = 123, a.lossPoints[1] = 45, a.pointWinRate[1] = 0.125;
  a.pointWinRateRank[1] = 3, a.winPointsReverseRank[1] = 2;
  a.predictedOdds[1] = 3.4, a.predictedOddsRank[1] = 2;
  a.expectedWinCount[1] = 2, a.upsetCount[1] = 1, a.upsetRate[1] = 1.0 / 3.0;
  a.result.finishingPosition[1] = "02", a.result.raceTime[1] = "1234";
  a.result.finalOdds[1] = "0123", a.result.popularityRank[1] = "4";
  a.result.finishingPosition[0] = "00", a.result.raceTime[0] = "0000";
  a.result.finalOdds[0] = "0000";
  const SheetPage page = analysisSheet(tables, 0, "");
  struct Case {
    int x, dy;
    const char* blank;   // runner 1: nothing computed, zero results
    const char* filled;  // runner 2
  };
  for (const Case& c : {
           Case{230, 35, "      0千円", "   4520千円"},
           {435, 5, "　  － 　 ", " 12 －   3"},
           {490, 40, "　－　 ", " 80.0 %"},
           {460, 75, " － ( － )", " 1位(10位)"},
           {620, 40, "　", "<="},
           {745, 5, "　　 － 　　", " 123 －   45"},
           {800, 40, "　－　 ", " 12.5 %"},
           {770, 75, " － ( － )", " 3位( 2位)"},
           {690, 40, "　", "->"},
           {950, 10, "　－　", "   3.4"},
           {970, 60, " － ", " 2位"},
           {1070, 10, "　  － 　 ", "  2 －   1"},
           {1100, 60, "　－　 ", " 33.3 %"},
           {1360, 5, " － ", " 2着"},
           {1250, 5, "　", "->"},
           {1320, 40, "　－　", "1.23.4"},
           {1280, 75, "　－ ( － )", " 12.3( 4人)"},
       }) {
    EXPECT_EQ(textAt(page, c.x, 705 + c.dy), c.blank) << c.x << " +" << c.dy;
    EXPECT_EQ(textAt(page, c.x, 810 + c.dy), c.filled) << c.x << " +" << c.dy;
  }
}

TEST(AnalysisSheetTest, HeadingShowsTheRaceAndItsPrizeMoney) {
  model::DayTables tables;
  addRace(tables, 16);
  tables.setRace(0, RecordBuilder::ra(raceKey(11))
                        .setNumber(ra::kRegisteredRunners, 16)
                        .setRaw(ra::kWeekdayCode, "1")
                        .setRaw(ra::kStartTime, "1525")
                        .setNumber(ra::kGradedRaceRunning, 68)
                        .set(ra::kRaceName, "有馬記念")
                        .setNumber(ra::kDistance, 2500)
                        .setRaw(ra::kRaceTypeCode, "13")
                        .setRaw(ra::kWeightTypeCode, "4")
                        .setNumber(ra::prizeMoney(1), 50000)
                        .setNumber(ra::prizeMoney(7), 1234)
                        .setNumber(ra::addedPrizeMoney(5), 77)
                        .record());
  const SheetPage page = analysisSheet(tables, 0, "");
  EXPECT_EQ(textAt(page, 50, 195), "中山");
  EXPECT_EQ(textAt(page, 250, 190), "2024年01月06日(土)中山 01回01日11R");
  EXPECT_EQ(textAt(page, 980, 190), "15時25分発走　");
  EXPECT_TRUE(textAt(page, 250, 245)->starts_with("第68回 有馬記念"));
  EXPECT_TRUE(textAt(page, 250, 280)->starts_with("16頭  2500ﾒｰﾄﾙ "));
  EXPECT_NE(textAt(page, 250, 280)->find(" ｻﾗ系3歳以上     "), std::string::npos);
  EXPECT_TRUE(textAt(page, 250, 315)->starts_with("定量 "));
  EXPECT_EQ(textAt(page, 1650, 230), "①   50000");
  EXPECT_EQ(textAt(page, 1650, 350), "⑦    1234");
  EXPECT_EQ(textAt(page, 1800, 310), "⑤      77");
  EXPECT_EQ(textAt(page, 1800, 330), std::nullopt);  // five added prizes only

  EXPECT_THROW(analysisSheet(tables, 36, ""), Error);
  EXPECT_THROW(analysisSheet(tables, -1, ""), Error);
}

}  // namespace
}  // namespace orvalle::output
