#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "store/day_file_store.h"
#include "store/record.h"
#include "support/past_run_builder.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

using test::RecordBuilder;

constexpr const char* kKey = "2024030106010111";
constexpr int kRunsOfHorse1 = 60;

// The cells of a TSV line, trailing empty cells included.
std::vector<std::string> tsvCells(const std::string& line) {
  std::vector<std::string> cells(1);
  for (char c : line) {
    if (c == '\t') {
      cells.emplace_back();
    } else {
      cells.back() += c;
    }
  }
  return cells;
}

std::vector<std::string> tsvLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// A home with the 11th race at Nakayama on 2024/03/01 of two runners: horse 1
// with 60 past runs (two a month back from 2024/02), horse 2 a newcomer.
class CardCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(m_home / "DATA");
    store::DayFileStore files(m_home / "DATA", store::WriterRules::acquisition(20240301));
    (void)files.store(
        RecordBuilder::ra(kKey, '2').setNumber(store::ra::kRegisteredRunners, 2).record());
    const char* names[] = {"アルファ", "ベータ"};
    for (int i = 0; i < 2; ++i) {
      (void)files.store(
          RecordBuilder::se(kKey, i + 1, '2')
              .setNumber(store::se::kBracket, i + 1)
              .setRaw(store::se::kHorseName, test::seHorseName(names[i]))
              .setNumber(store::se::kWeightCarried, 550)
              .setRaw(store::se::kRegistrationNumber, "202000000" + std::to_string(i + 1))
              .record());
    }
    std::vector<std::string> lines;
    for (int k = 0; k < kRunsOfHorse1; ++k) {
      test::PastRace race;
      const int month = 2024 * 12 + 1 - k / 2;  // 2024/02 back
      race.date = (month / 12) * 10000 + (month % 12 + 1) * 100 + (k % 2 == 0 ? 19 : 5);
      race.field = {{"アルファ", 1350, 550}, {"ガンマ", 1352, 550}};
      lines.insert(lines.begin(), test::pastRunLine(race));  // the file runs oldest first
    }
    test::writePastRunFile(m_home / "SEI", "2020000001", lines);
  }

  test::TempDir m_home;
};

TEST_F(CardCommandTest, DetailPrintsEveryPastRunColumnBeyondTheNumberedFifty) {
  CliRun result =
      runCliForTest({"--home", m_home.path().string(), "card", "20240301", "1", "--detail"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> lines = tsvLines(result.out);
  ASSERT_EQ(lines.size(), 3u);

  const std::vector<std::string> heading = tsvCells(lines[0]);
  ASSERT_EQ(heading.size(), 105u);
  EXPECT_EQ(heading[5], "  1走前");
  EXPECT_EQ(heading[54], " 50走前");
  for (size_t c = 55; c < heading.size(); ++c) EXPECT_EQ(heading[c], "") << c;

  const std::vector<std::string> horse1 = tsvCells(lines[1]);
  ASSERT_EQ(horse1.size(), 105u);
  EXPECT_EQ(horse1[1], " 1");
  // Runs 51 to 60 are shown under empty headings, newest first.
  for (int k = 0; k < kRunsOfHorse1; ++k) {
    EXPECT_NE(horse1[static_cast<size_t>(5 + k)], "") << "run " << k + 1;
  }
  EXPECT_NE(horse1[5].find("02.19"), std::string::npos) << horse1[5];
  EXPECT_NE(horse1[5 + 59].find("09.05"), std::string::npos) << horse1[5 + 59];
  for (size_t c = 5 + kRunsOfHorse1; c < horse1.size(); ++c) EXPECT_EQ(horse1[c], "") << c;

  const std::vector<std::string> horse2 = tsvCells(lines[2]);
  ASSERT_EQ(horse2.size(), 105u);
  for (size_t c = 5; c < horse2.size(); ++c) EXPECT_EQ(horse2[c], "") << c;
}

}  // namespace
}  // namespace orvalle::cli
