#pragma once

namespace orvalle::sim {

// Dates of the racing calendar as day numbers (days since 1970-01-01), so
// that days can be counted and compared; converted to yyyymmdd at the edges.

// The day number of a civil date (proleptic Gregorian).
int dayNumber(int year, int month, int day);
// The day number of a yyyymmdd date; -1 when it is not a valid date.
int dayNumberOfDate(int yyyymmdd);
// The yyyymmdd date of a day number.
int dateOfDayNumber(int days);
// Day of the week of a day number: 0 Sunday ... 6 Saturday.
int weekdayOf(int days);
// Year, month and day of a day number.
int yearOf(int days);
int monthOf(int days);
int dayOfMonthOf(int days);

// The n-th (1-based) weekday `weekday` (0 Sunday ... 6 Saturday) of a month.
int nthWeekdayOfMonth(int year, int month, int weekday, int n);

// True for the Monday holidays on which JRA holds a third race day after the
// weekend: Coming-of-Age Day (2nd Monday of January), Respect-for-the-Aged
// Day (3rd Monday of September) and Sports Day (2nd Monday of October).
bool isRacingHolidayMonday(int days);

}  // namespace orvalle::sim
