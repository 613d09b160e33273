#include "analysis/comparison_rule.h"

#include <gtest/gtest.h>

namespace orvalle::analysis {
namespace {

TEST(ComparisonRuleTest, RaceTimesInTenths) {
  const struct {
    const char* stored;
    int tenths;
  } cases[] = {
      {"1345", 945}, {"0599", 599}, {"2000", 1200}, {"0000", 0},
      {"    ", 0},   {"1x45", 0},   {"-123", 0},    {" 945", 945},
  };
  for (const auto& c : cases) EXPECT_EQ(raceTimeInTenths(c.stored), c.tenths) << c.stored;
}

TEST(ComparisonRuleTest, ShownWeightsInTenths) {
  EXPECT_EQ(shownWeightInTenths("55.0"), 550);
  EXPECT_EQ(shownWeightInTenths(" 57.5 "), 575);
  EXPECT_EQ(shownWeightInTenths("55"), 550);
  EXPECT_EQ(shownWeightInTenths("55.25"), 553);  // rounded to the nearest tenth
  EXPECT_EQ(shownWeightInTenths(""), std::nullopt);
  EXPECT_EQ(shownWeightInTenths("  . "), std::nullopt);  // a blank weight field as shown
  EXPECT_EQ(shownWeightInTenths("5a.0"), std::nullopt);
  EXPECT_EQ(shownWeightInTenths("12345.0"), std::nullopt);
}

TEST(ComparisonRuleTest, MarginsAreExactHundredths) {
  // A 1:35.0 carrying 55.0 over an opponent 1:35.2 carrying 56.0: raw 0.2 s,
  // corrected 0.2 - 0.2 x 1.0 = 0.0; today A carries 55.0 and B 57.0, so A
  // loses 0.2 x 2.0 = 0.4.
  SideMargins margins = sideMargins(950, 550, 952, 560, 550, 570);
  EXPECT_EQ(margins, (SideMargins{2, 0, -40}));
  // Carrying more today gains.
  EXPECT_EQ(sideMargins(950, 550, 952, 560, 570, 550).adjusted, 40);
  // Equal weights today: S = M.
  margins = sideMargins(945, 540, 950, 550, 560, 560);
  EXPECT_EQ(margins.adjusted, margins.corrected);
  EXPECT_EQ(margins.corrected, 50 - 20);
}

TEST(ComparisonRuleTest, AZeroTimeOnEitherSideKeepsOnlyTodaysWeightTerm) {
  EXPECT_EQ(sideMargins(0, 550, 952, 560, 550, 570), (SideMargins{0, 0, -40}));
  EXPECT_EQ(sideMargins(950, 550, 0, 560, 560, 550), (SideMargins{0, 0, 20}));
  EXPECT_EQ(sideMargins(0, 550, 0, 560, 550, 550), (SideMargins{0, 0, 0}));
}

TEST(ComparisonRuleTest, RowDecisions) {
  const struct {
    int sa;
    int sb;
    RowDecision decision;
  } cases[] = {
      {10, 5, {true, false, false, false}},
      {5, 10, {false, true, false, false}},
      {-4, -4, {false, false, false, false}},  // exact tie: nothing
      {0, 0, {false, false, false, false}},
      {0, -2, {true, false, true, false}},  // zero counts as not losing
      {-2, 0, {false, true, false, true}},
      {30, -10, {true, false, true, false}},
      {-30, -10, {false, true, false, false}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(decideRow(c.sa, c.sb), c.decision) << c.sa << " vs " << c.sb;
  }
}

TEST(ComparisonRuleTest, MarginTexts) {
  EXPECT_EQ(marginText(-40), "-0.4");
  EXPECT_EQ(marginText(126), " 1.3");
  EXPECT_EQ(marginText(0), " 0.0");
  EXPECT_EQ(marginText(-1234), "-12.3");
  EXPECT_EQ(rawMarginText(-5), "-0.5");
  EXPECT_EQ(rawMarginText(12), " 1.2");
}

}  // namespace
}  // namespace orvalle::analysis
