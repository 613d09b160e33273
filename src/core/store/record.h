#pragma once

#include <string>
#include <string_view>

#include "store/fixed_width.h"

// The JV-Data records the system keeps: RA (one race), SE (one runner in one
// race) and HR (the payouts of one race). A record is CP932 bytes of fixed
// 1-based positions; every field any command reads is described once here.
namespace orvalle::store {

// A field of a record: 1-based byte position and byte length.
struct Field {
  int position;
  int length;

  // The field's bytes in `record`, clipped to the record.
  std::string_view in(std::string_view record) const { return field(record, position, length); }
  // The field's decimal value; blanks or junk read 0.
  int numberIn(std::string_view record) const { return fieldInt(record, position, length); }
};

// Record lengths with the final CR LF, and of a stored line without it.
inline constexpr size_t kRaRecordLength = 1272;
inline constexpr size_t kSeRecordLength = 555;
inline constexpr size_t kHrRecordLength = 719;
inline constexpr size_t kRaLineLength = kRaRecordLength - 2;
inline constexpr size_t kSeLineLength = kSeRecordLength - 2;
inline constexpr size_t kHrLineLength = kHrRecordLength - 2;

// Head, common to RA, SE and HR: record kind (2), data kind (1), creation
// date (8), then the race key of year, month-day, racecourse, meeting, day of
// meeting and race number.
namespace head {
inline constexpr Field kRecordKind{1, 2};
inline constexpr Field kDataKind{3, 1};
inline constexpr Field kCreationDate{4, 8};
inline constexpr Field kRaceKey{12, 16};
inline constexpr Field kRaceDate{12, 8};
inline constexpr Field kYear{12, 4};
inline constexpr Field kMonthDay{16, 4};
inline constexpr Field kMonth{16, 2};
inline constexpr Field kDay{18, 2};
inline constexpr Field kRacecourseCode{20, 2};
inline constexpr Field kMeeting{22, 2};
inline constexpr Field kDayOfMeeting{24, 2};
inline constexpr Field kRaceNumber{26, 2};
}  // namespace head

// RA: one race.
namespace ra {
inline constexpr Field kWeekdayCode{28, 1};
inline constexpr Field kRaceName{33, 60};
inline constexpr Field kSixCharacterRaceName{593, 12};
inline constexpr Field kThreeCharacterRaceName{605, 6};
inline constexpr Field kGradedRaceRunning{612, 3};
inline constexpr Field kGradeCode{615, 1};
inline constexpr Field kRaceTypeCode{617, 2};
inline constexpr Field kRaceSymbolCode{619, 3};
inline constexpr Field kWeightTypeCode{622, 1};
inline constexpr Field kConditionCode2yo{623, 3};
inline constexpr Field kConditionCode3yo{626, 3};
inline constexpr Field kConditionCode4yo{629, 3};
inline constexpr Field kConditionCode5yoAndUp{632, 3};
inline constexpr Field kConditionCodeYoungest{635, 3};
inline constexpr Field kDistance{698, 4};
inline constexpr Field kTrackCode{706, 2};
inline constexpr Field kFirstPrize{714, 8};
inline constexpr Field kFirstAddedPrize{810, 8};
// Prize money of places 1-7 and added prize money of places 1-5: eight
// digits each, one place after the other from the first.
inline constexpr int kPrizePlaces = 7;
inline constexpr int kAddedPrizePlaces = 5;
constexpr Field prizeMoney(int place) {
  return {kFirstPrize.position + kFirstPrize.length * (place - 1), kFirstPrize.length};
}
constexpr Field addedPrizeMoney(int place) {
  return {kFirstAddedPrize.position + kFirstAddedPrize.length * (place - 1),
          kFirstAddedPrize.length};
}
inline constexpr Field kStartTime{874, 4};
inline constexpr Field kStartHours{874, 2};
inline constexpr Field kStartMinutes{876, 2};
inline constexpr Field kRegisteredRunners{882, 2};
inline constexpr Field kStarters{884, 2};
inline constexpr Field kFinishers{886, 2};
inline constexpr Field kWeatherCode{888, 1};
inline constexpr Field kTurfGoingCode{889, 1};
inline constexpr Field kDirtGoingCode{890, 1};
}  // namespace ra

// SE: one runner in one race.
namespace se {
inline constexpr Field kBracket{28, 1};
inline constexpr Field kHorseNumber{29, 2};
inline constexpr Field kRegistrationNumber{31, 10};
inline constexpr Field kHorseName{41, 36};
inline constexpr Field kSexCode{79, 1};
inline constexpr Field kAge{83, 2};
inline constexpr Field kTrainerShortName{91, 8};
inline constexpr Field kWeightCarried{289, 3};
inline constexpr Field kBlinkers{295, 1};
inline constexpr Field kJockeyShortName{307, 8};
inline constexpr Field kApprenticeCode{323, 1};
inline constexpr Field kHorseWeight{325, 3};
inline constexpr Field kWeightChangeSign{328, 1};
inline constexpr Field kWeightChange{329, 3};
inline constexpr Field kAbnormalityCode{332, 1};
inline constexpr Field kArrivalOrder{333, 2};
inline constexpr Field kFinishingPosition{335, 2};
inline constexpr Field kRaceTime{339, 4};
inline constexpr Field kCorner1Position{352, 2};
inline constexpr Field kCorner2Position{354, 2};
inline constexpr Field kCorner3Position{356, 2};
inline constexpr Field kCorner4Position{358, 2};
inline constexpr Field kWinOdds{360, 4};
inline constexpr Field kPopularityRank{364, 2};
inline constexpr Field kPrizeMoney{366, 8};
inline constexpr Field kAddedPrizeMoney{374, 8};
inline constexpr Field kLast4Furlongs{388, 3};
inline constexpr Field kLast3Furlongs{391, 3};
}  // namespace se

// HR: the payouts of one race. Each block is a run of equal entries from its
// position; within an entry the combination comes first, then the payout
// (9 digits, yen per 100) and the popularity rank.
namespace hr {
struct PayoutBlockLayout {
  int position;         // first entry
  int entries;          // number of entries
  int entrySize;        // stride
  int combinationSize;  // bytes of the combination at the entry's start
  int numberSize;       // bytes of one horse or bracket number in the combination
  int popularitySize;   // bytes of the popularity rank after the payout
  int payoutSize = 9;

