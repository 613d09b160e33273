#include "acquire/acquisition.h"

#include "store/day_file_names.h"

#include <gtest/gtest.h>

#include <thread>

#include "acquire/replay_jv_link.h"
#include "acquisition_test_support.h"
#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/fixed_width.h"
#include "store/past_run_record.h"
#include "store/record.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::acquire {
namespace {

namespace fs = std::filesystem;
using orvalle::test::RaceDay;
using orvalle::test::readFile;
using orvalle::test::RecordBuilder;
using orvalle::test::snapshotFiles;
using orvalle::test::TempDir;
using orvalle::test::writeDataFile;
using orvalle::test::writeFile;
using test::FakeJvLink;
using test::RecordingObserver;

const std::string kFromTime = "20240101000000";
// Day files committed after every data file, as the tests of a data file
// expect.
constexpr AcquisitionSettings kFast{std::chrono::milliseconds(1), size_t{64} << 20,
                                    store::WritePolicy::kDeferred, std::chrono::milliseconds(0)};

class AcquisitionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(data());
    fs::create_directories(sei());
  }

  fs::path data() const { return m_home / "DATA"; }
  fs::path sei() const { return m_home / "SEI"; }
  fs::path racediff() const { return m_source / "RACEDIFF"; }
  fs::path pastRunFile(std::string_view number) const {
    return sei() / std::string(number.substr(0, 4)) / (std::string(number) + ".kak");
  }

  // One acquisition of the replay source.
  AcquisitionResult acquire(const std::string& fromTime = kFromTime, int option = kOptionNormal,
                            const fs::path& source = {}) {
    ReplayJvLink link(source.empty() ? m_source.path() : source);
    EXPECT_TRUE(initialiseJvLink(link));
    Acquisition acquisition(link, data(), sei(), kFast);
    return acquisition.run({fromTime, option}, m_observer);
  }

  // One acquisition with the fake JV-Link.
  AcquisitionResult acquire(FakeJvLink& link) {
    Acquisition acquisition(link, data(), sei(), kFast);
    return acquisition.run({kFromTime, kOptionNormal}, m_observer);
  }

  TempDir m_home;
  TempDir m_source;
  RecordingObserver m_observer;
};

TEST_F(AcquisitionTest, StoresEveryFileBuildsPastRunsAndSavesTheLastTime) {
  RaceDay first{.date = "20240106"};
  RaceDay second{.date = "20240107"};
  writeDataFile(racediff(), "20240106180000", "day1.txt", first.records());
  writeDataFile(racediff(), "20240107183000", "day2.txt", second.records());

  AcquisitionResult result = acquire();
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kCompleted);
  EXPECT_EQ(result.counts.readCount, 2);
  EXPECT_EQ(result.filesRead, 2);
  EXPECT_EQ(result.storedRecords, 20);
  EXPECT_EQ(result.resultDays,
            (std::vector<std::string>{"2024年01月06日.jvRA", "2024年01月07日.jvRA"}));
  EXPECT_EQ(result.construction.lines, 12);
  EXPECT_EQ(result.lastTime, "2024/01/07 18:30:00");

  EXPECT_EQ(m_observer.with("status:"),
            (std::vector<std::string>{
                "status:ReadCount:2, DownloadCount:0", "status:データ読込み中．．．(0/2)",
                "status:データ読込み中．．．(1/2)", "status:データ読込み完了(2/2)",
                "status:データ作成が完了しました。"}));
  EXPECT_EQ(m_observer.with("build:"),
            (std::vector<std::string>{"build:2024年01月06日", "build:2024年01月07日",
                                      "build:過去走データを構築しました。"}));
  EXPECT_EQ(m_observer.with("bar"),
            (std::vector<std::string>{"bar0:0/100", "bar1:0/100", "bar0:100/100", "bar1:0/2",
                                      "bar1:1/2", "bar0:0/100", "bar1:0/2", "bar2:0/2", "bar2:1/2",
                                      "bar2:2/2", "bar2:0/2"}));
  EXPECT_EQ(m_observer.with("lastTime:"),
            (std::vector<std::string>{"lastTime:2024/01/07 18:30:00"}));

  // The list shows the records of the current file and is emptied at each
  // file switch.
  std::vector<std::string> list;
  for (const std::string& event : m_observer.events) {
    if (event == "clear") list.clear();
    if (event.starts_with("list:")) list.push_back(event.substr(5));
  }
  ASSERT_EQ(list.size(), 10u);
  EXPECT_EQ(list[0], "作成済み:01R/2024年01月07日.jvRA");
  EXPECT_EQ(list[1], "作成済み:01R/01番/2024年01月07日中山.jvSEr");
  EXPECT_EQ(list[4], "作成済み:01R/2024年01月07日.jvHR");

  // Every runner of both days has its file: one sorted line per race.
  std::vector<std::string> lines = store::readLines(pastRunFile(first.registrationNumber(1, 2)));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(store::past_run::kRaceKey.in(lines[0]), first.raceKey(1));
  EXPECT_EQ(store::past_run::kRaceKey.in(lines[1]), second.raceKey(1));
  EXPECT_EQ(lines[0].size(), store::kPastRunLineLength);
  EXPECT_EQ(store::past_run::kRegistrationNumber.in(lines[0]), first.registrationNumber(1, 2));
  // The field in finishing order starts with the winner (horse 3 of 3).
  EXPECT_EQ(store::past_run::kFieldInFinishingOrder.in(lines[0]).substr(18, 10),
            first.registrationNumber(1, 3));
  // The transfer ends by closing, which beeps.
  EXPECT_EQ(m_observer.events.back(), "beep");
}

