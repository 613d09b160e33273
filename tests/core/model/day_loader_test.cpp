#include "model/day_loader.h"

#include <gtest/gtest.h>

#include "store/cp932.h"
#include "store/past_run_record.h"
#include "store/payout_block.h"
#include "store/predicted_odds_file.h"
#include "support/race_day_builder.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle::model {
namespace {

namespace fs = std::filesystem;
namespace po = store::predicted_odds;
using test::LineBuilder;
using test::pastRunLine;
using test::RaceDayBuilder;
using test::RecordBuilder;
using test::TempDir;
using test::writeLinesFile;

constexpr const char* kDate = "20240106";
constexpr const char* kStem = "2024年01月06日";

// A predicted-odds line of a race with win odds by horse number (0: blank).
std::string oddsLine(std::string_view racecourseCode, int raceNumber, char mark,
                     const std::vector<double>& odds) {
  LineBuilder line(store::kPredictedOddsLineLength);
  line.setRaw(po::kDate, kDate)
      .setRaw(po::kRacecourseCode, racecourseCode)
      .setRaw(po::kMeeting, "01")
      .setRaw(po::kDayOfMeeting, "01")
      .setNumber(po::kRaceNumber, raceNumber)
      .setRaw(po::kSourceMark, std::string(1, mark))
      .setNumber(po::kRunnerCount, static_cast<int>(odds.size()));
  for (size_t h = 0; h < odds.size(); ++h) {
    if (odds[h] > 0)
      line.setRaw(po::winOdds(static_cast<int>(h) + 1), store::format("%6.1f", odds[h]));
  }
  return line.line();
}

class DayLoaderTest : public ::testing::Test {
 protected:
  DayLoadResult load(bool ignoreDates = false) {
    DayLoadRequest request;
    request.dataFolder = m_data;
    request.seiFolder = m_sei;
    request.stem = kStem;
    request.pastRunPeriodDays = 1826;
    request.ignorePastRunDates = ignoreDates;
    request.progress = [this](const Progress& p) { m_progress.push_back(p); };
    return loadDay(m_tables, request);
  }
  std::vector<std::string> raceLines(const DayLoadResult& result) const {
    std::vector<std::string> lines;
    for (const RaceListEntry& entry : result.raceList()) lines.push_back(cp932::toUtf8(entry.line));
    return lines;
  }

