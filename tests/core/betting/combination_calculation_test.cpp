#include "betting/combination_calculation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

#include "store/cp932.h"
#include "store/record.h"
#include "support/record_builder.h"

namespace orvalle::betting {
namespace {

using model::TallyBetType;
using Texts = std::vector<std::string>;

template <size_t N>
Texts textsOf(const CheckedArray<std::string, N>& texts) {
  Texts out;
  for (const std::string& text : texts) {
    if (!text.empty()) out.push_back(text);
  }
  return out;
}

std::string raceImage(int raceNumber, int runners, int condition) {
  return test::RecordBuilder::ra(store::format("2024010606010%03d", raceNumber))
      .setNumber(store::ra::kRegisteredRunners, runners)
      .setNumber(store::ra::kConditionCodeYoungest, condition)
      .record();
}

// A day of 10-runner races in which horse h has the point-win-rate rank
// kPointRanks[h - 1]: 2 is first, 4 second, then 1, 5, 3, 6, 7, 8, 9, 10;
// horses 9 and 10 are the two favourites.
class CombinationCalculationTest : public ::testing::Test {
 protected:
  static constexpr int kPointRanks[10] = {3, 1, 5, 2, 4, 6, 7, 8, 9, 10};
  static constexpr int kOddsRanks[10] = {3, 4, 5, 6, 7, 8, 9, 10, 1, 2};

  void SetUp() override { addRace(0, 703); }

  void addRace(int slot, int condition) {
    m_tables->setRace(slot, raceImage(slot + 1, 10, condition));
    model::RaceAnalysis& a = m_tables->analysis(slot);
    for (int h = 0; h < 10; ++h) {
      a.pointWinRateRank[h] = kPointRanks[h];
      a.predictedOddsRank[h] = kOddsRanks[h];
      a.predictedOdds[h] = 2.0 + kOddsRanks[h];
    }
  }

  model::RaceAnalysis& race(int slot = 0) { return m_tables->analysis(slot); }
  const model::CombinationBlock& block(int slot = 0) { return race(slot).combinations; }

  static UserSetting defaultSetting() { return parseUserSetting(sj(kDefaultUserSettingLine)); }

