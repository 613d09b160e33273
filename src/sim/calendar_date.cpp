#include "calendar_date.h"

namespace orvalle::sim {
namespace {

struct Civil {
  int year;
  int month;
  int day;
};

Civil civilOf(int days) {
  // Days to civil date, after H. Hinnant's algorithm (era of 400 years).
  const int z = days + 719468;
  const int era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = z - era * 146097;
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  const int day = doy - (153 * mp + 2) / 5 + 1;
  const int month = mp < 10 ? mp + 3 : mp - 9;
  return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace

int dayNumber(int year, int month, int day) {
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int dayNumberOfDate(int yyyymmdd) {
  const int year = yyyymmdd / 10000;
  const int month = yyyymmdd / 100 % 100;
  const int day = yyyymmdd % 100;
  if (year < 1900 || year > 2999 || month < 1 || month > 12 || day < 1 || day > 31) return -1;
  const int days = dayNumber(year, month, day);
  return dateOfDayNumber(days) == yyyymmdd ? days : -1;
}

int dateOfDayNumber(int days) {
  const Civil c = civilOf(days);
  return c.year * 10000 + c.month * 100 + c.day;
}

int weekdayOf(int days) { return ((days % 7) + 11) % 7; }

int yearOf(int days) { return civilOf(days).year; }
int monthOf(int days) { return civilOf(days).month; }
int dayOfMonthOf(int days) { return civilOf(days).day; }

int nthWeekdayOfMonth(int year, int month, int weekday, int n) {
  const int first = dayNumber(year, month, 1);
  const int offset = (weekday - weekdayOf(first) + 7) % 7;
  return first + offset + (n - 1) * 7;
}

bool isRacingHolidayMonday(int days) {
  if (weekdayOf(days) != 1) return false;
  const int year = yearOf(days);
  return days == nthWeekdayOfMonth(year, 1, 1, 2) || days == nthWeekdayOfMonth(year, 9, 1, 3) ||
         days == nthWeekdayOfMonth(year, 10, 1, 2);
}

}  // namespace orvalle::sim
