// The results command and the hit report run through the day session.
#include <gtest/gtest.h>

#include "app/day_session.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/record.h"
#include "store/text_file.h"
#include "support/race_day_builder.h"
#include "support/record_builder.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
namespace hr = store::hr;
using model::TallyBetType;
using test::RaceDayBuilder;
using test::RecordBuilder;

constexpr const char* kDate = "20240106";

class Beeps : public acquire::ResultsFetchObserver {
 public:
  void beep() override { ++beeps; }
  int beeps = 0;
};

// A JV-Link that only counts the calls made on it.
class SilentJvLink : public acquire::JvLink {
 public:
  int jvInit(std::string_view) override { return 0; }
  int jvSetUIProperties() override { return 0; }
  int jvOpen(std::string_view, std::string_view, int, acquire::JvOpenCounts&) override {
    return ++calls, -1;
  }
  int jvStatus() override { return ++calls, 0; }
  int jvRead(std::string&, int&, std::string&) override { return ++calls, 0; }
  int jvCancel() override { return ++calls, 0; }
  int jvClose() override { return ++calls, 0; }
  int jvRTOpen(std::string_view, std::string_view) override { return ++calls, -1; }
  int calls = 0;
};

class ResultsCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Race cards of two races at Nakayama; the results come through 0B12.
    m_day.addRace("06", 1, 5);
    m_day.addRace("06", 2, 5);
    for (int race = 0; race < 2; ++race) {
      for (int h = 1; h <= 5; ++h)
        m_day.runner(race, h).setNumber(store::se::kFinishingPosition, 0);
    }
    m_day.write(m_home / "DATA");
  }

  // The real-time results of the day: race 1 won by 3 before 1 and 5, race 2
  // by 2 before 4 and 1, with their payouts.
  void writeRealTimeResults() {
    std::vector<std::string> records;
    const int finish[2][5] = {{2, 4, 1, 5, 3}, {3, 1, 4, 2, 5}};
    for (int race = 0; race < 2; ++race) {
      const std::string key = m_day.raceKey(race);
      records.push_back(
          RecordBuilder::ra(key, '5').setNumber(store::ra::kRegisteredRunners, 5).record());
      for (int h = 1; h <= 5; ++h) {
        records.push_back(RecordBuilder::se(key, h, '5')
                              .setNumber(store::se::kBracket, (h + 1) / 2)
                              .setNumber(store::se::kFinishingPosition, finish[race][h - 1])
                              .setNumber(store::se::kRaceTime, 1350 + finish[race][h - 1])
                              .record());
      }
    }
    records.push_back(RecordBuilder::hr(m_day.raceKey(0), '1')
                          .setRaw(hr::kQuinella.combination(0), "0103")
                          .setNumber(hr::kQuinella.payout(0), 1340)
                          .setRaw(hr::kTrio.combination(0), "010305")
                          .setNumber(hr::kTrio.payout(0), 2210)
                          .record());
    records.push_back(RecordBuilder::hr(m_day.raceKey(1), '1')
                          .setRaw(hr::kQuinella.combination(0), "0204")
                          .setNumber(hr::kQuinella.payout(0), 5600)
                          .setRaw(hr::kExacta.combination(0), "0204")
                          .setNumber(hr::kExacta.payout(0), 9900)
                          .record());
    test::writeFile(m_source / "0B12" / (std::string(kDate) + ".txt"), [&] {
      std::string bytes;
      for (const std::string& record : records) bytes += record;
      return bytes;
    }());
  }

  DaySession& loaded() {
    CommandResult result = m_session.loadDay(m_day.stem(), AfterLoading::kNothing);
    EXPECT_TRUE(result) << result.text();
    // Both races bet " 1- 3", trio " 1- 3- 5", exacta " 4- 2" and " 2- 4".
    for (int slot = 0; slot < 2; ++slot) {
      model::CombinationBlock& block = m_session.tables().analysis(slot).combinations;
      block.quinella[0] = " 1- 3";
      block.trio[0] = " 1- 3- 5";
      block.exacta[0] = " 4- 2";
      block.exacta[1] = " 2- 4";
    }
    return m_session;
  }

  std::array<model::DayTally, 4> tallies() const {
    std::array<model::DayTally, 4> all;
    for (int t = 0; t < 4; ++t) all[t] = m_session.tables().tally(static_cast<TallyBetType>(t));
    return all;
  }

  test::TempDir m_home;
  test::TempDir m_source;
  RaceDayBuilder m_day{kDate};
  DaySession m_session{Home(m_home.path())};
};

