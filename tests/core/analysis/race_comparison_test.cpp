#include "analysis/race_comparison.h"

#include <gtest/gtest.h>

#include <memory>

#include "analysis_test_support.h"
#include "store/cp932.h"
#include "store/pair_numbers.h"
#include "support/literal_comparison.h"
#include "support/past_run_builder.h"
#include "support/temp_dir.h"

namespace orvalle::analysis {
namespace {

using model::PairTable;
using test::FieldEntry;
using test::PastRace;

constexpr int kRaceDate = 20240301;

PastRace run(int date, std::vector<FieldEntry> field, int own) {
  PastRace race;
  race.date = date;
  race.field = std::move(field);
  race.own = own;
  return race;
}

std::string registration(int horse) { return store::format("20200000%02d", horse); }

class RaceComparisonTest : public ::testing::Test {
 protected:
  RaceComparisonTest() : m_tables(std::make_unique<model::DayTables>()) {}

  void write(int horse, const std::vector<PastRace>& runs) {
    std::vector<std::string> lines;
    for (const PastRace& race : runs) lines.push_back(test::pastRunLine(race));
    test::writePastRunFile(m_dir.path(), registration(horse), lines);
  }
  // A race of the named runners (horse numbers 1, 2, ...), 55.0 kg each.
  void setRace(const std::vector<std::string>& names, int slot = 0) {
    std::vector<TestRunner> runners;
    for (size_t i = 0; i < names.size(); ++i) {
      runners.push_back({names[i], 550, registration(static_cast<int>(i) + 1)});
    }
    setTestRace(*m_tables, slot, kRaceDate, runners);
  }
  void compare(int slot = 0) {
    ComparisonEngine engine(m_dir.path(), 2);
    engine.compareRace(*m_tables, slot);
  }
  int32_t pair(PairTable table, int first, int second, int slot = 0) const {
    return m_tables->analysis(slot).pair(table, store::codes::pairNumber(first, second));
  }
  model::RaceAnalysis& analysis(int slot = 0) { return m_tables->analysis(slot); }

