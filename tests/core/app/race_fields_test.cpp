// The decoded race header and payout block that reports and exports show.
#include <gtest/gtest.h>

#include "app/payout_report.h"
#include "app/race_header_report.h"
#include "model/race_card.h"
#include "store/cp932.h"
#include "support/record_builder.h"

namespace orvalle::app {
namespace {

using test::RecordBuilder;
namespace hr = store::hr;
namespace ra = store::ra;

TEST(PayoutReportTest, PaidCombinationsInBlockOrderWithoutUnusedEntries) {
  auto record = RecordBuilder::hr("2024010606010101")
                    // A dead heat for the win: two entries, the third unused.
                    .setRaw(hr::kWin.number(0, 0), "03")
                    .setNumber(hr::kWin.payout(0), 230)
                    .setNumber(hr::kWin.popularity(0), 1)
                    .setRaw(hr::kWin.number(1, 0), "11")
                    .setNumber(hr::kWin.payout(1), 1520)
                    .setNumber(hr::kWin.popularity(1), 7)
                    // An exacta of junk numbers is not a paid combination.
                    .setRaw(hr::kExacta.combination(0), "0x12")
                    .setNumber(hr::kExacta.payout(0), 999)
                    .setRaw(hr::kTrio.combination(0), "031107")
                    .setNumber(hr::kTrio.payout(0), 45670)
                    .setNumber(hr::kTrio.popularity(0), 123);
  ASSERT_TRUE(isPayoutRecord(record.line()));
  const std::vector<PaidCombination> paid = paidCombinations(record.line());
  ASSERT_EQ(paid.size(), 3u);
  EXPECT_EQ(std::string(paid[0].betType->key), "win");
  EXPECT_EQ(paid[0].numbers, std::vector<int>{3});
  EXPECT_EQ(paid[0].text, "3");
  EXPECT_EQ(paid[0].payout, 230);
  EXPECT_EQ(paid[1].entry, 2);
  EXPECT_EQ(paid[1].popularity, 7);
  EXPECT_EQ(std::string(paid[2].betType->name), "三連複");
  EXPECT_EQ(paid[2].numbers, (std::vector<int>{3, 11, 7}));
  EXPECT_EQ(paid[2].text, "3-11-7");
  EXPECT_EQ(paid[2].payout, 45670);
  EXPECT_EQ(paid[2].popularity, 123);

  // A race without payouts, and records that are no payout record at all.
  EXPECT_TRUE(paidCombinations(RecordBuilder::hr("2024010606010101").line()).empty());
  EXPECT_TRUE(paidCombinations("").empty());
  EXPECT_FALSE(isPayoutRecord(std::string(719, ' ')));
  EXPECT_FALSE(isPayoutRecord(RecordBuilder::ra("2024010606010101").line()));
}

TEST(RaceHeaderReportTest, FieldsAgreeWithTheRaceCardLines) {
  auto record = RecordBuilder::ra("2024010606010211")
                    .setRaw(ra::kWeekdayCode, "6")
                    .set(ra::kRaceName, "　中山金杯")
                    .setNumber(ra::kGradedRaceRunning, 73)
                    .setRaw(ra::kGradeCode, "C")
                    .setRaw(ra::kWeightTypeCode, "1")
                    .setRaw(ra::kConditionCode3yo, "703")
                    .setNumber(ra::kDistance, 2000)
                    .setRaw(ra::kTrackCode, "10")
                    .setRaw(ra::kStartTime, "1525")
                    .setNumber(ra::kRegisteredRunners, 16);
  const RaceHeaderReport header = raceHeaderReport(record.line());
  const auto lines = model::raceHeaderLines(record.line());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(header.lines[i], cp932::toUtf8(lines[i]));
  EXPECT_EQ(header.date, "2024-01-06");
  EXPECT_EQ(header.racecourse, "中山");
  EXPECT_EQ(header.dayOfMeeting, 2);
  EXPECT_EQ(header.raceNumber, 11);
  EXPECT_EQ(header.startTime, "15:25");
  EXPECT_EQ(header.name, "中山金杯");  // without the full-width blank before it
  EXPECT_EQ(header.gradedRunning, 73);
  EXPECT_EQ(header.runners, 16);
  EXPECT_EQ(header.distance, 2000);
  EXPECT_FALSE(header.track.empty());
  EXPECT_FALSE(header.grade.empty());
  EXPECT_FALSE(header.weightType.empty());
  ASSERT_EQ(header.conditions.size(), 1u);
  EXPECT_EQ(header.conditions[0].ages, "3歳");
  EXPECT_FALSE(header.conditions[0].condition.empty());
  // Every decoded text stands in the lines the race card shows.
  std::string shown;
  for (const std::string& line : header.lines) shown += line;
  for (const std::string* text :
       {&header.name, &header.track, &header.racecourse, &header.weekday, &header.weightType}) {
    EXPECT_NE(shown.find(*text), std::string::npos) << *text;
  }

  // A record of blanks and junk decodes to nothing, without failing.
  const RaceHeaderReport blank = raceHeaderReport(std::string(40, '?'));
  EXPECT_EQ(blank.date, "");
  EXPECT_EQ(blank.startTime, "");
  EXPECT_EQ(blank.distance, 0);
  EXPECT_TRUE(blank.conditions.empty());
}

}  // namespace
}  // namespace orvalle::app
