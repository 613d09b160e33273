#include "betting/race_scoring.h"

#include <gtest/gtest.h>

#include "betting/combination_grids.h"
#include "store/fixed_width.h"

namespace orvalle::betting {
namespace {

using model::TallyBetType;
using store::BetType;

class RaceScoringTest : public ::testing::Test {
 protected:
  model::RaceAnalysis& race() { return m_tables.analysis(0); }
  store::PayoutEntry& paid(BetType type, int index) {
    return race().result.payouts.at(type, index);
  }
  void pay(BetType type, int index, const std::string& text, int payout) {
    paid(type, index).combination = text;
    paid(type, index).payout = payout;
  }
  model::DayTables m_tables;
};

TEST_F(RaceScoringTest, QuinellaAndQuinellaPlaceAreStakedSeparately) {
  for (int k = 0; k < 9; ++k) race().combinations.quinella[k] = store::format("%2d-%2d", 1, k + 2);
  pay(BetType::kQuinella, 0, " 1- 3", 1230);
  pay(BetType::kQuinellaPlace, 0, " 1- 3", 450);
  pay(BetType::kQuinellaPlace, 1, " 1- 7", 900);
  pay(BetType::kQuinellaPlace, 2, " 3- 7", 1500);
  scoreRace(m_tables, 0);

  const model::DayTally& quinella = m_tables.tally(TallyBetType::kQuinella);
  const model::DayTally& place = m_tables.tally(TallyBetType::kQuinellaPlace);
  EXPECT_EQ(quinella.stake, 900);
  EXPECT_EQ(place.stake, 900);
  EXPECT_EQ(quinella.hits, 1);
  EXPECT_EQ(quinella.payoutReturn, 1230);
  EXPECT_EQ(place.hits, 2);
  EXPECT_EQ(place.payoutReturn, 1350);
  EXPECT_EQ(race().combinations.quinellaScores.hit[1], 1);       // " 1- 3"
  EXPECT_EQ(race().combinations.quinellaPlaceScores.hit[5], 1);  // " 1- 7"
  EXPECT_EQ(race().combinations.quinellaScores.hit[5], 0);
  // A race is counted for every bet type, combinations or not.
  EXPECT_EQ(m_tables.tally(TallyBetType::kTrio).races, 1);
  EXPECT_EQ(m_tables.tally(TallyBetType::kTrio).stake, 0);
}

TEST_F(RaceScoringTest, TrioMatchingTwoPaidTriosCountsTwoHits) {
  race().combinations.trio[0] = " 1- 2- 3";
  pay(BetType::kTrio, 0, " 1- 2- 3", 2460);
  pay(BetType::kTrio, 1, " 1- 2- 3", 3010);  // a dead heat for third
  scoreRace(m_tables, 0);
  const model::DayTally& trio = m_tables.tally(TallyBetType::kTrio);
  EXPECT_EQ(trio.hits, 2);
  EXPECT_EQ(trio.payoutReturn, 5470);
  EXPECT_EQ(trio.stake, 100);
}

TEST_F(RaceScoringTest, ExactaHitsOnlyInThePaidOrder) {
  race().combinations.exacta[0] = " 2- 1";
  race().combinations.exacta[1] = " 1- 3";
  pay(BetType::kExacta, 0, " 1- 2", 1030);
  scoreRace(m_tables, 0);
  EXPECT_EQ(m_tables.tally(TallyBetType::kExacta).hits, 0);
  EXPECT_EQ(m_tables.tally(TallyBetType::kExacta).stake, 200);
}

TEST_F(RaceScoringTest, NoPayoutsScoresTheStakeOnly) {
  race().combinations.trio[0] = " 1- 2- 3";
  scoreRace(m_tables, 0);
  DayTallyTexts texts = dayTallyTexts(m_tables.tally(TallyBetType::kTrio));
  EXPECT_EQ(texts, (DayTallyTexts{" 1", " 0", "     100", "       0", "  0.0"}));
  // Without stake the hits, return and rate stay empty.
  EXPECT_EQ(dayTallyTexts(m_tables.tally(TallyBetType::kQuinella)),
            (DayTallyTexts{" 1", "", "       0", "", ""}));
}

TEST_F(RaceScoringTest, ClearingScoresKeepsOrEmptiesTheTexts) {
  race().combinations.trio[0] = " 1- 2- 3";
  pay(BetType::kTrio, 0, " 1- 2- 3", 2460);
  scoreRace(m_tables, 0);
  clearScores(m_tables, false);
  EXPECT_EQ(race().combinations.trio[0], " 1- 2- 3");
  EXPECT_EQ(race().combinations.trioScores.hit[0], 0);
  EXPECT_EQ(race().combinations.trioScores.tally, model::RaceTally{});
  clearScores(m_tables, true);
  EXPECT_EQ(race().combinations.trio[0], "");
}

}  // namespace
}  // namespace orvalle::betting
