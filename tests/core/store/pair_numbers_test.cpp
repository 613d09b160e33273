#include "store/pair_numbers.h"

#include <gtest/gtest.h>

#include <set>

namespace orvalle::store::codes {
namespace {

TEST(PairNumbersTest, HorsePairTexts) {
  const std::vector<std::pair<std::string, int>> cases = {
      {" 1- 2", 1}, {" 1-18", 17}, {" 2- 3", 18}, {" 9-10", 109}, {"17-18", 153}, {"18-17", 0},
      {" 2- 1", 0}, {" 1- 1", 0},  {" 0- 1", 0},  {"01-02", 0},   {"1-2", 0},     {" 1- 2 ", 0},
      {" 1+ 2", 0}, {"18-19", 0},  {"  -  ", 0},  {"", 0},        {" 1-2 ", 0},
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(pairNumber(text), number) << text;
}

TEST(PairNumbersTest, HorsePairRoundTripOverAllPairs) {
  std::set<std::string> texts;
  int expected = 0;
  for (int i = 1; i <= 18; ++i) {
    for (int j = i + 1; j <= 18; ++j) {
      ++expected;  // pairs are counted in the order 1-2, 1-3, ..., 17-18
      ASSERT_EQ(pairNumber(i, j), expected) << i << "-" << j;
      EXPECT_EQ(pairNumber(j, i), 0);
      const std::string text = pairText(expected);
      EXPECT_EQ(text.size(), 5u);
      EXPECT_EQ(pairNumber(text), expected) << text;
      const HorsePair pair = pairHorses(expected);
      EXPECT_EQ(pair.first, i);
      EXPECT_EQ(pair.second, j);
      texts.insert(text);
    }
  }
  EXPECT_EQ(expected, 153);
  EXPECT_EQ(texts.size(), 153u);
  EXPECT_EQ(pairText(1), " 1- 2");
  EXPECT_EQ(pairText(153), "17-18");
  for (int bad : {-1, 0, 154, 1000}) {
    EXPECT_EQ(pairText(bad), "") << bad;
    EXPECT_EQ(pairHorses(bad).first, 0) << bad;
  }
  EXPECT_EQ(pairNumber(0, 1), 0);
  EXPECT_EQ(pairNumber(17, 19), 0);
  EXPECT_EQ(pairNumber(5, 5), 0);
}

TEST(PairNumbersTest, BracketPairRoundTripOverAllPairs) {
  int expected = 0;
  for (int a = 1; a <= 8; ++a) {
    for (int b = a; b <= 8; ++b) {
      ++expected;  // 1-1, 1-2, ..., 1-8, 2-2, ..., 8-8
      ASSERT_EQ(bracketPairNumber(a, b), expected) << a << "-" << b;
      const std::string text = bracketPairText(expected);
      EXPECT_EQ(bracketPairNumber(text), expected) << text;
      if (a != b) {
        EXPECT_EQ(bracketPairNumber(b, a), 0);
      }
    }
  }
  EXPECT_EQ(expected, 36);
  EXPECT_EQ(bracketPairNumber(" 1- 1"), 1);
  EXPECT_EQ(bracketPairNumber(" 1- 8"), 8);
  EXPECT_EQ(bracketPairNumber(" 2- 2"), 9);
  EXPECT_EQ(bracketPairNumber(" 8- 8"), 36);
  EXPECT_EQ(bracketPairNumber(" 8- 7"), 0);
  EXPECT_EQ(bracketPairNumber(" 3-12"), 0);
  EXPECT_EQ(bracketPairNumber(" 0- 1"), 0);
  EXPECT_EQ(bracketPairText(0), "");
  EXPECT_EQ(bracketPairText(37), "");
}

}  // namespace
}  // namespace orvalle::store::codes
