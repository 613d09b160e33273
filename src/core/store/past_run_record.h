#pragma once

#include <span>
#include <string>
#include <string_view>

#include "store/record.h"

// The past-run record: one line of a horse's past-run file (past_run_file.h),
// 824 characters, holding the race's conditions, the horse's own result and
// the whole field of the race in finishing order. Every field is copied as
// text from the race's RA record and the runners' SE records.
namespace orvalle::store {

inline constexpr size_t kPastRunLineLength = 824;
inline constexpr size_t kPastRunRecordLength = kPastRunLineLength + 2;
// Runner slots of a race; the field in finishing order has one entry each.
inline constexpr int kRaceRunnerSlots = 18;

// Fields of a past-run record, with the record field each is copied from.
namespace past_run {
inline constexpr Field kRaceKey{1, 16};
inline constexpr Field kDate{1, 8};
inline constexpr Field kDateAndRacecourse{1, 10};
inline constexpr Field kYear{1, 4};      // RA year
inline constexpr Field kMonthDay{5, 4};  // RA month-day
inline constexpr Field kMonth{5, 2};
inline constexpr Field kDay{7, 2};
inline constexpr Field kRacecourseCode{9, 2};        // RA racecourse code
inline constexpr Field kMeeting{11, 2};              // RA meeting
inline constexpr Field kDayOfMeeting{13, 2};         // RA day of meeting
inline constexpr Field kRaceNumber{15, 2};           // RA race number
inline constexpr Field kShortRaceName{17, 6};        // RA three-character race name
inline constexpr Field kGradeCode{23, 1};            // RA grade code
inline constexpr Field kRaceTypeCode{24, 2};         // RA race type code
inline constexpr Field kRaceSymbolCode{26, 3};       // RA race symbol code
inline constexpr Field kWeightTypeCode{29, 1};       // RA weight type code
inline constexpr Field kConditionCode{30, 3};        // RA condition code of the youngest age
inline constexpr Field kFirstPrize{33, 8};           // RA first prize
inline constexpr Field kDistance{41, 4};             // RA distance
inline constexpr Field kTrackCode{45, 2};            // RA track code
inline constexpr Field kRegisteredRunners{47, 2};    // RA registered runners
inline constexpr Field kStarters{49, 2};             // RA starters
inline constexpr Field kFinishers{51, 2};            // RA finishers
inline constexpr Field kTurfGoingCode{53, 1};        // RA turf going code
inline constexpr Field kDirtGoingCode{54, 1};        // RA dirt going code
inline constexpr Field kWeatherCode{55, 1};          // RA weather code
inline constexpr Field kRegistrationNumber{56, 10};  // SE registration number
inline constexpr Field kHorseName{66, 18};           // SE horse name, first 18 bytes
inline constexpr Field kHorseNumber{84, 2};          // SE horse number
inline constexpr Field kBracket{86, 1};              // SE bracket
inline constexpr Field kSexCode{87, 1};              // SE sex code
inline constexpr Field kAge{88, 2};                  // SE age
inline constexpr Field kWeightCarried{90, 3};        // SE weight carried
inline constexpr Field kBlinkers{93, 1};             // SE blinkers
inline constexpr Field kJockeyShortName{94, 8};      // SE jockey short name
inline constexpr Field kApprenticeCode{102, 1};      // SE apprentice code
inline constexpr Field kTrainerShortName{103, 8};    // SE trainer short name
inline constexpr Field kAbnormalityCode{111, 1};     // SE abnormality code
inline constexpr Field kHorseWeight{112, 3};         // SE horse weight
inline constexpr Field kWeightChangeSign{115, 1};    // SE weight change sign
inline constexpr Field kWeightChange{116, 3};        // SE weight change
inline constexpr Field kCorner1Position{119, 2};     // SE corner 1 position
inline constexpr Field kCorner2Position{121, 2};     // SE corner 2 position
inline constexpr Field kCorner3Position{123, 2};     // SE corner 3 position
inline constexpr Field kCorner4Position{125, 2};     // SE corner 4 position
inline constexpr Field kLast4Furlongs{127, 3};       // SE last 4 furlongs
inline constexpr Field kLast3Furlongs{130, 3};       // SE last 3 furlongs
inline constexpr Field kRaceTime{133, 4};            // SE race time
inline constexpr Field kArrivalOrder{137, 2};        // SE arrival order
inline constexpr Field kFinishingPosition{139, 2};   // SE finishing position
inline constexpr Field kPopularityRank{141, 2};      // SE popularity rank
inline constexpr Field kWinOdds{143, 4};             // SE win odds
inline constexpr Field kPrizeMoney{147, 8};          // SE prize money
inline constexpr Field kAddedPrizeMoney{155, 8};     // SE added prize money
// The race's field in finishing order: 18 entries of 35, then 32 blanks.
inline constexpr Field kFieldInFinishingOrder{163, 630};
inline constexpr Field kTrailingBlanks{793, 32};

// An entry of the field in finishing order: horse name (first 18 bytes),
// registration number, race time and weight carried, positions within the
// entry.
namespace entry {
inline constexpr int kSize = 35;
inline constexpr Field kHorseName{1, 18};
inline constexpr Field kRegistrationNumber{19, 10};
inline constexpr Field kRaceTime{29, 4};
inline constexpr Field kWeightCarried{33, 3};
}  // namespace entry

// Entry `index` (0 = the winner's place, 0-17) of the field in finishing
// order. Throws orvalle::Error when the index is out of range.
Field fieldEntry(int index);
}  // namespace past_run

// The 35-character entry of a runner in the field in finishing order (from
// its SE record; an empty slot gives blanks).
std::string fieldEntryOf(std::string_view seRecord);

// The field in finishing order of a race, 630 characters, from its runner
// slots (at most 18 SE records by runner slot; missing slots count as empty).
// Each slot gets a key: its finishing position as the two stored characters
// when that value is 1 or more, else slot index + 18 as "%02d". The strings
// key + entry are sorted ascending (compareCaseInsensitive), so finishers come
// in finishing order, a dead heat ordered by its entries, then the other slots
// in slot order; the entries are written without their keys. Throws
// orvalle::Error when more than 18 slots are given.
std::string fieldInFinishingOrder(std::span<const std::string> raceSlots);

// The past-run record of a runner: the race part from the race's RA record,
// the runner part from the runner's SE record, the field in finishing order
// from the race's runner slots and 32 blanks; always exactly 824 characters.
// Short or damaged records give blanks where their fields are missing; the
// horse name is cut to 18 bytes without splitting a two-byte character. Whether
// the race is final (data kind "7") is the caller's test. Throws
// orvalle::Error when more than 18 slots are given.
std::string composePastRunLine(std::string_view raRecord, std::string_view seRecord,
                               std::span<const std::string> raceSlots);

}  // namespace orvalle::store
