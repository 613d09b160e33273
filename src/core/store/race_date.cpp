#include "store/race_date.h"

#include "store/fixed_width.h"

namespace orvalle::store::codes {
namespace {

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;

// Days since 1970-01-01 of a valid date. Years are counted from March so the
// leap day is the last day of a year (H. Hinnant's days-from-civil).
long long dayNumber(int year, int month, int day) {
  const long long y = year - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yearOfEra = y - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// The date yyyymmdd of a day number (the inverse of dayNumber); 0 outside
// the years 1..9999.
int dateOfDayNumber(long long number) {
  number += 719468;
  const long long era = (number >= 0 ? number : number - 146096) / 146097;
  const long long dayOfEra = number - era * 146097;
  const long long yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
  const long long day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const long long month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  if (year < kMinYear || year > kMaxYear) return 0;
  return static_cast<int>(year * 10000 + month * 100 + day);
}

bool isDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

}  // namespace

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && isLeapYear(year)) return 29;
  return kDays[month - 1];
}

bool isValidDate(int year, int month, int day) {
  return year >= kMinYear && year <= kMaxYear && day >= 1 && day <= daysInMonth(year, month);
}

bool isValidDate(int yyyymmdd) {
  if (yyyymmdd <= 0) return false;
  return isValidDate(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
}

int addDays(int yyyymmdd, int days) {
  if (!isValidDate(yyyymmdd)) return 0;
  const long long number = dayNumber(yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
  return dateOfDayNumber(number + days);
}

int daysBetween(int fromYyyymmdd, int toYyyymmdd) {
  if (!isValidDate(fromYyyymmdd) || !isValidDate(toYyyymmdd)) return 0;
  const long long from =
      dayNumber(fromYyyymmdd / 10000, fromYyyymmdd / 100 % 100, fromYyyymmdd % 100);
  const long long to = dayNumber(toYyyymmdd / 10000, toYyyymmdd / 100 % 100, toYyyymmdd % 100);
  // Valid dates are less than 3.7 million days apart: the difference fits.
  return static_cast<int>(to - from);
}

int dateFromText(std::string_view text) {
  text = trim(text);
  if (text.size() != 10 || text[4] != '/' || text[7] != '/') return 0;
  const std::string_view year = text.substr(0, 4);
  const std::string_view month = text.substr(5, 2);
  const std::string_view day = text.substr(8, 2);
  if (!isDigits(year) || !isDigits(month) || !isDigits(day)) return 0;
  const int date = toInt(year) * 10000 + toInt(month) * 100 + toInt(day);
  return isValidDate(date) ? date : 0;
}

std::string dateText(int yyyymmdd) {
  if (!isValidDate(yyyymmdd)) return {};
  return format("%04d/%02d/%02d", yyyymmdd / 10000, yyyymmdd / 100 % 100, yyyymmdd % 100);
}

std::string shiftDate(std::string_view date, int days) {
  return dateText(addDays(dateFromText(date), days));
}

}  // namespace orvalle::store::codes
