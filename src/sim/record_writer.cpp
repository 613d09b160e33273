#include "record_writer.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "name_pools.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::sim {
namespace {

using store::Field;

constexpr std::string_view kFullWidthBlank = "\x81\x40";

// Fields of the records that the system does not read but that JV-Link
// fills; positions as the record layout has them.
namespace ra {
constexpr Field kSpecialNumber{29, 4};
constexpr Field kSubtitle{93, 60};
constexpr Field kBracketText{153, 60};
constexpr Field kTenCharacterName{573, 20};
constexpr Field kNameKind{611, 1};
constexpr Field kGradeBefore{616, 1};
constexpr Field kConditionName{638, 60};
constexpr Field kDistanceBefore{702, 4};
constexpr Field kTrackBefore{708, 2};
constexpr Field kCourseLane{710, 2};
constexpr Field kPrizes{714, 56};  // seven prizes of eight digits
constexpr Field kPrizesBefore{770, 40};
constexpr Field kAddedPrizes{810, 40};  // five added prizes
constexpr Field kAddedBefore{850, 24};
constexpr Field kStartBefore{878, 4};
constexpr Field kLaps{891, 75};  // 25 furlongs of three digits
constexpr Field kJumpMileTime{966, 4};
constexpr Field kFirst3Furlongs{970, 3};
constexpr Field kFirst4Furlongs{973, 3};
constexpr Field kLast3Furlongs{976, 3};
constexpr Field kLast4Furlongs{979, 3};
constexpr int kCornersPosition = 982;  // four corners of 1 + 1 + 70 bytes
constexpr Field kUpdateKind{1270, 1};
}  // namespace ra

namespace se {
constexpr Field kHorseMark{77, 2};
constexpr Field kBreed{80, 1};
constexpr Field kCoat{81, 2};
constexpr Field kRegion{85, 1};
constexpr Field kTrainerCode{86, 5};
constexpr Field kOwnerCode{99, 6};
constexpr Field kOwnerName{105, 64};
constexpr Field kColours{169, 60};
constexpr Field kReserved1{229, 60};
constexpr Field kWeightBefore{292, 3};
constexpr Field kReserved2{296, 1};
constexpr Field kJockeyCode{297, 5};
constexpr Field kJockeyCodeBefore{302, 5};
constexpr Field kJockeyNameBefore{315, 8};
constexpr Field kApprenticeBefore{324, 1};
constexpr Field kDeadHeat{337, 1};
constexpr Field kDeadHeatCount{338, 1};
constexpr Field kMargins{343, 9};
constexpr Field kReserved3{382, 6};
constexpr int kOpponentsPosition = 394;  // three of registration 10 + name 36
constexpr Field kTimeDifference{532, 4};
constexpr Field kUpdateKind{536, 1};
constexpr Field kMining{537, 16};
constexpr Field kStyle{553, 1};
}  // namespace se

namespace hr {
constexpr Field kRegistered{28, 2};
constexpr Field kStarters{30, 2};
constexpr Field kFlags{32, 27};  // not run, special payout, refund: 9 bet types each
constexpr Field kRefundFlags{50, 9};
constexpr Field kRefundedHorses{59, 28};
constexpr Field kRefundedBrackets{87, 8};
constexpr Field kRefundedSameBrackets{95, 8};
constexpr store::hr::PayoutBlockLayout kTrifecta{604, 6, 19, 6, 2, 4};
}  // namespace hr

// A record of blanks ending in CR LF, written field by field.
class Canvas {
 public:
  explicit Canvas(size_t length) : m_bytes(length, ' ') {
    m_bytes[length - 2] = '\r';
    m_bytes[length - 1] = '\n';
  }

  // ASCII text left-aligned, blank-padded.
  void ascii(Field field, std::string_view text) {
    put(field, store::fitWidth(text, static_cast<size_t>(field.length)));
  }
  // Full-width CP932 text padded with "　"; cut at a character boundary.
  void fullWidth(Field field, std::string_view text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
      const size_t step = cp932::isLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
      if (out.size() + step > static_cast<size_t>(field.length) || i + step > text.size()) break;
      out.append(text.substr(i, step));
      i += step;
    }
    while (out.size() + 2 <= static_cast<size_t>(field.length)) out.append(kFullWidthBlank);
    put(field, out);
  }
  // Zero-padded digits; a value too wide for the field is written as nines.
  void number(Field field, long long value) {
    std::string digits = std::to_string(std::max(0LL, value));
    if (static_cast<int>(digits.size()) > field.length)
      digits.assign(static_cast<size_t>(field.length), '9');
    put(field, std::string(static_cast<size_t>(field.length) - digits.size(), '0') + digits);
  }
  void zeros(Field field) { put(field, std::string(static_cast<size_t>(field.length), '0')); }
  void character(Field field, char c) { put(field, std::string(1, c)); }

