#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "store/cp932.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(DaysCommandTest, ListsTheDaysOfRaFilesNewestFirst) {
  TempDir home;
  fs::path data = home / "DATA";
  writeFile(data / "2024年01月06日.jvRA", "");
  writeFile(data / "2024年01月13日.jvRA", "");
  writeFile(data / "2024年01月07日.jvRA", "");
  writeFile(data / "2024年01月06日中山.jvSEr", "");
  writeFile(data / "2024年01月20日.jvHR", "");
  writeFile(data / "2024年01月21日.yoz", "");
  writeFile(data / "notes.txt", "");
  writeFile(data / "backup.jvRA", "");
  // Copied from Windows: the name is CP932 bytes.
  writeFile(data / sj("2023年12月28日.jvRA"), "");

  CliRun run = runCliForTest({"--home", home.path().string(), "days"});
  EXPECT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, readFile(ORVALLE_TEST_DATA_DIR "/cli/days.txt"));
}

TEST(DaysCommandTest, UsesTheDataFolderInAnyLetterCase) {
  TempDir home;
  writeFile(home / "Data" / "2024年01月06日.jvRA", "");
  CliRun run = runCliForTest({"--home", home.path().string(), "days"});
  EXPECT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, "2024年01月06日\n");
}

TEST(DaysCommandTest, AMissingDataFolderGivesNoLines) {
  TempDir dir;
  CliRun run = runCliForTest({"--home", (dir / "none").string(), "days"});
  EXPECT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(fs::exists(dir / "none"));
}

}  // namespace
}  // namespace orvalle::cli
