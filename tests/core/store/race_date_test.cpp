#include "store/race_date.h"

#include <gtest/gtest.h>

#include <climits>

namespace orvalle::store::codes {
namespace {

TEST(RaceDateTest, ShiftDateAcrossBoundaries) {
  struct Case {
    std::string date;
    int days;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"2024/01/06", 0, "2024/01/06"},
      {"2024/01/31", 1, "2024/02/01"},
      {"2024/02/28", 1, "2024/02/29"},  // leap year
      {"2023/02/28", 1, "2023/03/01"},
      {"2024/03/01", -1, "2024/02/29"},
      {"2100/03/01", -1, "2100/02/28"},  // century, not a leap year
      {"2000/03/01", -1, "2000/02/29"},  // fourth century, a leap year
      {"2023/12/31", 1, "2024/01/01"},
      {"2024/01/01", -1, "2023/12/31"},
      {"2024/01/06", -1826, "2019/01/06"},  // the default past-run period
      {"2024/01/06", -365, "2023/01/06"},
      {"2024/02/29", 365, "2025/02/28"},
      {" 2024/01/06 ", 1, "2024/01/07"},
      // Blank, malformed and invalid dates, and results outside 1..9999.
      {"", 1, ""},
      {"          ", -1826, ""},
      {"2024-01-06", 1, ""},
      {"2024/1/6", 1, ""},
      {"2024/13/01", 1, ""},
      {"2023/02/29", 1, ""},
      {"2024/00/10", 1, ""},
      {"20a4/01/06", 1, ""},
      {"2024/01/0", 1, ""},
      {"0001/01/01", -1, ""},
      {"9999/12/31", 1, ""},
      {"2024/01/06", INT_MAX, ""},
      {"2024/01/06", INT_MIN, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(shiftDate(c.date, c.days), c.expected) << "'" << c.date << "' " << c.days;
  }
}

TEST(RaceDateTest, IntegerDates) {
  EXPECT_EQ(addDays(20240228, 2), 20240301);
  EXPECT_EQ(addDays(20240301, -366), 20230301);
  EXPECT_EQ(addDays(19991231, 1), 20000101);
  EXPECT_EQ(addDays(20240230, 1), 0);
  EXPECT_EQ(addDays(0, 1), 0);
  EXPECT_EQ(daysBetween(20230106, 20240106), 365);
  EXPECT_EQ(daysBetween(20240106, 20250106), 366);
  EXPECT_EQ(daysBetween(20240106, 20230106), -365);
  EXPECT_EQ(daysBetween(20240106, 2024010), 0);
  EXPECT_TRUE(isValidDate(20240229));
  EXPECT_FALSE(isValidDate(20230229));
  EXPECT_FALSE(isValidDate(20241301));
  EXPECT_FALSE(isValidDate(-20240101));
  EXPECT_EQ(daysInMonth(1900, 2), 28);
  EXPECT_EQ(daysInMonth(2024, 0), 0);
  EXPECT_EQ(dateFromText("2024/01/06"), 20240106);
  EXPECT_EQ(dateText(20240106), "2024/01/06");
  EXPECT_EQ(dateText(20240132), "");
}

// Day-by-day stepping agrees with the month lengths over four centuries.
TEST(RaceDateTest, StepsThroughEveryDay) {
  int date = 18991231;
  int steps = 0;
  for (int year = 1900; year <= 2299; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= daysInMonth(year, month); ++day) {
        date = addDays(date, 1);
        ++steps;
        ASSERT_EQ(date, year * 10000 + month * 100 + day);
      }
    }
  }
  EXPECT_EQ(steps, 146097);  // days in 400 Gregorian years
  EXPECT_EQ(addDays(18991231, steps), date);
  EXPECT_EQ(daysBetween(18991231, date), steps);
}

}  // namespace
}  // namespace orvalle::store::codes
