#include "acquire/transfer_recorder.h"

#include <gtest/gtest.h>

#include "acquire/replay_jv_link.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::acquire {
namespace {

namespace fs = std::filesystem;
using test::snapshotFiles;
using test::TempDir;
using test::writeDataFile;
using test::writeFile;

// Stops the transfer once `files` files are complete.
class CancelAfter : public RecordingObserver {
 public:
  CancelAfter(int files, std::atomic<bool>& cancel) : m_files(files), m_cancel(cancel) {}
  void fileWritten(const fs::path&, long long) override {
    if (--m_files == 0) m_cancel = true;
  }

 private:
  int m_files;
  std::atomic<bool>& m_cancel;
};

class TransferRecorderTest : public ::testing::Test {
 protected:
  TransferRecorderTest() {
    test::RaceDay day;
    std::vector<std::string> ra, se;
    for (const std::string& record : day.records()) (record[0] == 'R' ? ra : se).push_back(record);
    writeDataFile(m_source / "RACEDIFF", "20240105120000", "RA.txt", ra);
    writeDataFile(m_source / "RACEDIFF", "20240105183000", "SE.txt", se);
    // Bytes no Unicode conversion keeps: NEC and IBM forms, no trail byte.
    writeDataFile(m_source / "RACEDIFF", "20240106090000", "odd.txt",
                  {"\xED\x40\xFA\x5C\x85\x40\x81\r\n", std::string("\x00\xFF\r\n", 4)});
    writeDataFile(m_source / "SETUP", "19990101000000", "SETUP.txt", {ra.front()});
    writeFile(m_source / "0B12" / "20240106.txt", se.front() + se.back());
  }

  RecordingOutcome record(RecordingRequest request = {}, RecordingObserver* watcher = nullptr,
                          const fs::path* out = nullptr) {
    ReplayJvLink link(m_source.path());
    ReplaySourceWriter writer(out ? *out : m_out.path());
    RecordingObserver quiet;
    return recordTransfer(link, writer, request, watcher ? *watcher : quiet,
                          RecordingHooks{&m_cancel, {}});
  }
  std::map<std::string, std::string> recorded() { return snapshotFiles(m_out.path()); }

