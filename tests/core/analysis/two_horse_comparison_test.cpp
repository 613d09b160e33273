#include "analysis/two_horse_comparison.h"

#include <gtest/gtest.h>

#include <memory>

#include "analysis/grid6_cells.h"
#include "analysis/race_comparison.h"
#include "analysis_test_support.h"
#include "store/cp932.h"
#include "support/past_run_builder.h"
#include "support/temp_dir.h"

namespace orvalle::analysis {
namespace {

namespace colours = model::colours;
using test::FieldEntry;
using test::PastRace;
using test::pastRunLine;

constexpr const char* kA = "アルファ";
constexpr const char* kB = "ベータ";
constexpr const char* kG = "ガンマ";
constexpr const char* kD = "デルタ";
constexpr const char* kRegA = "2020000001";
constexpr const char* kRegB = "2020000002";

std::string name18(const char* utf8) { return store::horseName18(sj(utf8)); }

PastRace run(int date, std::vector<FieldEntry> field, int own) {
  PastRace race;
  race.date = date;
  race.field = std::move(field);
  race.own = own;
  return race;
}

class TwoHorseComparisonTest : public ::testing::Test {
 protected:
  void writeA(const std::vector<PastRace>& runs) { write(kRegA, runs); }
  void writeB(const std::vector<PastRace>& runs) { write(kRegB, runs); }
  void write(const char* registration, const std::vector<PastRace>& runs) {
    std::vector<std::string> lines;
    for (const PastRace& race : runs) lines.push_back(pastRunLine(race));
    test::writePastRunFile(m_dir.path(), registration, lines);
  }

  ComparisonRequest request(const char* weightA = "55.0", const char* weightB = "55.0") const {
    ComparisonRequest r;
    r.nameA = sj(kA);
    r.nameB = sj(kB);
    r.weightA = weightA;
    r.weightB = weightB;
    r.registrationA = kRegA;
    r.registrationB = kRegB;
    r.raceDate = 20240301;
    r.periodDays = 1826;
    r.seiFolder = m_dir.path();
    return r;
  }

  test::TempDir m_dir;
};

TEST_F(TwoHorseComparisonTest, OneRowPerRunOfBAndAgainPerRunOfA) {
  writeA({run(20240106, {{kA, 1350, 550}, {kG, 1352, 550}}, 1),
          run(20240113, {{kG, 1340, 550}, {kA, 1341, 550}, {kD, 1345, 550}}, 2)});
  writeB({run(20240107, {{kG, 1340, 550}, {kB, 1345, 550}}, 2),
          run(20240114, {{kB, 1330, 550}, {kG, 1335, 550}}, 1)});
  TwoHorseResult result = compareTwoHorses(request("55.0", "57.0"));
  ASSERT_TRUE(result.status.ok()) << result.status.message();
  ASSERT_EQ(result.rowCount, 4);
  ASSERT_EQ(result.grid.rows.size(), 4u);
  const char* pairs[][2] = {{"2024/01/06", "2024/01/07"},
                            {"2024/01/06", "2024/01/14"},
                            {"2024/01/13", "2024/01/07"},
                            {"2024/01/13", "2024/01/14"}};
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(result.grid.cell(row + 1, grid6::kDateA), pairs[row][0]);
    EXPECT_EQ(result.grid.cell(row + 1, grid6::kDateB), pairs[row][1]);
    EXPECT_EQ(result.grid.cell(row + 1, grid6::kOpponentA), name18(kG));
    EXPECT_EQ(result.grid.cell(row + 1, grid6::kOpponentB), name18(kG));
  }