  test::TempDir m_dir;
  std::unique_ptr<model::DayTables> m_tables;
};

TEST_F(RaceComparisonTest, ATwoRunnerRaceHasOnePair) {
  // A beats G by 0.2 twice; B loses to G by 0.1 once: 2 rows, both to A with
  // own-minus points.
  write(1, {run(20240106, {{"A", 1350}, {"G", 1352}}, 1),
            run(20240113, {{"A", 1350}, {"G", 1352}}, 1)});
  write(2, {run(20240107, {{"G", 1340}, {"B", 1341}}, 2)});
  setRace({"A", "B"});
  compare();
  EXPECT_EQ(pair(PairTable::kComparisonCount, 1, 2), 2);
  EXPECT_EQ(pair(PairTable::kFirstBetter, 1, 2), 2);
  EXPECT_EQ(pair(PairTable::kSecondBetter, 1, 2), 0);
  EXPECT_EQ(pair(PairTable::kFirstOwnMinus, 1, 2), 2);
  EXPECT_EQ(pair(PairTable::kFirstTotal, 1, 2), 4);
  EXPECT_EQ(pair(PairTable::kSecondTotal, 1, 2), 0);
  EXPECT_EQ(pair(PairTable::kFirstWon, 1, 2), 1);
  EXPECT_EQ(pair(PairTable::kSecondWon, 1, 2), 0);
  EXPECT_EQ(analysis().winCount[0], 1);
  EXPECT_EQ(analysis().lossCount[1], 1);
  EXPECT_EQ(analysis().winPoints[0], 4);
  EXPECT_EQ(analysis().lossPoints[1], 4);
  EXPECT_EQ(analysis().winRate[0], 1.0);
  EXPECT_EQ(analysis().winRate[1], 0.0);
  EXPECT_EQ(analysis().winRateRank[0], 1);
  EXPECT_EQ(analysis().winRateRank[1], 2);
  // B has only loss points: a point win rate of 0, ranked last.
  EXPECT_EQ(analysis().pointWinRate[1], 0.0);
  EXPECT_EQ(analysis().pointWinRateRank[1], 2);
  EXPECT_TRUE(analysis().compared);
  for (int pairNumber = 2; pairNumber <= model::kPairCount; ++pairNumber) {
    EXPECT_EQ(analysis().pair(PairTable::kComparisonCount, pairNumber), 0);
  }
}

TEST_F(RaceComparisonTest, APairThatOnlyMetDirectly) {
  write(1, {run(20240106, {{"A", 1350}, {"B", 1352}, {"G", 1353}}, 1),
            run(20240113, {{"B", 1350}, {"A", 1352}}, 2)});
  write(2, {run(20240106, {{"A", 1350}, {"B", 1352}, {"G", 1353}}, 2),
            run(20240113, {{"B", 1350}, {"A", 1352}}, 1)});
  setRace({"A", "B"});
  compare();
  EXPECT_EQ(pair(PairTable::kComparisonCount, 1, 2), 0);
  EXPECT_EQ(pair(PairTable::kFirstTotal, 1, 2), 0);
  EXPECT_EQ(pair(PairTable::kSecondTotal, 1, 2), 0);
  EXPECT_EQ(pair(PairTable::kDirect, 1, 2), 2);
  EXPECT_EQ(analysis().winRate[0], -1.0);
  EXPECT_EQ(analysis().winRateRank[0], 0);
}

TEST_F(RaceComparisonTest, EqualTotalPointsDecideNothingButGivePoints) {
  // A beats G by 0.2 (A better, A own-minus); B beats D by 0.3 where A
  // lost to D by 0.1 (B better, B own-minus): 2 points each.
  write(1, {run(20240106, {{"A", 1350}, {"G", 1352}}, 1),
            run(20240113, {{"D", 1350}, {"A", 1351}}, 2)});
  write(2, {run(20240107, {{"G", 1350}, {"B", 1352}}, 2),
            run(20240114, {{"B", 1350}, {"D", 1353}}, 1)});
  setRace({"A", "B"});
  compare();
  EXPECT_EQ(pair(PairTable::kComparisonCount, 1, 2), 2);
  EXPECT_EQ(pair(PairTable::kFirstTotal, 1, 2), 2);
  EXPECT_EQ(pair(PairTable::kSecondTotal, 1, 2), 2);
  EXPECT_EQ(pair(PairTable::kFirstWon, 1, 2), 0);
  EXPECT_EQ(pair(PairTable::kSecondWon, 1, 2), 0);
  EXPECT_EQ(analysis().winCount[0] + analysis().lossCount[0], 0);
  EXPECT_EQ(analysis().winPoints[0], 2);
  EXPECT_EQ(analysis().lossPoints[0], 2);
  EXPECT_EQ(analysis().winPoints[1], 2);
  EXPECT_EQ(analysis().pointWinRate[0], 0.5);
  // No decided pair: rate -1.0 and rank 0; the point ranks are set.
  EXPECT_EQ(analysis().winRate[0], -1.0);
  EXPECT_EQ(analysis().winRateRank[1], 0);
  EXPECT_EQ(analysis().pointWinRateRank[0], 2);  // equal rate and points: higher number first
  EXPECT_EQ(analysis().pointWinRateRank[1], 1);
}

TEST_F(RaceComparisonTest, PairsThatCannotBeComparedAreSkipped) {
  write(1, {run(20240106, {{"A", 1350}, {"G", 1352}, {"C", 1353}}, 1)});
  write(3, {run(20240107, {{"G", 1350}, {"C", 1352}, {"A", 1353}}, 2)});
  write(4, {run(20240107, {{"G", 1350}, {"D", 1352}}, 2)});
  std::vector<TestRunner> runners = {{"A", 550, registration(1)},
                                     {"B", 550, registration(2)},  // no file
                                     {"C", 0, registration(3)},    // no weight
                                     {"D", 550, registration(4)},
                                     {"", 550, registration(5)}};  // no name
  setTestRace(*m_tables, 0, kRaceDate, runners);
  compare();
  EXPECT_EQ(pair(PairTable::kComparisonCount, 1, 2), 0);
  EXPECT_EQ(pair(PairTable::kComparisonCount, 1, 3), 0);
  EXPECT_EQ(pair(PairTable::kComparisonCount, 1, 4), 1);
  // Direct meetings need only A's file and the names.
  EXPECT_EQ(pair(PairTable::kDirect, 1, 3), 1);
  EXPECT_EQ(pair(PairTable::kDirect, 1, 4), 0);
  EXPECT_EQ(pair(PairTable::kDirect, 3, 4), 0);
  EXPECT_EQ(pair(PairTable::kDirect, 1, 5), 0);
  EXPECT_EQ(analysis().winPoints[2], 0);
  EXPECT_EQ(analysis().winRate[1], -1.0);
}

TEST_F(RaceComparisonTest, ARaceWithoutRunnersIsLeftAsItIs) {
  setRace({});
  compare();
  EXPECT_FALSE(analysis().compared);
}

TEST_F(RaceComparisonTest, EqualsTheLiteralMethodOnAnAwkwardRace) {
  // Duplicate names in one field, opponents met several times, zero times,
  // a damaged runner count, runs after the race date and exact ties.
  write(1, {run(20230106, {{"A", 1350}, {"G", 1352}, {"G", 1355}, {"H", 0}}, 1),
            run(20231213, {{"D", 1350}, {"A", 1351}, {"B", 1352}, {"G", 1353}}, 2),
            [] {
              PastRace race = run(20240106, {{"H", 1350}, {"A", 1350}, {"G", 1400}}, 2);
              race.runners = 99;
              return race;
            }(),
            run(20240401, {{"G", 1350}, {"A", 1351}}, 2)});
  write(2, {run(20230107, {{"G", 1350}, {"B", 1352}, {"H", 1354}}, 2),
            run(20231213, {{"D", 1350}, {"A", 1351}, {"B", 1352}, {"G", 1353}}, 3),
            run(20240107, {{"B", 0}, {"D", 1353}, {"G", 1352}}, 1)});
  write(3, {run(20230108, {{"C", 1350, 570}, {"G", 1351, 540}, {"H", 1352}}, 1),
            run(20240108, {{"D", 1349}, {"C", 1350, 560}, {"B", 1355}}, 2)});
  write(4, {run(20230109, {{"H", 1340}, {"D", 1350}, {"G", 1352}}, 2)});
  std::vector<TestRunner> runners = {{"A", 550, registration(1)},
                                     {"B", 570, registration(2)},
                                     {"C", 540, registration(3)},
                                     {"D", 550, registration(4)}};
  setTestRace(*m_tables, 0, kRaceDate, runners);
  auto literal = std::make_unique<model::DayTables>();
  setTestRace(*literal, 0, kRaceDate, runners);
  test::literalRaceComparison(*literal, 0, m_dir.path());
  compare();
  int64_t rows = 0;
  for (int table = 0; table < model::kPairTableCount; ++table) {
    EXPECT_EQ(analysis().pairTables[table], literal->analysis(0).pairTables[table]) << table;
  }
  for (int p = 1; p <= 6; ++p) rows += analysis().pair(PairTable::kComparisonCount, p);
  EXPECT_GT(rows, 10);
  EXPECT_EQ(analysis().winRateRank, literal->analysis(0).winRateRank);
  EXPECT_EQ(analysis().pointWinRateRank, literal->analysis(0).pointWinRateRank);
}

TEST(RateAndRankTest, EqualRatesRankByWinsThenByTheHigherHorseNumber) {
  auto analysis = std::make_unique<model::RaceAnalysis>();
  const int wins[] = {2, 4, 1, 1, 0, 0};
  const int losses[] = {1, 2, 1, 1, 0, 3};
  for (int h = 0; h < 6; ++h) {
    analysis->winCount[h] = wins[h];
    analysis->lossCount[h] = losses[h];
    analysis->winPoints[h] = 10;
    analysis->lossPoints[h] = 10 * h;
  }
  rateAndRank(*analysis, 6);
  // 4-2 before 2-1 (same rate, more wins); of the two 1-1, number 4 first.
  EXPECT_EQ(analysis->winRateRank[1], 1);
  EXPECT_EQ(analysis->winRateRank[0], 2);
  EXPECT_EQ(analysis->winRateRank[3], 3);
  EXPECT_EQ(analysis->winRateRank[2], 4);
  EXPECT_EQ(analysis->winRateRank[5], 5);
  EXPECT_EQ(analysis->winRateRank[4], 0);  // no decided pair
  EXPECT_EQ(analysis->winRate[4], -1.0);
  EXPECT_DOUBLE_EQ(analysis->winRate[0], 2.0 / 3.0);
  for (int h = 0; h < 6; ++h) EXPECT_EQ(analysis->pointWinRateRank[h], h + 1);
}

TEST(RateAndRankTest, RatesEqualAtThreeDecimalsRankByCount) {
  auto analysis = std::make_unique<model::RaceAnalysis>();
  // 2/3 = 0.66667 and 1999/2999 = 0.66656 both read "0.667": the one with
  // more wins ranks first although its rate is lower.
  analysis->winCount[0] = 2;
  analysis->lossCount[0] = 1;
  analysis->winCount[1] = 1999;
  analysis->lossCount[1] = 1000;
  rateAndRank(*analysis, 2);
  EXPECT_EQ(analysis->winRateRank[1], 1);
  EXPECT_EQ(analysis->winRateRank[0], 2);
}

class AllRaceComparisonTest : public RaceComparisonTest {};

TEST_F(AllRaceComparisonTest, AnEmptyDayIsRefused) {
  AllRaceOptions options;
  options.seiFolder = m_dir.path();
  analysis(5).winCount[0] = 7;
  AllRaceOutcome outcome = compareAllRaces(*m_tables, options);
  EXPECT_EQ(outcome.status.message(), "出馬表が読み込まれていません。");
  EXPECT_EQ(analysis(5).winCount[0], 7);
}

TEST_F(AllRaceComparisonTest, ResetsComparesEveryRaceAndReportsProgress) {
  write(1, {run(20240106, {{"A", 1350}, {"G", 1352}}, 1)});
  write(2, {run(20240107, {{"G", 1340}, {"B", 1341}}, 2)});
  setRace({"A", "B"}, 0);
  setRace({"A", "B"}, 1);
  m_tables->setRace(1, test::RecordBuilder::ra("2024030109020202")
                           .setNumber(store::ra::kRegisteredRunners, 2)
                           .record());
  // Left from an earlier run: an empty slot and a race slot.
  analysis(7).winCount[3] = 5;
  analysis(0).pair(PairTable::kDirect, 1) = 9;
  m_tables->currentRace = 1;

  std::vector<Progress> reports;
  AllRaceOptions options;
  options.seiFolder = m_dir.path();
  options.progress = [&](const Progress& progress) { reports.push_back(progress); };
  AllRaceOutcome outcome = compareAllRaces(*m_tables, options);
  ASSERT_TRUE(outcome.status.ok());
  EXPECT_EQ(outcome.racesCompared, 2);
  EXPECT_TRUE(outcome.writePredictions);
  EXPECT_EQ(outcome.message, "");
  EXPECT_EQ(analysis(7).winCount[3], 0);
  EXPECT_EQ(analysis(0).pair(PairTable::kDirect, 1), 0);
  EXPECT_TRUE(analysis(0).compared);
  EXPECT_TRUE(analysis(1).compared);
  EXPECT_EQ(analysis(1).winCount[0], 1);
  EXPECT_EQ(m_tables->currentRace, 1);

  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].position, 1);
  EXPECT_EQ(reports[1].position, 2);
  EXPECT_EQ(reports[1].maximum, 2);
  EXPECT_EQ(reports[0].upperLine, "【解析中】しばらくお待ちください");
  EXPECT_EQ(reports[0].lowerLine, "2024/03/01 中山 01R ");
  EXPECT_EQ(reports[1].lowerLine, "2024/03/01 阪神 02R ");
}