  TempDir m_home;
  fs::path m_data = m_home / "DATA";
  fs::path m_sei = m_home / "SEI";
  RaceDayBuilder m_day{kDate};
  DayTables m_tables;
  std::vector<Progress> m_progress;
};

TEST_F(DayLoaderTest, RaceListLinesNameRacecourseMeetingDayAndRace) {
  EXPECT_EQ(cp932::toUtf8(raceListLine(RecordBuilder::ra("2024010601010201").record())),
            "札幌  01回 02日 1R");
  EXPECT_EQ(cp932::toUtf8(raceListLine(RecordBuilder::ra("2024010606050811").record())),
            "中山  05回 08日11R");
  // A three-character racecourse fills the six bytes itself.
  EXPECT_EQ(cp932::toUtf8(raceListLine(RecordBuilder::ra("2024010632010112").record())),
            "岩見沢01回 01日12R");
}

TEST_F(DayLoaderTest, ThirtySixRacesLoadAndAThirtySeventhIsIgnored) {
  for (const char* code : {"06", "08", "07"}) {
    for (int r = 1; r <= 12; ++r) m_day.addRace(code, r, 2);
  }
  // The 37th race is of a racecourse without SE file: reading it would fail.
  m_day.addRace("05", 1, 2);
  m_day.write(m_data);
  fs::remove(m_data / "2024年01月06日東京.jvSEr");

  DayLoadResult result = load();
  ASSERT_TRUE(result) << result.message();
  ASSERT_EQ(result.raceList().size(), 36u);
  EXPECT_EQ(raceLines(result).front(), "中山  01回 01日 1R");
  EXPECT_EQ(raceLines(result)[12], "京都  01回 01日 1R");
  EXPECT_EQ(raceLines(result).back(), "中京  01回 01日12R");
  for (int slot = 0; slot < 36; ++slot) {
    EXPECT_EQ(result.raceList()[static_cast<size_t>(slot)].raceSlot, slot);
    EXPECT_EQ(store::raceKey(m_tables.race(slot)), m_day.raceKey(slot));
    EXPECT_EQ(store::se::kRegistrationNumber.in(m_tables.runner(slot, 1)),
              RaceDayBuilder::registrationNumber(slot, 2));
  }
}

TEST_F(DayLoaderTest, ADayWithoutPayoutsTakesItsResultsFromTheRunners) {
  int race = m_day.addRace("06", 1, 3);
  m_day.runner(race, 2)
      .setRaw(store::se::kFinishingPosition, "01")
      .setRaw(store::se::kRaceTime, "1345")
      .setRaw(store::se::kWinOdds, "0123")
      .setRaw(store::se::kPopularityRank, "04");
  m_day.write(m_data);

  DayLoadResult result = load();
  ASSERT_TRUE(result) << result.message();
  const ResultSection& section = m_tables.analysis(0).result;
  EXPECT_EQ(section.finishingPosition[1], "01");
  EXPECT_EQ(section.raceTime[1], "1345");
  EXPECT_EQ(section.finalOdds[1], "0123");
  EXPECT_EQ(section.popularityRank[1], "04");
  EXPECT_EQ(section.finishingPosition[2], "03");
  EXPECT_EQ(section.finishingPosition[3], "");  // not a registered runner
  EXPECT_EQ(section.payouts, store::PayoutBlock{});
  EXPECT_TRUE(store::isBlank(m_tables.payout(0)));
}

TEST_F(DayLoaderTest, PayoutsAttachByDateRacecourseAndRaceNumberOnly) {
  m_day.addRace("06", 1, 3);
  int second = m_day.addRace("06", 2, 3);
  m_day.write(m_data);
  // The HR record of race 2 with another meeting still belongs to it; one of
  // a race that is not on the day is dropped.
  auto hr = RecordBuilder::hr("2024010606020902")
                .setRaw(store::hr::kWin.combination(0), "03")
                .setNumber(store::hr::kWin.payout(0), 450)
                .setNumber(store::hr::kWin.popularity(0), 2);
  auto stray = RecordBuilder::hr("2024010606010107").setRaw(store::hr::kWin.combination(0), "01");
  writeLinesFile(m_data / "2024年01月06日.jvHR", {stray.line(), hr.line()});

  DayLoadResult result = load();
  ASSERT_TRUE(result) << result.message();
  EXPECT_TRUE(store::isBlank(m_tables.payout(0)));
  EXPECT_EQ(m_tables.payout(second).substr(0, 717), hr.line());
  const store::PayoutEntry& win =
      m_tables.analysis(second).result.payouts.at(store::BetType::kWin, 0);
  EXPECT_EQ(win.horseNumber, 3);
  EXPECT_EQ(win.payout, 450);
  EXPECT_EQ(win.popularity, 2);
}

TEST_F(DayLoaderTest, PredictedOddsAttachByNameAndRankByOddsThenHorseNumber) {
  m_day.addRace("05", 1, 5);  // Tokyo: JV-Data code 05
  m_day.addRace("06", 1, 5);  // Nakayama: JV-Data code 06, KOL code 5
  m_day.write(m_data);
  writeLinesFile(m_data / "2024年01月06日.yoz",
                 {
                     // Nakayama race 1 through the JV-Data code: horses 1-3.
                     oddsLine("06", 1, 'J', {5.0, 3.2, 5.04}),
                     // The same race through the KOL code 5: horse 4 and 5.
                     oddsLine("05", 1, 'K', {0, 0, 0, 12.0, 4.0}),
                     // No race 9 on the day; an unknown source mark.
                     oddsLine("06", 9, 'J', {1.5}),
                     oddsLine("06", 1, 'X', {1.1, 1.1, 1.1, 1.1, 1.1}),
                 });

  DayLoadResult result = load();
  ASSERT_TRUE(result) << result.message();
  const RaceAnalysis& tokyo = m_tables.analysis(0);
  const RaceAnalysis& nakayama = m_tables.analysis(1);
  for (int k = 0; k < 18; ++k) {
    EXPECT_EQ(tokyo.predictedOdds[k], 0.0);
    EXPECT_EQ(tokyo.predictedOddsRank[k], 0);
  }
  EXPECT_DOUBLE_EQ(nakayama.predictedOdds[0], 5.0);
  EXPECT_DOUBLE_EQ(nakayama.predictedOdds[2], 5.0);  // "   5.0" as stored
  EXPECT_DOUBLE_EQ(nakayama.predictedOdds[3], 12.0);
  // 3.2, then 4.0, then the two 5.0 by horse number, then 12.0.
  const int expectedRanks[] = {3, 1, 4, 5, 2, 0};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(nakayama.predictedOddsRank[k], expectedRanks[k]) << k;
}

TEST_F(DayLoaderTest, TheFirstLoadedRaceOfTheDayIsSelectedFirstInFileOrder) {
  // Races stay in the order of the RA file, not in race-key order.
  m_day.addRace("06", 2, 2);
  m_day.addRace("06", 1, 2);
  m_day.write(m_data);
  DayLoadResult result = load();
  ASSERT_TRUE(result) << result.message();
  EXPECT_EQ(raceLines(result),
            (std::vector<std::string>{"中山  01回 01日 2R", "中山  01回 01日 1R"}));
}

TEST_F(DayLoaderTest, MissingOrIncompleteDataGiveTheirMessages) {
  const std::string notCreated = "2024年01月06日のデータ作成は未完了のようです。";
  const std::string incomplete =
      "2024年01月06日のデータ作成は未完了です。少し時間をおいてデータを再取得してください。";
  struct Case {
    const char* name;
    std::function<void(RaceDayBuilder&)> change;
    std::function<void(const fs::path&)> afterWrite;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"no RA file", [](RaceDayBuilder&) {},
       [](const fs::path& data) { fs::remove(data / "2024年01月06日.jvRA"); }, notCreated},
      {"no SE file", [](RaceDayBuilder&) {},
       [](const fs::path& data) { fs::remove(data / "2024年01月06日阪神.jvSEr"); }, incomplete},
      {"runner without bracket",
       [](RaceDayBuilder& day) { day.runner(1, 3).setRaw(store::se::kBracket, " "); }, nullptr,
       incomplete},
      {"bracket 0", [](RaceDayBuilder& day) { day.runner(1, 1).setRaw(store::se::kBracket, "0"); },
       nullptr, incomplete},
      {"more runners than records",
       [](RaceDayBuilder& day) { day.race(1).setNumber(store::ra::kRegisteredRunners, 4); },
       nullptr, incomplete},
      {"19 registered runners",
       [](RaceDayBuilder& day) { day.race(1).setNumber(store::ra::kRegisteredRunners, 19); },
       nullptr, incomplete},
      {"no registered runners",
       [](RaceDayBuilder& day) { day.race(1).setRaw(store::ra::kRegisteredRunners, "  "); },
       nullptr, incomplete},
      {"race number 13",
       [](RaceDayBuilder& day) { day.race(1).setNumber(store::head::kRaceNumber, 13); }, nullptr,
       incomplete},
      {"race number 0",
       [](RaceDayBuilder& day) { day.race(1).setRaw(store::head::kRaceNumber, "xx"); }, nullptr,
       incomplete},
      {"racecourse without name",
       [](RaceDayBuilder& day) { day.race(1).setRaw(store::head::kRacecourseCode, "ZZ"); }, nullptr,
       incomplete},
  };
  for (const Case& c : cases) {
    TempDir home;
    RaceDayBuilder day(kDate);
    day.addRace("06", 1, 3);
    day.addRace("09", 1, 3);
    c.change(day);
    day.write(home / "DATA");
    if (c.afterWrite) c.afterWrite(home / "DATA");

    DayTables& tables = m_tables;
    // Something of an earlier day is loaded.
    tables.setRace(5, RecordBuilder::ra("2023122806010101").record());
    DayLoadRequest request{home / "DATA", home / "SEI", kStem, 1826, false, nullptr};
    DayLoadResult result = loadDay(tables, request);
    EXPECT_FALSE(result) << c.name;
    EXPECT_EQ(result.message(), c.message) << c.name;
    EXPECT_TRUE(result.raceList().empty()) << c.name;
    for (int slot = 0; slot < kRaceSlots; ++slot) {
      ASSERT_TRUE(tables.isRaceEmpty(slot)) << c.name << ", slot " << slot;
    }
  }
}

