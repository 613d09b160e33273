#include "output/hit_report.h"

#include <gtest/gtest.h>

#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle::output {
namespace {

using store::BetType;
using test::RecordBuilder;

std::vector<std::string> utf8(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) out.push_back(cp932::toUtf8(line));
  return out;
}

class HitReportTest : public ::testing::Test {
 protected:
  // Adds a race of Nakayama ("06") with its race number and short name.
  int addRace(int raceNumber, const std::string& name = "ニューイヤー") {
    const int slot = static_cast<int>(m_raceList.size());
    m_tables.setRace(slot, RecordBuilder::ra(store::format("20240106060101%02d", raceNumber))
                               .set(store::ra::kSixCharacterRaceName, name)
                               .record());
    m_raceList.push_back({slot, "race"});
    return slot;
  }
  model::CombinationBlock& block(int slot) { return m_tables.analysis(slot).combinations; }
  void pay(int slot, BetType type, int entry, const std::string& text, int payout) {
    m_tables.analysis(slot).result.payouts.at(type, entry) = {0, text, entry + 1, payout};
  }
  HitReport report(HitReportKind kind = HitReportKind::kFull) {
    return buildHitReport(m_tables, m_raceList, kind);
  }

  model::DayTables m_tables;
  std::vector<model::RaceListEntry> m_raceList;
};

TEST_F(HitReportTest, HeadingAndHitLinesAreTheReportsText) {
  const int race = addRace(5);
  block(race).quinella[0] = " 1- 2";
  pay(race, BetType::kQuinella, 0, " 1- 2", 9800);
  pay(race, BetType::kQuinellaPlace, 0, " 1- 2", 5000);
  HitReport hits = report();
  EXPECT_EQ(
      utf8(hits.fragment),
      (std::vector<std::string>{
          R"(<br /><img src="./image/balist.gif"><font color="black">【Orvalle for JRA-VAN Data Lab.】</font>)",
          // Below the quinella colour limit: blue.
          R"(<img src="./image/lis2.gif"><font color="blue">中山 5R[馬連　]：　 1- 2/配当    9800円　ニューイヤー</font>)",
          // At the quinella place colour limit: red.
          R"(<img src="./image/lis1.gif"><font color="red">中山 5R[ワイド]：　 1- 2/配当    5000円　ニューイヤー</font>)",
      }));
  EXPECT_EQ(utf8(hits.hitListLines), (std::vector<std::string>{
                                         "202401060605R[馬連　]：　 1- 2/配当    9800円",
                                         "202401060605R[ワイド]：　 1- 2/配当    5000円",
                                     }));
  EXPECT_EQ(hits.date, "20240106");
  EXPECT_TRUE(hits.worthWriting());
  EXPECT_EQ(hits.text(), store::joinLines(hits.fragment));
}

TEST_F(HitReportTest, LinesFollowRaceBetTypeRowAndEntryOrder) {
  const int first = addRace(1, "");
  const int second = addRace(11, "");
  // Second race: exacta and trio; the trio matches two paid trios (dead heat).
  block(second).exacta[3] = " 4- 1";
  pay(second, BetType::kExacta, 0, " 4- 1", 2000);
  block(second).trio[5] = " 1- 4- 7";
  pay(second, BetType::kTrio, 0, " 1- 4- 7", 1500);
  pay(second, BetType::kTrio, 1, " 1- 4- 7", 1700);
  // First race: quinella in rows 1 and 2, paid in reverse entry order.
  block(first).quinella[0] = " 3- 5";
  block(first).quinella[1] = " 2- 3";
  pay(first, BetType::kQuinellaPlace, 0, " 2- 3", 300);
  pay(first, BetType::kQuinellaPlace, 1, " 3- 5", 400);
  // Blank rows and unpaid combinations give nothing.
  block(first).trio[0] = "        ";

  std::vector<std::string> lines = utf8(report().hitListLines);
  std::vector<std::string> order;
  for (const std::string& line : lines) order.push_back(line.substr(10));
  EXPECT_EQ(order, (std::vector<std::string>{
                       "01R[ワイド]：　 3- 5/配当     400円",
                       "01R[ワイド]：　 2- 3/配当     300円",
                       "11R[３連複]: 1- 4- 7/配当    1500円",
                       "11R[３連複]: 1- 4- 7/配当    1700円",
                       "11R[馬単　]：　 4- 1/配当    2000円",
                   }));
}

TEST_F(HitReportTest, LongShotReportTakesOnlyPayoutsAboveTheFloor) {
  const int race = addRace(2);
  block(race).quinella[0] = " 1- 2";
  block(race).quinella[1] = " 1- 3";
  block(race).trio[0] = " 1- 2- 3";
  block(race).exacta[0] = " 1- 2";
  pay(race, BetType::kQuinellaPlace, 0, " 1- 2", 3000);  // at the floor: out
  pay(race, BetType::kQuinellaPlace, 1, " 1- 3", 3010);  // in
  pay(race, BetType::kTrio, 0, " 1- 2- 3", 5000);        // at the floor: out
  pay(race, BetType::kQuinella, 0, " 1- 2", 5010);       // in, blue
  pay(race, BetType::kExacta, 0, " 1- 2", 10000);        // in, red

  std::vector<std::string> longShots = utf8(report(HitReportKind::kLongShot).fragment);
  ASSERT_EQ(longShots.size(), 4u);
  EXPECT_NE(longShots[1].find("blue\">中山 2R[馬連　]：　 1- 2/配当    5010円"), std::string::npos);
  EXPECT_NE(longShots[2].find("R[ワイド]：　 1- 3/配当    3010円"), std::string::npos);
  EXPECT_NE(longShots[3].find("lis1.gif\"><font color=\"red\">中山 2R[馬単　]"), std::string::npos);
  // The full report lists all five.
  EXPECT_EQ(report().fragment.size(), 6u);
}

