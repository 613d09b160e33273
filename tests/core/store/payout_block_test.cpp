#include "store/payout_block.h"

#include <gtest/gtest.h>

#include "core/store/real_data.h"
#include "support/record_builder.h"

namespace orvalle::store {
namespace {

using test::RecordBuilder;

constexpr std::string_view kKey = "2024010606010111";

// Sets entry `i` of a block: its numbers (two digits each, one for brackets),
// payout and popularity.
void setEntry(RecordBuilder& hr, const hr::PayoutBlockLayout& layout, int i,
              std::initializer_list<int> numbers, int payout, int popularity) {
  int k = 0;
  for (int number : numbers) hr.setNumber(layout.number(i, k++), number);
  hr.setNumber(layout.payout(i), payout);
  hr.setNumber(layout.popularity(i), popularity);
}

TEST(PayoutBlockTest, CombinationTexts) {
  struct Case {
    std::initializer_list<int> numbers;
    std::string_view text;
  };
  const Case cases[] = {
      {{1, 2}, " 1- 2"},
      {{10, 2}, "10- 2"},
      {{17, 18}, "17-18"},
      {{1, 2, 3}, " 1- 2- 3"},
      {{3, 10, 18}, " 3-10-18"},
      {{0, 2}, ""},
      {{2, 0}, ""},
      {{1, 2, 0}, ""},
      {{-1, 2}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(combinationText(c.numbers), c.text);
}

TEST(PayoutBlockTest, DeadHeatKeepsBothEntriesInRecordOrder) {
  auto hr = RecordBuilder::hr(kKey);
  setEntry(hr, hr::kWin, 0, {7}, 310, 2);
  setEntry(hr, hr::kWin, 1, {3}, 250, 1);
  setEntry(hr, hr::kPlace, 0, {7}, 120, 2);
  setEntry(hr, hr::kPlace, 1, {3}, 110, 1);
  setEntry(hr, hr::kPlace, 2, {12}, 450, 6);
  setEntry(hr, hr::kBracketQuinella, 0, {2, 4}, 900, 3);
  setEntry(hr, hr::kQuinella, 0, {3, 7}, 1230, 4);
  setEntry(hr, hr::kExacta, 0, {7, 3}, 2100, 5);
  setEntry(hr, hr::kExacta, 1, {3, 7}, 1900, 4);
  setEntry(hr, hr::kTrio, 0, {3, 7, 12}, 45670, 120);
  PayoutBlock block = parsePayoutBlock(hr.line());

  EXPECT_EQ(block.at(BetType::kWin, 0), (PayoutEntry{7, "", 2, 310}));
  EXPECT_EQ(block.at(BetType::kWin, 1), (PayoutEntry{3, "", 1, 250}));
  EXPECT_EQ(block.at(BetType::kWin, 2), PayoutEntry{});
  EXPECT_EQ(block.at(BetType::kPlace, 2), (PayoutEntry{12, "", 6, 450}));
  EXPECT_EQ(block.at(BetType::kPlace, 3), PayoutEntry{});
  EXPECT_EQ(block.at(BetType::kBracketQuinella, 0), (PayoutEntry{0, " 2- 4", 3, 900}));
  EXPECT_EQ(block.at(BetType::kQuinella, 0), (PayoutEntry{0, " 3- 7", 4, 1230}));
  EXPECT_EQ(block.at(BetType::kExacta, 0).combination, " 7- 3");
  EXPECT_EQ(block.at(BetType::kExacta, 1).combination, " 3- 7");
  EXPECT_EQ(block.at(BetType::kTrio, 0), (PayoutEntry{0, " 3- 7-12", 120, 45670}));
  EXPECT_EQ(block.at(BetType::kTrio, 1), PayoutEntry{});
}

TEST(PayoutBlockTest, BlankOrZeroEntriesHaveNoText) {
  auto hr = RecordBuilder::hr(kKey);
  setEntry(hr, hr::kWin, 0, {5}, 560, 2);
  setEntry(hr, hr::kQuinella, 0, {4, 5}, 900, 3);
  // A place paid to two horses only: the third entry's horse number is "00".
  setEntry(hr, hr::kPlace, 2, {0}, 0, 0);
  setEntry(hr, hr::kQuinellaPlace, 0, {0, 5}, 150, 1);
  PayoutBlock block = parsePayoutBlock(hr.line());

  for (int i = 0; i < PayoutBlock::count(BetType::kExacta); ++i) {
    EXPECT_EQ(block.at(BetType::kExacta, i), PayoutEntry{}) << i;
  }
  EXPECT_EQ(block.at(BetType::kPlace, 2).horseNumber, 0);
  EXPECT_EQ(block.at(BetType::kQuinellaPlace, 0).combination, "");
  EXPECT_EQ(block.at(BetType::kQuinella, 0).combination, " 4- 5");
}

TEST(PayoutBlockTest, BlankShortOrJunkRecordsGiveAnEmptyBlock) {
  EXPECT_EQ(parsePayoutBlock(std::string(kHrLineLength, ' ')), PayoutBlock{});
  EXPECT_EQ(parsePayoutBlock(""), PayoutBlock{});
  EXPECT_EQ(parsePayoutBlock("HR2"), PayoutBlock{});
  EXPECT_EQ(parsePayoutBlock(std::string(kHrRecordLength, '\xFF')), PayoutBlock{});
  EXPECT_EQ(parsePayoutBlock(std::string(kHrRecordLength, '\x82')), PayoutBlock{});

  // Junk numbers and negative values read 0; a record cut inside the
  // quinella block keeps the entries before the cut.
  auto hr = RecordBuilder::hr(kKey);
  setEntry(hr, hr::kWin, 0, {6}, 560, 2);
  hr.setRaw(hr::kWin.payout(1), "-00000100").setRaw(hr::kWin.number(1, 0), "0A");
  hr.setRaw(hr::kBracketQuinella.number(0, 0), "X");
  hr.setNumber(hr::kBracketQuinella.number(0, 1), 3);
  setEntry(hr, hr::kQuinella, 0, {4, 6}, 230, 1);
  std::string cut = hr.line().substr(0, 247);
  PayoutBlock block = parsePayoutBlock(cut);
  EXPECT_EQ(block.at(BetType::kWin, 0), (PayoutEntry{6, "", 2, 560}));
  EXPECT_EQ(block.at(BetType::kWin, 1), PayoutEntry{});
  EXPECT_EQ(block.at(BetType::kBracketQuinella, 0).combination, "");
  EXPECT_EQ(block.at(BetType::kQuinella, 0), PayoutEntry{});
}

// The real HR record of the realdata folder (final payouts of a Sapporo race).
TEST(PayoutBlockTest, RealRecord) {
  std::string data = test::realRaSeHrRecords();
  if (data.size() != kRaRecordLength + kSeRecordLength + kHrRecordLength) {
    GTEST_SKIP() << "real data not present";
  }
  std::string hr = data.substr(kRaRecordLength + kSeRecordLength);
  ASSERT_EQ(recordKind(hr), "HR");
  PayoutBlock block = parsePayoutBlock(hr);

  EXPECT_EQ(block.at(BetType::kWin, 0), (PayoutEntry{6, "", 2, 560}));
  EXPECT_EQ(block.at(BetType::kWin, 1), PayoutEntry{});
  EXPECT_EQ(block.at(BetType::kPlace, 0).horseNumber, 6);
  EXPECT_EQ(block.at(BetType::kPlace, 1), (PayoutEntry{4, "", 1, 100}));
  EXPECT_EQ(block.at(BetType::kPlace, 2).payout, 460);
  EXPECT_EQ(block.at(BetType::kBracketQuinella, 0), (PayoutEntry{0, " 4- 6", 1, 150}));
  EXPECT_EQ(block.at(BetType::kQuinella, 0), (PayoutEntry{0, " 4- 6", 1, 230}));
  EXPECT_EQ(block.at(BetType::kQuinellaPlace, 1), (PayoutEntry{0, " 3- 6", 15, 1450}));
  EXPECT_EQ(block.at(BetType::kQuinellaPlace, 2).combination, " 3- 4");
  EXPECT_EQ(block.at(BetType::kQuinellaPlace, 3), PayoutEntry{});
  EXPECT_EQ(block.at(BetType::kExacta, 0), (PayoutEntry{0, " 6- 4", 4, 1030}));
  EXPECT_EQ(block.at(BetType::kExacta, 1), PayoutEntry{});
  EXPECT_EQ(block.at(BetType::kTrio, 0), (PayoutEntry{0, " 3- 4- 6", 9, 2460}));
}

}  // namespace
}  // namespace orvalle::store