TEST_F(DayLoaderTest, AStemThatIsNotADayIsNeverLookedFor) {
  writeLinesFile(m_home / "x.jvRA", {RecordBuilder::ra("2024010606010101").line()});
  DayLoadRequest request{m_data, m_sei, "../x", 1826, false, nullptr};
  DayLoadResult result = loadDay(m_tables, request);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.message(), "../xのデータ作成は未完了のようです。");
}

TEST_F(DayLoaderTest, RunnersGetTheirPastRunsAndTheRaceStartsUncompared) {
  int race = m_day.addRace("06", 11, 2);
  m_day.write(m_data);
  const std::string regno = RaceDayBuilder::registrationNumber(race, 1);
  writeLinesFile(
      m_sei / regno.substr(0, 4) / (regno + ".kak"),
      {pastRunLine("2023121706050611", 2).setRaw(store::past_run::kTrackCode, "24").line(),
       pastRunLine("2024010606010111", 1).line(), pastRunLine("2024011306010111", 1).line()});
  m_tables.analysis(0).compared = true;
  m_tables.analysis(0).winCount[1] = 4;
  m_tables.analysis(0).winCountRank[0] = 2;

  DayLoadResult result = load();
  ASSERT_TRUE(result) << result.message();
  const RaceAnalysis& analysis = m_tables.analysis(0);
  EXPECT_EQ(store::past_run::kRaceKey.in(m_tables.pastRun(0, 0, 0)), "2023121706050611");
  EXPECT_TRUE(store::isBlank(m_tables.pastRun(0, 0, 1)));
  EXPECT_EQ(analysis.dirtCounts[0].places[1], 1);
  EXPECT_EQ(analysis.overallCounts[1].total(), 0);
  EXPECT_FALSE(analysis.compared);
  EXPECT_EQ(analysis.winCount[1], 0);
  EXPECT_EQ(analysis.winRate[1], -1.0);
  EXPECT_EQ(analysis.winCountRank[0], 2);  // kept across days

  // With "IgnoDate" the race day and the later day count too.
  ASSERT_TRUE(load(true));
  EXPECT_EQ(store::past_run::kRaceKey.in(m_tables.pastRun(0, 0, 0)), "2024011306010111");
  EXPECT_EQ(m_tables.analysis(0).overallCounts[0].total(), 3);
}

