// The day session as both front ends drive it: outcomes of cancelled
// commands, the comparisons of picked and typed horses, race selection and
// the results command's failure rule.
#include <gtest/gtest.h>

#include <functional>

#include "app/backtest.h"
#include "app/day_session.h"
#include "store/cp932.h"
#include "store/record.h"
#include "support/past_run_builder.h"
#include "support/race_day_builder.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
using test::FieldEntry;
using test::PastRace;
using test::RaceDayBuilder;

constexpr const char* kDate = "20240106";

// Horse h of race 1 is named "ホース00の0h" and carries 55.0 kg.
std::string horseName(int h) { return "ホース00の0" + std::to_string(h); }

class DaySessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Two races of three runners at Nakayama; horses 1 and 2 of race 1 have
    // past runs (one against each other, one each against a third horse),
    // horse 3 has none.
    m_day.addRace("06", 1, 3);
    m_day.addRace("06", 2, 3);
    m_day.payout(0)
        .setRaw(store::hr::kQuinella.combination(0), "0102")
        .setNumber(store::hr::kQuinella.payout(0), 500);
    m_day.write(m_home / "DATA");
    PastRace together;
    together.date = 20231202;
    together.field = {{horseName(1), 1350}, {horseName(2), 1352}};
    PastRace withOther;
    withOther.date = 20231111;
    withOther.field = {{horseName(1), 1350}, {"デルタ", 1355}};
    writeRuns(1, {together, withOther});
    withOther.field[0].name = horseName(2);
    PastRace asSecond = together;
    asSecond.own = 2;
    writeRuns(2, {asSecond, withOther});
    // The source of the results command: one RA record of the day.
    test::writeFile(m_source / "0B12" / (std::string(kDate) + ".txt"),
                    test::RecordBuilder::ra(m_day.raceKey(0), '5')
                        .setNumber(store::ra::kRegisteredRunners, 3)
                        .record());
  }

  void writeRuns(int horse, const std::vector<PastRace>& runs) {
    std::vector<std::string> lines;
    for (const PastRace& run : runs) lines.push_back(test::pastRunLine(run));
    test::writePastRunFile(m_home / "SEI", RaceDayBuilder::registrationNumber(0, horse), lines);
  }

  DaySession& loaded() {
    CommandResult result = m_session.loadDay(m_day.stem(), AfterLoading::kNothing);
    EXPECT_TRUE(result) << result.text();
    return m_session;
  }

  test::TempDir m_home;
  test::TempDir m_source;
  RaceDayBuilder m_day{kDate};
  DaySession m_session{Home(m_home.path())};
};

TEST_F(DaySessionTest, EveryLongCommandEndsCancelledOnACancel) {
  CancelFlag cancel;
  cancel.cancel();
  acquire::ResultsFetchObserver observer;
  BacktestReport report;
  const std::vector<std::pair<const char*, std::function<CommandResult()>>> commands = {
      {"loadDay",
       [&] { return m_session.loadDay(m_day.stem(), AfterLoading::kNothing, {}, &cancel); }},
      {"compareAllRaces", [&] { return loaded().compareAllRaces({}, &cancel); }},
      {"processDays", [&] { return loaded().processDays({m_day.stem()}, {}, &cancel); }},
      {"fetchResults",
       [&] {
         return loaded().fetchResults(m_source.path().string(), observer, {}, &cancel).result;
       }},
      {"writeHitReport",
       [&] { return loaded().writeHitReport(output::HitReportKind::kFull, {}, &cancel).result; }},
      {"runBacktest",
       [&] {
         BacktestRequest request;
         request.cancel = &cancel;
         return runBacktest(Home(m_home.path()), request, report);
       }},
  };
  for (const auto& [name, run] : commands) {
    const CommandResult result = run();
    EXPECT_TRUE(result.cancelled()) << name;
    EXPECT_FALSE(result.ok()) << name;
    EXPECT_FALSE(result.failed()) << name;
    EXPECT_TRUE(result.notices.empty()) << name << ": " << result.text();
  }
  EXPECT_TRUE(report.cancelled);
  // Nothing was written by the cancelled hit report.
  EXPECT_FALSE(fs::exists(m_home / "HPupload"));
}

