#include "acquire/replay_jv_link.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::acquire {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeDataFile;
using test::writeFile;

const std::string kFromTime = "20240101000000";

// What a sequence of JVRead calls gave: records as "R:" + bytes, file
// switches as "-1", the end as "0", anything else as its code.
std::vector<std::string> readAll(JvLink& link, std::vector<std::string>* fileNames = nullptr) {
  std::vector<std::string> results;
  for (int calls = 0; calls < 1000; ++calls) {
    std::string record, fileName;
    int size = 60000;
    const int code = link.jvRead(record, size, fileName);
    if (code > 0) {
      EXPECT_EQ(size, code);
      EXPECT_EQ(record.size(), static_cast<size_t>(code));
      results.push_back("R:" + record);
      if (fileNames != nullptr) fileNames->push_back(fileName);
      continue;
    }
    results.push_back(std::to_string(code));
    if (code == 0 || code < -3) break;
  }
  return results;
}

class ReplayJvLinkTest : public ::testing::Test {
 protected:
  // A link on the source, initialised.
  std::unique_ptr<ReplayJvLink> link() {
    auto replay = std::make_unique<ReplayJvLink>(m_source.path(), [this] { return m_now; });
    EXPECT_EQ(replay->jvInit(kSoftwareId), 0);
    return replay;
  }
  fs::path racediff() const { return m_source / "RACEDIFF"; }
  void ini(std::string_view text) { writeFile(m_source / "jvlink.ini", text); }

  TempDir m_source;
  std::chrono::steady_clock::time_point m_now{};
};

TEST_F(ReplayJvLinkTest, OpensTheFilesLaterThanTheFromTimeInNameOrder) {
  writeDataFile(racediff(), "20240105183000", "SE.txt", {"SE1\r\n", "SE2\r\n"});
  writeDataFile(racediff(), "20240105120000", "RA.txt", {"RA1\r\n"});
  writeDataFile(racediff(), "20240101000000", "old.txt", {"OLD\r\n"});  // not later
  writeDataFile(racediff(), "20240106090000", "HR.txt", {"HR1\r\n"});
  writeFile(racediff() / "notes.txt", "NOT A DATA FILE\r\n");
  writeFile(racediff() / "2024010612000_short.txt", "NO\r\n");  // 13 digits
  writeFile(racediff() / "20240106120000x.txt", "NO\r\n");      // no "_"

  auto replay = link();
  JvOpenCounts counts;
  ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
  EXPECT_EQ(counts.readCount, 3);
  EXPECT_EQ(counts.downloadCount, 0);
  EXPECT_EQ(counts.lastFileTimestamp, "20240106090000");
  EXPECT_EQ(replay->jvStatus(), 0);

  std::vector<std::string> names;
  EXPECT_EQ(readAll(*replay, &names),
            (std::vector<std::string>{"R:RA1\r\n", "-1", "R:SE1\r\n", "R:SE2\r\n", "-1",
                                      "R:HR1\r\n", "0"}));
  EXPECT_EQ(names, (std::vector<std::string>{"20240105120000_RA.txt", "20240105183000_SE.txt",
                                             "20240105183000_SE.txt", "20240106090000_HR.txt"}));
  // The end stays the end.
  std::string record, name;
  int size = 0;
  EXPECT_EQ(replay->jvRead(record, size, name), 0);
  EXPECT_EQ(replay->jvClose(), 0);
}

TEST_F(ReplayJvLinkTest, RecordsAreSplitAfterCrLfOnly) {
  // An LF alone stays inside a record; a last record without CR LF is handed
  // over as it stands; an empty file is just a file switch.
  writeFile(racediff() / "20240105000000_a.txt", "A1\nA1b\r\nA2");
  writeFile(racediff() / "20240105000001_empty.txt", "");
  writeFile(racediff() / "20240105000002_c.txt", "C1\r\n");
  auto replay = link();
  JvOpenCounts counts;
  ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
  EXPECT_EQ(readAll(*replay),
            (std::vector<std::string>{"R:A1\nA1b\r\n", "R:A2", "-1", "-1", "R:C1\r\n", "0"}));
}