  Field combination(int entry) const { return {position + entry * entrySize, combinationSize}; }
  Field number(int entry, int k) const {
    return {position + entry * entrySize + k * numberSize, numberSize};
  }
  Field payout(int entry) const {
    return {position + entry * entrySize + combinationSize, payoutSize};
  }
  Field popularity(int entry) const {
    return {position + entry * entrySize + combinationSize + payoutSize, popularitySize};
  }
};
inline constexpr PayoutBlockLayout kWin{103, 3, 13, 2, 2, 2};
inline constexpr PayoutBlockLayout kPlace{142, 5, 13, 2, 2, 2};
inline constexpr PayoutBlockLayout kBracketQuinella{207, 3, 13, 2, 1, 2};
inline constexpr PayoutBlockLayout kQuinella{246, 3, 16, 4, 2, 3};
inline constexpr PayoutBlockLayout kQuinellaPlace{294, 7, 16, 4, 2, 3};
inline constexpr PayoutBlockLayout kExacta{454, 6, 16, 4, 2, 3};
inline constexpr PayoutBlockLayout kTrio{550, 3, 18, 6, 2, 3};
}  // namespace hr

// Record kind ("RA", "SE", "HR") and data kind of a record.
inline std::string_view recordKind(std::string_view record) { return head::kRecordKind.in(record); }
inline std::string_view dataKind(std::string_view record) { return head::kDataKind.in(record); }
// The 16-byte race key (positions 12-27).
inline std::string_view raceKey(std::string_view record) { return head::kRaceKey.in(record); }
// The race date yyyymmdd as an integer (positions 12-19); 0 when not numeric.
inline int raceDate(std::string_view record) { return head::kRaceDate.numberIn(record); }

}  // namespace orvalle::store
