#include "store/prediction_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "store/atomic_file.h"
#include "store/error.h"
#include "store/horse_files.h"
#include "store/text_file.h"
#include "support/temp_dir.h"

namespace orvalle::store {
namespace {

constexpr std::string_view kKey = "2024010606010101";

TEST(PredictionFileTest, LineOfARunner) {
  struct Case {
    PredictionFigures figures;
    std::string_view tail;  // positions 17-50
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      // No comparisons: the race key and 34 blanks.
      {{}, "                                  "},
      {{5, 3, 0.625, 2, 40, 22, 0.645, 1}, "  5  3 62.50 2   40   22 64.50 1  "},
      // A rate of 0 is written; only a negative rate is blank.
      {{0, 4, 0.0, 12, 0, 31, 0.0, 10}, "     4  0.0012        31  0.0010  "},
      {{17, 0, 1.0, 1, 99, 0, 1.0, 1}, " 17   100.00 1   99     100.00 1  "},
      {{-1, -2, -1.0, -3, -4, -5, nan, 0}, "                                  "},
      // Too large for the width: the largest value that fits.
      {{1234, 5, 0.5, 123, 123456, 7, 20.0, 100}, "999  5 50.009999999    7999.9999  "},
  };
  for (const Case& c : cases) {
    std::string line = predictionLine(kKey, c.figures);
    EXPECT_EQ(line.size(), kPredictionLineLength);
    EXPECT_EQ(line, std::string(kKey) + std::string(c.tail));
  }
  // The descriptors find the values again.
  std::string line = predictionLine(kKey, {5, 3, 0.625, 2, 40, 22, 0.645, 11});
  EXPECT_EQ(prediction::kPointWinRateRank.numberIn(line), 11);
  EXPECT_EQ(prediction::kWinPoints.numberIn(line), 40);
  EXPECT_EQ(prediction::kDateAndRacecourse.in(line), "2024010606");
}

TEST(PredictionFileTest, RaceKeyIsFittedToSixteen) {
  EXPECT_EQ(predictionLine("2024", {}), "2024" + std::string(46, ' '));
  EXPECT_EQ(predictionLine("2024010606010101XYZ", {}).substr(0, 17), "2024010606010101 ");
}

class PredictionFileWriteTest : public ::testing::Test {
 protected:
  test::TempDir m_home;
  std::filesystem::path m_file = *predictionFilePath(m_home / "SEI", "2019100001");
};

TEST_F(PredictionFileWriteTest, SecondWriteReplacesTheRaceLine) {
  writePredictionLine(m_file, predictionLine("2024010606010105", {1, 2, 0.33, 3, 4, 5, 0.44, 6}));
  writePredictionLine(m_file, predictionLine("2023120906050311", {}));
  std::string replaced = predictionLine("2024010606010105", {7, 1, 0.875, 1, 50, 5, 0.9, 1});
  writePredictionLine(m_file, replaced);
  writePredictionLine(m_file, predictionLine("2024010606010102", {}));

  std::vector<std::string> lines = readLines(m_file);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(0, 16), "2023120906050311");
  EXPECT_EQ(lines[1].substr(0, 16), "2024010606010102");
  EXPECT_EQ(lines[2], replaced);
  EXPECT_EQ(test::readFile(m_file).size(), 3 * kPredictionRecordLength);
}

TEST_F(PredictionFileWriteTest, BatchWritesSeveralRacesInOneRewrite) {
  writePredictionLine(m_file, predictionLine("2024010606010103", {1, 1, 0.5, 1, 1, 1, 0.5, 1}));
  const std::vector<std::string> batch = {
      predictionLine("2024010606010107", {2, 0, 1.0, 1, 9, 0, 1.0, 1}),
      predictionLine("2024010606010103", {}),
      predictionLine("2024010606010107", {3, 0, 1.0, 1, 12, 0, 1.0, 1}),  // later one wins
  };
  writePredictionLines(m_file, batch);
  EXPECT_EQ(readLines(m_file), (std::vector<std::string>{batch[1], batch[2]}));
}

TEST_F(PredictionFileWriteTest, FailedWriteKeepsTheOldFile) {
  writePredictionLine(m_file, predictionLine("2024010606010101", {}));
  std::string before = test::readFile(m_file);
  for (AtomicWriteFault fault :
       {AtomicWriteFault::kOpen, AtomicWriteFault::kWrite, AtomicWriteFault::kRename}) {
    injectAtomicWriteFaultForTesting(fault);
    EXPECT_THROW(writePredictionLine(m_file, predictionLine("2024010606010102", {})), Error);
    EXPECT_EQ(test::readFile(m_file), before);
  }
  // No temporary file is left beside it.
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(m_file.parent_path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace orvalle::store