// A file is read a record at a time; a run of junk without CR LF comes in
// bounded pieces, so memory does not follow the size of a file.
TEST_F(ReplayJvLinkTest, JunkWithoutLineEndsComesInBoundedPieces) {
  const std::string junk(2 * kMaxReplayRecordBytes + 10, 'x');
  writeFile(racediff() / "20240105000000_a.txt", junk + "\r\nRA1\r\n");
  auto replay = link();
  JvOpenCounts counts;
  ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
  EXPECT_EQ(readAll(*replay),
            (std::vector<std::string>{"R:" + junk.substr(0, kMaxReplayRecordBytes),
                                      "R:" + junk.substr(0, kMaxReplayRecordBytes),
                                      "R:xxxxxxxxxx\r\n", "R:RA1\r\n", "0"}));
}

TEST_F(ReplayJvLinkTest, NothingNewerGivesMinusOne) {
  auto replay = link();
  JvOpenCounts counts;
  // No source folder at all.
  EXPECT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), -1);
  // Only files not later than the from-time.
  writeDataFile(racediff(), "20240101000000", "RA.txt", {"RA\r\n"});
  EXPECT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), -1);
  EXPECT_EQ(counts.readCount, 0);
  EXPECT_EQ(counts.lastFileTimestamp, "");
  // A source that is a file, not a folder.
  TempDir other;
  writeFile(other / "file", "x");
  ReplayJvLink onFile(other / "file");
  ASSERT_EQ(onFile.jvInit(kSoftwareId), 0);
  EXPECT_EQ(onFile.jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), -1);
}

TEST_F(ReplayJvLinkTest, SetupReadsSetupFolderOrFallsBackToRacediff) {
  writeDataFile(racediff(), "20240105000000", "diff.txt", {"DIFF\r\n"});
  auto replay = link();
  JvOpenCounts counts;
  // Without SETUP/, setup data is RACEDIFF/.
  ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionSetup, counts), 0);
  EXPECT_EQ(readAll(*replay), (std::vector<std::string>{"R:DIFF\r\n", "0"}));
  EXPECT_EQ(replay->jvClose(), 0);

  writeDataFile(m_source / "SETUP", "20230105000000", "setup.txt", {"SETUP\r\n"});
  ASSERT_EQ(replay->jvOpen("RACEDIFF", "20230101000000", kOptionSetup, counts), 0);
  EXPECT_EQ(readAll(*replay), (std::vector<std::string>{"R:SETUP\r\n", "0"}));
  EXPECT_EQ(replay->jvClose(), 0);

  // Normal data never reads SETUP/.
  ASSERT_EQ(replay->jvOpen("RACEDIFF", "20230101000000", kOptionNormal, counts), 0);
  EXPECT_EQ(readAll(*replay), (std::vector<std::string>{"R:DIFF\r\n", "0"}));
}

TEST_F(ReplayJvLinkTest, DownloadAdvancesOneFileEveryDownloadMs) {
  ini("[emulate]\ndownload_ms = 100\n");
  writeDataFile(racediff(), "20240105000000", "a.txt", {"A\r\n"});
  writeDataFile(racediff(), "20240105000001", "b.txt", {"B\r\n"});
  auto replay = link();
  JvOpenCounts counts;
  ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
  EXPECT_EQ(counts.readCount, 2);
  EXPECT_EQ(counts.downloadCount, 2);

  std::string record, name;
  int size = 0;
  EXPECT_EQ(replay->jvStatus(), 0);
  EXPECT_EQ(replay->jvRead(record, size, name), -3);  // still downloading
  m_now += std::chrono::milliseconds(150);
  EXPECT_EQ(replay->jvStatus(), 1);
  EXPECT_GT(replay->jvRead(record, size, name), 0);
  EXPECT_EQ(replay->jvRead(record, size, name), -1);
  EXPECT_EQ(replay->jvRead(record, size, name), -3);  // the second file is not there yet
  m_now += std::chrono::milliseconds(1000);
  EXPECT_EQ(replay->jvStatus(), 2);  // never beyond the download count
  EXPECT_EQ(replay->jvRead(record, size, name), 3);
  EXPECT_EQ(record, "B\r\n");
}