TEST_F(DaySessionTest, ACancelledLoadStopsAtTheNextRunnerAndLeavesNoDay) {
  (void)loaded();
  CancelFlag cancel;
  int runnerReports = 0;
  auto progress = [&](const Progress& report) {
    // Runner lines read "中山 1R/①ホース…".
    if (report.upperLine.find("R/") == std::string::npos) return;
    ++runnerReports;
    cancel.cancel();
  };
  CommandResult result = m_session.loadDay(m_day.stem(), AfterLoading::kCompare, progress, &cancel);
  EXPECT_TRUE(result.cancelled());
  EXPECT_EQ(runnerReports, 1);
  EXPECT_TRUE(m_session.loadedDay().empty());
  EXPECT_TRUE(m_session.raceList().empty());
  EXPECT_TRUE(m_session.tables().isRaceEmpty(0));
}

TEST_F(DaySessionTest, TheSameHorseTwiceIsOneNameTypedInBothBoxes) {
  DaySession& session = loaded();
  ComparisonOutcome direct = session.compareRunners(ComparisonKind::kHeadToHead, 1, 1);
  EXPECT_TRUE(direct.result.failed());
  EXPECT_EQ(direct.result.text(), "２頭の馬は別の馬名を入力してください。");
  EXPECT_TRUE(direct.result.notices.back().beep);

  // Every run of the horse holds it twice over: no common opponent.
  ComparisonOutcome twoHorses = session.compareRunners(ComparisonKind::kTwoHorses, 1, 1);
  ASSERT_TRUE(twoHorses.result.ok()) << twoHorses.result.text();
  ASSERT_EQ(twoHorses.grid.rows.size(), 1u);
  EXPECT_EQ(twoHorses.grid.rows[0][0], sj("該当ナシ"));
  EXPECT_FALSE(twoHorses.countLabel);
  ASSERT_TRUE(twoHorses.pointLabels);
  EXPECT_EQ(*twoHorses.pointLabels, (std::array<std::string, 4>{"  0", "  0", "  0", "  0"}));
}

TEST_F(DaySessionTest, TypedNamesAreComparedWithThePickedWeightsAndHorses) {
  DaySession& session = loaded();
  ASSERT_TRUE(session.pickRunner(0));
  ASSERT_TRUE(session.pickRunner(1));
  const std::string edit1 = cp932::toUtf8(session.picker().edit1());
  const std::string edit2 = cp932::toUtf8(session.picker().edit2());
  EXPECT_EQ(edit1, horseName(1));
  EXPECT_EQ(edit2, horseName(2));

  // The names as picked give what the command line's compare gives.
  for (ComparisonKind kind : {ComparisonKind::kTwoHorses, ComparisonKind::kHeadToHead}) {
    ComparisonOutcome typed = session.compareHorses(kind, edit1, edit2);
    ASSERT_TRUE(typed.result.ok()) << typed.result.text();
    ComparisonOutcome byNumber = session.compareRunners(kind, 1, 2);
    EXPECT_EQ(typed.grid.rows, byNumber.grid.rows);
    EXPECT_EQ(typed.countLabel, byNumber.countLabel);
    EXPECT_EQ(typed.pointLabels, byNumber.pointLabels);
  }
  EXPECT_EQ(session.compareHorses(ComparisonKind::kTwoHorses, edit1, edit2).countLabel,
            sj("該当数：1"));
  EXPECT_FALSE(session.compareHorses(ComparisonKind::kHeadToHead, edit1, edit2).pointLabels);

  const struct {
    const char* edit2;
    const char* message;
    bool beep;
  } failures[] = {
      {"", "２頭の馬名の入力をしてください。", true},
      {"\xF0\x9F\x90\x8E", "値に Shift-JIS (CP932) で表せない文字が含まれています。", true},
      {"\xFF", "値が UTF-8 の文字列ではありません。", true},
  };
  for (const auto& failure : failures) {
    ComparisonOutcome outcome =
        session.compareHorses(ComparisonKind::kTwoHorses, edit1, failure.edit2);
    EXPECT_TRUE(outcome.result.failed()) << failure.message;
    EXPECT_EQ(outcome.result.text(), failure.message);
    EXPECT_EQ(outcome.result.notices.back().beep, failure.beep) << failure.message;
    EXPECT_TRUE(outcome.grid.rows.empty());
  }

  // Horse 3 has no past-run file: said without the beep.
  ASSERT_TRUE(session.pickRunner(2));
  ComparisonOutcome missing = session.compareHorses(ComparisonKind::kTwoHorses, edit1,
                                                    cp932::toUtf8(session.picker().edit2()));
  EXPECT_EQ(missing.result.text(), horseName(3) + "　　　の馬過去走データが見つかりません。");
  EXPECT_FALSE(missing.result.notices.back().beep);

  // "クリア" empties the names and keeps the horses.
  session.clearPicks();
  EXPECT_EQ(session.picker().edit1(), "");
  EXPECT_EQ(session.picker().horseA(), RaceDayBuilder::registrationNumber(0, 1));
}