TEST_F(AcquisitionTest, NothingNewGivesNoDataAndClosesTheTransfer) {
  struct Case {
    const char* name;
    int openCode;
    int readCount;
  };
  for (const Case& c : {Case{"JVOpen -1", -1, 0}, Case{"read count 0", 0, 0}}) {
    SCOPED_TRACE(c.name);
    FakeJvLink link;
    link.openCode = c.openCode;
    link.counts.readCount = c.readCount;
    m_observer.events.clear();
    AcquisitionResult result = acquire(link);
    EXPECT_EQ(result.outcome, AcquisitionOutcome::kNoData);
    EXPECT_EQ(link.calls, (std::vector<std::string>{"JVOpen:20240101000000:1", "JVClose"}));
    EXPECT_EQ(m_observer.from("beep"),
              (std::vector<std::string>{"beep", "info:最新のデータがありません。", "beep"}));
  }
  // The same through the replay source: an empty source, and a forced
  // JVOpen 0 without files.
  for (const char* ini : {"", "[emulate]\nopen=0\n"}) {
    writeFile(m_source / "jvlink.ini", ini);
    m_observer.events.clear();
    EXPECT_EQ(acquire().outcome, AcquisitionOutcome::kNoData);
    EXPECT_TRUE(m_observer.has("info:最新のデータがありません。"));
  }
}

