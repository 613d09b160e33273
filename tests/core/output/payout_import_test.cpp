#include "output/payout_import.h"

#include <gtest/gtest.h>

#include "betting/race_scoring.h"
#include "model/day_loader.h"
#include "store/record.h"
#include "support/race_day_builder.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle::output {
namespace {

namespace fs = std::filesystem;
namespace hr = store::hr;
using model::TallyBetType;
using test::RaceDayBuilder;
using test::RecordBuilder;

constexpr const char* kDate = "20240106";

// The payouts of one race: quinella, quinella place and trio entries.
struct Paid {
  std::vector<std::pair<std::string, int>> quinella;  // "0102" numbers, payout
  std::vector<std::pair<std::string, int>> quinellaPlace;
  std::vector<std::pair<std::string, int>> trio;  // "010203"
};

RecordBuilder hrRecord(const std::string& raceKey, const Paid& paid) {
  RecordBuilder record = RecordBuilder::hr(raceKey);
  auto fill = [&record](const hr::PayoutBlockLayout& layout, const auto& entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
      const int e = static_cast<int>(i);
      record.setRaw(layout.combination(e), entries[i].first)
          .setNumber(layout.payout(e), entries[i].second)
          .setNumber(layout.popularity(e), e + 1);
    }
  };
  fill(hr::kQuinella, paid.quinella);
  fill(hr::kQuinellaPlace, paid.quinellaPlace);
  fill(hr::kTrio, paid.trio);
  return record;
}

class PayoutImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int r = 1; r <= 3; ++r) m_day.addRace("06", r, 6);
    m_day.write(m_data);
    model::DayLoadRequest request;
    request.dataFolder = m_data;
    request.seiFolder = m_home / "SEI";
    request.stem = m_day.stem();
    ASSERT_TRUE(model::loadDay(m_tables, request));

    // The stored combinations: the same in every race.
    for (int slot = 0; slot < 3; ++slot) {
      model::CombinationBlock& block = m_tables.analysis(slot).combinations;
      block.quinella[0] = " 1- 2";
      block.quinella[1] = " 1- 3";
      block.trio[0] = " 1- 2- 3";
      block.exacta[0] = " 2- 1";
    }
  }

  // Writes the HR day file with the records in the given order.
  void writePayouts(const std::vector<RecordBuilder>& records) {
    std::vector<std::string> lines;
    for (const RecordBuilder& record : records) lines.push_back(record.line());
    test::writeLinesFile(m_data / (m_day.stem() + ".jvHR"), lines);
  }

  PayoutImportResult import(int currentRace = 0) {
    return importPayouts(m_tables, m_data, m_day.stem(), currentRace);
  }

  const model::DayTally& tally(TallyBetType type) { return m_tables.tally(type); }

  test::TempDir m_home;
  fs::path m_data = m_home / "DATA";
  RaceDayBuilder m_day{kDate};
  model::DayTables m_tables;
};

TEST_F(PayoutImportTest, PayoutsInAnotherOrderLandInTheirOwnRaces) {
  // Race 3's record first, race 1's last, and records of races the day does
  // not hold: another racecourse and another meeting of the same course.
  writePayouts({
      hrRecord(m_day.raceKey(2), {{{"0102", 3100}}, {{"0102", 900}, {"0103", 700}}, {}}),
      RecordBuilder::hr("2024010605010101").setRaw(hr::kQuinella.combination(0), "0102"),
      hrRecord(m_day.raceKey(0), {{{"0304", 1200}}, {{"0103", 450}}, {{"010203", 8800}}}),
      RecordBuilder::hr("2024010606020101").setRaw(hr::kQuinella.combination(0), "0102"),
  });
  PayoutImportResult result = import();
  EXPECT_TRUE(result.payoutFileRead);
  EXPECT_EQ(result.payoutsAttached, 2);
  EXPECT_EQ(result.payoutsDropped, 2);
  EXPECT_EQ(result.racesScored, 3);

  EXPECT_EQ(store::raceKey(m_tables.payout(0)), m_day.raceKey(0));
  EXPECT_TRUE(store::isBlank(m_tables.payout(1)));
  EXPECT_EQ(store::raceKey(m_tables.payout(2)), m_day.raceKey(2));
  EXPECT_EQ(m_tables.analysis(2).result.payouts.at(store::BetType::kQuinella, 0).payout, 3100);

  // Race 1: trio and quinella place " 1- 3" hit; race 3: quinella " 1- 2"
  // and quinella place " 1- 2", " 1- 3" hit; race 2 has no payouts.
  EXPECT_EQ(tally(TallyBetType::kQuinella), (model::DayTally{3, 1, 3100, 600}));
  EXPECT_EQ(tally(TallyBetType::kQuinellaPlace), (model::DayTally{3, 3, 2050, 600}));
  EXPECT_EQ(tally(TallyBetType::kTrio), (model::DayTally{3, 1, 8800, 300}));
  EXPECT_EQ(tally(TallyBetType::kExacta), (model::DayTally{3, 0, 0, 300}));
  const model::CombinationBlock& race3 = m_tables.analysis(2).combinations;
  EXPECT_EQ(race3.quinellaScores.hit[0], 1);
  EXPECT_EQ(race3.quinellaPlaceScores.payout[1], 700);
  EXPECT_EQ(race3.quinellaPlaceScores.tally, (model::RaceTally{200, 0, 2, 1600}));
}