  TempDir m_source;
  TempDir m_out;
  std::atomic<bool> m_cancel{false};
};

TEST_F(TransferRecorderTest, RecordingAReplaySourceGivesBackItsFilesByteForByte) {
  RecordingOutcome outcome = record();
  EXPECT_EQ(outcome.result, RecordingResult::kDone) << outcome.message;
  EXPECT_EQ(outcome.filesWritten, 3);
  EXPECT_EQ(snapshotFiles(m_out / "RACEDIFF"), snapshotFiles(m_source / "RACEDIFF"));
  EXPECT_EQ(recorded().at(std::string(ReplaySourceWriter::kLastTimestampFile)),
            "20240106090000\r\n");

  RecordingRequest setup;
  setup.setup = true;
  setup.fromTime = "19860101000000";
  EXPECT_EQ(record(setup).result, RecordingResult::kDone);
  EXPECT_EQ(snapshotFiles(m_out / "SETUP"), snapshotFiles(m_source / "SETUP"));

  RecordingRequest results;
  results.resultsDate = "20240106";
  EXPECT_EQ(record(results).result, RecordingResult::kDone);
  EXPECT_EQ(recorded().at("0B12/20240106.txt"), test::readFile(m_source / "0B12/20240106.txt"));
  results.resultsDate = "20240107";
  EXPECT_EQ(record(results).result, RecordingResult::kNoData);
}

TEST_F(TransferRecorderTest, ANextRunTakesOnlyWhatIsNewerThanTheKeptTimestamp) {
  // A killed run's temporary file goes when the next run starts.
  writeFile(m_out / "RACEDIFF/.20240105120000_RA.txt.orvtmp-a1B2c3", "RA1\r\n");
  ASSERT_EQ(record().result, RecordingResult::kDone);
  EXPECT_EQ(snapshotFiles(m_out / "RACEDIFF"), snapshotFiles(m_source / "RACEDIFF"));
  const auto before = recorded();
  RecordingOutcome again = record();
  EXPECT_EQ(again.result, RecordingResult::kNoData);
  EXPECT_EQ(recorded(), before);

  writeDataFile(m_source / "RACEDIFF", "20240107100000", "new.txt", {"AV1\r\n"});
  RecordingOutcome next = record();
  EXPECT_EQ(next.filesWritten, 1);
  EXPECT_EQ(recorded().at("RACEDIFF/20240107100000_new.txt"), "AV1\r\n");
  EXPECT_EQ(snapshotFiles(m_out / "RACEDIFF"), snapshotFiles(m_source / "RACEDIFF"));
}

TEST_F(TransferRecorderTest, AFailedOrCancelledRunKeepsCompleteFilesOnlyAndNoTimestamp) {
  struct Case {
    std::string ini;
    bool cancelAfterFirstFile;
    RecordingResult result;
    int code;
    std::string message;
    size_t filesKept;
  };
  const std::vector<Case> cases = {
      {"open=-504", false, RecordingResult::kComponentError, -504,
       "JVOpenエラー:サーバーがメンテナンス中です。(-504)", 0},
      {"download_ms=100000\nstatus_error=-502", false, RecordingResult::kComponentError, -502,
       "JVStatusエラー:ダウンロードに失敗しました。（通信エラーやディスクエラーなど）(-502)", 0},
      {"read_error=2:3:-403", false, RecordingResult::kComponentError, -403,
       "JVReadエラー:ダウンロードしたファイル内容が異常です。(-403)", 1},
      {"", true, RecordingResult::kCancelled, 0, "取り込みを中止しました。", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    TempDir out;
    writeFile(m_source / "jvlink.ini", "[emulate]\n" + c.ini + "\n");
    m_cancel = false;
    CancelAfter canceller(c.cancelAfterFirstFile ? 1 : -1, m_cancel);
    RecordingOutcome outcome = record({}, &canceller, &out.path());
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.code, c.code);
    EXPECT_EQ(outcome.message.rfind(c.message, 0), 0u) << outcome.message;
    const auto kept = snapshotFiles(out.path());
    EXPECT_EQ(kept.size(), c.filesKept);  // no temporary file, no timestamp
    for (const auto& [name, bytes] : kept) {
      EXPECT_EQ(bytes, test::readFile(m_source / name)) << name;
    }
  }
}

TEST_F(TransferRecorderTest, AFileThatCannotBePutInPlaceLeavesNothingAndSaysWhy) {
  // A folder where the second data file belongs: the first file stays.
  fs::create_directories(m_out / "RACEDIFF/20240105183000_SE.txt");
  RecordingOutcome outcome = record();
  EXPECT_EQ(outcome.result, RecordingResult::kFileError);
  EXPECT_EQ(exitStatusOf(outcome.result), 1);
  EXPECT_NE(outcome.message.find("20240105183000_SE.txt"), std::string::npos) << outcome.message;
  EXPECT_EQ(outcome.filesWritten, 1);
  const auto kept = recorded();
  ASSERT_EQ(kept.size(), 1u);  // no temporary file, no timestamp
  EXPECT_EQ(kept.begin()->first, "RACEDIFF/20240105120000_RA.txt");
}

TEST(ReplayFileNameTest, KeepsReplayNamesAndDatesOthersByTheirCreationTime) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"20240105183000_RA.txt", "20240105183000_RA.txt"},
      {"RAVM2024010520240104165419.jvd", "20240104165419_RAVM2024010520240104165419.jvd"},
      {"SE.jvd", "20240109000000_SE.jvd"},
      {"..\\..\\evil:name", "20240109000000_.._.._evil_name"},
      {"", "20240109000000_data"},
      {"..", "20240109000000_data"},
  };
  for (const auto& [reported, kept] : cases) {
    EXPECT_EQ(replayFileName(reported, "20240109000000"), kept) << reported;
  }
}

}  // namespace
}  // namespace orvalle::acquire