TEST_F(HitReportTest, TheFirstCharactersOfTheCombinationCount) {
  const int race = addRace(3);
  // A longer stored text still matches by its first five characters.
  block(race).quinella[0] = " 1- 2x";
  pay(race, BetType::kQuinella, 0, " 1- 2", 1000);
  // A payout of 0 is never a hit.
  block(race).trio[0] = " 1- 2- 3";
  pay(race, BetType::kTrio, 0, " 1- 2- 3", 0);
  std::vector<std::string> lines = utf8(report().hitListLines);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "202401060603R[馬連　]：　 1- 2/配当    1000円");
}

class HitReportFilesTest : public HitReportTest {
 protected:
  std::filesystem::path hitList() const { return m_dir / "Manbaken.txt"; }
  std::filesystem::path fragment() const { return m_dir / "TK20240106.txt"; }
  test::TempDir m_dir;
};

TEST_F(HitReportFilesTest, ADayWithOneHitWritesNothing) {
  const int race = addRace(1);
  block(race).quinella[0] = " 1- 2";
  pay(race, BetType::kQuinella, 0, " 1- 2", 1200);
  HitReport one = report();
  ASSERT_EQ(one.fragment.size(), 2u);
  HitReportFiles files = saveHitReport(one, m_dir.path());
  EXPECT_FALSE(files.written);
  EXPECT_TRUE(std::filesystem::is_empty(m_dir.path()));
}

TEST_F(HitReportFilesTest, RunningTwiceKeepsOneCopyOfEachLineInTheSortedHitList) {
  const int race = addRace(4);
  block(race).quinella[0] = " 1- 2";
  pay(race, BetType::kQuinella, 0, " 1- 2", 1200);
  pay(race, BetType::kQuinellaPlace, 0, " 1- 2", 400);

  HitReportFiles files = saveHitReport(report(), m_dir.path());
  ASSERT_TRUE(files.written);
  EXPECT_EQ(files.fragmentPath, fragment());
  EXPECT_EQ(files.hitListPath, hitList());
  const std::string firstRun = test::readFile(hitList());
  EXPECT_EQ(utf8(store::splitLines(firstRun)),
            (std::vector<std::string>{" Orvalle for JRA-VAN Data Lab.",
                                      // CP932 order: "ワ" (83 8F) before "馬" (94 6E).
                                      "202401060604R[ワイド]：　 1- 2/配当     400円",
                                      "202401060604R[馬連　]：　 1- 2/配当    1200円"}));
  EXPECT_EQ(test::readFile(fragment()), report().text());
  EXPECT_NE(firstRun.find("\r\n"), std::string::npos);

  (void)saveHitReport(report(), m_dir.path());
  EXPECT_EQ(test::readFile(hitList()), firstRun);
}

TEST_F(HitReportFilesTest, AnExistingHitListIsSortedAndMergedWithoutDuplicates) {
  test::writeFile(hitList(), sj("202401070605R[馬連　]：　 3- 4/配当    9000円\r\n"
                                " Orvalle for JRA-VAN Data Lab.\r\n"
                                "202401060604R[馬連　]：　 1- 2/配当    1200円\r\n"
                                "202401070605R[馬連　]：　 3- 4/配当    9000円\r\n"));
  const int race = addRace(4);
  block(race).quinella[0] = " 1- 2";
  pay(race, BetType::kQuinella, 0, " 1- 2", 1200);
  pay(race, BetType::kQuinellaPlace, 0, " 1- 2", 400);
  ASSERT_TRUE(saveHitReport(report(), m_dir.path()).written);
  EXPECT_EQ(utf8(store::readLines(hitList())),
            (std::vector<std::string>{" Orvalle for JRA-VAN Data Lab.",
                                      "202401060604R[ワイド]：　 1- 2/配当     400円",
                                      "202401060604R[馬連　]：　 1- 2/配当    1200円",
                                      "202401070605R[馬連　]：　 3- 4/配当    9000円"}));
}

TEST_F(HitReportFilesTest, AFailedWriteLeavesTheHitListAsItWas) {
  const std::string old = sj(" Orvalle for JRA-VAN Data Lab.\r\n");
  test::writeFile(hitList(), old);
  const int race = addRace(4);
  block(race).quinella[0] = " 1- 2";
  pay(race, BetType::kQuinella, 0, " 1- 2", 1200);
  pay(race, BetType::kQuinellaPlace, 0, " 1- 2", 400);
  store::injectAtomicWriteFaultForTesting(store::AtomicWriteFault::kWrite);
  EXPECT_THROW((void)saveHitReport(report(), m_dir.path()), Error);
  EXPECT_EQ(test::readFile(hitList()), old);
  EXPECT_FALSE(std::filesystem::exists(fragment()));
}

TEST_F(HitReportFilesTest, ADateThatCannotNameAFileIsRefused) {
  HitReport hits;
  hits.fragment = {hitReportHeading(), "a", "b"};
  hits.date = "../../x";
  EXPECT_THROW((void)saveHitReport(hits, m_dir.path()), Error);
  EXPECT_TRUE(std::filesystem::is_empty(m_dir.path()));
}

}  // namespace
}  // namespace orvalle::output