TEST_F(ResultsCommandTest, FetchesStoresImportsAndScoresTheDay) {
  writeRealTimeResults();
  DaySession& session = loaded();
  Beeps observer;
  ResultsOutcome outcome = session.fetchResults(m_source.path().string(), observer);
  ASSERT_TRUE(outcome.ran);
  EXPECT_TRUE(outcome.fetched);
  EXPECT_EQ(outcome.fetch.openCode, 0);
  EXPECT_EQ(outcome.fetch.storedRecords, 14);
  EXPECT_TRUE(fs::exists(m_home / "DATA" / (m_day.stem() + ".jvHR")));
  EXPECT_EQ(outcome.import.payoutsAttached, 2);
  EXPECT_TRUE(outcome.import.currentRaceReceivedPayouts);

  EXPECT_EQ(session.tables().tally(TallyBetType::kQuinella), (model::DayTally{2, 1, 1340, 200}));
  EXPECT_EQ(session.tables().tally(TallyBetType::kQuinellaPlace), (model::DayTally{2, 0, 0, 200}));
  EXPECT_EQ(session.tables().tally(TallyBetType::kTrio), (model::DayTally{2, 1, 2210, 200}));
  EXPECT_EQ(session.tables().tally(TallyBetType::kExacta), (model::DayTally{2, 1, 9900, 400}));
  // The runners' official results came with the payouts.
  EXPECT_EQ(session.tables().analysis(1).result.finishingPosition[1], "01");
  EXPECT_EQ(session.tables().analysis(1).result.raceTime[1], "1351");
}

TEST_F(ResultsCommandTest, PressingTwiceStoresNothingNewAndKeepsTheFigures) {
  writeRealTimeResults();
  DaySession& session = loaded();
  Beeps observer;
  (void)session.fetchResults(m_source.path().string(), observer);
  const auto files = test::snapshotFiles(m_home / "DATA");
  const auto figures = tallies();
  ResultsOutcome again = session.fetchResults(m_source.path().string(), observer);
  EXPECT_EQ(test::snapshotFiles(m_home / "DATA"), files);
  EXPECT_EQ(tallies(), figures);
  EXPECT_EQ(again.import.racesScored, 2);
}

TEST_F(ResultsCommandTest, WithoutResultsItBeepsAndImportsTheFilesAsTheyAre) {
  // The payouts of race 2 are already in the day files; JV-Link has nothing.
  m_day.payout(1)
      .setRaw(hr::kQuinella.combination(0), "0103")
      .setNumber(hr::kQuinella.payout(0), 760);
  m_day.write(m_home / "DATA");
  DaySession& session = loaded();
  Beeps observer;
  ResultsOutcome outcome = session.fetchResults(m_source.path().string(), observer);
  EXPECT_EQ(outcome.fetch.openCode, acquire::jv::kNoData);
  EXPECT_GE(observer.beeps, 1);
  EXPECT_TRUE(outcome.import.payoutFileRead);
  // The current race (the first) received nothing.
  EXPECT_FALSE(outcome.import.currentRaceReceivedPayouts);
  EXPECT_EQ(session.tables().tally(TallyBetType::kQuinella), (model::DayTally{2, 1, 760, 200}));
}

TEST_F(ResultsCommandTest, WithoutALoadedDayNothingHappens) {
  SilentJvLink link;
  Beeps observer;
  ResultsOutcome outcome = m_session.fetchResults(link, observer);
  EXPECT_FALSE(outcome.ran);
  EXPECT_EQ(link.calls, 0);
  EXPECT_EQ(observer.beeps, 0);
}

TEST_F(ResultsCommandTest, TheSourceComesFromTheSettingsWhenNotGiven) {
  writeRealTimeResults();
  DaySession& session = loaded();
  Beeps observer;
  EXPECT_THROW((void)session.fetchResults("", observer), Error);
  session.settings().setText(settings::kJvLinkSource, m_source.path().string());
  ResultsOutcome outcome = session.fetchResults("", observer);
  EXPECT_EQ(outcome.fetch.openCode, 0);
  EXPECT_EQ(session.tables().tally(TallyBetType::kTrio).hits, 1);
}

TEST_F(ResultsCommandTest, HitReportGoesToTheReportFolderOfAnyLetterCase) {
  writeRealTimeResults();
  DaySession& session = loaded();
  Beeps observer;
  (void)session.fetchResults(m_source.path().string(), observer);
  fs::create_directories(m_home / "hpupload");

  HitReportOutcome report = session.writeHitReport(output::HitReportKind::kFull);
  ASSERT_TRUE(report.files.written);
  EXPECT_EQ(report.files.fragmentPath, m_home / "hpupload" / "TK20240106.txt");
  // Race 1: quinella and trio; race 2: exacta " 2- 4".
  ASSERT_EQ(report.report.fragment.size(), 4u);
  EXPECT_EQ(test::readFile(report.files.fragmentPath), report.report.text());
  EXPECT_EQ(store::readLines(m_home / "hpupload" / "Manbaken.txt").size(), 4u);
  EXPECT_EQ(session.tables().currentRace, 1);
  EXPECT_FALSE(fs::exists(m_home / "HPupload"));

  // The long-shot report of the day holds the exacta alone: nothing written.
  fs::remove_all(m_home / "hpupload");
  HitReportOutcome longShots = session.writeHitReport(output::HitReportKind::kLongShot);
  EXPECT_EQ(longShots.report.fragment.size(), 2u);
  EXPECT_FALSE(longShots.files.written);
  EXPECT_FALSE(fs::exists(m_home / "HPupload"));
  EXPECT_FALSE(fs::exists(m_home / "hpupload"));
}

}  // namespace
}  // namespace orvalle::app
