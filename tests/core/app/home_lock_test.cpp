#include "app/home_lock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "app/settings.h"
#include "store/atomic_file.h"
#include "store/error.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

using namespace std::chrono_literals;
using test::readFile;
using test::TempDir;
using test::writeFile;

// Locks taken here use their own open file, so two of them in this process
// meet as two programs would.
TEST(HomeLockTest, WritersAreAloneReadersShare) {
  TempDir dir;
  const Home home(dir / "home");
  int waited = 0;
  auto waiting = [&] { ++waited; };
  {
    HomeLock writer(home, HomeAccess::kWrite);
    EXPECT_NE(readFile(dir / "home" / kLockFileName), "");  // marked while it runs
    for (HomeAccess access : {HomeAccess::kWrite, HomeAccess::kRead}) {
      try {
        HomeLock second(home, access, waiting, 120ms);
        ADD_FAILURE() << "a second lock was given";
      } catch (const Error& error) {
        EXPECT_EQ(error.what(), homeBusyMessage(home.root()));
      }
    }
    EXPECT_EQ(waited, 2);  // told once per wait
  }
  {
    HomeLock reader(home, HomeAccess::kRead);
    HomeLock other(home, HomeAccess::kRead, waiting, 0ms);
    EXPECT_THROW(HomeLock(home, HomeAccess::kWrite, waiting, 60ms), Error);
  }
  HomeLock afterwards(home, HomeAccess::kWrite, waiting, 0ms);
  EXPECT_EQ(waited, 3);
}

TEST(HomeLockTest, ReadersCreateNothing) {
  TempDir dir;
  { HomeLock reader(Home(dir / "none"), HomeAccess::kRead); }
  EXPECT_FALSE(std::filesystem::exists(dir / "none"));
  std::filesystem::create_directory(dir / "home");
  { HomeLock reader(Home(dir / "home"), HomeAccess::kRead); }
  EXPECT_TRUE(std::filesystem::is_empty(dir / "home"));
}

TEST(HomeLockTest, WriterAfterAKilledWriterRemovesItsTemporaryFiles) {
  TempDir dir;
  const Home home(dir / "home");
  const auto temporary = dir / "home" / "SEI" / "2012" / ".2012104711.kak.orvtmp-a1B2c3";
  const auto kept = {dir / "home" / "DATA" / ".hidden", dir / "home" / "DATA" / "x.orvtmp-abcdef",
                     dir / "home" / ".ini.orvtmp-abc"};
  writeFile(temporary, "half");
  for (const auto& path : kept) writeFile(path, "keep");

  // A writer that ended cleanly leaves no mark: nothing is looked for.
  { HomeLock clean(home, HomeAccess::kWrite); }
  EXPECT_EQ(readFile(dir / "home" / kLockFileName), "");
  EXPECT_TRUE(std::filesystem::exists(temporary));

  // A killed writer leaves its mark; readers leave the files alone.
  writeFile(dir / "home" / kLockFileName, "4242\n");
  { HomeLock reader(home, HomeAccess::kRead); }
  EXPECT_TRUE(std::filesystem::exists(temporary));
  HomeLock writer(home, HomeAccess::kWrite);
  EXPECT_EQ(writer.removedTemporaries(), 1);
  EXPECT_FALSE(std::filesystem::exists(temporary));
  for (const auto& path : kept) EXPECT_TRUE(std::filesystem::exists(path)) << path;
}

TEST(HomeLockTest, TemporaryNamesAndTheWait) {
  const std::pair<const char*, bool> names[] = {
      {".orvalle.ini.orvtmp-Zx09ab", true},
      {".a.orvtmp-123456", true},
      {"orvalle.ini.orvtmp-Zx09ab", false},
      {".orvtmp-123456", false},
      {".a.orvtmp-12345", false},
      {".a.orvtmp-12345!", false},
      {".a.XXXXXX", false},
  };
  for (const auto& [name, temporary] : names) {
    EXPECT_EQ(store::isTemporaryFileName(name), temporary) << name;
  }
  const std::pair<const char*, std::chrono::milliseconds> waits[] = {
      {"", 5000ms}, {"0", 0ms}, {"0.25", 250ms}, {"12", 12000ms}, {"-1", 5000ms}, {"soon", 5000ms},
  };
  for (const auto& [text, wait] : waits) {
    auto environment = [&](const char*) { return std::optional<std::string>(text); };
    EXPECT_EQ(lockWait(environment), wait) << text;
    EXPECT_EQ(quickChangeWait(environment), std::min(wait, std::chrono::milliseconds(2000)))
        << text;
  }
  EXPECT_EQ(lockWait([](const char*) { return std::optional<std::string>(); }), 5000ms);
}

TEST(HomeLockTest, AChangeOutsideACommandHoldsTheHomeAlone) {
  TempDir dir;
  const Home home(dir / "home");
  Settings settings(home.iniPath());
  // While the change runs no other program gets the home; what it returns
  // comes back.
  const int returned = withHomeWriteLock(home, [&] {
    EXPECT_THROW(HomeLock(home, HomeAccess::kRead, {}, 0ms), Error);
    settings.setInteger(settings::kUserSettingId, 3);
    return 7;
  });
  EXPECT_EQ(returned, 7);
  // Another program holding it: the busy message after the wait, and the
  // change never runs.
  {
    const HomeLock other(home, HomeAccess::kWrite);
    bool ran = false;
    try {
      withHomeWriteLock(
          home, [&] { ran = true; }, 60ms);
      ADD_FAILURE() << "the change ran beside another writer";
    } catch (const Error& error) {
      EXPECT_EQ(error.what(), homeBusyMessage(home.root()));
    }
    EXPECT_FALSE(ran);
  }
  EXPECT_EQ(settings.integer(settings::kUserSettingId), 3);
}

// Two writers that each read a value and write it back one higher: under the
// lock each reads what the other wrote, so no step is lost.
TEST(HomeLockTest, ChangesUnderTheLockKeepEachOthersWrites) {
  TempDir dir;
  const Home home(dir / "home");
  constexpr int kSteps = 15;
  auto writer = [&] {
    Settings settings(home.iniPath());
    for (int i = 0; i < kSteps; ++i) {
      withHomeWriteLock(
          home,
          [&] {
            const int value = settings.integer(settings::kUserSettingId);
            std::this_thread::sleep_for(2ms);  // the other writer's chance to step in
            settings.setInteger(settings::kUserSettingId, value + 1);
          },
          30s);
    }
  };
  std::thread other(writer);
  writer();
  other.join();
  EXPECT_EQ(Settings(home.iniPath()).integer(settings::kUserSettingId), 2 * kSteps);
}

}  // namespace
}  // namespace orvalle::app