TEST_F(AcquisitionTest, JvLinkErrorsAreReportedInTheirWordsAndCloseTheTransfer) {
  struct Case {
    const char* expected;
    std::function<void(FakeJvLink&)> setUp;
  };
  const std::string record = RaceDay{}.raRecord(1);
  const Case cases[] = {
      {"error:JVOpenエラー:サーバーがメンテナンス中です。(-504)",
       [](FakeJvLink& link) { link.openCode = -504; }},
      {"error:JVStatusエラー:ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-502)",
       [](FakeJvLink& link) {
         link.counts = {2, 2, "20240106180000"};
         link.statusResults = {0, 1, -502};
       }},
      {"error:JVReadエラー:ダウンロードしたファイルサイズが異常です。(-402)",
       [&record](FakeJvLink& link) {
         link.counts = {1, 0, "20240106180000"};
         link.addRecord(record);
         link.addCode(-402);
       }},
      {"error:JVCloseエラー:(-201)",
       [](FakeJvLink& link) {
         link.counts = {1, 0, "20240106180000"};
         link.closeCode = -201;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    FakeJvLink link;
    c.setUp(link);
    m_observer.events.clear();
    AcquisitionResult result = acquire(link);
    EXPECT_EQ(result.outcome, AcquisitionOutcome::kFailed);
    EXPECT_EQ(link.count("JVClose"), 1);
    EXPECT_EQ(link.calls.back(), "JVClose");
    ASSERT_TRUE(m_observer.has(c.expected));
    // The error comes after a beep.
    auto events = m_observer.events;
    auto at = std::find(events.begin(), events.end(), c.expected);
    EXPECT_EQ(*(at - 1), "beep");
  }
}

TEST_F(AcquisitionTest, AReadErrorKeepsTheRecordsStoredBeforeItAndSavesNoLastTime) {
  writeDataFile(racediff(), "20240106180000", "day1.txt", RaceDay{.date = "20240106"}.records());
  writeDataFile(racediff(), "20240107180000", "day2.txt", RaceDay{.date = "20240107"}.records());
  writeFile(m_source / "jvlink.ini", "[emulate]\nread_error=2:1:-402\n");
  AcquisitionResult result = acquire();
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kFailed);
  EXPECT_TRUE(
      m_observer.has("error:JVReadエラー:ダウンロードしたファイルサイズが異常です。(-402)"));
  EXPECT_TRUE(fs::exists(data() / "2024年01月06日中山.jvSEr"));
  EXPECT_FALSE(fs::exists(data() / "2024年01月07日.jvRA"));
  EXPECT_TRUE(m_observer.with("lastTime:").empty());
  EXPECT_TRUE(m_observer.with("build:").empty());
  EXPECT_TRUE(fs::is_empty(sei()));
}

TEST_F(AcquisitionTest, DownloadCountAboveZeroWaitsForTheDownload) {
  writeFile(m_source / "jvlink.ini", "[emulate]\ndownload_ms=5\n");
  writeDataFile(racediff(), "20240106180000", "a.txt", RaceDay{.date = "20240106"}.records());
  writeDataFile(racediff(), "20240106180001", "b.txt", {});
  writeDataFile(racediff(), "20240106180002", "c.txt", {});
  AcquisitionResult result = acquire();
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kCompleted);
  EXPECT_EQ(result.counts.downloadCount, 3);

  std::vector<std::string> statuses = m_observer.with("status:");
  ASSERT_GE(statuses.size(), 4u);
  EXPECT_EQ(statuses[0], "status:ReadCount:3, DownloadCount:3");
  EXPECT_EQ(statuses[1], "status:ダウンロード中・・・");
  // The wait shows each count it sees and ends at the download count, then
  // reading starts.
  auto done = std::find(statuses.begin(), statuses.end(), "status:ダウンロード中．．．(3/3)");
  ASSERT_NE(done, statuses.end());
  EXPECT_EQ(*(done + 1), "status:データ読込み中．．．(0/3)");
  EXPECT_TRUE(m_observer.has("bar0:0/3"));
  EXPECT_TRUE(m_observer.has("bar0:3/3"));
  EXPECT_FALSE(m_observer.has("bar0:100/100"));
}

TEST_F(AcquisitionTest, CancelDuringTheDownloadClosesTheTransfer) {
  FakeJvLink link;
  link.counts = {2, 2, "20240106180000"};
  link.statusResults = {0};
  Acquisition acquisition(link, data(), sei(), kFast);
  link.onStatus = [&acquisition](size_t call) {
    if (call == 1) {
      EXPECT_TRUE(acquisition.cancel());
    }
  };
  AcquisitionResult result = acquisition.run({kFromTime, kOptionNormal}, m_observer);
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kCancelled);
  EXPECT_EQ(link.cancelCalls, 1);
  EXPECT_EQ(link.count("JVRead"), 0);
  EXPECT_EQ(link.count("JVClose"), 1);
  EXPECT_EQ(m_observer.from("info:JVCancel:キャンセルされました"),
            (std::vector<std::string>{"info:JVCancel:キャンセルされました",
                                      "status:JVCancel:キャンセルされました", "beep"}));
  EXPECT_FALSE(acquisition.isRunning());
  EXPECT_FALSE(acquisition.cancel());  // nothing runs any more
}

