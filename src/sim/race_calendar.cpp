#include "race_calendar.h"

#include <array>

#include "calendar_date.h"
#include "store/error.h"
#include "store/fixed_width.h"

namespace orvalle::sim {
namespace {

constexpr int kPeriods = 12;

// Periods that get a fifth weekend, in this order, when the year has more
// than 48 racing weekends.
constexpr std::array<int, 4> kLongPeriods{1, 4, 9, 11};

// The race days of one year.
std::vector<RaceDay> yearRaceDays(int year) {
  std::vector<int> saturdays;
  const int last = dayNumber(year, 12, 28);
  for (int day = nthWeekdayOfMonth(year, 1, 6, 1); day + 1 <= last; day += 7) {
    if (day >= dayNumber(year, 1, 4)) saturdays.push_back(day);
  }
  std::array<int, kPeriods> weekends{};
  weekends.fill(4);
  for (int i = 0, extra = static_cast<int>(saturdays.size()) - 4 * kPeriods;
       extra > 0 && i < static_cast<int>(kLongPeriods.size()); ++i, --extra) {
    ++weekends[static_cast<size_t>(kLongPeriods[static_cast<size_t>(i)])];
  }

  std::vector<RaceDay> days;
  std::array<int, 11> meetingOfCourse{};
  size_t saturday = 0;
  for (int period = 0; period < kPeriods && saturday < saturdays.size(); ++period) {
    const auto& courses = periodCourses(period);
    std::array<int, 11> dayOfMeeting{};
    for (int course : courses) ++meetingOfCourse[static_cast<size_t>(course)];
    for (int weekend = 0;
         weekend < weekends[static_cast<size_t>(period)] && saturday < saturdays.size();
         ++weekend, ++saturday) {
      const int sat = saturdays[saturday];
      const int count = isRacingHolidayMonday(sat + 2) ? 3 : 2;
      for (int k = 0; k < count; ++k) {
        RaceDay raceDay;
        raceDay.day = sat + k;
        raceDay.date = dateOfDayNumber(raceDay.day);
        raceDay.weekdayCode = k + 1;
        raceDay.period = period;
        raceDay.weekend = weekend;
        raceDay.dayInWeekend = k;
        for (int course : courses) {
          raceDay.meetings.push_back({course, meetingOfCourse[static_cast<size_t>(course)],
                                      ++dayOfMeeting[static_cast<size_t>(course)]});
        }
        days.push_back(std::move(raceDay));
      }
    }
  }
  return days;
}

}  // namespace

const std::vector<int>& periodCourses(int period) {
  // Racecourse codes: 01 Sapporo, 02 Hakodate, 03 Fukushima, 04 Niigata,
  // 05 Tokyo, 06 Nakayama, 07 Chukyo, 08 Kyoto, 09 Hanshin, 10 Kokura.
  static const std::array<std::vector<int>, kPeriods> kCourses{{
      {6, 8, 10},  // January
      {5, 8, 10},  // February
      {6, 9, 7},   // March
      {6, 9, 3},   // April
      {5, 8, 4},   // May
      {5, 9, 2},   // June
      {3, 7, 2},   // July
      {4, 10, 1},  // August
      {6, 9},      // September
      {5, 8, 4},   // October
      {5, 8, 3},   // November
      {6, 9, 7},   // December
  }};
  return kCourses.at(static_cast<size_t>(period));
}

std::vector<RaceDay> buildRaceDays(int startDate, int count) {
  const int start = dayNumberOfDate(startDate);
  if (start < 0) throw Error(store::format("開始日が日付ではありません: %d", startDate));
  if (count < 1 || count > 20000) {
    throw Error(store::format("開催日数は1から20000までです: %d", count));
  }
  std::vector<RaceDay> result;
  for (int year = yearOf(start); static_cast<int>(result.size()) < count; ++year) {
    for (auto& raceDay : yearRaceDays(year)) {
      if (raceDay.day < start) continue;
      result.push_back(std::move(raceDay));
      if (static_cast<int>(result.size()) == count) break;
    }
  }
  return result;
}

}  // namespace orvalle::sim
