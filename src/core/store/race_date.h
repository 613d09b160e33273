#pragma once

#include <string>
#include <string_view>

// Calendar dates of the proleptic Gregorian calendar, as the integer yyyymmdd
// (the race date of a record) or as the text "yyyy/mm/dd" (the system's
// short date form). Years run from 1 to 9999; nothing else is a date here.
namespace orvalle::store::codes {

// True for a leap year of the Gregorian calendar.
constexpr bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Number of days of a month (1-12) of a year; 0 for a month outside 1..12.
int daysInMonth(int year, int month);

// True when year 1..9999, month 1..12 and day 1..daysInMonth make a date.
bool isValidDate(int year, int month, int day);
bool isValidDate(int yyyymmdd);

// The date `days` days after a date (before it when negative), with months
// and leap years counted. 0 when the date is not valid or the result falls
// outside the years 1..9999.
int addDays(int yyyymmdd, int days);

// Days from the first date to the second (negative when the second is
// earlier). 0 when either is not a valid date.
int daysBetween(int fromYyyymmdd, int toYyyymmdd);

// The date of a text "yyyy/mm/dd" (ASCII blanks around it are ignored) as
// yyyymmdd; 0 when the text is blank or not a valid date in that form.
int dateFromText(std::string_view text);

// The text "yyyy/mm/dd" of a date; the empty text when it is not valid.
std::string dateText(int yyyymmdd);

// The date text "yyyy/mm/dd" `days` days after the date text (before it when
// negative). A blank, malformed or invalid date, or a result outside the
// years 1..9999, gives the empty text.
std::string shiftDate(std::string_view date, int days);

}  // namespace orvalle::store::codes
