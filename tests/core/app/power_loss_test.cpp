// The power goes at every sync of an acquisition and of an analysis. After
// the restart the next writer removes the temporary files, the command is
// run again, and the home is the same, byte for byte, as after a run that
// was never interrupted.
#include <gtest/gtest.h>

#include "app/acquire_command.h"
#include "app/day_session.h"
#include "app/home_lock.h"
#include "app/startup.h"
#include "sim/simulator.h"
#include "store/day_file_names.h"
#include "store/file_system.h"
#include "store/memory_file_system.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;

const fs::path kHome = "/home";
const fs::path kSource = "/source";
const DateTime kNow{20210301, 12, 0, 0};

// Two simulated race days, made once on disk.
const Files& sourceFiles() {
  static const Files files = [] {
    test::TempDir dir;
    sim::simulate({dir / "source", 2, 5});
    return test::snapshotFiles(dir / "source");
  }();
  return files;
}

void put(store::MemoryFileSystem& memory, const fs::path& folder, const Files& files) {
  for (const auto& [name, content] : files) {
    if (name.ends_with('/')) {
      memory.putFolder(folder / name);
    } else {
      memory.putFile(folder / name, content);
    }
  }
}

// An acquisition of everything, or, when the home has a last time, from it
// (as the next acquisition after a crash goes on).
void acquire(bool fromLastTime) {
  AcquireCommandOptions options;
  options.source = kSource.string();
  if (!fromLastTime) options.fromText = "2020/01/01 00:00:00";
  acquire::AcquisitionObserver quiet;
  (void)runAcquireCommand(Home(kHome), options, quiet, kNow);
}

void analyzeNewestDay() {
  const Home home = startUp(kHome.string());
  const std::vector<std::string> days = store::listDays(home.dataFolder());
  ASSERT_FALSE(days.empty());
  DaySession session(home);
  const CommandResult result = session.loadDay(days.front(), AfterLoading::kCompare);
  ASSERT_TRUE(result.ok()) << result.text();
}

struct Outcome {
  Files home;
  int syncs = 0;
};

// Runs `command` on a home of `files` (and the source) without a fault.
template <typename Command>
Outcome uninterrupted(const Files& files, Command command) {
  store::MemoryFileSystem memory;
  put(memory, kSource, sourceFiles());
  put(memory, kHome, files);
  store::FaultyFileSystem faulty(memory);
  const store::ScopedFileSystem installed(faulty);
  command();
  return {memory.snapshot(kHome), faulty.syncs()};
}

// Loses the power at every sync of `command` (every unsynced change lost,
// then a random part of them kept), restarts, runs `rerun` and compares.
template <typename Command, typename Rerun>
void crashAtEverySync(const Files& files, Command command, Rerun rerun) {
  const Outcome expected = uninterrupted(files, command);
  ASSERT_GT(expected.syncs, 0);
  for (int sync = 1; sync <= expected.syncs; ++sync) {
    for (std::uint32_t seed : {0u, static_cast<std::uint32_t>(sync)}) {
      SCOPED_TRACE("power lost at sync " + std::to_string(sync) + ", seed " + std::to_string(seed));
      store::MemoryFileSystem memory;
      put(memory, kSource, sourceFiles());
      put(memory, kHome, files);
      store::FaultyFileSystem faulty(memory);
      const store::ScopedFileSystem installed(faulty);
      faulty.losePowerAtSync(sync);
      try {
        command();
      } catch (const std::exception&) {
        // The program is gone; what it reported does not matter.
      }
      ASSERT_TRUE(faulty.down());
      memory.loseUnsyncedWrites(seed);
      faulty.revive();

      (void)removeTemporaryFiles(kHome);
      rerun();
      EXPECT_EQ(memory.snapshot(kHome), expected.home);
    }
  }
}

TEST(PowerLossTest, AnAcquisitionRunAgainAfterALossAtAnySyncGivesTheUninterruptedHome) {
  crashAtEverySync(
      {}, [] { acquire(false); },
      [] {
        // With a last time the acquisition goes on from it; everything it
        // covers must have survived.
        const bool hasLastTime =
            Settings(Home(kHome).iniPath()).text(settings::kLastAcquisitionTime).size() > 0;
        acquire(hasLastTime);
      });
}

TEST(PowerLossTest, AnAnalysisRunAgainAfterALossAtAnySyncGivesTheUninterruptedHome) {
  const Files acquired = uninterrupted({}, [] { acquire(false); }).home;
  crashAtEverySync(acquired, analyzeNewestDay, analyzeNewestDay);
}

TEST(PowerLossTest, ASecondAnalysisOfTheSameDayWritesNothing) {
  const Files acquired = uninterrupted({}, [] { acquire(false); }).home;
  const Files analysed = uninterrupted(acquired, analyzeNewestDay).home;
  EXPECT_EQ(uninterrupted(analysed, analyzeNewestDay).syncs, 0);
}

}  // namespace
}  // namespace orvalle::app