TEST_F(PayoutImportTest, ImportingTwiceGivesTheSameFigures) {
  writePayouts({hrRecord(m_day.raceKey(0), {{{"0102", 1200}}, {{"0102", 450}}, {}}),
                hrRecord(m_day.raceKey(1), {{{"0103", 2400}}, {{"0103", 650}}, {}})});
  // Scores of an earlier combination calculation are replaced, not added to.
  betting::scoreRace(m_tables, 0);
  (void)import();
  std::array<model::DayTally, 4> first;
  for (int t = 0; t < 4; ++t) first[t] = tally(static_cast<TallyBetType>(t));
  model::CombinationBlock firstBlock = m_tables.analysis(1).combinations;

  (void)import();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(tally(static_cast<TallyBetType>(t)), first[t]);
  EXPECT_EQ(m_tables.analysis(1).combinations, firstBlock);
  EXPECT_EQ(first[0], (model::DayTally{3, 2, 3600, 600}));
}

TEST_F(PayoutImportTest, WithoutPayoutFileNothingIsScoredAndTheBlocksStay) {
  m_tables.analysis(0).combinations.trioScores.hit[0] = 1;
  m_tables.analysis(0).combinations.trioScores.payout[0] = 8800;
  m_tables.tally(TallyBetType::kTrio) = model::DayTally{3, 1, 8800, 300};
  // The runner day file changed since loading: the tables are reloaded, but
  // without payouts the results are not copied.
  m_day.runner(0, 2).setNumber(store::se::kFinishingPosition, 9);
  m_day.write(m_data);

  PayoutImportResult result = import();
  EXPECT_EQ(result, PayoutImportResult{});
  EXPECT_EQ(m_tables.analysis(0).combinations.trioScores.payout[0], 8800);
  EXPECT_EQ(tally(TallyBetType::kTrio), (model::DayTally{3, 1, 8800, 300}));
  EXPECT_EQ(tally(TallyBetType::kQuinella), model::DayTally{});
  EXPECT_EQ(store::se::kFinishingPosition.numberIn(m_tables.runner(0, 1)), 9);
  EXPECT_EQ(m_tables.analysis(0).result.finishingPosition[1], "02");
}

TEST_F(PayoutImportTest, ResultsOfTheRunnersAreCopiedWithThePayouts) {
  m_day.runner(1, 4)
      .setRaw(store::se::kFinishingPosition, "01")
      .setRaw(store::se::kRaceTime, "1338")
      .setRaw(store::se::kWinOdds, "0045")
      .setRaw(store::se::kPopularityRank, "02");
  m_day.write(m_data);
  writePayouts({hrRecord(m_day.raceKey(1), {{{"0104", 990}}, {}, {}})});
  (void)import();
  const model::ResultSection& section = m_tables.analysis(1).result;
  EXPECT_EQ(section.finishingPosition[3], "01");
  EXPECT_EQ(section.raceTime[3], "1338");
  EXPECT_EQ(section.finalOdds[3], "0045");
  EXPECT_EQ(section.popularityRank[3], "02");
}

TEST_F(PayoutImportTest, TheCurrentRaceIsMarkedOnlyWhenItsPayoutsArrive) {
  writePayouts({hrRecord(m_day.raceKey(1), {{{"0102", 1200}}, {}, {}})});
  EXPECT_TRUE(import(1).currentRaceReceivedPayouts);
  EXPECT_FALSE(import(0).currentRaceReceivedPayouts);
  EXPECT_FALSE(import(-1).currentRaceReceivedPayouts);
}

TEST_F(PayoutImportTest, ARaceThatCannotBePlacedKeepsItsRunners) {
  // The RA file now says race number 13 and 19 runners for the first race:
  // reading its SE slots would take another race's runners.
  m_day.race(0)
      .setNumber(store::head::kRaceNumber, 13)
      .setNumber(store::ra::kRegisteredRunners, 19);
  m_day.write(m_data);
  writePayouts({hrRecord(m_day.raceKey(1), {{{"0102", 1200}}, {}, {}})});
  const std::string before(m_tables.runner(0, 0));
  PayoutImportResult result = import();
  EXPECT_EQ(result.racesScored, 3);
  EXPECT_EQ(m_tables.runner(0, 0), before);
  EXPECT_EQ(store::head::kRaceNumber.numberIn(m_tables.race(0)), 13);
}

}  // namespace
}  // namespace orvalle::output
