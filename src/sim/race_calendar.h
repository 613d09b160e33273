#pragma once

#include <vector>

namespace orvalle::sim {

// One racecourse's meeting on a race day: racecourse code 1-10, meeting
// number (回) within the year and day of the meeting (日目).
struct Meeting {
  int course = 0;
  int meeting = 0;
  int dayOfMeeting = 0;
};

// A race day of the simulated calendar.
struct RaceDay {
  int day = 0;                    // day number (calendar_date.h)
  int date = 0;                   // yyyymmdd
  int weekdayCode = 0;            // 1 Saturday, 2 Sunday, 3 holiday Monday
  int period = 0;                 // 0-11: the four- or five-weekend block of the year
  int weekend = 0;                // weekend within the period, 0-based
  int dayInWeekend = 0;           // 0 Saturday, 1 Sunday, 2 Monday
  std::vector<Meeting> meetings;  // two or three racecourses
};

// The first `count` race days on or after `startDate` (yyyymmdd). Each year
// races on the weekends from early January to the end of December and on
// three holiday Mondays; the year is split into twelve periods of four or
// five weekends, each with its pairing of racecourses (Nakayama with Kyoto
// and Kokura in January, Tokyo with Kyoto and Niigata in May, the summer
// courses in July and August ...). Meetings and their days are numbered per
// racecourse from the start of each year, also when `startDate` falls inside
// a meeting. Throws orvalle::Error when startDate is not a date or count is
// not in 1..20000.
std::vector<RaceDay> buildRaceDays(int startDate, int count);

// The racecourses of a period, main course first.
const std::vector<int>& periodCourses(int period);

}  // namespace orvalle::sim
