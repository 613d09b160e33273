// The combination calculation inside the day session and the multi-day
// backtest, on a home built from a simulated source.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "app/backtest.h"
#include "app/day_session.h"
#include "betting/combination_calculation.h"
#include "betting/user_settings.h"
#include "sim/simulator.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/record.h"
#include "store/text_file.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
using model::TallyBetType;

// Every file under a folder with its bytes.
std::map<fs::path, std::string> snapshot(const fs::path& folder) {
  std::map<fs::path, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path()] = test::readFile(entry.path());
  }
  return files;
}

// A setting of one axis pair and one partner, without insurance trios.
const std::string& narrowLine() {
  static const std::string kLine = sj("二,pt勝率,1,pt勝率,2,pt勝率, 3,,,,,,,,,,,,,,,,,,,0,");
  return kLine;
}

int pairsOf(const model::CombinationBlock& block) {
  int count = 0;
  for (const std::string& text : block.quinella) count += text.empty() ? 0 : 1;
  return count;
}

class BettingSessionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempDir>();
    sim::simulate({*s_dir / "source", 10, 11});
    s_days = test::buildHomeFromReplaySource(*s_dir / "source", home() / "DATA", home() / "SEI");
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  // The tests change only the settings and the user combination settings
  // file of the shared home.
  void TearDown() override {
    fs::remove(home() / "orvalle.ini");
    fs::remove(home() / "UserSet.usd");
  }

  static fs::path home() { return *s_dir / "home"; }
  static void writeSettings(const std::vector<std::string>& lines, int setId) {
    store::writeLines(home() / "UserSet.usd", lines);
    Settings(home() / "orvalle.ini").setInteger(settings::kUserSettingId, setId);
  }
  static std::unique_ptr<DaySession> readOnlySession() {
    SessionOptions options;
    options.writePredictions = false;
    return std::make_unique<DaySession>(Home(home()), options);
  }
  static int stakeOf(const DaySession& session, TallyBetType type) {
    return session.tables().tally(type).stake;
  }

  static std::unique_ptr<test::TempDir> s_dir;
  static std::vector<std::string> s_days;  // days with final results
};
std::unique_ptr<test::TempDir> BettingSessionTest::s_dir;
std::vector<std::string> BettingSessionTest::s_days;

TEST_F(BettingSessionTest, TheComparisonFormsAndScoresTheCombinations) {
  auto session = readOnlySession();
  ASSERT_TRUE(session->loadDay(s_days.back(), AfterLoading::kCompare));
  const model::DayTables& tables = session->tables();
  int scored = 0;
  int withPairs = 0;
  int stake = 0;
  int returned = 0;
  for (const model::RaceListEntry& race : session->raceList()) {
    const model::RaceAnalysis& a = tables.analysis(race.raceSlot);
    if (betting::isDebutRace(tables.race(race.raceSlot))) {
      EXPECT_EQ(pairsOf(a.combinations), 0) << race.raceSlot;
      continue;
    }
    ++scored;
    // The default setting pairs axis 1, the best by point win rate, with
    // every other runner of a rank up to 12.
    int ranked = 0;
    for (int r = 0; r < model::kRunnerSlots; ++r) {
      ranked += a.pointWinRateRank[r] >= 1 && a.pointWinRateRank[r] <= 12 ? 1 : 0;
    }
    EXPECT_EQ(pairsOf(a.combinations), std::max(0, ranked - 1)) << race.raceSlot;
    withPairs += pairsOf(a.combinations) > 0 ? 1 : 0;
    EXPECT_EQ(a.combinations.quinellaScores.tally.combinations, pairsOf(a.combinations));
    stake += a.combinations.quinellaPlaceScores.tally.stake;
    returned += a.combinations.quinellaPlaceScores.tally.payoutReturn;
  }
  EXPECT_GT(scored, 0);
  EXPECT_GT(withPairs, 0);
  const model::DayTally& place = tables.tally(TallyBetType::kQuinellaPlace);
  EXPECT_EQ(place.races, scored);
  EXPECT_EQ(place.stake, stake);
  EXPECT_EQ(place.payoutReturn, returned);
  // Final results: with axes among the best rated some place pairs hit.
  EXPECT_GT(tables.tally(TallyBetType::kQuinellaPlace).hits, 0);
}

