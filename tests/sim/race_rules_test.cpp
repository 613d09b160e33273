#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "sim/calendar_date.h"
#include "sim/payouts.h"
#include "sim/race_calendar.h"
#include "sim/race_field.h"
#include "sim/record_writer.h"
#include "sim/simulator.h"
#include "sim_test_support.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::sim {
namespace {

TEST(RaceCalendarTest, WeekendsHolidayMondaysAndMeetingDays) {
  // January 2021: Saturday 9, Sunday 10, Coming-of-Age Monday 11, then 16, 17.
  const auto days = buildRaceDays(20210101, 5);
  const int dates[] = {20210109, 20210110, 20210111, 20210116, 20210117};
  const int weekdays[] = {1, 2, 3, 1, 2};
  for (size_t i = 0; i < days.size(); ++i) {
    EXPECT_EQ(days[i].date, dates[i]);
    EXPECT_EQ(days[i].weekdayCode, weekdays[i]);
    ASSERT_EQ(days[i].meetings.size(), 3u);
    EXPECT_EQ(days[i].meetings[0].course, 6);  // Nakayama
    EXPECT_EQ(days[i].meetings[0].meeting, 1);
    EXPECT_EQ(days[i].meetings[0].dayOfMeeting, static_cast<int>(i) + 1);
  }
  // Starting inside a meeting keeps its numbering.
  const auto later = buildRaceDays(20210116, 1);
  EXPECT_EQ(later[0].meetings[0].dayOfMeeting, 4);
}

TEST(RaceCalendarTest, MeetingsAreNumberedPerRacecourseThroughTheYear) {
  const auto days = buildRaceDays(20220101, 106);
  std::map<int, int> lastMeeting;
  for (const auto& day : days) {
    EXPECT_TRUE(day.meetings.size() == 2 || day.meetings.size() == 3) << day.date;
    EXPECT_GE(weekdayOf(dayNumberOfDate(day.date)) == 6   ? 1
              : weekdayOf(dayNumberOfDate(day.date)) == 0 ? 2
                                                          : 3,
              day.weekdayCode);
    for (const auto& m : day.meetings) {
      if (day.date / 10000 != 2022) continue;
      EXPECT_GE(m.meeting, lastMeeting[m.course]) << day.date;
      EXPECT_LE(m.meeting, lastMeeting[m.course] + 1) << day.date;
      lastMeeting[m.course] = m.meeting;
      EXPECT_GE(m.dayOfMeeting, 1);
      EXPECT_LE(m.dayOfMeeting, 12);
    }
  }
  EXPECT_EQ(lastMeeting[5], 5);  // Tokyo and Nakayama hold five meetings a year
  EXPECT_EQ(lastMeeting[6], 5);
}

TEST(RaceCalendarTest, TheDefaultFiveYearsEndBefore2026) {
  const auto days = buildRaceDays(kDefaultStartDate, 520);
  ASSERT_EQ(days.size(), 520u);
  EXPECT_EQ(days.front().date / 10000, 2021);
  EXPECT_GE(days.back().date, 20250901);
  EXPECT_LT(days.back().date, 20260101);
}

TEST(RaceCalendarTest, RejectsBadArguments) {
  EXPECT_THROW(buildRaceDays(20210229, 1), Error);
  EXPECT_THROW(buildRaceDays(20211301, 1), Error);
  EXPECT_THROW(buildRaceDays(20210101, 0), Error);
  EXPECT_EQ(dayNumberOfDate(20240229), dayNumber(2024, 2, 29));
  EXPECT_EQ(dateOfDayNumber(dayNumber(1999, 12, 31) + 1), 20000101);
}

TEST(BracketTest, BracketsAsJraDrawsThem) {
  struct Case {
    int runners;
    std::vector<int> brackets;  // by horse number
  };
  const Case cases[] = {
      {5, {1, 2, 3, 4, 5}},
      {8, {1, 2, 3, 4, 5, 6, 7, 8}},
      {9, {1, 2, 3, 4, 5, 6, 7, 8, 8}},
      {12, {1, 2, 3, 4, 5, 5, 6, 6, 7, 7, 8, 8}},
      {16, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8}},
      {17, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 8}},
      {18, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 7, 8, 8, 8}},
  };
  for (const auto& c : cases) {
    for (int h = 1; h <= c.runners; ++h) {
      EXPECT_EQ(bracketOf(h, c.runners), c.brackets[static_cast<size_t>(h - 1)])
          << c.runners << " runners, horse " << h;
    }
  }
}