TEST_F(AllRaceComparisonTest, IgnoredDatesGiveTheMessageInsteadOfPredictions) {
  setRace({"A", "B"});
  AllRaceOptions options;
  options.seiFolder = m_dir.path();
  options.ignorePastRunDates = true;
  AllRaceOutcome outcome = compareAllRaces(*m_tables, options);
  EXPECT_FALSE(outcome.writePredictions);
  EXPECT_EQ(outcome.message,
            "[データ読込時過去走の日付を無視する]が指定してあるのでこの比較結果は未処理扱いです。");
  EXPECT_TRUE(analysis().compared);
}

TEST_F(AllRaceComparisonTest, CancelStopsBeforeTheNextRace) {
  setRace({"A", "B"}, 0);
  setRace({"A", "B"}, 1);
  CancelFlag cancel;
  AllRaceOptions options;
  options.seiFolder = m_dir.path();
  options.cancel = &cancel;
  options.progress = [&](const Progress&) { cancel.cancel(); };
  AllRaceOutcome outcome = compareAllRaces(*m_tables, options);
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(outcome.writePredictions);
  EXPECT_EQ(outcome.racesCompared, 1);
  EXPECT_TRUE(analysis(0).compared);
  EXPECT_FALSE(analysis(1).compared);
}

}  // namespace
}  // namespace orvalle::analysis