TEST_F(BettingSessionTest, TheActiveSettingIsReadAtEveryRun) {
  writeSettings({sj(betting::kDefaultUserSettingLine), narrowLine()}, 1);
  auto session = readOnlySession();
  ASSERT_TRUE(session->loadDay(s_days.back(), AfterLoading::kCompare));
  const int narrow = stakeOf(*session, TallyBetType::kQuinella);
  const int races = session->tables().tally(TallyBetType::kQuinella).races;
  EXPECT_LE(narrow, races * 200);  // axis 1 with partner 1 and with axis 2
  EXPECT_GT(narrow, 0);

  // A SetID beyond the last line takes the first.
  Settings(home() / "orvalle.ini").setInteger(settings::kUserSettingId, 9);
  session->calculateCombinations();
  const int wide = stakeOf(*session, TallyBetType::kQuinella);
  EXPECT_GT(wide, narrow);
  EXPECT_GT(stakeOf(*session, TallyBetType::kTrio), 0);

  // Without the file the lines read before stay: SetID 1 is still narrow.
  Settings(home() / "orvalle.ini").setInteger(settings::kUserSettingId, 1);
  fs::remove(home() / "UserSet.usd");
  session->calculateCombinations();
  EXPECT_EQ(stakeOf(*session, TallyBetType::kQuinella), narrow);

  // An empty file: no rules, and the insurance flag stays off as the narrow
  // setting left it, so nothing at all is staked.
  store::writeLines(home() / "UserSet.usd", {});
  session->calculateCombinations();
  EXPECT_EQ(stakeOf(*session, TallyBetType::kQuinella), 0);
  EXPECT_EQ(stakeOf(*session, TallyBetType::kTrio), 0);
  EXPECT_EQ(session->tables().tally(TallyBetType::kTrio).races, races);

  // A new session starts from the default setting when the file is missing.
  fs::remove(home() / "UserSet.usd");
  auto fresh = readOnlySession();
  ASSERT_TRUE(fresh->loadDay(s_days.back(), AfterLoading::kCompare));
  EXPECT_EQ(stakeOf(*fresh, TallyBetType::kQuinella), wide);
}

TEST_F(BettingSessionTest, ACancelledComparisonLeavesNoCombinations) {
  auto session = readOnlySession();
  ASSERT_TRUE(session->loadDay(s_days.back(), AfterLoading::kCompare));
  ASSERT_GT(stakeOf(*session, TallyBetType::kExacta), 0);
  CancelFlag cancel;
  cancel.cancel();
  CommandResult cancelled = session->compareAllRaces({}, &cancel);
  ASSERT_TRUE(cancelled.cancelled());
  EXPECT_FALSE(cancelled.ok());
  EXPECT_EQ(session->tables().tally(TallyBetType::kExacta), model::DayTally{});
  for (const model::RaceListEntry& race : session->raceList()) {
    EXPECT_EQ(pairsOf(session->tables().analysis(race.raceSlot).combinations), 0);
  }
}