// A race of `runners` horses, finished in horse-number order unless
// `positions` says otherwise (0 = scratched), win chances falling with the
// horse number.
SimRace raceOf(int runners, std::vector<int> positions = {}) {
  SimRace race;
  race.date = 20230826;
  race.course = 1;
  race.meeting = 2;
  race.dayOfMeeting = 5;
  race.raceNumber = 11;
  race.weekdayCode = 1;
  race.plan.raceType = 13;
  race.plan.condition = kOneWin;
  race.plan.symbol = "A03";
  race.plan.distance = 1200;
  race.plan.track = 17;
  race.plan.courseLane = 'C';
  race.plan.firstPrize = 55000;
  race.plan.startTime = 950;
  double total = 0;
  for (int h = 1; h <= runners; ++h) total += 1.0 / h;
  for (int h = 1; h <= runners; ++h) {
    SimRunner runner;
    runner.horse = h - 1;
    runner.horseNumber = h;
    runner.bracket = bracketOf(h, runners);
    runner.age = 2;
    runner.weightCarried = 540;
    runner.position = positions.empty() ? h : positions[static_cast<size_t>(h - 1)];
    if (runner.position == 0) runner.abnormality = kScratched;
    runner.probability = runner.abnormality == 0 ? 1.0 / h / total : 0;
    runner.odds = runner.abnormality == 0 ? static_cast<int>(8.0 / runner.probability) : 0;
    runner.popularity = runner.abnormality == 0 ? h : 0;
    runner.time = 700 + runner.position;
    race.runners.push_back(runner);
  }
  for (const auto& r : race.runners) race.starters += r.starter() ? 1 : 0;
  race.finishers = race.starters;
  return race;
}

std::vector<std::array<int, 3>> combos(const std::vector<PayoutLine>& lines) {
  std::vector<std::array<int, 3>> result;
  for (const auto& line : lines) result.push_back(line.numbers);
  return result;
}

TEST(PayoutsTest, SmallFieldPaysTwoPlacesAndNoBracketQuinella) {
  // Eight entered, one scratched: seven starters.
  SimRace race = raceOf(8, {1, 2, 3, 0, 4, 5, 6, 7});
  Rng rng(1);
  const RacePayouts payouts = computePayouts(race, rng);
  EXPECT_EQ(payouts.placesPaid, 2);
  EXPECT_EQ(combos(payouts.place), (std::vector<std::array<int, 3>>{{1, 0, 0}, {2, 0, 0}}));
  EXPECT_TRUE(payouts.bracketQuinella.empty());
  EXPECT_EQ(combos(payouts.trio), (std::vector<std::array<int, 3>>{{1, 2, 3}}));
  EXPECT_EQ(payouts.win.at(0).payout, race.runners[0].odds * 10);
}