TEST_F(AcquisitionTest, CancelFromAnotherThreadEndsAWaitingTransfer) {
  writeFile(m_source / "jvlink.ini", "[emulate]\ndownload_ms=600000\n");
  writeDataFile(racediff(), "20240106180000", "a.txt", RaceDay{}.records());
  ReplayJvLink link(m_source.path());
  ASSERT_TRUE(initialiseJvLink(link));
  Acquisition acquisition(link, data(), sei(), kFast);
  AcquisitionResult result;
  std::thread worker([&] { result = acquisition.run({kFromTime, kOptionNormal}, m_observer); });
  while (!acquisition.isRunning()) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // The cancel may come before the worker has started its transfer; it
  // retries until a transfer is running.
  while (!acquisition.cancel()) std::this_thread::yield();
  worker.join();
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kCancelled);
  EXPECT_TRUE(m_observer.has("info:JVCancel:キャンセルされました"));
  EXPECT_TRUE(fs::is_empty(data()));
}

TEST_F(AcquisitionTest, CancelDuringTheReadStopsBeforeTheNextRecord) {
  RaceDay day;
  FakeJvLink link;
  link.counts = {1, 0, "20240106180000"};
  for (int race = 1; race <= 3; ++race) link.addRecord(day.raRecord(race));
  Acquisition acquisition(link, data(), sei(), kFast);
  link.onRead = [&acquisition](size_t call) {
    if (call == 1) acquisition.cancel();
  };
  AcquisitionResult result = acquisition.run({kFromTime, kOptionNormal}, m_observer);
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kCancelled);
  EXPECT_EQ(link.count("JVRead"), 2);
  EXPECT_EQ(link.count("JVClose"), 1);
  EXPECT_EQ(result.storedRecords, 2);
  // What was stored before the cancel is on disk; no last time.
  EXPECT_EQ(store::readLines(data() / "2024年01月06日.jvRA").size(), 2u);
  EXPECT_TRUE(m_observer.with("lastTime:").empty());
  EXPECT_FALSE(m_observer.has("status:データ作成が完了しました。"));
}

TEST_F(AcquisitionTest, ASecondStartWhileOneRunsIsRefused) {
  writeDataFile(racediff(), "20240106180000", "a.txt", RaceDay{}.records());
  ReplayJvLink link(m_source.path());
  ASSERT_TRUE(initialiseJvLink(link));
  Acquisition acquisition(link, data(), sei(), kFast);
  RecordingObserver second;
  std::optional<AcquisitionOutcome> secondOutcome;
  m_observer.onListLine = [&](const std::string&) {
    if (!secondOutcome) secondOutcome = acquisition.run({kFromTime, kOptionNormal}, second).outcome;
  };
  AcquisitionResult result = acquisition.run({kFromTime, kOptionNormal}, m_observer);
  EXPECT_EQ(secondOutcome, AcquisitionOutcome::kRefused);
  EXPECT_EQ(second.events,
            (std::vector<std::string>{"beep",
                                      "error:データ取込み中です。終了してから開始してください。"}));
  // The first transfer was not disturbed.
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kCompleted);
  EXPECT_FALSE(acquisition.isRunning());
}

