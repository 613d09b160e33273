// A command killed at any moment: the next writer finds no temporary file
// of it left, and repeating the acquisition gives the home of an
// uninterrupted one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "cli_test_support.h"
#include "sim/simulator.h"
#include "store/atomic_file.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> acquireArgs(const fs::path& home, const fs::path& source) {
  return {"--home", home.string(),        "acquire", "--source", source.string(),
          "--from", "2020/01/01 00:00:00"};
}

// The files of a home, the lock file left out (it only marks a running
// writer).
std::map<std::string, std::string> homeFiles(const fs::path& home) {
  auto files = test::snapshotFiles(home);
  files.erase("orvalle.lock");
  return files;
}

int temporaryFiles(const fs::path& home) {
  int count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(home)) {
    if (store::isTemporaryFileName(entry.path().filename().string())) ++count;
  }
  return count;
}

TEST(KilledCommandTest, AKilledAcquisitionLeavesNothingBehindItsRepetition) {
  test::TempDir dir;
  sim::simulate({dir / "source", 2, 9});
  const fs::path reference = dir / "reference";
  ASSERT_EQ(runCliForTest(acquireArgs(reference, dir / "source")).status, kExitSuccess);
  const auto expected = homeFiles(reference);

  // How long an acquisition takes, to spread the kills over it.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(runCliForTest(acquireArgs(dir / "timed", dir / "source")).status, kExitSuccess);
  const auto duration = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);

  std::mt19937 random(12);
  std::uniform_int_distribution<long long> moment(0, duration.count());
  for (int run = 0; run < 6; ++run) {
    SCOPED_TRACE(run);
    const fs::path home = dir / ("home" + std::to_string(run));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::ostringstream out, err;
      ::_exit(runCli(acquireArgs(home, dir / "source"), out, err));
    }
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    CliRun repeated = runCliForTest(acquireArgs(home, dir / "source"));
    ASSERT_EQ(repeated.status, kExitSuccess) << repeated.err;
    if (fs::exists(home)) {
      EXPECT_EQ(temporaryFiles(home), 0);
      EXPECT_EQ(homeFiles(home), expected);
    }
  }
}

}  // namespace
}  // namespace orvalle::cli