TEST_F(ReplayJvLinkTest, RealTimeResultsFromDayFolderOrDayFile) {
  writeDataFile(m_source / "0B12" / "20240106", "20240106160000", "b.txt", {"B\r\n"});
  writeDataFile(m_source / "0B12" / "20240106", "20240106150000", "a.txt", {"A\r\n"});
  writeFile(m_source / "0B12" / "20240106.txt", "IGNORED\r\n");  // the folder wins
  writeFile(m_source / "0B12" / "20240107.txt", "C\r\n");
  auto replay = link();

  ASSERT_EQ(replay->jvRTOpen("0B12", "20240106"), 0);
  EXPECT_EQ(readAll(*replay), (std::vector<std::string>{"R:A\r\n", "-1", "R:B\r\n", "0"}));
  EXPECT_EQ(replay->jvClose(), 0);
  ASSERT_EQ(replay->jvRTOpen("0B12", "20240107"), 0);
  EXPECT_EQ(readAll(*replay), (std::vector<std::string>{"R:C\r\n", "0"}));
  EXPECT_EQ(replay->jvClose(), 0);
  EXPECT_EQ(replay->jvRTOpen("0B12", "20240108"), -1);
  // The key names a path: only eight digits are taken.
  EXPECT_EQ(replay->jvRTOpen("0B12", "../../20"), -114);
  EXPECT_EQ(replay->jvRTOpen("0B11", "20240106"), -111);
}

TEST_F(ReplayJvLinkTest, CallsOutOfOrderGiveJvLinksCodes) {
  writeDataFile(racediff(), "20240105000000", "a.txt", {"A\r\n"});
  ReplayJvLink replay(m_source.path());
  JvOpenCounts counts;
  std::string record, name;
  int size = 0;
  EXPECT_EQ(replay.jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), -201);
  EXPECT_EQ(replay.jvRTOpen("0B12", "20240106"), -201);
  ASSERT_EQ(replay.jvInit(kSoftwareId), 0);
  EXPECT_EQ(replay.jvRead(record, size, name), -203);
  EXPECT_EQ(replay.jvStatus(), -203);
  EXPECT_EQ(replay.jvOpen("", kFromTime, kOptionNormal, counts), -111);
  EXPECT_EQ(replay.jvOpen("RACEDIFF", "2024010100000", kOptionNormal, counts), -112);
  EXPECT_EQ(replay.jvOpen("RACEDIFF", "2024010100000x", kOptionNormal, counts), -112);
  EXPECT_EQ(replay.jvOpen("RACEDIFF", kFromTime, 5, counts), -115);
  ASSERT_EQ(replay.jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
  EXPECT_EQ(replay.jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), -202);
  EXPECT_EQ(replay.jvRTOpen("0B12", "20240106"), -202);
  EXPECT_EQ(replay.jvClose(), 0);
  EXPECT_EQ(replay.jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
}

TEST_F(ReplayJvLinkTest, AFileThatGoesAfterOpeningGivesAnErrorNotACrash) {
  fs::path file = writeDataFile(racediff(), "20240105000000", "a.txt", {"A\r\n"});
  auto replay = link();
  JvOpenCounts counts;
  ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
  fs::remove(file);
  EXPECT_EQ(readAll(*replay), (std::vector<std::string>{"-503"}));
}

TEST_F(ReplayJvLinkTest, CancelFromAnotherThreadStopsTheTransfer) {
  writeDataFile(racediff(), "20240105000000", "a.txt", {"A\r\n", "B\r\n"});
  auto replay = link();
  JvOpenCounts counts;
  ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
  std::string record, name;
  int size = 0;
  EXPECT_GT(replay->jvRead(record, size, name), 0);
  std::thread([&replay] { replay->jvCancel(); }).join();
  EXPECT_EQ(replay->jvRead(record, size, name), -203);
  EXPECT_EQ(replay->jvStatus(), -203);
  EXPECT_EQ(replay->jvClose(), 0);
  // The next transfer is not cancelled.
  ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
  EXPECT_EQ(readAll(*replay), (std::vector<std::string>{"R:A\r\n", "R:B\r\n", "0"}));
}

