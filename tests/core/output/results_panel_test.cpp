#include "output/results_panel.h"

#include <gtest/gtest.h>

#include "store/error.h"
#include "store/record.h"
#include "support/record_builder.h"

namespace orvalle::output {
namespace {

using store::BetType;
using test::RecordBuilder;

const ResultsEntryTexts kEmpty{};

ResultsGroupTexts group(const store::PayoutBlock& block, BetType type) {
  return resultsGroupTexts(block, type);
}

TEST(ResultsPanelTest, DeadHeatShowsTwoWinEntriesAndLeavesTheThirdEmpty) {
  // Parsed from an HR record, as the import fills the block.
  namespace hr = store::hr;
  auto record = RecordBuilder::hr("2024010606010101")
                    .setRaw(hr::kWin.number(0, 0), "03")
                    .setNumber(hr::kWin.payout(0), 230)
                    .setNumber(hr::kWin.popularity(0), 1)
                    .setRaw(hr::kWin.number(1, 0), "11")
                    .setNumber(hr::kWin.payout(1), 1520)
                    .setNumber(hr::kWin.popularity(1), 7);
  ResultsGroupTexts win = group(store::parsePayoutBlock(record.record()), BetType::kWin);
  ASSERT_EQ(win.entries.size(), 3u);
  EXPECT_EQ(win.entries[0], (ResultsEntryTexts{" 3", " 1", "     230"}));
  EXPECT_EQ(win.entries[1], (ResultsEntryTexts{"11", " 7", "    1520"}));
  EXPECT_EQ(win.entries[2], kEmpty);
}

TEST(ResultsPanelTest, ARaceWithoutPayoutsShowsEmptyBoxesInEveryGroup) {
  auto groups = resultsPanelTexts(store::parsePayoutBlock(std::string(719, ' ')));
  for (int g = 0; g < kResultsGroupCount; ++g) {
    const ResultsGroupTexts& texts = groups[static_cast<size_t>(g)];
    EXPECT_EQ(texts.type, kResultsGroupLayouts[g].type);
    EXPECT_EQ(static_cast<int>(texts.entries.size()), kResultsGroupLayouts[g].entries);
    for (const ResultsEntryTexts& entry : texts.entries) EXPECT_EQ(entry, kEmpty);
  }
}

TEST(ResultsPanelTest, ZeroAndBlankCombinationTextsShowEmptyBoxes) {
  // Texts as a block might hold them from elsewhere than the parser, which
  // never sets a zero text.
  struct Case {
    BetType type;
    std::string text;
    bool shown;
  };
  const Case cases[] = {
      {BetType::kTrio, " 0- 0- 0", false},        {BetType::kTrio, "        ", false},
      {BetType::kTrio, " 1- 2- 3", true},         {BetType::kExacta, " 0- 0", false},
      {BetType::kExacta, " 2- 1", true},          {BetType::kQuinella, " 0- 0", false},
      {BetType::kQuinellaPlace, "", false},       {BetType::kBracketQuinella, " 0- 0", false},
      {BetType::kBracketQuinella, " 1- 1", true},
  };
  for (const Case& c : cases) {
    store::PayoutBlock block;
    block.at(c.type, 0) = store::PayoutEntry{0, c.text, 12, 3450};
    ResultsEntryTexts shown = group(block, c.type).entries[0];
    if (c.shown) {
      EXPECT_EQ(shown, (ResultsEntryTexts{c.text, "12", "    3450"})) << c.text;
    } else {
      EXPECT_EQ(shown, kEmpty) << static_cast<int>(c.type) << " '" << c.text << "'";
    }
  }
}

TEST(ResultsPanelTest, PlaceEntriesWithHorseNumberZeroAreEmpty) {
  store::PayoutBlock block;
  block.at(BetType::kPlace, 0) = {5, "", 2, 150};
  block.at(BetType::kPlace, 1) = {9, "", 11, 1210};
  block.at(BetType::kPlace, 2) = {0, "", 0, 0};  // two places paid only
  ResultsGroupTexts place = group(block, BetType::kPlace);
  ASSERT_EQ(place.entries.size(), 5u);
  EXPECT_EQ(place.entries[1], (ResultsEntryTexts{" 9", "11", "    1210"}));
  EXPECT_EQ(place.entries[2], kEmpty);
}

TEST(ResultsPanelTest, BoxNamesFollowTheGroupsLabels) {
  struct Case {
    BetType type;
    ResultsRow row;
    int entry;
    const char* name;
  };
  const Case cases[] = {
      {BetType::kWin, ResultsRow::kResult, 0, "Label3D20"},
      {BetType::kWin, ResultsRow::kPopularity, 0, "Label3D24"},
      {BetType::kWin, ResultsRow::kPayout, 2, "Label3D30"},
      {BetType::kPlace, ResultsRow::kResult, 0, "Label3D33"},
      {BetType::kPlace, ResultsRow::kPayout, 4, "Label3D49"},
      {BetType::kBracketQuinella, ResultsRow::kPayout, 2, "Label3D62"},
      {BetType::kQuinella, ResultsRow::kResult, 0, "Label3D65"},
      {BetType::kQuinella, ResultsRow::kPayout, 2, "Label3D75"},
      {BetType::kQuinellaPlace, ResultsRow::kResult, 0, "Label3D78"},
      {BetType::kQuinellaPlace, ResultsRow::kPayout, 6, "Label3D100"},
      {BetType::kExacta, ResultsRow::kResult, 0, "UTLabel1"},
      {BetType::kExacta, ResultsRow::kPopularity, 5, "UTNLabel6"},
      {BetType::kExacta, ResultsRow::kPayout, 5, "UTHLabel6"},
      {BetType::kTrio, ResultsRow::kPayout, 2, "SFHLabel3"},
  };
  for (const Case& c : cases) EXPECT_EQ(resultsBoxName(c.type, c.row, c.entry), c.name);
  EXPECT_EQ(resultsRowCaptionName(BetType::kWin, ResultsRow::kResult), "Label3D19");
  EXPECT_EQ(resultsRowCaptionName(BetType::kQuinellaPlace, ResultsRow::kPayout), "Label3D93");
  EXPECT_EQ(resultsRowCaptionName(BetType::kTrio, ResultsRow::kResult), "");
  EXPECT_THROW((void)resultsBoxName(BetType::kTrio, ResultsRow::kResult, 3), Error);
  EXPECT_THROW((void)resultsBoxName(BetType::kWin, ResultsRow::kResult, -1), Error);
}

}  // namespace
}  // namespace orvalle::output
