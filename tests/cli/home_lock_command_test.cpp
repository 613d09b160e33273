// Commands hold the home: a command that writes waits for another program's
// lock, then fails without writing; readers share the home.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "app/home_lock.h"
#include "cli_test_support.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

using test::readFile;

class HomeLockCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("ORVALLE_LOCK_WAIT", "0.1", 1);
    ASSERT_EQ(run({"init"}).status, kExitSuccess);
  }
  void TearDown() override { ::unsetenv("ORVALLE_LOCK_WAIT"); }
  CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", m_home.path().string()});
    return runCliForTest(args);
  }
  void expectBusy(const CliRun& result) {
    EXPECT_EQ(result.status, kExitFailure);
    EXPECT_EQ(result.err, std::string(app::kHomeBusyWaitingMessage) + "\n" +
                              app::homeBusyMessage(m_home.path()) + "\n");
    EXPECT_EQ(result.out, "");
  }

  test::TempDir m_home;
};

TEST_F(HomeLockCommandTest, WritersWaitForAnotherProgramAndWriteNothing) {
  const std::string userSet = readFile(m_home / "UserSet.usd");
  {
    app::HomeLock other(app::Home(m_home.path()), app::HomeAccess::kWrite);
    expectBusy(run({"set", "DataSpan", "period", "400"}));
    expectBusy(run({"kaime", "add", "二,勝率,1,勝率,2,勝率,3,勝数,4,,,,,,,,,,,,,,,,,0,"}));
    expectBusy(run({"days"}));  // a reader waits for a writer too
    EXPECT_FALSE(std::filesystem::exists(m_home / "orvalle.ini"));
    EXPECT_EQ(readFile(m_home / "UserSet.usd"), userSet);
  }
  {
    app::HomeLock reader(app::Home(m_home.path()), app::HomeAccess::kRead);
    EXPECT_EQ(run({"days"}).status, kExitSuccess);
    EXPECT_EQ(run({"kaime", "list"}).status, kExitSuccess);
    expectBusy(run({"set", "DataSpan", "period", "400"}));
  }
  EXPECT_EQ(run({"set", "DataSpan", "period", "400"}).status, kExitSuccess);
  EXPECT_EQ(run({"get", "DataSpan", "period"}).out, "400\n");
}

// Two programs adding settings at once: the second waits for the first,
// and both settings are kept.
TEST_F(HomeLockCommandTest, ConcurrentWritersBothKeepTheirWork) {
  ::setenv("ORVALLE_LOCK_WAIT", "60", 1);
  const std::string lines[] = {"甲,勝率,1,勝率,2,勝率,3,勝数,4,,,,,,,,,,,,,,,,,0,",
                               "乙,勝率,2,勝率,3,勝率,4,勝数,5,,,,,,,,,,,,,,,,,0,"};
  CliRun results[2];
  {
    std::thread first([&] { results[0] = run({"kaime", "add", lines[0]}); });
    std::thread second([&] { results[1] = run({"kaime", "add", lines[1]}); });
    first.join();
    second.join();
  }
  for (const CliRun& result : results) EXPECT_EQ(result.status, kExitSuccess) << result.err;
  const std::string list = run({"kaime", "list"}).out;
  EXPECT_NE(list.find("甲"), std::string::npos) << list;
  EXPECT_NE(list.find("乙"), std::string::npos) << list;
}

}  // namespace
}  // namespace orvalle::cli