  // The first row in full. A beat G by 0.2 s at equal weights but carries
  // 2 kg less today (SA -0.2); B lost to G by 0.5 s and gains 0.4 (SB -0.1).
  const std::vector<std::string> expected = {
      "2024/01/06", sj("芝1600"), name18(kA), "55.0", " 1",   "1.35.0", name18(kG), "55.0",
      " 2",         "1.35.2",     " 0.2",     " 0.2", "-0.2", "",       "",         "",
      "2024/01/07", sj("芝1600"), name18(kG), "55.0", " 1",   "1.34.0", name18(kB), "55.0",
      " 2",         "1.34.5",     "-0.5",     "-0.5", "-0.1", sj("○"),  ""};
  EXPECT_EQ(result.grid.rows[0], expected);
  EXPECT_EQ(result.grid.headings, grid6::emptyGrid().headings);
  EXPECT_EQ(result.grid.columnWidths, grid6::emptyGrid().columnWidths);
  EXPECT_EQ(result.countLabel(), sj("該当数：4"));
}

TEST_F(TwoHorseComparisonTest, CountsOfTiesWinsAndOwnMinusPoints) {
  writeA({run(20240106, {{kA, 1350, 550}, {kG, 1352, 550}}, 1),    // MA  0.2
          run(20240113, {{kA, 1350, 550}, {kD, 1350, 550}}, 1)});  // MA  0.0
  writeB({run(20240107, {{kB, 1350, 550}, {kG, 1352, 550}}, 1),    // MB  0.2: a tie
          run(20240114, {{kD, 1350, 550}, {kB, 1352, 550}}, 2)});  // MB -0.2
  TwoHorseResult result = compareTwoHorses(request());
  ASSERT_TRUE(result.status.ok());
  ASSERT_EQ(result.rowCount, 2);
  // Row 1: SA == SB, neither is ahead and neither gets an own-minus point.
  for (int column : {grid6::kDecisionA, grid6::kOwnMinusA, grid6::kDecisionB, grid6::kOwnMinusB}) {
    EXPECT_EQ(result.grid.cell(1, column), "") << column;
  }
  // Row 2: SA = 0 and SB < 0: A ahead and an own-minus point for A.
  EXPECT_EQ(result.grid.cell(2, grid6::kAdjustedMarginA), " 0.0");
  EXPECT_EQ(result.grid.cell(2, grid6::kAdjustedMarginB), "-0.2");
  EXPECT_EQ(result.grid.cell(2, grid6::kDecisionA), sj(" ○"));
  EXPECT_EQ(result.grid.cell(2, grid6::kOwnMinusA), sj("○"));
  EXPECT_EQ(result.grid.cell(2, grid6::kOwnMinusB), "");
  EXPECT_EQ(result.grid.cellStyle(2, grid6::kDecisionA).background, model::colours::kMagenta);
  EXPECT_EQ(result.grid.cellStyle(2, grid6::kOwnMinusA).background, model::colours::kMagenta);
  EXPECT_EQ(result.grid.cellStyle(2, grid6::kOwnMinusB).background, model::colours::kWhite);
  EXPECT_EQ(result.pt1Label(), "  1");
  EXPECT_EQ(result.pt2Label(), "  0");
  EXPECT_EQ(result.dpt1Label(), "  1");
  EXPECT_EQ(result.dpt2Label(), "  0");
}

TEST_F(TwoHorseComparisonTest, EqualWeightsTodayGiveSEqualToM) {
  writeA({run(20240106, {{kA, 1350, 540}, {kG, 1355, 560}}, 1)});
  writeB({run(20240107, {{kG, 1340, 560}, {kB, 1349, 550}}, 2)});
  TwoHorseResult result = compareTwoHorses(request("56.0", "56.0"));
  ASSERT_EQ(result.rowCount, 1);
  // 0.5 s ahead of an opponent that carried 2 kg more: 0.5 - 0.4.
  EXPECT_EQ(result.grid.cell(1, grid6::kRawMarginA), " 0.5");
  EXPECT_EQ(result.grid.cell(1, grid6::kCorrectedMarginA), " 0.1");
  EXPECT_EQ(result.grid.cell(1, grid6::kAdjustedMarginA), " 0.1");
  // 0.9 s behind an opponent that carried 1 kg more: -0.9 - 0.2.
  EXPECT_EQ(result.grid.cell(1, grid6::kCorrectedMarginB), "-1.1");
  EXPECT_EQ(result.grid.cell(1, grid6::kAdjustedMarginB), "-1.1");
}

TEST_F(TwoHorseComparisonTest, AZeroTimeGivesThatSideOnlyTodaysWeightTerm) {
  writeA({run(20240106, {{kA, 0, 550}, {kG, 1352, 550}}, 1)});
  writeB({run(20240107, {{kG, 0, 550}, {kB, 1345, 550}}, 2)});
  TwoHorseResult result = compareTwoHorses(request("55.0", "54.0"));
  ASSERT_EQ(result.rowCount, 1);
  EXPECT_EQ(result.grid.cell(1, grid6::kTimeA), "");
  EXPECT_EQ(result.grid.cell(1, grid6::kRawMarginA), " 0.0");
  EXPECT_EQ(result.grid.cell(1, grid6::kCorrectedMarginA), " 0.0");
  EXPECT_EQ(result.grid.cell(1, grid6::kAdjustedMarginA), " 0.2");  // carries 1 kg more today
  EXPECT_EQ(result.grid.cell(1, grid6::kOpponentTimeB), "");
  EXPECT_EQ(result.grid.cell(1, grid6::kCorrectedMarginB), " 0.0");
  EXPECT_EQ(result.grid.cell(1, grid6::kAdjustedMarginB), "-0.2");
  // The row counts as any other.
  EXPECT_EQ(result.firstAhead, 1);
  EXPECT_EQ(result.firstOwnMinus, 1);
}

TEST_F(TwoHorseComparisonTest, RunsOnTheRaceDateOrOnThePeriodStartAreIgnored) {
  // Race date 2024/03/01, period 365 days: the period starts 2023/03/02.
  const std::vector<FieldEntry> field = {{kA, 1350, 550}, {kG, 1352, 550}};
  writeA({run(20200101, field, 1), run(20230302, field, 1), run(20230303, field, 1),
          run(20240301, field, 1), run(20240302, field, 1)});
  writeB({run(20230302, {{kG, 1340, 550}, {kB, 1345, 550}}, 2),
          run(20240101, {{kG, 1340, 550}, {kB, 1345, 550}}, 2),
          run(20240301, {{kG, 1340, 550}, {kB, 1345, 550}}, 2)});
  ComparisonRequest r = request();
  r.periodDays = 365;
  TwoHorseResult result = compareTwoHorses(r);
  ASSERT_EQ(result.rowCount, 1);
  EXPECT_EQ(result.grid.cell(1, grid6::kDateA), "2023/03/03");
  EXPECT_EQ(result.grid.cell(1, grid6::kDateB), "2024/01/01");

  // The race comparison takes every run before the race date, however old.
  auto tables = std::make_unique<model::DayTables>();
  setTestRace(*tables, 0, 20240301, {{kA, 550, kRegA}, {kB, 550, kRegB}});
  ComparisonEngine engine(m_dir.path(), 1);
  engine.compareRace(*tables, 0);
  EXPECT_EQ(tables->analysis(0).pair(model::PairTable::kComparisonCount, 1), 3 * 2);
}

TEST_F(TwoHorseComparisonTest, RunsHoldingBothHorsesOrWithoutAFinishAreNotUsed) {
  writeA({run(20240106, {{kA, 1350, 550}, {kB, 1351, 550}, {kG, 1352, 550}}, 1),
          run(20240107, {{kG, 1350, 550}, {kA, 1351, 550}}, 2), [] {
            PastRace race = run(20240108, {{kG, 1350, 550}, {kA, 1351, 550}}, 2);
            race.position = 0;  // did not finish
            return race;
          }()});
  writeB({run(20240109, {{kG, 1340, 550}, {kB, 1345, 550}}, 2),
          run(20240110, {{kB, 1340, 550}, {kA, 1341, 550}, {kG, 1345, 550}}, 1)});
  TwoHorseResult result = compareTwoHorses(request());
  ASSERT_EQ(result.rowCount, 1);
  EXPECT_EQ(result.grid.cell(1, grid6::kDateA), "2024/01/07");
  EXPECT_EQ(result.grid.cell(1, grid6::kDateB), "2024/01/09");
}

TEST_F(TwoHorseComparisonTest, NoPairingGivesOneNoMatchRowAndZeroCounts) {
  writeA({run(20240106, {{kA, 1350, 550}, {kG, 1352, 550}}, 1)});
  writeB({run(20240107, {{kD, 1340, 550}, {kB, 1345, 550}}, 2)});
  TwoHorseResult result = compareTwoHorses(request());
  ASSERT_TRUE(result.status.ok());
  EXPECT_EQ(result.rowCount, 0);
  ASSERT_EQ(result.grid.rows.size(), 1u);
  std::vector<std::string> expected(31);
  expected[0] = sj("該当ナシ");
  EXPECT_EQ(result.grid.rows[0], expected);
  EXPECT_EQ(result.countLabel(), std::nullopt);
  for (const std::string& label :
       {result.pt1Label(), result.pt2Label(), result.dpt1Label(), result.dpt2Label()}) {
    EXPECT_EQ(label, "  0");
  }
}

TEST_F(TwoHorseComparisonTest, ChecksInOrder) {
  writeA({run(20240106, {{kA, 1350, 550}}, 1)});
  const std::string missingB = sj(kB);
  const struct {
    const char* label;
    std::function<void(ComparisonRequest&)> change;
    std::string message;
  } cases[] = {
      {"blank A", [](ComparisonRequest& r) { r.nameA = "  "; }, "２頭の馬名の入力をしてください。"},
      {"blank B and weight", [](ComparisonRequest& r) { r.nameB = "", r.weightA = ""; },
       "２頭の馬名の入力をしてください。"},
      {"blank weight", [](ComparisonRequest& r) { r.weightB = " "; },
       "斤量の情報が入力されていません。"},
      {"weight not a number", [](ComparisonRequest& r) { r.weightA = "  . "; },
       "斤量の情報が入力されていません。"},
      {"B's file missing", [](ComparisonRequest&) {},
       "ベータ　　　　　　の馬過去走データが見つかりません。"},
      {"A's file missing first", [](ComparisonRequest& r) { r.registrationA = "2020000009"; },
       "アルファ　　　　　の馬過去走データが見つかりません。"},
      {"registration that names no file",
       [](ComparisonRequest& r) { r.registrationA = "../../x/yz"; },
       "アルファ　　　　　の馬過去走データが見つかりません。"},
  };
  for (const auto& c : cases) {
    ComparisonRequest r = request();
    c.change(r);
    TwoHorseResult result = compareTwoHorses(r);
    EXPECT_FALSE(result.status.ok()) << c.label;
    EXPECT_EQ(result.status.message(), c.message) << c.label;
    EXPECT_TRUE(result.grid.rows.empty()) << c.label;
  }
}

TEST(StringGrid6Test, ClipboardCopy) {
  const std::vector<std::string> captions = {"L1", "L2", "L3", "L4", "A", "B"};
  model::GridView grid = grid6::emptyGrid();
  ClipboardCopy copy = grid6::clipboardCopy(captions, grid);
  EXPECT_EQ(copy.status.message(), "２頭比較を行ってください。");
  grid.rows.push_back(grid6::emptyRow());
  EXPECT_FALSE(grid6::clipboardCopy(captions, grid).status.ok());

  grid.rows[0][0] = sj("該当ナシ");
  copy = grid6::clipboardCopy(captions, grid);
  ASSERT_TRUE(copy.status.ok());
  std::string header;
  for (size_t i = 0; i < grid.headings.size(); ++i) header += (i ? "\t" : "") + grid.headings[i];
  EXPECT_EQ(copy.text, "L1\r\nL2\r\nL3\r\nL4\r\nA\r\nB\r\n" + header + "\r\n" + sj("該当ナシ") +
                           std::string(30, '\t') + "\r\n");
}

TEST(StringGrid6Test, CellStyles) {
  const model::GridView::Style cellStyle = grid6::emptyGrid().style;
  ASSERT_NE(cellStyle, nullptr);
  using model::CellStyle;
  EXPECT_EQ(cellStyle(0, grid6::kNameA, "").background, colours::kSilver);
  EXPECT_EQ(cellStyle(1, grid6::kDateB, "2024/01/07").background, colours::kBrightCyan);
  EXPECT_EQ(cellStyle(1, grid6::kTrackA, sj("芝1600")),
            (CellStyle{colours::kDarkGreen, colours::kWhite, false}));
  EXPECT_EQ(cellStyle(1, grid6::kTrackB, sj("ダ1200")),
            (CellStyle{colours::kDarkRed, colours::kWhite, false}));
  EXPECT_EQ(cellStyle(3, grid6::kOpponentB, "x"),
            (CellStyle{colours::kLightYellow, colours::kGridFont, true}));
  EXPECT_EQ(cellStyle(1, grid6::kPositionA, " 1").text, colours::kRed);
  EXPECT_EQ(cellStyle(1, grid6::kOpponentPositionB, " 3").text, colours::kBlue);
  EXPECT_EQ(cellStyle(1, grid6::kPositionB, "12").text, colours::kGridFont);
  EXPECT_EQ(cellStyle(1, grid6::kDecisionB, sj(" ○")).background, colours::kMagenta);
  EXPECT_EQ(cellStyle(1, grid6::kOwnMinusA, "").background, colours::kWhite);
  EXPECT_EQ(cellStyle(1, grid6::kSeparator, "").background, colours::kBlack);
  EXPECT_EQ(cellStyle(1, grid6::kCorrectedMarginB, "").background, colours::kLightGreen);
  EXPECT_EQ(cellStyle(1, grid6::kTimeA, "").background, colours::kToolTipBackground);
  // Only a mark colours a decision column: not a heading, not other text.
  EXPECT_EQ(cellStyle(0, grid6::kDecisionA, sj("勝敗")).background, colours::kSilver);
  EXPECT_EQ(cellStyle(1, grid6::kDecisionA, sj("○○")).background, colours::kWhite);
}

TEST(StringGrid6Test, OnlyColumn13HoldsABlankBeforeTheMark) {
  struct Case {
    grid6::Column column;
    const char* mark;
  };
  const Case cases[] = {{grid6::kDecisionA, " ○"},
                        {grid6::kOwnMinusA, "○"},
                        {grid6::kDecisionB, "○"},
                        {grid6::kOwnMinusB, "○"}};
  const model::GridView::Style cellStyle = grid6::emptyGrid().style;
  for (const Case& c : cases) {
    EXPECT_EQ(grid6::markText(c.column), sj(c.mark)) << c.column;
    // Each column is drawn magenta with its own mark.
    EXPECT_EQ(cellStyle(1, c.column, grid6::markText(c.column)).background, colours::kMagenta)
        << c.column;
  }
}

}  // namespace
}  // namespace orvalle::analysis