TEST_F(AcquisitionTest, AMissingSeDayFileStopsTheConstructionAndKeepsEarlierDays) {
  RaceDay first{.date = "20240106"};
  RaceDay second{.date = "20240113"};
  writeDataFile(racediff(), "20240106180000", "day1.txt", first.records());
  // The second day's runners have not arrived.
  writeDataFile(racediff(), "20240113180000", "day2.txt",
                {second.raRecord(1), second.raRecord(2), second.hrRecord(1)});
  AcquisitionResult result = acquire();
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kFailed);
  EXPECT_EQ(result.construction.outcome, ConstructionOutcome::kIncompleteData);
  EXPECT_EQ(m_observer.from("build:2024年01月13日"),
            (std::vector<std::string>{
                "build:2024年01月13日", "beep",
                "error:サーバーにデータが揃っていないようです。時間をおいて再度データを取り込んで"
                "ください。",
                "beep"}));
  EXPECT_EQ(store::readLines(pastRunFile(first.registrationNumber(2, 3))).size(), 1u);
  EXPECT_FALSE(result.lastTime);
  EXPECT_TRUE(m_observer.with("lastTime:").empty());
  EXPECT_FALSE(m_observer.has("status:データ作成が完了しました。"));
}

TEST_F(AcquisitionTest, ARunnersLineOfTheSameRaceIsReplaced) {
  RaceDay day;
  const std::string number = day.registrationNumber(1, 1);
  std::string stale(store::kPastRunLineLength, 'x');
  stale.replace(0, 16, day.raceKey(1));
  std::string older(store::kPastRunLineLength, 'b');
  older.replace(0, 16, "2023120906050311");
  writeFile(pastRunFile(number), stale + "\r\n" + older + "\r\n");
  writeDataFile(racediff(), "20240106180000", "a.txt", day.records());

  ASSERT_EQ(acquire().outcome, AcquisitionOutcome::kCompleted);
  std::vector<std::string> lines = store::readLines(pastRunFile(number));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], older);
  EXPECT_EQ(store::past_run::kRaceKey.in(lines[1]), day.raceKey(1));
  EXPECT_EQ(store::past_run::kRegistrationNumber.in(lines[1]), number);
}

TEST_F(AcquisitionTest, ARunnerWithAnInvalidRegistrationNumberIsSkippedAndReported) {
  RaceDay day{.races = 1};
  std::vector<std::string> records = day.records();
  records[2] = RecordBuilder::se(day.raceKey(1), 2)
                   .setRaw(store::se::kRegistrationNumber, "../../x")
                   .record();
  writeDataFile(racediff(), "20240106180000", "a.txt", records);

  AcquisitionResult result = acquire();
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kCompleted);
  ASSERT_EQ(result.construction.skippedRunners.size(), 1u);
  EXPECT_EQ(result.construction.skippedRunners[0].horseNumber, "02");
  EXPECT_EQ(result.construction.skippedRunners[0].registrationNumber, "../../x   ");
  ASSERT_EQ(m_observer.with("warning:").size(), 1u);
  EXPECT_NE(m_observer.with("warning:")[0].find("../../x"), std::string::npos);
  EXPECT_EQ(result.construction.lines, 2);
  // No file but those of the two valid runners.
  EXPECT_EQ(snapshotFiles(sei()).size(), 2u);
  EXPECT_FALSE(fs::exists(m_home / "x"));
  EXPECT_FALSE(fs::exists(sei() / "x"));
  EXPECT_TRUE(result.lastTime);
}

TEST_F(AcquisitionTest, RecordsTheAcquisitionDoesNotKeepNeverReachADayFile) {
  RaceDay day;
  const std::string key = day.raceKey(1);
  writeDataFile(
      racediff(), "20240106180000", "a.txt",
      {
          RecordBuilder::ra(key, 'A').setNumber(store::ra::kRegisteredRunners, 3).record(),
          RecordBuilder::se(key, 1, 'B').record(),
          RecordBuilder::hr(key, 'A').record(),
          // From-date 2024/01/01 minus 10 keeps nothing of December.
          RaceDay{.date = "20231231"}.raRecord(1),
          RecordBuilder::ra(day.date + "06010100", '7')
              .setNumber(store::ra::kRegisteredRunners, 3)
              .record(),
          RecordBuilder::se(key, 0).record(),
          RecordBuilder::se(key, 19).record(),
          "XX junk\r\n",
          day.seRecord(1, 2),
      });
  AcquisitionResult result = acquire();
  EXPECT_EQ(result.storedRecords, 1);
  EXPECT_EQ(m_observer.with("list:"),
            (std::vector<std::string>{"list:作成済み:01R/02番/2024年01月06日中山.jvSEr"}));
  EXPECT_EQ(snapshotFiles(data()).size(), 1u);
}