TEST_F(DaySessionTest, RacesAndHorsesOutOfRangeFailWithTheirMessages) {
  EXPECT_EQ(m_session.compareRunners(ComparisonKind::kTwoHorses, 1, 2).result.text(),
            "出馬表が読み込まれていません。");
  DaySession& session = loaded();
  EXPECT_EQ(session.selectRace(2).text(), "レースがありません: 3 (1-2)");
  EXPECT_EQ(session.selectRace(-1).text(), "レースがありません: 0 (1-2)");
  ASSERT_TRUE(session.selectRace(1));
  EXPECT_EQ(session.tables().currentRace, 1);
  EXPECT_EQ(session.pickRunner(3).text(), "馬番がありません: 4");
  EXPECT_EQ(session.compareRunners(ComparisonKind::kTwoHorses, 1, 4).result.text(),
            "馬番がありません: 4");
  EXPECT_EQ(session.runnerCount(1), 3);
}

TEST_F(DaySessionTest, OnlyAJvLinkFailureFailsTheResultsCommandAndTheImportRunsAnyway) {
  DaySession& session = loaded();
  acquire::ResultsFetchObserver observer;
  int storedReports = 0;
  auto progress = [&](const Progress& report) {
    ++storedReports;
    EXPECT_EQ(report.position, storedReports);
  };
  ResultsOutcome fetched = session.fetchResults(m_source.path().string(), observer, progress);
  EXPECT_TRUE(fetched.result.ok()) << fetched.result.text();
  EXPECT_EQ(storedReports, fetched.fetch.storedRecords);
  EXPECT_EQ(storedReports, 1);

  // No results for the day: no failure.
  fs::remove_all(m_source / "0B12");
  ResultsOutcome none = session.fetchResults(m_source.path().string(), observer);
  EXPECT_EQ(none.fetch.openCode, acquire::jv::kNoData);
  EXPECT_TRUE(none.result.ok()) << none.result.text();

  test::writeFile(m_source / "jvlink.ini", "[emulate]\nrtopen=-504\n");
  ResultsOutcome failed = session.fetchResults(m_source.path().string(), observer);
  EXPECT_TRUE(failed.result.failed());
  EXPECT_EQ(failed.result.text(), "JVRTOpenエラー:サーバーがメンテナンス中です。(-504)");
  EXPECT_TRUE(failed.import.payoutFileRead);
  EXPECT_EQ(failed.import.racesScored, 2);
}

TEST_F(DaySessionTest, TheHitReportReportsEachRace) {
  DaySession& session = loaded();
  std::vector<Progress> reports;
  HitReportOutcome outcome = session.writeHitReport(
      output::HitReportKind::kFull, [&](const Progress& report) { reports.push_back(report); });
  EXPECT_TRUE(outcome.result.ok());
  ASSERT_EQ(reports.size(), 2u);
  for (size_t k = 0; k < reports.size(); ++k) {
    EXPECT_EQ(reports[k].position, static_cast<int>(k + 1));
    EXPECT_EQ(reports[k].maximum, 2);
    EXPECT_EQ(reports[k].lowerLine, cp932::toUtf8(session.raceList()[k].line));
  }
}

}  // namespace
}  // namespace orvalle::app
