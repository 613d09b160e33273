#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "analysis/race_comparison.h"
#include "analysis/two_horse_comparison.h"
#include "model/day_tables.h"
#include "sim/simulator.h"
#include "store/fixed_width.h"
#include "store/pair_numbers.h"
#include "store/record.h"
#include "support/literal_comparison.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::analysis {
namespace {

using model::PairTable;

// A home built from a simulated source of some weeks, so that the runners of
// its last days have past runs with many common opponents.
class SimulatedDayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempDir>();
    sim::simulate({*s_dir / "src", 40, 11});
    s_days = test::buildHomeFromReplaySource(*s_dir / "src", *s_dir / "DATA", *s_dir / "SEI");
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  static std::filesystem::path sei() { return *s_dir / "SEI"; }
  static void load(model::DayTables& tables, const std::string& stem) {
    test::fillRaceAndRunnerTables(tables, *s_dir / "DATA", stem);
  }

  static std::unique_ptr<test::TempDir> s_dir;
  static std::vector<std::string> s_days;
};

std::unique_ptr<test::TempDir> SimulatedDayTest::s_dir;
std::vector<std::string> SimulatedDayTest::s_days;

// Every comparison field of every race slot of the two tables is equal.
void expectSameResults(const model::DayTables& expected, const model::DayTables& actual,
                       const std::string& label) {
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    SCOPED_TRACE(label + " race slot " + std::to_string(slot));
    const model::RaceAnalysis& e = expected.analysis(slot);
    const model::RaceAnalysis& a = actual.analysis(slot);
    EXPECT_EQ(a.compared, e.compared);
    for (int table = 0; table < model::kPairTableCount; ++table) {
      EXPECT_EQ(a.pairTables[table], e.pairTables[table]) << "pair table " << table + 1;
    }
    EXPECT_EQ(a.winCount, e.winCount);
    EXPECT_EQ(a.lossCount, e.lossCount);
    EXPECT_EQ(a.winRate, e.winRate);
    EXPECT_EQ(a.winRateRank, e.winRateRank);
    EXPECT_EQ(a.winPoints, e.winPoints);
    EXPECT_EQ(a.lossPoints, e.lossPoints);
    EXPECT_EQ(a.pointWinRate, e.pointWinRate);
    EXPECT_EQ(a.pointWinRateRank, e.pointWinRateRank);
  }
}

TEST_F(SimulatedDayTest, FastEngineEqualsTheLiteralMethodOnSimulatedDays) {
  ASSERT_GE(s_days.size(), 2u);
  // The last two days with results: the runners' own race of that day is in
  // their files and must be left out by the race date.
  for (size_t d = s_days.size() - 2; d < s_days.size(); ++d) {
    const std::string& stem = s_days[d];
    SCOPED_TRACE(stem);
    auto literal = std::make_unique<model::DayTables>();
    load(*literal, stem);
    test::literalAllRaceComparison(*literal, sei());

    // The reference must have something to compare: rows, decided pairs,
    // direct meetings and ranks.
    int64_t rows = 0;
    int64_t direct = 0;
    int decided = 0;
    for (int slot = 0; slot < model::kRaceSlots; ++slot) {
      const model::RaceAnalysis& analysis = literal->analysis(slot);
      for (int pair = 1; pair <= model::kPairCount; ++pair) {
        rows += analysis.pair(PairTable::kComparisonCount, pair);
        direct += analysis.pair(PairTable::kDirect, pair);
        decided +=
            analysis.pair(PairTable::kFirstWon, pair) + analysis.pair(PairTable::kSecondWon, pair);
      }
    }
    std::printf("%s: %lld rows, %lld direct meetings, %d decided pairs\n", stem.c_str(),
                static_cast<long long>(rows), static_cast<long long>(direct), decided);
    EXPECT_GT(rows, 1000);
    EXPECT_GT(direct, 10);
    EXPECT_GT(decided, 100);

    for (unsigned threads : {1u, 3u}) {
      auto fast = std::make_unique<model::DayTables>();
      load(*fast, stem);
      AllRaceOptions options;
      options.seiFolder = sei();
      options.threads = threads;
      AllRaceOutcome outcome = compareAllRaces(*fast, options);
      ASSERT_TRUE(outcome.status.ok()) << outcome.status.message();
      EXPECT_TRUE(outcome.writePredictions);
      expectSameResults(*literal, *fast, std::to_string(threads) + " threads");
    }
  }
}

TEST_F(SimulatedDayTest, TwoHorseCountsEqualThePairCountsOfTheRaceComparison) {
  const std::string& stem = s_days.back();
  auto tables = std::make_unique<model::DayTables>();
  load(*tables, stem);
  AllRaceOptions options;
  options.seiFolder = sei();
  ASSERT_TRUE(compareAllRaces(*tables, options).status.ok());

  int checked = 0;
  for (int slot = 0; slot < model::kRaceSlots && checked < 40; ++slot) {
    if (tables->isRaceEmpty(slot)) continue;
    const std::string_view race = tables->race(slot);
    const int runners = store::ra::kRegisteredRunners.numberIn(race);
    for (int i = 0; i + 1 < runners && checked < 40; i += 3) {
      const int j = i + 1 + (slot % (runners - i - 1));
      const int pair = store::codes::pairNumber(i + 1, j + 1);
      const model::RaceAnalysis& analysis = tables->analysis(slot);
      // As a click on the race card takes them: name without full-width
      // blanks, weight "55.0", registration number.
      auto pick = [&](int runner, std::string& name, std::string& weight, std::string& number) {
        const std::string_view se = tables->runner(slot, runner);
        name = store::trim(store::withoutFullWidthBlanks(store::se::kHorseName.in(se)));
        const std::string digits(store::se::kWeightCarried.in(se));
        weight = digits.substr(0, 2) + "." + digits.substr(2, 1);
        number = std::string(store::se::kRegistrationNumber.in(se));
      };
      ComparisonRequest request;
      pick(i, request.nameA, request.weightA, request.registrationA);
      pick(j, request.nameB, request.weightB, request.registrationB);
      request.raceDate = store::raceDate(race);
      request.periodDays = 7300;
      request.seiFolder = sei();
      const TwoHorseResult result = compareTwoHorses(request);
      if (!result.status.ok()) continue;  // a horse without a past-run file
      SCOPED_TRACE("slot " + std::to_string(slot) + " pair " + std::to_string(pair));
      EXPECT_EQ(result.rowCount, analysis.pair(PairTable::kComparisonCount, pair));
      EXPECT_EQ(result.firstAhead, analysis.pair(PairTable::kFirstBetter, pair));
      EXPECT_EQ(result.secondAhead, analysis.pair(PairTable::kSecondBetter, pair));
      EXPECT_EQ(result.firstOwnMinus, analysis.pair(PairTable::kFirstOwnMinus, pair));
      EXPECT_EQ(result.secondOwnMinus, analysis.pair(PairTable::kSecondOwnMinus, pair));
      EXPECT_EQ(result.grid.rows.size(), static_cast<size_t>(std::max(result.rowCount, 1)));
      if (result.rowCount > 0) ++checked;
    }
  }
  EXPECT_GE(checked, 20);
}

}  // namespace
}  // namespace orvalle::analysis
