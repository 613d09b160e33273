#include <gtest/gtest.h>

#include <sstream>

#include "cli_app.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

TEST(SimulateCommandTest, WritesASourceAndPrintsTheSummary) {
  test::TempDir home;
  const std::string out = (home / "SRC").string();
  std::ostringstream output;
  std::ostringstream errors;
  ASSERT_EQ(runCli({"simulate", "--out", out, "--days", "2", "--seed", "3"}, output, errors),
            kExitSuccess)
      << errors.str();
  EXPECT_NE(output.str().find("開催日数: 2\n"), std::string::npos) << output.str();
  EXPECT_NE(output.str().find("期間: 2021/01/09 - 2021/01/10\n"), std::string::npos);
  EXPECT_NE(output.str().find("レース数: 72\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(home / "SRC" / "0B12" / "20210110.txt"));

  // A second run into the same source is refused with a message.
  std::ostringstream again;
  std::ostringstream againErrors;
  EXPECT_EQ(runCli({"simulate", "--out", out}, again, againErrors), kExitFailure);
  EXPECT_NE(againErrors.str().find("既にデータ"), std::string::npos) << againErrors.str();
}

TEST(SimulateCommandTest, BadArgumentsAreUsageErrors) {
  std::ostringstream output;
  std::ostringstream errors;
  EXPECT_EQ(runCli({"simulate"}, output, errors), kExitUsage);
  EXPECT_EQ(runCli({"simulate", "--out", "x", "--days", "0"}, output, errors), kExitUsage);
  EXPECT_EQ(runCli({"simulate", "--out", "x", "--days", "many"}, output, errors), kExitUsage);
}

}  // namespace
}  // namespace orvalle::cli