  const std::string& bytes() const { return m_bytes; }

 private:
  void put(Field field, const std::string& text) {
    m_bytes.replace(static_cast<size_t>(field.position - 1), text.size(), text);
  }
  std::string m_bytes;
};

void writeHead(Canvas& record, std::string_view kind, char dataKind, int creationDate,
               const SimRace& race) {
  record.ascii(store::head::kRecordKind, kind);
  record.character(store::head::kDataKind, dataKind);
  record.number(store::head::kCreationDate, creationDate);
  record.ascii(store::head::kRaceKey, race.key());
}

std::string conditionText(int condition) { return store::format("%03d", condition); }

}  // namespace

std::string SimRace::key() const {
  return store::format("%08d%02d%02d%02d%02d", date, course, meeting, dayOfMeeting, raceNumber);
}

std::string raRecord(const SimRace& race, RecordStage stage, char dataKind, int creationDate) {
  namespace f = store::ra;
  const RacePlan& plan = race.plan;
  const bool results = stage == RecordStage::kResults;
  Canvas record(store::kRaRecordLength);
  writeHead(record, "RA", dataKind, creationDate, race);
  record.number(f::kWeekdayCode, race.weekdayCode);
  record.number(ra::kSpecialNumber, plan.specialNumber);
  record.fullWidth(f::kRaceName, plan.name);
  record.fullWidth(ra::kSubtitle, "");
  record.fullWidth(ra::kBracketText, "");
  record.fullWidth(ra::kTenCharacterName, plan.name);
  record.fullWidth(f::kSixCharacterRaceName, plan.name);
  record.fullWidth(f::kThreeCharacterRaceName, plan.name);
  record.character(ra::kNameKind, '0');
  record.number(f::kGradedRaceRunning, plan.running);
  record.character(f::kGradeCode, plan.grade);
  record.character(ra::kGradeBefore, ' ');
  record.number(f::kRaceTypeCode, plan.raceType);
  record.ascii(f::kRaceSymbolCode, plan.symbol);
  record.character(f::kWeightTypeCode, plan.weightType);
  // Conditions per age: each admitted age carries the race's condition.
  const std::string condition = conditionText(plan.condition);
  const std::string none = "000";
  const int minAge = plan.minAge();
  const int maxAge = plan.maxAge();
  auto forAge = [&](int age) { return age >= minAge && age <= maxAge ? condition : none; };
  record.ascii(f::kConditionCode2yo, plan.isJump() ? none : forAge(2));
  record.ascii(f::kConditionCode3yo, forAge(3));
  record.ascii(f::kConditionCode4yo, forAge(4));
  record.ascii(f::kConditionCode5yoAndUp, forAge(5));
  record.ascii(f::kConditionCodeYoungest, condition);
  record.fullWidth(ra::kConditionName, "");
  record.number(f::kDistance, plan.distance);
  record.zeros(ra::kDistanceBefore);
  record.number(f::kTrackCode, plan.track);
  record.zeros(ra::kTrackBefore);
  record.ascii(ra::kCourseLane, std::string(1, plan.courseLane));
  record.zeros(ra::kPrizes);
  record.number(f::kFirstPrize, plan.firstPrize);
  const std::array<int, 5> shares{100, 40, 25, 15, 10};
  for (int p = 1; p < 5; ++p) {
    record.number({f::kFirstPrize.position + 8 * p, 8},
                  plan.firstPrize * shares[static_cast<size_t>(p)] / 1000 * 10);
  }
  record.zeros(ra::kPrizesBefore);
  record.zeros(ra::kAddedPrizes);
  record.zeros(ra::kAddedBefore);
  if (results) {
    for (int p = 0; p < 5; ++p) {
      record.number({ra::kAddedPrizes.position + 8 * p, 8},
                    race.addedPrizes[static_cast<size_t>(p)]);
    }
  }
  record.number(f::kStartTime, plan.startTime);
  record.zeros(ra::kStartBefore);
  record.number(f::kRegisteredRunners, static_cast<long long>(race.runners.size()));
  record.number(f::kStarters, results ? race.starters : 0);
  record.number(f::kFinishers, results ? race.finishers : 0);
  record.number(f::kWeatherCode, results ? race.weather : 0);
  record.number(f::kTurfGoingCode, results ? race.turfGoing : 0);
  record.number(f::kDirtGoingCode, results ? race.dirtGoing : 0);
  record.zeros(ra::kLaps);
  record.zeros(ra::kJumpMileTime);
  record.zeros(ra::kFirst3Furlongs);
  record.zeros(ra::kFirst4Furlongs);
  record.zeros(ra::kLast3Furlongs);
  record.zeros(ra::kLast4Furlongs);
  if (results && !race.laps.empty()) {
    const auto& laps = race.laps;
    for (size_t i = 0; i < laps.size() && i < 25; ++i) {
      record.number({ra::kLaps.position + 3 * static_cast<int>(i), 3}, laps[i]);
    }
    auto sum = [&laps](size_t from, size_t count) {
      int total = 0;
      for (size_t i = from; i < from + count && i < laps.size(); ++i) total += laps[i];
      return total;
    };
    const size_t n = laps.size();
    record.number(ra::kFirst3Furlongs, sum(0, 3));
    record.number(ra::kFirst4Furlongs, sum(0, 4));
    record.number(ra::kLast3Furlongs, sum(n - 3, 3));
    record.number(ra::kLast4Furlongs, sum(n - 4, 4));
  }
  for (int corner = 0; corner < 4; ++corner) {
    record.ascii({ra::kCornersPosition + 72 * corner, 2}, "00");
  }
  record.character(ra::kUpdateKind, '0');
  return record.bytes();
}

