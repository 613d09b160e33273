#include "acquire/results_fetch.h"

#include <gtest/gtest.h>

#include "acquire/replay_jv_link.h"
#include "acquisition_test_support.h"
#include "store/atomic_file.h"
#include "store/error.h"
#include "store/record.h"
#include "store/text_file.h"
#include "support/record_builder.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::acquire {
namespace {

namespace fs = std::filesystem;
using orvalle::test::RaceDay;
using orvalle::test::RecordBuilder;
using orvalle::test::TempDir;
using orvalle::test::writeDataFile;
using orvalle::test::writeFile;
using test::FakeJvLink;

class CountingObserver : public ResultsFetchObserver {
 public:
  void beep() override { ++beeps; }
  void stored(const store::StoredRecord& record) override { files.push_back(record.fileName); }
  int beeps = 0;
  std::vector<std::string> files;
};

class ResultsFetchTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(m_data); }

  TempDir m_home;
  TempDir m_source;
  fs::path m_data = m_home / "DATA";
  CountingObserver m_observer;
};

TEST_F(ResultsFetchTest, StoresIntoExistingRaceAndRunnerFilesAndCreatesThePayoutFile) {
  RaceDay saturday{.date = "20240106", .dataKind = '5'};
  RaceDay sunday{.date = "20240107", .dataKind = '5'};
  // Saturday's entries are stored; Sunday has no day files yet.
  RaceDay entries{.date = "20240106", .dataKind = '2'};
  writeFile(m_data / "2024年01月06日.jvRA", entries.raRecord(1) + entries.raRecord(2));
  writeFile(m_data / "2024年01月06日中山.jvSEr",
            std::string(216 * 555, ' ').replace(0, 555, entries.seRecord(1, 1)));
  std::vector<std::string> records = saturday.records();
  records.push_back(saturday.hrRecord(1));
  records.push_back(saturday.hrRecord(2));
  records.push_back(sunday.raRecord(1));
  records.push_back(sunday.seRecord(1, 1));
  records.push_back(RecordBuilder::hr(sunday.raceKey(1), '1').record());
  writeDataFile(m_source / "0B12" / "20240106", "20240106160000", "a.txt",
                {records.begin(), records.begin() + 4});
  writeDataFile(m_source / "0B12" / "20240106", "20240106170000", "b.txt",
                {records.begin() + 4, records.end()});

  ReplayJvLink link(m_source.path());
  ASSERT_TRUE(initialiseJvLink(link));
  ResultsFetchResult result = fetchResults(link, m_data, "20240106", m_observer);
  EXPECT_EQ(result.openCode, 0);
  EXPECT_EQ(result.readCode, 0);
  EXPECT_FALSE(result.cancelled);
  // Saturday: 2 RA, 6 SE, 2 HR; Sunday: only its HR.
  EXPECT_EQ(result.storedRecords, 11);
  EXPECT_EQ(m_observer.beeps, 2);  // both closes succeeded

  std::vector<std::string> ra = store::readLines(m_data / "2024年01月06日.jvRA");
  ASSERT_EQ(ra.size(), 2u);
  EXPECT_EQ(store::dataKind(ra[0]), "5");
  EXPECT_EQ(store::readLines(m_data / "2024年01月06日中山.jvSEr").size(), 216u);
  EXPECT_EQ(store::readLines(m_data / "2024年01月06日.jvHR").size(), 2u);
  EXPECT_FALSE(fs::exists(m_data / "2024年01月07日.jvRA"));
  EXPECT_FALSE(fs::exists(m_data / "2024年01月07日中山.jvSEr"));
  EXPECT_EQ(store::readLines(m_data / "2024年01月07日.jvHR").size(), 1u);

  // Fetching again stores the same and changes no byte.
  const auto before = orvalle::test::snapshotFiles(m_data);
  EXPECT_EQ(fetchResults(link, m_data, "20240106", m_observer).storedRecords, 11);
  EXPECT_EQ(orvalle::test::snapshotFiles(m_data), before);
}

TEST_F(ResultsFetchTest, NoResultsBeepsReadsNothingAndClosesTwice) {
  FakeJvLink link;
  link.rtOpenCode = -1;
  link.closeCode = -201;  // a failing close stays silent
  ResultsFetchResult result = fetchResults(link, m_data, "20240106", m_observer);
  EXPECT_EQ(result.openCode, -1);
  EXPECT_EQ(result.storedRecords, 0);
  EXPECT_EQ(link.calls, (std::vector<std::string>{"JVRTOpen:20240106", "JVClose", "JVClose"}));
  EXPECT_EQ(m_observer.beeps, 1);
}

TEST_F(ResultsFetchTest, TheLoopEndsAtAReadErrorOrTheCancelFlag) {
  RaceDay day{.dataKind = '5'};
  {
    FakeJvLink link;
    link.addRecord(day.hrRecord(1));
    link.addCode(-1);
    link.addCode(-3);
    link.addRecord(day.hrRecord(2));
    link.addCode(-502);
    link.addRecord(day.hrRecord(3));
    ResultsFetchResult result = fetchResults(link, m_data, "20240106", m_observer);
    EXPECT_EQ(result.readCode, -502);
    EXPECT_EQ(result.storedRecords, 2);
    EXPECT_EQ(link.count("JVRead"), 5);
    EXPECT_EQ(link.count("JVClose"), 2);
    EXPECT_EQ(store::readLines(m_data / "2024年01月06日.jvHR").size(), 2u);
  }
  {
    FakeJvLink link;
    link.addRecord(day.hrRecord(4));
    CancelFlag cancel;
    cancel.cancel();
    ResultsFetchResult result = fetchResults(link, m_data, "20240106", m_observer, &cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(link.count("JVRead"), 0);
    EXPECT_EQ(link.count("JVClose"), 2);
  }
}

TEST_F(ResultsFetchTest, AFileErrorClosesJvLinkBeforeItIsReported) {
  FakeJvLink link;
  link.addRecord(RaceDay{}.hrRecord(1));
  store::injectAtomicWriteFaultForTesting(store::AtomicWriteFault::kWrite);
  EXPECT_THROW(fetchResults(link, m_data, "20240106", m_observer), Error);
  EXPECT_EQ(link.calls.back(), "JVClose");
  EXPECT_EQ(link.count("JVClose"), 1);
}

TEST(ResultsFetchResultTest, NoResultsIsNoFailureButOtherOpenAndReadErrorsAre) {
  const struct {
    int openCode;
    int readCode;
    const char* message;  // empty: no failure
  } cases[] = {
      {jv::kOk, jv::kEndOfData, ""},
      {jv::kNoData, jv::kEndOfData, ""},
      {jv::kOk, jv::kDownloading, ""},
      {-504, jv::kEndOfData, "JVRTOpenエラー:サーバーがメンテナンス中です。(-504)"},
      {-201, jv::kEndOfData, "JVRTOpenエラー:JVInit が行なわれていません。(-201)"},
      {jv::kOk, -403, "JVReadエラー:ダウンロードしたファイル内容が異常です。(-403)"},
  };
  for (const auto& c : cases) {
    ResultsFetchResult result;
    result.openCode = c.openCode;
    result.readCode = c.readCode;
    const Status status = result.status();
    EXPECT_EQ(status.ok(), std::string(c.message).empty()) << c.openCode << "/" << c.readCode;
    EXPECT_EQ(status.message(), c.message);
  }
}

}  // namespace
}  // namespace orvalle::acquire
