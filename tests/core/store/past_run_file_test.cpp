#include "store/past_run_file.h"

#include <gtest/gtest.h>

#include "store/atomic_file.h"
#include "store/error.h"
#include "store/fixed_record_file.h"
#include "store/horse_files.h"
#include "store/past_run_record.h"
#include "store/text_file.h"
#include "support/temp_dir.h"

namespace orvalle::store {
namespace {

// A past-run line of race `key` whose body is `mark` (to tell versions apart).
std::string runLine(std::string_view key, char mark) {
  std::string line(kPastRunLineLength, mark);
  line.replace(0, key.size(), key);
  return line;
}

class PastRunFileTest : public ::testing::Test {
 protected:
  std::vector<std::string> lines() const { return readLines(m_file); }

  test::TempDir m_home;
  std::filesystem::path m_file = *pastRunFilePath(m_home / "SEI", "2019100001");
};

TEST_F(PastRunFileTest, MergeReplacesOrAddsAndKeepsTheFileSorted) {
  mergePastRunLine(m_file, runLine("2024010606010105", 'a'));
  EXPECT_TRUE(std::filesystem::exists(m_home / "SEI" / "2019" / "2019100001.kak"));
  mergePastRunLine(m_file, runLine("2023120906050311", 'b'));
  mergePastRunLine(m_file, runLine("2024010606010105", 'c'));  // same race again
  mergePastRunLine(m_file, runLine("2024010706010101", 'd'));

  EXPECT_EQ(lines(), (std::vector<std::string>{runLine("2023120906050311", 'b'),
                                               runLine("2024010606010105", 'c'),
                                               runLine("2024010706010101", 'd')}));
  // Readable as fixed records of 826 bytes.
  auto file = FixedRecordFile::open(m_file, kPastRunRecordLength);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->count(), 3u);
  EXPECT_EQ(file->read(2).substr(kPastRunLineLength), "\r\n");
}

TEST_F(PastRunFileTest, BatchMergesInOneRewrite) {
  mergePastRunLine(m_file, runLine("2024010606010105", 'a'));
  const std::vector<std::string> batch = {
      runLine("2024020406010105", 'b'), runLine("2024010606010105", 'c'),
      runLine("2023010606010105", 'd'),
      runLine("2024020406010105", 'e'),  // a later line of the same race wins
  };
  mergePastRunLines(m_file, batch);
  EXPECT_EQ(lines(), (std::vector<std::string>{runLine("2023010606010105", 'd'),
                                               runLine("2024010606010105", 'c'),
                                               runLine("2024020406010105", 'e')}));

  // An empty batch writes nothing, not even a missing file.
  std::filesystem::path other = *pastRunFilePath(m_home / "SEI", "2019100002");
  mergePastRunLines(other, {});
  EXPECT_FALSE(std::filesystem::exists(other));
}

TEST_F(PastRunFileTest, DamagedFileLinesAreFittedAndDuplicatesGo) {
  std::string longLine = runLine("2022010106010101", 'x') + "TAIL";
  std::string shortLine = "2021010106010101 short";
  test::writeFile(m_file, longLine + "\r\n" + runLine("2024010606010105", 'a') + "\n\r\n" +
                              runLine("2024010606010105", 'b') + "\r\n" + shortLine + "\r\n" +
                              shortLine + "\r\n   \r\n");
  // The new line carries a CR LF of its own and a stray LF.
  std::string fresh = runLine("2024010606010105", 'c');
  fresh[400] = '\n';
  mergePastRunLine(m_file, fresh + "\r\n");

  std::string expectedFresh = runLine("2024010606010105", 'c');
  expectedFresh[400] = ' ';
  EXPECT_EQ(lines(), (std::vector<std::string>{fitWidth(shortLine, kPastRunLineLength),
                                               runLine("2022010106010101", 'x'), expectedFresh}));
  EXPECT_EQ(test::readFile(m_file).size(), 3 * kPastRunRecordLength);
}

TEST_F(PastRunFileTest, FailedWriteKeepsTheOldFile) {
  mergePastRunLine(m_file, runLine("2024010606010105", 'a'));
  std::string before = test::readFile(m_file);
  for (AtomicWriteFault fault :
       {AtomicWriteFault::kWrite, AtomicWriteFault::kSync, AtomicWriteFault::kRename}) {
    injectAtomicWriteFaultForTesting(fault);
    EXPECT_THROW(mergePastRunLine(m_file, runLine("2024010606010106", 'b')), Error);
    EXPECT_EQ(test::readFile(m_file), before);
  }
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(m_file.parent_path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1u);
}

TEST_F(PastRunFileTest, FolderThatCannotBeMadeIsAnError) {
  // "SEI" is a file here, so the horse's folder cannot be created.
  test::writeFile(m_home / "SEI", "not a folder");
  EXPECT_THROW(mergePastRunLine(m_file, runLine("2024010606010105", 'a')), Error);
}

}  // namespace
}  // namespace orvalle::store
