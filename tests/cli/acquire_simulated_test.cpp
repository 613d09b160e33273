#include <gtest/gtest.h>

#include <set>

#include "cli_test_support.h"
#include "store/code_tables.h"
#include "store/cp932.h"
#include "store/day_file_lines.h"
#include "store/day_file_names.h"
#include "store/fixed_record_file.h"
#include "store/fixed_width.h"
#include "store/horse_files.h"
#include "store/past_run_record.h"
#include "store/record.h"
#include "store/text_file.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::snapshotFiles;
using test::TempDir;

const std::string kFrom = "2020/01/01 00:00:00";

// Eight simulated race days, acquired into empty homes.
class AcquireSimulatedTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_source = new TempDir;
    CliRun simulated = runCliForTest(
        {"simulate", "--out", (*s_source / "SRC").string(), "--days", "8", "--seed", "5"});
    ASSERT_EQ(simulated.status, kExitSuccess) << simulated.err;
  }
  static void TearDownTestSuite() {
    delete s_source;
    s_source = nullptr;
  }
  static fs::path source() { return *s_source / "SRC"; }

  static CliRun acquire(const fs::path& home, const fs::path& from,
                        std::vector<std::string> more = {"--from", kFrom}) {
    std::vector<std::string> args = {"--home", home.string(), "acquire", "--source", from.string()};
    args.insert(args.end(), more.begin(), more.end());
    return runCliForTest(args);
  }

  static TempDir* s_source;
};

TempDir* AcquireSimulatedTest::s_source = nullptr;

TEST_F(AcquireSimulatedTest, EightRaceDaysMakeCompleteDayAndPastRunFiles) {
  TempDir home;
  CliRun acquired = acquire(home.path(), source());
  ASSERT_EQ(acquired.status, kExitSuccess) << acquired.err;
  EXPECT_NE(acquired.out.find("データ作成が完了しました。"), std::string::npos) << acquired.out;

  const fs::path data = home / "DATA";
  const fs::path sei = home / "SEI";
  std::vector<std::string> days = store::listDays(data);
  ASSERT_EQ(days.size(), 8u);

  // Every race key of a final day's runner that must have a past-run line.
  std::map<std::string, std::set<std::string>> expectedRuns;  // number -> race keys
  int finalDays = 0;
  for (const std::string& day : days) {
    SCOPED_TRACE(day);
    for (std::string_view extension : {store::kRaExtension, store::kHrExtension}) {
      const fs::path file = store::dayFilePath(data, day, "", extension);
      if (extension == store::kHrExtension && !fs::exists(file)) continue;
      std::set<std::string> keys;
      for (const std::string& line : store::readLines(file)) {
        EXPECT_EQ(line.size(), extension == store::kRaExtension ? 1270u : 717u);
        EXPECT_TRUE(keys.insert(std::string(store::raceKey(line))).second)
            << "two lines of race " << store::raceKey(line);
      }
      EXPECT_FALSE(keys.empty());
    }

    bool finalDay = false;
    for (const std::string& race : store::readLines(store::dayFilePath(data, day, "", ".jvRA"))) {
      const std::string course = cp932::toUtf8(
          store::trim(store::codes::racecourseName(store::head::kRacecourseCode.in(race), 2)));
      const fs::path seFile = store::dayFilePath(data, day, course, store::kSeExtension);
      const std::string bytes = readFile(seFile);
      ASSERT_EQ(bytes.size(), 216u * 555u) << seFile;
      ASSERT_EQ(store::readLines(seFile).size(), 216u);
      if (store::dataKind(race) != "7") continue;
      finalDay = true;
      auto runners = store::FixedRecordFile::open(seFile, 555);
      const int raceNumber = store::head::kRaceNumber.numberIn(race);
      for (int slot = 0; slot < store::ra::kRegisteredRunners.numberIn(race); ++slot) {
        std::string runner = runners->read(store::seSlot(raceNumber, slot + 1));
        if (store::dataKind(runner) != "7") continue;
        expectedRuns[std::string(store::se::kRegistrationNumber.in(runner))].insert(
            std::string(store::raceKey(race)));
      }
    }
    if (finalDay) ++finalDays;
  }
  // The last day's final results are only in the real-time results.
  EXPECT_EQ(finalDays, 7);
  ASSERT_GT(expectedRuns.size(), 1000u);

  size_t pastRunFiles = 0;
  for (const auto& entry : fs::recursive_directory_iterator(sei)) {
    if (entry.is_regular_file()) ++pastRunFiles;
  }
  EXPECT_EQ(pastRunFiles, expectedRuns.size());
  for (const auto& [number, keys] : expectedRuns) {
    SCOPED_TRACE(number);
    std::optional<fs::path> file = store::pastRunFilePath(sei, number);
    ASSERT_TRUE(file);
    std::vector<std::string> lines = store::readLines(*file);
    std::set<std::string> found;
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].size(), store::kPastRunLineLength);
      if (i > 0) {
        EXPECT_LT(store::compareCaseInsensitive(lines[i - 1], lines[i]), 0);
      }
      EXPECT_EQ(store::past_run::kRegistrationNumber.in(lines[i]), number);
      found.insert(std::string(store::past_run::kRaceKey.in(lines[i])));
    }
    EXPECT_EQ(found, keys);
    EXPECT_EQ(found.size(), lines.size());
  }

  // The same from-time again: not a byte changes.
  const auto before = snapshotFiles(home.path());
  CliRun again = acquire(home.path(), source());
  ASSERT_EQ(again.status, kExitSuccess) << again.err;
  EXPECT_EQ(snapshotFiles(home.path()), before);

  // The last day's results come through the results fetch: into its race
  // and runner files, and a new payout file.
  const std::string lastDay = days.front();
  ASSERT_FALSE(fs::exists(store::dayFilePath(data, lastDay, "", store::kHrExtension)));
  CliRun fetched = runCliForTest(
      {"--home", home.path().string(), "fetch-results", lastDay, "--source", source().string()});
  ASSERT_EQ(fetched.status, kExitSuccess) << fetched.err;
  EXPECT_GT(std::stoi(fetched.out), 0);
  EXPECT_TRUE(fs::exists(store::dayFilePath(data, lastDay, "", store::kHrExtension)));
  for (const std::string& race :
       store::readLines(store::dayFilePath(data, lastDay, "", store::kRaExtension))) {
    EXPECT_EQ(store::dataKind(race), "5");
  }
}

TEST_F(AcquireSimulatedTest, TwoStepsGiveTheSameFilesAsOne) {
  TempDir once;
  ASSERT_EQ(acquire(once.path(), source()).status, kExitSuccess);

  // The first half of the data files, then everything from the saved time.
  TempDir half;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(source() / "RACEDIFF")) {
    files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  fs::create_directories(half / "RACEDIFF");
  for (size_t i = 0; i < files.size() / 2; ++i) {
    fs::copy_file(files[i], half / "RACEDIFF" / files[i].filename());
  }
  TempDir twice;
  ASSERT_EQ(acquire(twice.path(), half.path()).status, kExitSuccess);
  CliRun rest = acquire(twice.path(), source(), {});
  ASSERT_EQ(rest.status, kExitSuccess) << rest.err;
  EXPECT_NE(rest.out.find("ReadCount:" + std::to_string(files.size() - files.size() / 2)),
            std::string::npos)
      << rest.out;

  EXPECT_EQ(snapshotFiles(twice.path()), snapshotFiles(once.path()));
}

}  // namespace
}  // namespace orvalle::cli