std::string seRecord(const SimRace& race, size_t index, const std::vector<Horse>& horses,
                     RecordStage stage, char dataKind, int creationDate) {
  namespace f = store::se;
  const SimRunner& runner = race.runners.at(index);
  const Horse& horse = horses.at(static_cast<size_t>(runner.horse));
  const Person& trainer = trainers().at(static_cast<size_t>(horse.trainer));
  const Person& jockey = jockeys().at(static_cast<size_t>(runner.jockey));
  const Owner& owner = owners().at(static_cast<size_t>(horse.owner));
  const bool entries = stage == RecordStage::kEntries;
  const bool results = stage == RecordStage::kResults;

  Canvas record(store::kSeRecordLength);
  writeHead(record, "SE", dataKind, creationDate, race);
  record.number(f::kBracket, entries ? 0 : runner.bracket);
  record.number(f::kHorseNumber, entries ? 0 : runner.horseNumber);
  record.ascii(f::kRegistrationNumber, horse.registration);
  record.fullWidth(f::kHorseName, horse.name);
  record.zeros(se::kHorseMark);
  record.number(f::kSexCode, runner.sex);
  record.character(se::kBreed, '1');
  record.number(se::kCoat, horse.coat);
  record.number(f::kAge, runner.age);
  record.number(se::kRegion, trainer.region);
  record.number(se::kTrainerCode, trainer.code);
  record.fullWidth(f::kTrainerShortName, trainer.shortName);
  record.number(se::kOwnerCode, owner.code);
  record.fullWidth(se::kOwnerName, owner.name);
  record.fullWidth(se::kColours, owner.colours);
  record.fullWidth(se::kReserved1, "");
  record.number(f::kWeightCarried, runner.weightCarried);
  record.zeros(se::kWeightBefore);
  record.character(f::kBlinkers, runner.blinkers ? '1' : '0');
  record.character(se::kReserved2, '0');
  record.number(se::kJockeyCode, jockey.code);
  record.zeros(se::kJockeyCodeBefore);
  record.fullWidth(f::kJockeyShortName, jockey.shortName);
  record.fullWidth(se::kJockeyNameBefore, "");
  record.number(f::kApprenticeCode, runner.apprenticeCode);
  record.character(se::kApprenticeBefore, '0');

  // Result fields: zeros until the race is run.
  record.number(f::kAbnormalityCode, results ? runner.abnormality : 0);
  const int position = results ? runner.position : 0;
  record.number(f::kArrivalOrder, position);
  record.number(f::kFinishingPosition, position);
  bool deadHeat = false;
  if (results && position > 0) {
    for (const auto& other : race.runners) {
      deadHeat = deadHeat || (&other != &runner && other.position == position);
    }
  }
  record.character(se::kDeadHeat, deadHeat ? '1' : '0');
  record.character(se::kDeadHeatCount, deadHeat ? '1' : '0');
  record.number(f::kRaceTime, results ? runner.time / 600 * 1000 + runner.time % 600 : 0);
  record.ascii(se::kMargins, "");  // margin codes: blank
  for (int c = 0; c < 4; ++c) {
    record.number({f::kCorner1Position.position + 2 * c, 2},
                  results ? runner.corners[static_cast<size_t>(c)] : 0);
  }
  record.number(f::kWinOdds, results && runner.starter() ? runner.odds : 0);
  record.number(f::kPopularityRank, results && runner.starter() ? runner.popularity : 0);
  record.number(f::kPrizeMoney, results ? runner.prize : 0);
  record.number(f::kAddedPrizeMoney, results ? runner.addedPrize : 0);
  record.zeros(se::kReserved3);
  const bool timed = results && runner.finisher();
  record.number(f::kLast4Furlongs, !results ? 0 : timed ? runner.last4 : 999);
  record.number(f::kLast3Furlongs, !results ? 0 : timed ? runner.last3 : 999);
  if (results) {
    if (!runner.starter()) {
      record.ascii(f::kHorseWeight, "000");
    } else {
      record.number(f::kHorseWeight, runner.horseWeight);
      if (runner.weightChangeKnown) {
        record.character(f::kWeightChangeSign, runner.weightChange > 0   ? '+'
                                               : runner.weightChange < 0 ? '-'
                                                                         : ' ');
        record.number(f::kWeightChange, std::abs(runner.weightChange));
      }
    }
  }

  // The horses it met: the second for a winner, the winner for the others.
  for (int k = 0; k < 3; ++k) {
    const int at = se::kOpponentsPosition + 46 * k;
    record.zeros({at, 10});
    record.fullWidth({at + 10, 36}, "");
  }
  if (timed) {
    int k = 0;
    const int wanted = runner.position == 1 ? 2 : 1;
    for (const auto& other : race.runners) {
      if (&other == &runner || k == 3) continue;
      if (other.position == wanted || (runner.position == 1 && other.position == 1)) {
        const Horse& opponent = horses.at(static_cast<size_t>(other.horse));
        const int at = se::kOpponentsPosition + 46 * k++;
        record.ascii({at, 10}, opponent.registration);
        record.fullWidth({at + 10, 36}, opponent.name);
      }
    }
    record.ascii(se::kTimeDifference, store::format("%c%03d", runner.position == 1 ? '-' : '+',
                                                    std::min(999, runner.timeDiff)));
  } else {
    record.zeros(se::kTimeDifference);
  }
  record.character(se::kUpdateKind, '0');
  record.zeros(se::kMining);
  record.number(se::kStyle, timed ? runner.runningStyle : 0);
  return record.bytes();
}