TEST_F(AcquisitionTest, RecordsOfImpossibleDatesAreSkippedAndTold) {
  RaceDay day{.races = 1};
  std::vector<std::string> records = day.records();
  const char* const kDates[] = {"99999999", "20241332", "00000000", "20230229",
                                "2024010A", "20240230", "19991231"};
  for (const char* date : kDates) {
    records.push_back(RecordBuilder::ra(std::string(date) + "06010101", '7')
                          .setNumber(store::ra::kRegisteredRunners, 1)
                          .record());
  }
  records.push_back(RecordBuilder::se("2024133206010101", 1).record());
  writeDataFile(racediff(), "20240106180000", "a.txt", records);
  // A day file of an impossible date left by an older version is not a day.
  orvalle::test::writeFile(data() / "2024年13月32日.jvRA", std::string(1270, ' ') + "\r\n");

  AcquisitionResult result = acquire();
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kCompleted);
  EXPECT_EQ(result.badDateRecords, 7);
  const std::vector<std::string> warnings = m_observer.with("warning:");
  ASSERT_EQ(warnings.size(), 6u);  // five told, then the count of the rest
  EXPECT_NE(warnings[0].find("RA 9999999906010101"), std::string::npos) << warnings[0];
  EXPECT_NE(warnings[5].find("2件"), std::string::npos) << warnings[5];
  EXPECT_EQ(store::listDays(data()), (std::vector<std::string>{"2024年01月06日"}));
}

TEST_F(AcquisitionTest, HorseNamesKeepTheirCp932Characters) {
  RaceDay day{.races = 1, .runners = 1};
  writeDataFile(
      racediff(), "20240106180000", "a.txt",
      {day.raRecord(1), RecordBuilder::se(day.raceKey(1), 1)
                            .setRaw(store::se::kRegistrationNumber, day.registrationNumber(1, 1))
                            .set(store::se::kHorseName, "①Ⅱ㈱ﾃｽﾄ－馬")
                            .setNumber(store::se::kFinishingPosition, 1)
                            .record()});
  ASSERT_EQ(acquire().outcome, AcquisitionOutcome::kCompleted);
  std::vector<std::string> lines = store::readLines(pastRunFile(day.registrationNumber(1, 1)));
  ASSERT_EQ(lines.size(), 1u);
  const std::string name = store::fitWidth(sj("①Ⅱ㈱ﾃｽﾄ－馬"), 18);
  EXPECT_EQ(store::past_run::kHorseName.in(lines[0]), name);
  EXPECT_EQ(cp932::toUtf8(store::trim(store::past_run::kHorseName.in(lines[0]))), "①Ⅱ㈱ﾃｽﾄ－馬");
  EXPECT_EQ(store::se::kHorseName.in(store::readLines(data() / "2024年01月06日中山.jvSEr")[0])
                .substr(0, name.size()),
            name);
}

TEST_F(AcquisitionTest, AcquiringTheSameSourceAgainLeavesEveryFileByteIdentical) {
  writeDataFile(racediff(), "20240105120000", "entries.txt", RaceDay{.dataKind = '2'}.records());
  writeDataFile(racediff(), "20240106180000", "final.txt", RaceDay{}.records());
  writeDataFile(racediff(), "20240113180000", "next.txt", RaceDay{.date = "20240113"}.records());
  ASSERT_EQ(acquire().outcome, AcquisitionOutcome::kCompleted);
  const auto before = snapshotFiles(m_home.path());
  ASSERT_EQ(acquire().outcome, AcquisitionOutcome::kCompleted);
  EXPECT_EQ(snapshotFiles(m_home.path()), before);
}

