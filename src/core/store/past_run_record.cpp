#include "store/past_run_record.h"

#include <algorithm>
#include <vector>

#include "store/error.h"
#include "store/fixed_width.h"
#include "store/text_file.h"

namespace orvalle::store {
namespace {

enum class Source { kRa, kSe };

// A field of the past-run record and the record field it is copied from.
struct FieldCopy {
  Field target;
  Source source;
  Field from;
};

// The race part and the runner part, in the order of the record.
constexpr FieldCopy kCopies[] = {
    {past_run::kYear, Source::kRa, head::kYear},
    {past_run::kMonthDay, Source::kRa, head::kMonthDay},
    {past_run::kRacecourseCode, Source::kRa, head::kRacecourseCode},
    {past_run::kMeeting, Source::kRa, head::kMeeting},
    {past_run::kDayOfMeeting, Source::kRa, head::kDayOfMeeting},
    {past_run::kRaceNumber, Source::kRa, head::kRaceNumber},
    {past_run::kShortRaceName, Source::kRa, ra::kThreeCharacterRaceName},
    {past_run::kGradeCode, Source::kRa, ra::kGradeCode},
    {past_run::kRaceTypeCode, Source::kRa, ra::kRaceTypeCode},
    {past_run::kRaceSymbolCode, Source::kRa, ra::kRaceSymbolCode},
    {past_run::kWeightTypeCode, Source::kRa, ra::kWeightTypeCode},
    {past_run::kConditionCode, Source::kRa, ra::kConditionCodeYoungest},
    {past_run::kFirstPrize, Source::kRa, ra::kFirstPrize},
    {past_run::kDistance, Source::kRa, ra::kDistance},
    {past_run::kTrackCode, Source::kRa, ra::kTrackCode},
    {past_run::kRegisteredRunners, Source::kRa, ra::kRegisteredRunners},
    {past_run::kStarters, Source::kRa, ra::kStarters},
    {past_run::kFinishers, Source::kRa, ra::kFinishers},
    {past_run::kTurfGoingCode, Source::kRa, ra::kTurfGoingCode},
    {past_run::kDirtGoingCode, Source::kRa, ra::kDirtGoingCode},
    {past_run::kWeatherCode, Source::kRa, ra::kWeatherCode},
    {past_run::kRegistrationNumber, Source::kSe, se::kRegistrationNumber},
    {past_run::kHorseName, Source::kSe, se::kHorseName},
    {past_run::kHorseNumber, Source::kSe, se::kHorseNumber},
    {past_run::kBracket, Source::kSe, se::kBracket},
    {past_run::kSexCode, Source::kSe, se::kSexCode},
    {past_run::kAge, Source::kSe, se::kAge},
    {past_run::kWeightCarried, Source::kSe, se::kWeightCarried},
    {past_run::kBlinkers, Source::kSe, se::kBlinkers},
    {past_run::kJockeyShortName, Source::kSe, se::kJockeyShortName},
    {past_run::kApprenticeCode, Source::kSe, se::kApprenticeCode},
    {past_run::kTrainerShortName, Source::kSe, se::kTrainerShortName},
    {past_run::kAbnormalityCode, Source::kSe, se::kAbnormalityCode},
    {past_run::kHorseWeight, Source::kSe, se::kHorseWeight},
    {past_run::kWeightChangeSign, Source::kSe, se::kWeightChangeSign},
    {past_run::kWeightChange, Source::kSe, se::kWeightChange},
    {past_run::kCorner1Position, Source::kSe, se::kCorner1Position},
    {past_run::kCorner2Position, Source::kSe, se::kCorner2Position},
    {past_run::kCorner3Position, Source::kSe, se::kCorner3Position},
    {past_run::kCorner4Position, Source::kSe, se::kCorner4Position},
    {past_run::kLast4Furlongs, Source::kSe, se::kLast4Furlongs},
    {past_run::kLast3Furlongs, Source::kSe, se::kLast3Furlongs},
    {past_run::kRaceTime, Source::kSe, se::kRaceTime},
    {past_run::kArrivalOrder, Source::kSe, se::kArrivalOrder},
    {past_run::kFinishingPosition, Source::kSe, se::kFinishingPosition},
    {past_run::kPopularityRank, Source::kSe, se::kPopularityRank},
    {past_run::kWinOdds, Source::kSe, se::kWinOdds},
    {past_run::kPrizeMoney, Source::kSe, se::kPrizeMoney},
    {past_run::kAddedPrizeMoney, Source::kSe, se::kAddedPrizeMoney},
};

// The copies fill positions 1 to 162 without gap or overlap, each from a
// source field of its own width, except the horse name, which keeps the first
// 18 bytes of its 36.
constexpr bool copiesTileTheRecordPart() {
  int next = 1;
  for (const FieldCopy& copy : kCopies) {
    if (copy.target.position != next) return false;
    bool cut = copy.target.position == past_run::kHorseName.position;
    if (!cut && copy.target.length != copy.from.length) return false;
    next += copy.target.length;
  }
  return next == past_run::kFieldInFinishingOrder.position;
}
static_assert(copiesTileTheRecordPart());
static_assert(past_run::kFieldInFinishingOrder.length == kRaceRunnerSlots * past_run::entry::kSize);
static_assert(past_run::kTrailingBlanks.position ==
              past_run::kFieldInFinishingOrder.position + past_run::kFieldInFinishingOrder.length);
static_assert(past_run::kTrailingBlanks.position + past_run::kTrailingBlanks.length - 1 ==
              static_cast<int>(kPastRunLineLength));

// A field copied as it stands; a field cut shorter keeps whole characters,
// and a short source record gives blanks.
std::string copied(std::string_view record, Field from, Field target) {
  auto width = static_cast<size_t>(target.length);
  if (from.length != target.length) return fitWidth(from.in(record), width);
  std::string value(from.in(record));
  value.resize(width, ' ');
  return value;
}

void checkSlotCount(std::span<const std::string> raceSlots) {
  if (raceSlots.size() > static_cast<size_t>(kRaceRunnerSlots)) {
    throw Error(format("出走枠の数が範囲外です: %zu", raceSlots.size()));
  }
}

}  // namespace

Field past_run::fieldEntry(int index) {
  if (index < 0 || index >= kRaceRunnerSlots) {
    throw Error(format("着順欄の番号が範囲外です: %d", index));
  }
  return {kFieldInFinishingOrder.position + index * entry::kSize, entry::kSize};
}

std::string fieldEntryOf(std::string_view seRecord) {
  std::string entry;
  entry.reserve(past_run::entry::kSize);
  entry += copied(seRecord, se::kHorseName, past_run::entry::kHorseName);
  entry += copied(seRecord, se::kRegistrationNumber, past_run::entry::kRegistrationNumber);
  entry += copied(seRecord, se::kRaceTime, past_run::entry::kRaceTime);
  entry += copied(seRecord, se::kWeightCarried, past_run::entry::kWeightCarried);
  return entry;
}

std::string fieldInFinishingOrder(std::span<const std::string> raceSlots) {
  checkSlotCount(raceSlots);
  std::vector<std::string> keyed;
  keyed.reserve(kRaceRunnerSlots);
  for (int slot = 0; slot < kRaceRunnerSlots; ++slot) {
    auto index = static_cast<size_t>(slot);
    std::string_view record = index < raceSlots.size() ? std::string_view(raceSlots[index]) : "";
    // Finishers are keyed by their position as stored, the others by slot
    // index + 18, which sorts them after every finisher in slot order.
    std::string key = se::kFinishingPosition.numberIn(record) >= 1
                          ? copied(record, se::kFinishingPosition, {1, 2})
                          : format("%02d", slot + kRaceRunnerSlots);
    keyed.push_back(key + fieldEntryOf(record));
  }
  // Whole strings are compared, so runners with the same position (a dead
  // heat) are ordered by their entries.
  std::stable_sort(keyed.begin(), keyed.end(), CaseInsensitiveLess());

  std::string field;
  field.reserve(static_cast<size_t>(past_run::kFieldInFinishingOrder.length));
  for (const std::string& entry : keyed) field.append(entry, 2);
  return field;
}

std::string composePastRunLine(std::string_view raRecord, std::string_view seRecord,
                               std::span<const std::string> raceSlots) {
  std::string line;
  line.reserve(kPastRunLineLength);
  for (const FieldCopy& copy : kCopies) {
    line += copied(copy.source == Source::kRa ? raRecord : seRecord, copy.from, copy.target);
  }
  line += fieldInFinishingOrder(raceSlots);
  line.append(static_cast<size_t>(past_run::kTrailingBlanks.length), ' ');
  return line;
}

}  // namespace orvalle::store