TEST_F(DayLoaderTest, NewFormatFlagFollowsTheYear) {
  m_tables.newFormat = true;
  DayLoadRequest request{m_data, m_sei, "2004年12月26日", 1826, false, nullptr};
  EXPECT_FALSE(loadDay(m_tables, request));
  EXPECT_FALSE(m_tables.newFormat);
  request.stem = "2005年01月05日";
  EXPECT_FALSE(loadDay(m_tables, request));
  EXPECT_TRUE(m_tables.newFormat);
}

TEST_F(DayLoaderTest, ProgressShowsTheDayThenEveryRunner) {
  int race = m_day.addRace("06", 1, 2);
  m_day.runner(race, 2).setNumber(store::se::kHorseNumber, 2);
  m_day.write(m_data);
  ASSERT_TRUE(load());
  ASSERT_GE(m_progress.size(), 3u);
  EXPECT_EQ(m_progress.front().upperLine, kStem);
  EXPECT_EQ(m_progress.front().lowerLine, "レースデータを読み込んでいます。");
  EXPECT_EQ(m_progress[m_progress.size() - 2].upperLine, "中山 1R/①ホース00の01      ");
  EXPECT_EQ(m_progress.back().upperLine, "中山 1R/②ホース00の02      ");
  EXPECT_EQ(m_progress.back().lowerLine, "レースデータを読み込んでいます。");
}

}  // namespace
}  // namespace orvalle::model