TEST(PayoutsTest, DeadHeatsAddEntries) {
  struct Case {
    const char* name;
    std::vector<int> positions;
    size_t win, place, quinella, quinellaPlace, exacta, trio;
  };
  const Case cases[] = {
      {"first", {1, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 2, 3, 1, 3, 2, 1},
      {"second", {1, 2, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 1, 3, 2, 3, 2, 1},
      {"third", {1, 2, 3, 3, 5, 6, 7, 8, 9, 10, 11, 12}, 1, 4, 1, 5, 1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimRace race = raceOf(12, c.positions);
    Rng rng(2);
    const RacePayouts p = computePayouts(race, rng);
    EXPECT_EQ(p.win.size(), c.win);
    EXPECT_EQ(p.place.size(), c.place);
    EXPECT_EQ(p.quinella.size(), c.quinella);
    EXPECT_EQ(p.quinellaPlace.size(), c.quinellaPlace);
    EXPECT_EQ(p.exacta.size(), c.exacta);
    EXPECT_EQ(p.trio.size(), c.trio);
    for (const auto* lines :
         {&p.win, &p.place, &p.quinella, &p.quinellaPlace, &p.exacta, &p.trio}) {
      for (const auto& line : *lines) {
        EXPECT_GE(line.payout, 100);
        EXPECT_GE(line.popularity, 1);
      }
    }
  }
  // In a dead heat for first both orders of the two winners pay as exacta.
  SimRace race = raceOf(12, cases[0].positions);
  Rng rng(3);
  EXPECT_EQ(combos(computePayouts(race, rng).exacta),
            (std::vector<std::array<int, 3>>{{1, 2, 0}, {2, 1, 0}}));
}

TEST(PayoutsTest, PopularityFollowsTheChances) {
  SimRace race = raceOf(16);
  Rng rng(4);
  const RacePayouts p = computePayouts(race, rng);
  // Horses 1 and 2 are the two favourites: their pair is the most popular.
  EXPECT_EQ(p.quinella.at(0).popularity, 1);
  EXPECT_EQ(p.exacta.at(0).popularity, 1);
  EXPECT_EQ(p.trio.at(0).popularity, 1);
  EXPECT_EQ(p.place.at(2).popularity, 3);
  EXPECT_LT(p.quinella.at(0).payout, 2000);
}

// Byte classes of a record (digit, ASCII blank or other), to compare the
// layout of a simulated record with a real one whatever the values.
std::string classes(std::string_view record) {
  std::string out;
  for (char c : record)
    out += std::isdigit(static_cast<unsigned char>(c)) ? 'd' : c == ' ' ? 's' : 'x';
  return out;
}

std::string realRecords() {
  const std::filesystem::path path =
      std::filesystem::path(ORVALLE_REALDATA_DIR) /
      "urasandesu_JVLinkToSQLite__DataBridgeIntegrationTest.RA_SE_HR.cp932.dat";
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(RecordLayoutTest, RecordsHaveTheLayoutOfRealOnes) {
  const std::string real = realRecords();
  if (real.size() != 2546) GTEST_SKIP() << "real records not available";
  const auto records = test::splitRecords(real);
  ASSERT_EQ(records.size(), 3u);

  // The real RA2 and SE2 are a race card of an ordinary 2-year-old race, the
  // HR2 a race of eleven runners without dead heats.
  std::vector<Horse> horses(11);
  for (size_t i = 0; i < horses.size(); ++i) {
    horses[i].registration = store::format("2021%06zu", 100446 + i);
    horses[i].name = sj("メジャーデビュー");
  }
  SimRace race = raceOf(11);
  race.plan.raceType = 11;
  race.plan.condition = kMaiden;
  const std::string ra = raRecord(race, RecordStage::kRaceCard, '2', 20230901);
  const std::string se = seRecord(race, 0, horses, RecordStage::kRaceCard, '2', 20230901);
  Rng rng(5);
  race.payouts = computePayouts(race, rng);
  const std::string hr = hrRecord(race, '2', 20230828);

  std::string expectedRa = classes(records[0]);
  std::string actualRa = classes(ra);
  // The race symbol's first character is a letter or a digit by symbol.
  expectedRa[store::ra::kRaceSymbolCode.position - 1] =
      actualRa[store::ra::kRaceSymbolCode.position - 1];
  EXPECT_EQ(actualRa, expectedRa);
  EXPECT_EQ(classes(se), classes(records[1]));
  EXPECT_EQ(classes(hr), classes(records[2]));
  // Full-width padding where the real records have it.
  EXPECT_EQ(store::ra::kRaceName.in(ra), store::ra::kRaceName.in(records[0]));
  EXPECT_EQ(store::se::kHorseName.in(se), store::se::kHorseName.in(records[1]));
}

TEST(RecordLayoutTest, FieldsReadBackAtTheirPositions) {
  std::vector<Horse> horses(3);
  for (size_t i = 0; i < horses.size(); ++i) {
    horses[i].registration = store::format("2019%06zu", 104321 + i);
    horses[i].name = sj("オルヴァスター");
  }
  SimRace race = raceOf(3);
  race.plan.name = sj("東京優駿");
  race.plan.grade = 'A';
  race.plan.running = 90;
  race.runners[1].time = 1 * 600 + 234;  // 1:23.4
  race.runners[1].horseWeight = 480;
  race.runners[1].weightChange = -6;
  race.runners[1].weightChangeKnown = true;
  race.runners[1].last3 = 345;
  race.runners[1].last4 = 462;
  const std::string ra = raRecord(race, RecordStage::kResults, '7', 20230828);
  EXPECT_EQ(ra.size(), store::kRaRecordLength);
  EXPECT_EQ(store::ra::kRaceName.in(ra).substr(0, 8), sj("東京優駿"));
  EXPECT_EQ(store::ra::kRaceName.in(ra).substr(8, 2), "\x81\x40");
  EXPECT_EQ(store::ra::kSixCharacterRaceName.in(ra), sj("東京優駿　　"));
  EXPECT_EQ(store::ra::kThreeCharacterRaceName.in(ra), sj("東京優"));
  EXPECT_EQ(store::ra::kGradeCode.in(ra), "A");
  EXPECT_EQ(store::ra::kGradedRaceRunning.in(ra), "090");
  EXPECT_EQ(store::ra::kRaceSymbolCode.in(ra), "A03");
  EXPECT_EQ(store::ra::kConditionCode2yo.in(ra), "000");
  EXPECT_EQ(store::ra::kConditionCode3yo.in(ra), "005");
  EXPECT_EQ(store::ra::kConditionCodeYoungest.in(ra), "005");
  EXPECT_EQ(store::raceKey(ra), "2023082601020511");

  const std::string se = seRecord(race, 1, horses, RecordStage::kResults, '7', 20230828);
  EXPECT_EQ(store::se::kRegistrationNumber.in(se), "2019104322");
  EXPECT_EQ(store::se::kRaceTime.in(se), "1234");
  EXPECT_EQ(store::se::kHorseWeight.in(se), "480");
  EXPECT_EQ(store::se::kWeightChangeSign.in(se), "-");
  EXPECT_EQ(store::se::kWeightChange.in(se), "006");
  EXPECT_EQ(store::se::kLast3Furlongs.in(se), "345");
  EXPECT_EQ(store::se::kLast4Furlongs.in(se), "462");
  // A first start has a blank weight change.
  race.runners[1].weightChangeKnown = false;
  const std::string first = seRecord(race, 1, horses, RecordStage::kResults, '7', 20230828);
  EXPECT_EQ(store::se::kWeightChangeSign.in(first), " ");
  EXPECT_EQ(store::se::kWeightChange.in(first), "   ");
}

TEST(RecordLayoutTest, TwoPlacesLeaveTheThirdPlaceEntryAtZero) {
  SimRace race = raceOf(6);
  Rng rng(6);
  race.payouts = computePayouts(race, rng);
  const std::string record = hrRecord(race, '2', 20230828);
  namespace hr = store::hr;
  EXPECT_EQ(hr::kPlace.number(0, 0).in(record), "01");
  EXPECT_EQ(hr::kPlace.number(1, 0).in(record), "02");
  EXPECT_EQ(hr::kPlace.number(2, 0).in(record), "00");
  EXPECT_TRUE(store::isBlank(hr::kPlace.payout(2).in(record)));
  EXPECT_TRUE(store::isBlank(hr::kPlace.combination(3).in(record)));
  EXPECT_TRUE(store::isBlank(hr::kBracketQuinella.combination(0).in(record)));
  EXPECT_TRUE(store::isBlank(hr::kWin.combination(1).in(record)));
  EXPECT_EQ(hr::kQuinella.combination(0).in(record), "0102");
  EXPECT_EQ(hr::kExacta.combination(0).in(record), "0102");
  EXPECT_EQ(hr::kTrio.combination(0).in(record), "010203");
}

}  // namespace
}  // namespace orvalle::sim