TEST_F(BettingSessionTest, BacktestSumsTheDaysAndWritesNothing) {
  writeSettings({sj(betting::kDefaultUserSettingLine), narrowLine()}, 0);
  const auto before = snapshot(home());
  BacktestReport report;
  ASSERT_TRUE(runBacktest(Home(home()), {}, report));
  EXPECT_EQ(snapshot(home()), before);

  // Every final day in date order; the last simulated day has no results.
  std::vector<std::string> scored;
  for (const BacktestDay& day : report.days) scored.push_back(day.day);
  EXPECT_EQ(scored, s_days);
  const std::vector<std::string> all = store::listDays(home() / "DATA");
  EXPECT_EQ(report.skippedDays.size(), all.size() - s_days.size());
  EXPECT_EQ(report.settingIndex, 0);
  EXPECT_EQ(report.settingName, "設定１");

  // The figures are the sums of the days' tallies (the CLI test checks
  // these against analyze).
  for (int t = 0; t < kBetTypeCount; ++t) {
    const BacktestFigures& f = report.figures[static_cast<size_t>(t)];
    int64_t stake = 0;
    int64_t returned = 0;
    for (const BacktestDay& day : report.days) {
      stake += day.tallies[static_cast<size_t>(t)].stake;
      returned += day.tallies[static_cast<size_t>(t)].payoutReturn;
    }
    EXPECT_EQ(f.stake, stake);
    EXPECT_EQ(f.payoutReturn, returned);
    EXPECT_EQ(f.combinations * 100, f.stake);
    EXPECT_LE(f.largestPayout, f.payoutReturn);
    EXPECT_LE(f.longestLosingRun, f.races);
    EXPECT_GT(f.stake, 0);
    if (f.hits > 0) {
      EXPECT_GT(f.largestPayout, 0);
      EXPECT_LT(f.returnRateWithoutLargest(), f.returnRate());
    }
  }
  // Quinella and quinella place stake the same pairs.
  EXPECT_EQ(report.figures[0].stake, report.figures[1].stake);
}

TEST_F(BettingSessionTest, BacktestRangeAndSetting) {
  writeSettings({sj(betting::kDefaultUserSettingLine), narrowLine()}, 0);
  BacktestRequest request;
  const size_t last = s_days.size() - 1;
  request.fromDay = s_days[last - 1];
  request.toDay = s_days[last];
  request.settingIndex = 1;
  BacktestReport narrow;
  ASSERT_TRUE(runBacktest(Home(home()), request, narrow));
  ASSERT_EQ(narrow.days.size(), 2u);
  EXPECT_EQ(narrow.days[0].day, s_days[last - 1]);
  EXPECT_EQ(narrow.settingName, "二");
  EXPECT_EQ(Settings(home() / "orvalle.ini").integer(settings::kUserSettingId), 0);

  request.settingIndex.reset();
  BacktestReport wide;
  ASSERT_TRUE(runBacktest(Home(home()), request, wide));
  EXPECT_GT(wide.figures[0].stake, narrow.figures[0].stake);
  EXPECT_GT(wide.figures[3].stake, 0);
  EXPECT_LE(narrow.figures[3].combinations, narrow.figures[3].races);  // one trio a race at most

  request.settingIndex = 2;
  CommandResult missing = runBacktest(Home(home()), request, narrow);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.text(), "設定がありません: 2 (0-1)");
}

TEST_F(BettingSessionTest, BacktestRefusesIgnoredDates) {
  Settings(home() / "orvalle.ini").setBoolean(settings::kIgnorePastRunDates, true);
  BacktestReport report;
  CommandResult refused = runBacktest(Home(home()), {}, report);
  EXPECT_FALSE(refused);
  EXPECT_NE(refused.text().find("データ読込時過去走の日付を無視する"), std::string::npos);
  EXPECT_TRUE(report.days.empty());
}

TEST_F(BettingSessionTest, BacktestSkipsADayWithAnUnpaidRace) {
  // A copy of the home whose first day lost the payouts of one race.
  test::TempDir copy;
  fs::copy(home(), copy.path(), fs::copy_options::recursive);
  const fs::path hr = store::dayFilePath(copy / "DATA", s_days[0], "", store::kHrExtension);
  std::vector<std::string> lines = store::readLines(hr);
  ASSERT_GT(lines.size(), 1u);
  lines.pop_back();
  store::writeLines(hr, lines);

  BacktestRequest request;
  request.toDay = s_days[1];
  BacktestReport report;
  ASSERT_TRUE(runBacktest(Home(copy.path()), request, report));
  EXPECT_EQ(report.skippedDays, std::vector<std::string>{s_days[0]});
  ASSERT_EQ(report.days.size(), 1u);
  EXPECT_EQ(report.days[0].day, s_days[1]);
}

}  // namespace
}  // namespace orvalle::app
