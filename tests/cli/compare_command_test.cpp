#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "store/day_file_store.h"
#include "store/record.h"
#include "support/past_run_builder.h"
#include "support/record_builder.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

using test::FieldEntry;
using test::PastRace;
using test::RecordBuilder;

constexpr const char* kKey = "2024030106010111";

PastRace run(int date, std::vector<FieldEntry> field, int own) {
  PastRace race;
  race.date = date;
  race.field = std::move(field);
  race.own = own;
  return race;
}

// A home with the 11th race at Nakayama on 2024/03/01 of three runners:
// 1 アルファ (55.0), 2 ベータ (57.0), 3 ガンマ (56.0, no past-run file).
class CompareCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(m_home / "DATA");
    store::DayFileStore files(m_home / "DATA", store::WriterRules::acquisition(20240301));
    (void)files.store(
        RecordBuilder::ra(kKey, '2').setNumber(store::ra::kRegisteredRunners, 3).record());
    const struct {
      const char* name;
      int weight;
      const char* registration;
    } runners[] = {{"アルファ", 550, "2020000001"},
                   {"ベータ", 570, "2020000002"},
                   {"ガンマ", 560, "2020000003"}};
    for (int i = 0; i < 3; ++i) {
      (void)files.store(RecordBuilder::se(kKey, i + 1, '2')
                            .setNumber(store::se::kBracket, i + 1)
                            .setRaw(store::se::kHorseName, test::seHorseName(runners[i].name))
                            .setNumber(store::se::kWeightCarried, runners[i].weight)
                            .setRaw(store::se::kRegistrationNumber, runners[i].registration)
                            .record());
    }
    write("2020000001", {run(20240106, {{"アルファ", 1350, 550}, {"デルタ", 1352, 550}}, 1),
                         run(20240203, {{"ベータ", 1345, 570}, {"アルファ", 1346, 550}}, 2)});
    write("2020000002", {run(20240107, {{"デルタ", 1340, 550}, {"ベータ", 1341, 570}}, 2),
                         run(20240203, {{"ベータ", 1345, 570}, {"アルファ", 1346, 550}}, 1)});
  }
  void write(const char* registration, const std::vector<PastRace>& runs) {
    std::vector<std::string> lines;
    for (const PastRace& race : runs) lines.push_back(test::pastRunLine(race));
    test::writePastRunFile(m_home / "SEI", registration, lines);
  }
  CliRun compare(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", m_home.path().string(), "compare"});
    return runCliForTest(args);
  }

  test::TempDir m_home;
};

TEST_F(CompareCommandTest, PrintsTheLabelsAndTheGrid) {
  CliRun result = compare({"20240301", "1", "1", "2"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, test::readFile(ORVALLE_TEST_DATA_DIR "/cli/compare_two_horse.txt"));
}

TEST_F(CompareCommandTest, DirectListsTheMeetings) {
  CliRun result = compare({"2024年03月01日", "1", "1", "2", "--direct"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_EQ(result.out, test::readFile(ORVALLE_TEST_DATA_DIR "/cli/compare_direct.txt"));
}

TEST_F(CompareCommandTest, FailuresPrintTheMessage) {
  CliRun result = compare({"20240301", "1", "1", "3"});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_EQ(result.err, "ガンマ　　　　　　の馬過去走データが見つかりません。\n");
  EXPECT_EQ(result.out, "");

  // The same horse twice stands for its name typed in both boxes.
  result = compare({"20240301", "1", "2", "2", "--direct"});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_EQ(result.err, "２頭の馬は別の馬名を入力してください。\n");
  EXPECT_EQ(result.out, "");

  result = compare({"20240302", "1", "1", "2"});
  EXPECT_EQ(result.status, kExitFailure);
  EXPECT_EQ(result.err, "2024年03月02日のデータ作成は未完了のようです。\n");

  result = compare({"20240301", "2", "1", "2"});
  EXPECT_EQ(result.status, kExitFailure);
  result = compare({"20240301", "1", "1", "4"});
  EXPECT_EQ(result.status, kExitFailure);

  EXPECT_EQ(compare({"2024-03-01", "1", "1", "2"}).status, kExitUsage);
  EXPECT_EQ(compare({"20240301", "1", "1", "19"}).status, kExitUsage);
}

TEST_F(CompareCommandTest, ThePeriodComesFromTheSettings) {
  ASSERT_EQ(
      runCliForTest({"--home", m_home.path().string(), "set", "DataSpan", "period", "365"}).status,
      kExitSuccess);
  write("2020000001", {run(20230101, {{"アルファ", 1350, 550}, {"デルタ", 1352, 550}}, 1)});
  CliRun result = compare({"20240301", "1", "1", "2"});
  ASSERT_EQ(result.status, kExitSuccess) << result.err;
  EXPECT_NE(result.out.find("\n該当ナシ\t"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("pt1Label\t  0\n"), std::string::npos);
}

}  // namespace
}  // namespace orvalle::cli