std::string hrRecord(const SimRace& race, char dataKind, int creationDate) {
  Canvas record(store::kHrRecordLength);
  writeHead(record, "HR", dataKind, creationDate, race);
  record.number(hr::kRegistered, static_cast<long long>(race.runners.size()));
  record.number(hr::kStarters, race.starters);
  record.zeros(hr::kFlags);
  record.zeros(hr::kRefundedHorses);
  record.zeros(hr::kRefundedBrackets);
  record.zeros(hr::kRefundedSameBrackets);

  // Refunds for horses that did not start, and for brackets left empty or
  // with a single starter.
  std::array<int, 9> entered{};
  std::array<int, 9> started{};
  bool refund = false;
  for (const auto& runner : race.runners) {
    ++entered[static_cast<size_t>(runner.bracket)];
    if (runner.starter()) {
      ++started[static_cast<size_t>(runner.bracket)];
    } else {
      refund = true;
      record.character({hr::kRefundedHorses.position + runner.horseNumber - 1, 1}, '1');
    }
  }
  if (refund) record.ascii(hr::kRefundFlags, "111111111");
  for (int b = 1; b <= 8; ++b) {
    if (entered[static_cast<size_t>(b)] > 0 && started[static_cast<size_t>(b)] == 0) {
      record.character({hr::kRefundedBrackets.position + b - 1, 1}, '1');
    }
    if (entered[static_cast<size_t>(b)] >= 2 && started[static_cast<size_t>(b)] <= 1) {
      record.character({hr::kRefundedSameBrackets.position + b - 1, 1}, '1');
    }
  }

  auto writeBlock = [&record](const store::hr::PayoutBlockLayout& layout,
                              const std::vector<PayoutLine>& lines, int numbers) {
    for (size_t e = 0; e < lines.size() && static_cast<int>(e) < layout.entries; ++e) {
      const PayoutLine& line = lines[e];
      const int entry = static_cast<int>(e);
      for (int k = 0; k < numbers; ++k) {
        record.number(layout.number(entry, k), line.numbers[static_cast<size_t>(k)]);
      }
      record.number(layout.payout(entry), line.payout);
      record.number(layout.popularity(entry), line.popularity);
    }
  };
  const RacePayouts& p = race.payouts;
  writeBlock(store::hr::kWin, p.win, 1);
  writeBlock(store::hr::kPlace, p.place, 1);
  if (p.placesPaid == 2 && p.place.size() == 2) {
    record.ascii(store::hr::kPlace.combination(2), "00");
  }
  writeBlock(store::hr::kBracketQuinella, p.bracketQuinella, 2);
  writeBlock(store::hr::kQuinella, p.quinella, 2);
  writeBlock(store::hr::kQuinellaPlace, p.quinellaPlace, 2);
  writeBlock(store::hr::kExacta, p.exacta, 2);
  writeBlock(store::hr::kTrio, p.trio, 3);
  writeBlock(hr::kTrifecta, p.trifecta, 3);
  return record.bytes();
}

}  // namespace orvalle::sim