TEST(ReplayEmulationTest, ReadsTheEmulateSectionOnly) {
  ReplayEmulation emulation = ReplayEmulation::fromIniText(
      "; comment\r\n[other]\r\nopen=-504\r\n[Emulate]\r\nDOWNLOAD_MS = 25\r\ninit=-101\r\n"
      "open=-504\r\nstatus_error=-502\r\nread_error = 2:3:-402\r\nrtopen=-1\r\nclose=-201\r\n"
      "unknown=1\r\n");
  EXPECT_EQ(emulation.downloadMs, 25);
  EXPECT_EQ(emulation.initResult, -101);
  EXPECT_EQ(emulation.openResult, -504);
  EXPECT_EQ(emulation.statusError, -502);
  ASSERT_TRUE(emulation.readError);
  EXPECT_EQ(emulation.readError->file, 2);
  EXPECT_EQ(emulation.readError->record, 3);
  EXPECT_EQ(emulation.readError->code, -402);
  EXPECT_EQ(emulation.rtOpenResult, -1);
  EXPECT_EQ(emulation.closeResult, -201);

  // Junk values are ignored.
  ReplayEmulation junk = ReplayEmulation::fromIniText(
      "[emulate]\ndownload_ms=fast\nopen=\nread_error=1:x:-402\nread_error=0:1:-402\nclose=1e3\n");
  EXPECT_EQ(junk.downloadMs, 0);
  EXPECT_FALSE(junk.openResult);
  EXPECT_FALSE(junk.readError);
  EXPECT_EQ(junk.closeResult, 0);
}

TEST_F(ReplayJvLinkTest, IniInjectsEachResult) {
  writeDataFile(racediff(), "20240105000000", "a.txt", {"A1\r\n", "A2\r\n"});
  writeDataFile(racediff(), "20240105000001", "b.txt", {"B1\r\n", "B2\r\n"});
  writeFile(m_source / "0B12" / "20240106.txt", "R\r\n");
  JvOpenCounts counts;
  std::string record, name;
  int size = 0;
  {
    ini("[emulate]\ninit=-101\n");
    ReplayJvLink replay(m_source.path());
    EXPECT_EQ(replay.jvInit(kSoftwareId), -101);
    EXPECT_EQ(replay.jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), -201);
  }
  {
    ini("[emulate]\nopen=-504\n");
    auto replay = link();
    EXPECT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), -504);
    EXPECT_EQ(counts.readCount, 0);
    EXPECT_EQ(replay->jvRead(record, size, name), -203);  // nothing was opened
  }
  {
    // A forced 0 without files: opened, nothing to read.
    ini("[emulate]\nopen=0\n");
    auto replay = link();
    EXPECT_EQ(replay->jvOpen("RACEDIFF", "20250101000000", kOptionNormal, counts), 0);
    EXPECT_EQ(counts.readCount, 0);
    EXPECT_EQ(readAll(*replay), (std::vector<std::string>{"0"}));
  }
  {
    ini("[emulate]\ndownload_ms=10\nstatus_error=-502\n");
    auto replay = link();
    ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
    EXPECT_EQ(replay->jvStatus(), 0);
    EXPECT_EQ(replay->jvStatus(), -502);
    EXPECT_EQ(replay->jvStatus(), -502);
  }
  {
    // The code comes once in place of the record, which follows.
    ini("[emulate]\nread_error=2:2:-402\n");
    auto replay = link();
    ASSERT_EQ(replay->jvOpen("RACEDIFF", kFromTime, kOptionNormal, counts), 0);
    EXPECT_EQ(readAll(*replay),
              (std::vector<std::string>{"R:A1\r\n", "R:A2\r\n", "-1", "R:B1\r\n", "-402"}));
    EXPECT_EQ(readAll(*replay), (std::vector<std::string>{"R:B2\r\n", "0"}));
  }
  {
    ini("[emulate]\nrtopen=-504\nclose=-201\n");
    auto replay = link();
    EXPECT_EQ(replay->jvRTOpen("0B12", "20240106"), -504);
    EXPECT_EQ(replay->jvClose(), -201);
  }
}

}  // namespace
}  // namespace orvalle::acquire
