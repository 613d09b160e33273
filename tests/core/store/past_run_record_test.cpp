#include "store/past_run_record.h"

#include <gtest/gtest.h>

#include "core/store/real_data.h"
#include "store/cp932.h"
#include "store/error.h"
#include "support/record_builder.h"

namespace orvalle::store {
namespace {

using test::RecordBuilder;

constexpr std::string_view kKey = "2024010606010111";

std::string regno(int slot) { return format("20200000%02d", slot); }

// A runner of the race in slot `slot` with a finishing position as stored.
std::string runner(int slot, std::string_view position, std::string_view name = "テスト") {
  return RecordBuilder::se(kKey, slot + 1)
      .set(se::kHorseName, name)
      .setRaw(se::kRegistrationNumber, regno(slot))
      .setRaw(se::kFinishingPosition, position)
      .setNumber(se::kRaceTime, 1100 + slot)
      .setNumber(se::kWeightCarried, 540 + slot)
      .record();
}

// The registration numbers of the 18 entries of a past-run line, in order.
std::vector<std::string> entryNumbers(std::string_view line) {
  std::vector<std::string> numbers;
  for (int i = 0; i < kRaceRunnerSlots; ++i) {
    std::string_view entry = past_run::fieldEntry(i).in(line);
    numbers.emplace_back(past_run::entry::kRegistrationNumber.in(entry));
  }
  return numbers;
}

TEST(PastRunRecordTest, EveryFieldAtItsPosition) {
  auto ra = RecordBuilder::ra(kKey)
                .set(ra::kThreeCharacterRaceName, "新馬戦")
                .setRaw(ra::kGradeCode, "A")
                .setRaw(ra::kRaceTypeCode, "12")
                .setRaw(ra::kRaceSymbolCode, "A03")
                .setRaw(ra::kWeightTypeCode, "3")
                .setRaw(ra::kConditionCode2yo, "999")
                .setRaw(ra::kConditionCodeYoungest, "703")
                .setNumber(ra::kFirstPrize, 55000)
                .setNumber(ra::kDistance, 1800)
                .setRaw(ra::kTrackCode, "24")
                .setNumber(ra::kRegisteredRunners, 16)
                .setNumber(ra::kStarters, 15)
                .setNumber(ra::kFinishers, 14)
                .setRaw(ra::kWeatherCode, "2")
                .setRaw(ra::kTurfGoingCode, "0")
                .setRaw(ra::kDirtGoingCode, "3");
  auto se = RecordBuilder::se(kKey, 7)
                .setRaw(se::kBracket, "4")
                .setRaw(se::kRegistrationNumber, "2021100446")
                .set(se::kHorseName, "メジャーデビューアイウ")  // 11 characters, 22 bytes
                .setRaw(se::kSexCode, "1")
                .setNumber(se::kAge, 3)
                .set(se::kTrainerShortName, "鈴木慎太")
                .setNumber(se::kWeightCarried, 570)
                .setRaw(se::kBlinkers, "1")
                .set(se::kJockeyShortName, "佐々木大")
                .setRaw(se::kApprenticeCode, "2")
                .setNumber(se::kHorseWeight, 486)
                .setRaw(se::kWeightChangeSign, "-")
                .setNumber(se::kWeightChange, 4)
                .setRaw(se::kAbnormalityCode, "0")
                .setNumber(se::kArrivalOrder, 2)
                .setNumber(se::kFinishingPosition, 2)
                .setNumber(se::kRaceTime, 1523)
                .setNumber(se::kCorner1Position, 5)
                .setNumber(se::kCorner2Position, 6)
                .setNumber(se::kCorner3Position, 4)
                .setNumber(se::kCorner4Position, 3)
                .setNumber(se::kWinOdds, 123)
                .setNumber(se::kPopularityRank, 4)
                .setNumber(se::kPrizeMoney, 2200)
                .setNumber(se::kAddedPrizeMoney, 11)
                .setNumber(se::kLast4Furlongs, 498)
                .setNumber(se::kLast3Furlongs, 365);
  std::vector<std::string> slots(7, std::string(kSeRecordLength, ' '));
  slots[2] = runner(2, "01");
  slots[6] = se.record();
  std::string line = composePastRunLine(ra.record(), se.record(), slots);
  ASSERT_EQ(line.size(), kPastRunLineLength);

  struct Expected {
    Field field;
    std::string value;
  };
  const Expected expected[] = {
      {past_run::kRaceKey, std::string(kKey)},
      {past_run::kDate, "20240106"},
      {past_run::kRaceNumber, "11"},
      {past_run::kShortRaceName, sj("新馬戦")},
      {past_run::kGradeCode, "A"},
      {past_run::kRaceTypeCode, "12"},
      {past_run::kRaceSymbolCode, "A03"},
      {past_run::kWeightTypeCode, "3"},
      {past_run::kConditionCode, "703"},
      {past_run::kFirstPrize, "00055000"},
      {past_run::kDistance, "1800"},
      {past_run::kTrackCode, "24"},
      {past_run::kRegisteredRunners, "16"},
      {past_run::kStarters, "15"},
      {past_run::kFinishers, "14"},
      {past_run::kTurfGoingCode, "0"},
      {past_run::kDirtGoingCode, "3"},
      {past_run::kWeatherCode, "2"},
      {past_run::kRegistrationNumber, "2021100446"},
      {past_run::kHorseName, sj("メジャーデビューア")},
      {past_run::kHorseNumber, "07"},
      {past_run::kBracket, "4"},
      {past_run::kSexCode, "1"},
      {past_run::kAge, "03"},
      {past_run::kWeightCarried, "570"},
      {past_run::kBlinkers, "1"},
      {past_run::kJockeyShortName, sj("佐々木大")},
      {past_run::kApprenticeCode, "2"},
      {past_run::kTrainerShortName, sj("鈴木慎太")},
      {past_run::kAbnormalityCode, "0"},
      {past_run::kHorseWeight, "486"},
      {past_run::kWeightChangeSign, "-"},
      {past_run::kWeightChange, "004"},
      {past_run::kCorner1Position, "05"},
      {past_run::kCorner2Position, "06"},
      {past_run::kCorner3Position, "04"},
      {past_run::kCorner4Position, "03"},
      {past_run::kLast4Furlongs, "498"},
      {past_run::kLast3Furlongs, "365"},
      {past_run::kRaceTime, "1523"},
      {past_run::kArrivalOrder, "02"},
      {past_run::kFinishingPosition, "02"},
      {past_run::kPopularityRank, "04"},
      {past_run::kWinOdds, "0123"},
      {past_run::kPrizeMoney, "00002200"},
      {past_run::kAddedPrizeMoney, "00000011"},
      {past_run::kTrailingBlanks, std::string(32, ' ')},
  };
  for (const Expected& e : expected) {
    EXPECT_EQ(e.field.in(line), e.value) << "position " << e.field.position;
  }
  // The field: the winner (slot 2), this runner (2nd), then blank slots.
  std::string_view first = past_run::fieldEntry(0).in(line);
  EXPECT_EQ(first, fieldEntryOf(slots[2]));
  EXPECT_EQ(past_run::entry::kRaceTime.in(first), "1102");
  EXPECT_EQ(past_run::entry::kWeightCarried.in(first), "542");
  std::string_view second = past_run::fieldEntry(1).in(line);
  EXPECT_EQ(past_run::entry::kHorseName.in(second), sj("メジャーデビューア"));
  EXPECT_EQ(past_run::entry::kRegistrationNumber.in(second), "2021100446");
  EXPECT_EQ(past_run::entry::kRaceTime.in(second), "1523");
  EXPECT_EQ(past_run::entry::kWeightCarried.in(second), "570");
  EXPECT_EQ(past_run::fieldEntry(2).in(line), std::string(35, ' '));
}

TEST(PastRunRecordTest, FieldInFinishingOrder) {
  std::vector<std::string> slots = {
      runner(0, "03"),
      runner(1, "01"),
      runner(2, "00"),  // no finishing position
      runner(3, "  "),  // blank
      runner(4, "02", "イア"),
      runner(5, "02", "アイ"),  // dead heat with slot 4; its entry sorts first
      runner(6, "04"),
      runner(7, "0X"),                    // junk reads 0
      std::string(kSeRecordLength, ' '),  // an empty slot among the others
      runner(9, "00"),
  };
  std::string field = fieldInFinishingOrder(slots);
  ASSERT_EQ(field.size(), static_cast<size_t>(past_run::kFieldInFinishingOrder.length));

  std::string line = std::string(162, ' ') + field + std::string(32, ' ');
  std::vector<std::string> expected = {regno(1), regno(5), regno(4), regno(0),     regno(6),
                                       regno(2), regno(3), regno(7), "          ", regno(9)};
  expected.resize(kRaceRunnerSlots, "          ");
  EXPECT_EQ(entryNumbers(line), expected);
  EXPECT_EQ(past_run::entry::kHorseName.in(past_run::fieldEntry(1).in(line)),
            fitWidth(sj("アイ"), 18));
  for (int i = 10; i < kRaceRunnerSlots; ++i) {
    EXPECT_EQ(past_run::fieldEntry(i).in(line), std::string(35, ' ')) << i;
  }
}

TEST(PastRunRecordTest, SlotCountAndEntryIndexAreChecked) {
  std::vector<std::string> slots(19, std::string(kSeRecordLength, ' '));
  EXPECT_THROW((void)fieldInFinishingOrder(slots), Error);
  EXPECT_THROW((void)composePastRunLine("", "", slots), Error);
  EXPECT_THROW((void)past_run::fieldEntry(18), Error);
  EXPECT_THROW((void)past_run::fieldEntry(-1), Error);
  EXPECT_EQ(past_run::fieldEntry(17).position + 35, past_run::kTrailingBlanks.position);
}

TEST(PastRunRecordTest, DamagedRecordsGiveAFullLine) {
  // Short records, no slots: blanks where fields are missing.
  std::string line = composePastRunLine("RA7", "SE", {});
  EXPECT_EQ(line, std::string(kPastRunLineLength, ' '));
  EXPECT_EQ(composePastRunLine(std::string(kRaRecordLength, '\xFF'), "", {}).size(),
            kPastRunLineLength);

  // A name whose 18th byte is the lead byte of a two-byte character: cut
  // to a blank, and the horse number after it stays intact.
  auto se = RecordBuilder::se(kKey, 3).set(se::kHorseName, "Aアイウエオカキクケコ");
  std::vector<std::string> slots = {std::string(kSeRecordLength, ' '),
                                    std::string(kSeRecordLength, ' '), se.record()};
  line = composePastRunLine(RecordBuilder::ra(kKey).record(), se.record(), slots);
  EXPECT_EQ(past_run::kHorseName.in(line), "A" + sj("アイウエオカキク") + " ");
  EXPECT_EQ(past_run::kHorseNumber.in(line), "03");
  // Without a finishing position it follows the two empty slots before it.
  EXPECT_EQ(past_run::entry::kHorseName.in(past_run::fieldEntry(2).in(line)),
            "A" + sj("アイウエオカキク") + " ");
  EXPECT_TRUE(cp932::isValid(line));
}

TEST(PastRunRecordTest, RealRecords) {
  std::string data = test::realRaSeHrRecords();
  if (data.size() != kRaRecordLength + kSeRecordLength + kHrRecordLength) {
    GTEST_SKIP() << "real data not present";
  }
  std::string ra = data.substr(0, kRaRecordLength);
  std::string se = data.substr(kRaRecordLength, kSeRecordLength);
  std::string line = composePastRunLine(ra, se, std::vector<std::string>{se});
  ASSERT_EQ(line.size(), kPastRunLineLength);
  EXPECT_EQ(past_run::kRaceKey.in(line), "2023090201020701");
  EXPECT_EQ(past_run::kRaceTypeCode.in(line), "11");
  EXPECT_EQ(past_run::kRaceSymbolCode.in(line), "A03");
  EXPECT_EQ(past_run::kConditionCode.in(line), "703");
  EXPECT_EQ(past_run::kFirstPrize.in(line), "00055000");
  EXPECT_EQ(past_run::kDistance.in(line), "1200");
  EXPECT_EQ(past_run::kTrackCode.in(line), "17");
  EXPECT_EQ(past_run::kRegisteredRunners.in(line), "08");
  EXPECT_EQ(past_run::kRegistrationNumber.in(line), "2021100446");
  EXPECT_EQ(past_run::kHorseName.in(line), sj("メジャーデビュー　"));
  EXPECT_EQ(past_run::kHorseNumber.in(line), "01");
  EXPECT_EQ(past_run::kWeightCarried.in(line), "540");
  EXPECT_EQ(past_run::kJockeyShortName.in(line), sj("佐々木大"));
  EXPECT_EQ(past_run::kTrainerShortName.in(line), sj("鈴木慎太"));
  EXPECT_EQ(past_run::kApprenticeCode.in(line), "1");
  // No finishing position yet: the runner is keyed by its slot, still first.
  std::string_view first = past_run::fieldEntry(0).in(line);
  EXPECT_EQ(past_run::entry::kRegistrationNumber.in(first), "2021100446");
  EXPECT_EQ(past_run::entry::kWeightCarried.in(first), "540");
  EXPECT_TRUE(cp932::isValid(line));
}

}  // namespace
}  // namespace orvalle::store
