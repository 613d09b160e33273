#include "app/race_header_report.h"

#include <algorithm>
#include <iterator>

#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::app {
namespace {

bool isCalendarDate(int yyyymmdd) {
  const int month = yyyymmdd / 100 % 100;
  const int day = yyyymmdd % 100;
  return yyyymmdd >= 10000101 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

}  // namespace

std::string_view trimmedText(std::string_view text) {
  size_t first = std::string_view::npos;
  size_t end = 0;
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const size_t width = cp932::isLeadByte(byte) && i + 1 < text.size() ? 2 : 1;
    const bool blank =
        (width == 1 && byte <= ' ') ||
        (width == 2 && byte == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x40);
    if (!blank) {
      if (first == std::string_view::npos) first = i;
      end = i + width;
    }
    i += width;
  }
  return first == std::string_view::npos ? std::string_view() : text.substr(first, end - first);
}

std::string decodedText(std::string_view cp932Text) {
  return cp932::toUtf8(trimmedText(cp932Text));
}

std::string isoDate(int yyyymmdd) {
  return store::format("%04d-%02d-%02d", yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
}

RaceHeaderReport raceHeaderReport(std::string_view race) {
  namespace head = store::head;
  namespace ra = store::ra;
  namespace codes = store::codes;
  RaceHeaderReport header;
  const auto lines = model::raceHeaderLines(race);
  for (size_t i = 0; i < lines.size(); ++i) header.lines[i] = cp932::toUtf8(lines[i]);

  if (const int date = store::raceDate(race); isCalendarDate(date)) header.date = isoDate(date);
  header.weekday = decodedText(codes::weekdayName(ra::kWeekdayCode.in(race), 1));
  header.racecourse = decodedText(codes::racecourseName(head::kRacecourseCode.in(race), 2));
  header.meeting = head::kMeeting.numberIn(race);
  header.dayOfMeeting = head::kDayOfMeeting.numberIn(race);
  header.raceNumber = head::kRaceNumber.numberIn(race);
  const std::string_view hhmm = ra::kStartTime.in(race);
  if (!store::isBlank(hhmm) && store::toInt(hhmm) > 0) {
    header.startTime = std::string(hhmm.substr(0, 2)) + ":" + std::string(hhmm.substr(2));
  }
  header.gradedRunning = std::max(ra::kGradedRaceRunning.numberIn(race), 0);
  header.name = decodedText(ra::kRaceName.in(race));
  header.runners = std::max(ra::kRegisteredRunners.numberIn(race), 0);
  header.distance = std::max(ra::kDistance.numberIn(race), 0);
  header.track = decodedText(codes::trackName(ra::kTrackCode.in(race)));
  header.grade = decodedText(codes::gradeName(ra::kGradeCode.in(race), 2));
  header.raceType = decodedText(codes::raceTypeName(ra::kRaceTypeCode.in(race), 8));
  header.raceSymbols = decodedText(codes::raceSymbolName(ra::kRaceSymbolCode.in(race)));
  header.weightType = decodedText(codes::weightTypeName(ra::kWeightTypeCode.in(race)));

  static const char* const kAges[] = {"2歳", "3歳", "4歳", "5歳以上"};
  const store::Field conditions[] = {ra::kConditionCode2yo, ra::kConditionCode3yo,
                                     ra::kConditionCode4yo, ra::kConditionCode5yoAndUp};
  for (size_t i = 0; i < std::size(conditions); ++i) {
    std::string condition = decodedText(codes::conditionName(conditions[i].in(race)));
    if (!condition.empty()) header.conditions.push_back({kAges[i], std::move(condition)});
  }
  return header;
}

}  // namespace orvalle::app
