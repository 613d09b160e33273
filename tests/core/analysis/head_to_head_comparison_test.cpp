#include "analysis/head_to_head_comparison.h"

#include <gtest/gtest.h>

#include "analysis/grid6_cells.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/horse_files.h"
#include "support/past_run_builder.h"
#include "support/temp_dir.h"

namespace orvalle::analysis {
namespace {

using test::FieldEntry;
using test::PastRace;

constexpr const char* kA = "アルファ";
constexpr const char* kB = "ベータ";
constexpr const char* kG = "ガンマ";
constexpr const char* kRegA = "2020000001";

PastRace run(int date, std::vector<FieldEntry> field, int own) {
  PastRace race;
  race.date = date;
  race.field = std::move(field);
  race.own = own;
  return race;
}

class HeadToHeadTest : public ::testing::Test {
 protected:
  void writeA(const std::vector<PastRace>& runs) {
    std::vector<std::string> lines;
    for (const PastRace& race : runs) lines.push_back(test::pastRunLine(race));
    test::writePastRunFile(m_dir.path(), kRegA, lines);
  }
  ComparisonRequest request() const {
    ComparisonRequest r;
    r.nameA = sj(kA);
    r.nameB = sj(kB);
    r.weightA = "55.0";
    r.weightB = "57.0";
    r.registrationA = kRegA;
    r.registrationB = "2020000002";  // B needs no file
    r.raceDate = 20240301;
    r.periodDays = 365;
    r.seiFolder = m_dir.path();
    return r;
  }
  test::TempDir m_dir;
};

TEST_F(HeadToHeadTest, ListsTheMeetingsInThePeriodWithTheMargin) {
  writeA({run(20230302, {{kA, 1350, 550}, {kB, 1352, 560}}, 1),  // on the period start
          run(20230401, {{kA, 1350, 550}, {kG, 1351, 550}, {kB, 1353, 560}}, 1),
          run(20230501, {{kB, 1340, 570}, {kA, 1345, 550}}, 2),
          [] {
            PastRace race = run(20230601, {{kB, 1340, 570}, {kA, 0, 550}}, 2);
            race.position = 0;  // A did not finish: not listed though B ran
            return race;
          }(),
          run(20240301, {{kA, 1350, 550}, {kB, 1352, 560}}, 1)});  // on the race date
  HeadToHeadResult result = compareHeadToHead(request());
  ASSERT_TRUE(result.status.ok()) << result.status.message();
  ASSERT_EQ(result.rowCount, 2);
  const std::string nameA = store::horseName18(sj(kA));
  const std::string nameB = store::horseName18(sj(kB));
  std::vector<std::string> first(31);
  const std::vector<std::string> filled = {"2023/04/01", sj("芝1600"), nameA, "55.0",
                                           " 1",         "1.35.0",     nameB, "56.0",
                                           " 3",         "1.35.3",     " 0.3"};
  std::copy(filled.begin(), filled.end(), first.begin());
  EXPECT_EQ(result.grid.rows[0], first);
  // B ahead: a negative time difference.
  EXPECT_EQ(result.grid.cell(2, grid6::kDateA), "2023/05/01");
  EXPECT_EQ(result.grid.cell(2, grid6::kOpponentPositionA), " 1");
  EXPECT_EQ(result.grid.cell(2, grid6::kRawMarginA), "-0.5");
  EXPECT_EQ(result.countLabel(), sj("該当数：2"));
}

TEST_F(HeadToHeadTest, NoMeetingGivesTheNoMatchRow) {
  writeA({run(20230401, {{kA, 1350, 550}, {kG, 1351, 550}}, 1)});
  HeadToHeadResult result = compareHeadToHead(request());
  ASSERT_TRUE(result.status.ok());
  ASSERT_EQ(result.grid.rows.size(), 1u);
  EXPECT_EQ(result.grid.cell(1, 0), sj("該当ナシ"));
  EXPECT_EQ(result.countLabel(), std::nullopt);
}

TEST_F(HeadToHeadTest, ChecksInOrder) {
  ComparisonRequest r = request();
  r.weightB = "";
  EXPECT_EQ(compareHeadToHead(r).status.message(), "斤量の情報が入力されていません。");
  // The same name typed twice is refused before any file is looked at.
  r = request();
  r.nameB = sj(kA) + "  ";
  r.registrationA = "2099999999";
  EXPECT_EQ(compareHeadToHead(r).status.message(), "２頭の馬は別の馬名を入力してください。");
  r = request();
  EXPECT_EQ(compareHeadToHead(r).status.message(),
            "アルファ　　　　　の馬過去走データが見つかりません。");
}

TEST_F(HeadToHeadTest, ARecordNotEndingInCrLfEndsTheCommand) {
  // The last line lost its line end: its record is padded, not CR LF.
  const std::string line = test::pastRunLine(run(20230401, {{kA, 1350, 550}, {kB, 1351, 550}}, 1));
  test::writeFile(*store::pastRunFilePath(m_dir.path(), kRegA), line + "\r\n" + line);
  EXPECT_THROW((void)compareHeadToHead(request()), Error);
  // A short line shifts every record after it.
  test::writeFile(*store::pastRunFilePath(m_dir.path(), kRegA),
                  line.substr(0, 500) + "\r\n" + line + "\r\n");
  EXPECT_THROW((void)compareHeadToHead(request()), Error);
  // Whole records are read.
  test::writeFile(*store::pastRunFilePath(m_dir.path(), kRegA), line + "\r\n" + line + "\r\n");
  EXPECT_EQ(compareHeadToHead(request()).rowCount, 2);
}

}  // namespace
}  // namespace orvalle::analysis