TEST_F(AcquisitionTest, TwoStepsGiveTheSameFilesAsOne) {
  std::vector<std::pair<std::string, std::vector<std::string>>> files = {
      {"20240104120000", RaceDay{.dataKind = '1'}.records()},
      {"20240106180000", RaceDay{}.records()},
      {"20240111120000", RaceDay{.date = "20240113", .dataKind = '2'}.records()},
      {"20240113180000", RaceDay{.date = "20240113"}.records()},
  };
  TempDir half;
  for (size_t i = 0; i < files.size(); ++i) {
    writeDataFile(racediff(), files[i].first, "d.txt", files[i].second);
    if (i < 2) writeDataFile(half / "RACEDIFF", files[i].first, "d.txt", files[i].second);
  }
  ASSERT_EQ(acquire().outcome, AcquisitionOutcome::kCompleted);
  const auto once = snapshotFiles(m_home.path());
  fs::remove_all(data());
  fs::remove_all(sei());
  SetUp();

  AcquisitionResult first = acquire(kFromTime, kOptionNormal, half.path());
  ASSERT_EQ(first.lastTime, "2024/01/06 18:00:00");
  AcquisitionResult rest = acquire("20240106180000");
  EXPECT_EQ(rest.counts.readCount, 2);
  EXPECT_EQ(snapshotFiles(m_home.path()), once);
}

TEST_F(AcquisitionTest, AWriteFailureEndsTheReadLoopAndIsReported) {
  writeDataFile(racediff(), "20240106180000", "day1.txt", RaceDay{.date = "20240106"}.records());
  writeDataFile(racediff(), "20240107180000", "day2.txt", RaceDay{.date = "20240107"}.records());
  store::injectAtomicWriteFaultForTesting(store::AtomicWriteFault::kRename);
  AcquisitionResult result = acquire();
  EXPECT_EQ(result.outcome, AcquisitionOutcome::kFailed);
  std::vector<std::string> errors = m_observer.with("error:");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].starts_with("error:ファイルを書き込めませんでした")) << errors[0];
  // Nothing of the second file was read; the first file's records are on
  // disk; the transfer was closed (its beep ends the events).
  EXPECT_FALSE(fs::exists(data() / "2024年01月07日.jvRA"));
  EXPECT_EQ(store::readLines(data() / "2024年01月06日.jvRA").size(), 2u);
  EXPECT_EQ(store::readLines(data() / "2024年01月06日中山.jvSEr").size(), 216u);
  EXPECT_EQ(m_observer.events.back(), "beep");
  EXPECT_TRUE(m_observer.with("lastTime:").empty());
  EXPECT_TRUE(fs::is_empty(sei()));
}

TEST(AcquisitionTextTest, StartMessageAndLastTime) {
  EXPECT_EQ(Acquisition::startMessage("20240105183009"),
            "2024年01月05日18時30分09秒以降のデータ取込を開始します。データ作成が終了するまで"
            "本ソフトを操作したり他のアプリケーションを操作することは極力避けてください。");
  EXPECT_EQ(Acquisition::lastTimeOfTimestamp("20240105183009"), "2024/01/05 18:30:09");
  EXPECT_EQ(Acquisition::lastTimeOfTimestamp(" 20240105183009 "), "2024/01/05 18:30:09");
  for (const char* none :
       {"", "              ", "00000000000000", "2024010518300", "2024O105183009"}) {
    EXPECT_FALSE(Acquisition::lastTimeOfTimestamp(none)) << none;
  }
}

TEST(AcquisitionTextTest, JvLinkSettingsErrorIsReported) {
  FakeJvLink link;
  RecordingObserver observer;
  EXPECT_EQ(showJvLinkSettings(link, observer), 0);
  EXPECT_TRUE(observer.events.empty());
  link.setUiCode = -100;
  EXPECT_EQ(showJvLinkSettings(link, observer), -100);
  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"beep",
                                      "error:JVSetUIPropertiesエラー：パラメータが不正あるいはレジ"
                                      "ストリへの保存に失敗しました。(-100)"}));
}

}  // namespace
}  // namespace orvalle::acquire