  std::unique_ptr<model::DayTables> m_tables = std::make_unique<model::DayTables>();
};

TEST_F(CombinationCalculationTest, DefaultSettingInATenRunnerRace) {
  calculateCombinations(*m_tables, 10.0, defaultSetting());
  // Eight axis trios 2-4-partner and the two popularity trios 9-10 with the
  // two best by point win rate.
  EXPECT_EQ(textsOf(block().trio),
            (Texts{" 1- 2- 4", " 2- 3- 4", " 2- 4- 5", " 2- 4- 6", " 2- 4- 7", " 2- 4- 8",
                   " 2- 4- 9", " 2- 4-10", " 2- 9-10", " 4- 9-10"}));
  EXPECT_EQ(textsOf(block().quinella), (Texts{" 1- 2", " 2- 3", " 2- 4", " 2- 5", " 2- 6", " 2- 7",
                                              " 2- 8", " 2- 9", " 2-10"}));
  EXPECT_EQ(textsOf(block().exacta), (Texts{" 2- 1", " 2- 3", " 2- 4", " 2- 5", " 2- 6", " 2- 7",
                                            " 2- 8", " 2- 9", " 2-10"}));
  EXPECT_EQ(block().trioScores.tally.combinations, 10);
  EXPECT_EQ(block().quinellaScores.tally.combinations, 9);
  EXPECT_EQ(block().exactaScores.tally.combinations, 9);
  EXPECT_EQ(block().quinellaPlaceScores.tally.combinations, 0);
  // Scored at 100 yen each: quinella and quinella place separately.
  EXPECT_EQ(m_tables->tally(TallyBetType::kTrio).stake, 1000);
  EXPECT_EQ(m_tables->tally(TallyBetType::kQuinella).stake, 900);
  EXPECT_EQ(m_tables->tally(TallyBetType::kQuinellaPlace).stake, 900);
  EXPECT_EQ(m_tables->tally(TallyBetType::kExacta).races, 1);
}

TEST_F(CombinationCalculationTest, PopularityTriosThatRepeatAnAxisTrioAreKeptOnce) {
  // Favourites 2 and 7: (2, 7, pt 1 = 2) is no trio, (2, 7, pt 2 = 4) is
  // the axis trio 2-4-7.
  for (int h = 0; h < 10; ++h) race().predictedOddsRank[h] = 0;
  race().predictedOddsRank[6] = 1;
  race().predictedOddsRank[1] = 2;
  calculateCombinations(*m_tables, 10.0, defaultSetting());
  EXPECT_EQ(textsOf(block().trio).size(), 8u);
  // Without the flag the favourites give nothing.
  UserSetting setting = defaultSetting();
  setting.popularityTrios = false;
  for (int h = 0; h < 10; ++h) race().predictedOddsRank[h] = kOddsRanks[h];
  calculateCombinations(*m_tables, 10.0, setting);
  EXPECT_EQ(textsOf(block().trio).size(), 8u);
}

TEST_F(CombinationCalculationTest, AxisTwoNotFound) {
  UserSetting setting = defaultSetting();
  setting.axis2 = {sj("pt勝率"), "15"};
  calculateCombinations(*m_tables, 10.0, setting);
  EXPECT_EQ(textsOf(block().trio), (Texts{" 2- 9-10", " 4- 9-10"}));
  EXPECT_EQ(textsOf(block().quinella).size(), 8u);  // axis 1 with the eight partners
  EXPECT_EQ(textsOf(block().exacta).front(), " 2- 1");
  EXPECT_EQ(textsOf(block().exacta).size(), 8u);
}

TEST_F(CombinationCalculationTest, BothAxesTheSameHorse) {
  race().winRateRank[1] = 1;  // horse 2 is first by win rate too
  UserSetting setting = defaultSetting();
  setting.axis2 = {sj("勝率"), "1"};
  setting.popularityTrios = false;
  calculateCombinations(*m_tables, 10.0, setting);
  EXPECT_TRUE(textsOf(block().trio).empty());
  const Texts quinellas = textsOf(block().quinella);
  EXPECT_EQ(quinellas.size(), 8u);
  // No axis-with-axis pair: horse 4 (pt 2) is no partner.
  EXPECT_EQ(std::count(quinellas.begin(), quinellas.end(), " 2- 4"), 0);
}

TEST_F(CombinationCalculationTest, PartnerEqualToAxisTwoIsKeptOnce) {
  race().winRateRank[3] = 1;  // horse 4, axis 2, is first by win rate
  UserSetting setting = defaultSetting();
  setting.partners[0] = {sj("勝率"), " 1"};
  setting.popularityTrios = false;
  calculateCombinations(*m_tables, 10.0, setting);
  // Partners 2..10 give horses 5, 3, 6, 7, 8, 9, 10 (ranks 4..10), then the
  // axis pair: the partner that is axis 2 adds nothing of its own.
  EXPECT_EQ(textsOf(block().quinella),
            (Texts{" 2- 3", " 2- 4", " 2- 5", " 2- 6", " 2- 7", " 2- 8", " 2- 9", " 2-10"}));
  EXPECT_EQ(textsOf(block().exacta).size(), 8u);
  EXPECT_EQ(textsOf(block().trio).size(), 7u);
}

TEST_F(CombinationCalculationTest, DebutRacesGetNoCombinationsAndAreNotCounted) {
  addRace(1, 701);
  addRace(2, 702);
  addRace(3, 703);
  calculateCombinations(*m_tables, 10.0, defaultSetting());
  EXPECT_TRUE(textsOf(block(1).quinella).empty());
  EXPECT_TRUE(textsOf(block(2).trio).empty());
  EXPECT_EQ(textsOf(block(3).quinella).size(), 9u);
  EXPECT_EQ(m_tables->tally(TallyBetType::kQuinella).races, 2);
  EXPECT_EQ(m_tables->tally(TallyBetType::kQuinella).stake, 1800);
}

TEST_F(CombinationCalculationTest, RunningTwiceGivesTheSameResultAndHitsScore) {
  race().result.payouts.at(store::BetType::kQuinella, 0) = {0, " 2- 4", 1, 1230};
  race().result.payouts.at(store::BetType::kExacta, 0) = {0, " 4- 2", 2, 2950};
  calculateCombinations(*m_tables, 10.0, defaultSetting());
  const model::CombinationBlock first = block();
  const model::DayTally quinella = m_tables->tally(TallyBetType::kQuinella);
  calculateCombinations(*m_tables, 10.0, defaultSetting());
  EXPECT_EQ(block(), first);
  EXPECT_EQ(m_tables->tally(TallyBetType::kQuinella), quinella);
  EXPECT_EQ(quinella.hits, 1);
  EXPECT_EQ(quinella.payoutReturn, 1230);
  EXPECT_EQ(block().quinellaScores.hit[2], 1);
  EXPECT_EQ(m_tables->tally(TallyBetType::kExacta).hits, 0);  // axis first only

  // Another setting empties what the first formed.
  UserSetting narrow;
  narrow.axis1 = {sj("pt勝率"), "1"};
  narrow.partners[0] = {sj("pt勝率"), "2"};
  calculateCombinations(*m_tables, 10.0, narrow);
  EXPECT_EQ(textsOf(block().quinella), (Texts{" 2- 4"}));
  EXPECT_TRUE(textsOf(block().trio).empty());
  EXPECT_EQ(m_tables->tally(TallyBetType::kQuinella).stake, 100);
}

TEST_F(CombinationCalculationTest, NoSettingFormsOnlyPopularityTrios) {
  UserSetting none;
  calculateCombinations(*m_tables, 10.0, none);
  EXPECT_TRUE(textsOf(block().trio).empty());
  none.popularityTrios = true;
  calculateCombinations(*m_tables, 10.0, none);
  EXPECT_EQ(textsOf(block().trio), (Texts{" 2- 9-10", " 4- 9-10"}));
  EXPECT_TRUE(textsOf(block().quinella).empty());
  EXPECT_EQ(m_tables->tally(TallyBetType::kQuinella).races, 1);
}

TEST(CompleteRanksTest, ReverseRanksSkipRunnersAboveTheCeilingOrWithoutOdds) {
  model::RaceAnalysis a;
  struct Runner {
    int wins;
    int points;
    double odds;
    int oddsRank;
  };
  const Runner runners[] = {
      {5, 10, 3.0, 1},  // 1
      {2, 8, 12.0, 4},  // 2: above the ceiling
      {2, 8, 0.0, 0},   // 3: no odds
      {3, 10, 5.0, 2},  // 4
      {3, 4, 8.0, 3},   // 5
      {1, 1, 10.0, 5},  // 6: at the ceiling
      {0, 0, 4.0, 6},   // 7: no wins
  };
  for (int h = 0; h < 7; ++h) {
    a.winCount[h] = runners[h].wins;
    a.winPoints[h] = runners[h].points;
    a.predictedOdds[h] = runners[h].odds;
    a.predictedOddsRank[h] = runners[h].oddsRank;
    a.pointWinRate[h] = 0.5;
  }
  a.winCountReverseRank[2] = 9;  // left from before
  completeRanks(a, 7, 10.0);
  // Fewest wins first; 4 and 5 tie on wins, the better odds rank first.
  const int winsReverse[] = {4, 0, 0, 2, 3, 1, 0};
  const int pointsReverse[] = {3, 0, 0, 4, 2, 1, 0};
  for (int h = 0; h < 7; ++h) {
    EXPECT_EQ(a.winCountReverseRank[h], winsReverse[h]) << "horse " << h + 1;
    EXPECT_EQ(a.winPointsReverseRank[h], pointsReverse[h]) << "horse " << h + 1;
  }
  EXPECT_EQ(lookUpRank(a, sj("勝数逆順"), "1"), 6);
  EXPECT_EQ(lookUpRank(a, sj("勝pt逆順"), " 2"), 5);
  // A lower ceiling leaves out horse 5 (8.0) and horse 6 (10.0).
  completeRanks(a, 7, 7.5);
  EXPECT_EQ(lookUpRank(a, sj("勝数逆順"), "1"), 4);
  EXPECT_EQ(a.winCountReverseRank[4], 0);
}

TEST(CompleteRanksTest, WinCountRankTies) {
  model::RaceAnalysis a;
  const int wins[] = {5, 2, 2, 3, 3, 1, 0, 0};
  const double rates[] = {0.9, 0.4, 0.4, 0.5, 0.7, 0.2, -1.0, -1.0};
  for (int h = 0; h < 8; ++h) {
    a.winCount[h] = wins[h];
    a.pointWinRate[h] = rates[h];
  }
  a.winCountRank[6] = 3;   // a rank of the race loaded before
  a.winCountRank[12] = 1;  // a slot beyond the runners
  completeRanks(a, 8, 10.0);
  // Most wins first; 4 and 5 tie, the higher point win rate (5) first; 2 and
  // 3 tie on both, the higher horse number first.
  const int expected[] = {1, 5, 4, 3, 2, 6, 0, 0};
  for (int h = 0; h < 8; ++h) EXPECT_EQ(a.winCountRank[h], expected[h]) << "horse " << h + 1;
  EXPECT_EQ(a.winCountRank[12], 0);
  EXPECT_EQ(lookUpRank(a, sj("勝数"), "3"), 4);
  EXPECT_THROW(completeRanks(a, 19, 10.0), Error);
}

TEST(RankLookupTest, RankTextsAndCriteria) {
  model::RaceAnalysis a;
  a.winRateRank[4] = 2;
  a.winRateRank[2] = 2;  // two horses of rank 2: the lower number
  a.pointWinRateRank[0] = 1;
  const std::tuple<std::string, std::string, int> cases[] = {
      {"勝率", "2", 3},   {"勝率", " 2 ", 3}, {"勝率", "02", 3}, {"pt勝率", "1", 1},
      {"勝率", "0", 0},   {"勝率", "-2", 0},  {"勝率", "x", 0},  {"勝率", "", 0},
      {"勝率", "2x", 0},  {"勝率", "3", 0},   {"謎", "2", 0},    {"", "2", 0},
      {"Pt勝率", "1", 0},
  };
  for (const auto& [criterion, rank, horse] : cases) {
    EXPECT_EQ(lookUpRank(a, sj(criterion), rank), horse) << criterion << " [" << rank << "]";
  }
}

TEST(CombinationTextsTest, SortedAndOrderedTexts) {
  EXPECT_EQ(trioText(12, 3, 7), " 3- 7-12");
  EXPECT_EQ(trioText(1, 2, 3), " 1- 2- 3");
  EXPECT_EQ(pairText(12, 3), " 3-12");
  EXPECT_EQ(orderedText(12, 3), "12- 3");
  EXPECT_EQ(trioText(1, 1, 3), "");
  EXPECT_EQ(trioText(0, 2, 3), "");
  EXPECT_EQ(pairText(4, 4), "");
  EXPECT_EQ(orderedText(0, 4), "");
  EXPECT_TRUE(isDebutRace(raceImage(1, 10, 701)));
  EXPECT_TRUE(isDebutRace(raceImage(1, 10, 702)));
  EXPECT_FALSE(isDebutRace(raceImage(1, 10, 703)));
}

}  // namespace
}  // namespace orvalle::betting
