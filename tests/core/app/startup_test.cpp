#include "app/startup.h"

#include <gtest/gtest.h>

#include "store/atomic_file.h"
#include "store/cp932.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

Home::Environment noEnvironment() {
  return [](const char*) -> std::optional<std::string> { return std::nullopt; };
}

TEST(StartupTest, FirstStartInAnEmptyHome) {
  TempDir dir;
  Home home = startUp((dir / "home").string(), noEnvironment());
  EXPECT_EQ(home.root(), dir / "home");
  EXPECT_TRUE(fs::is_directory(dir / "home" / "DATA"));
  EXPECT_TRUE(fs::is_directory(dir / "home" / "SEI"));
  EXPECT_TRUE(fs::is_directory(dir / "home" / "yLZH"));
  EXPECT_EQ(readFile(dir / "home" / "UserSet.usd"),
            sj("設定１,pt勝率,1,pt勝率,2,pt勝率, 3,pt勝率, 4,pt勝率, 5,pt勝率, 6,pt勝率, "
               "7,pt勝率, 8,pt勝率, 9,pt勝率,10,pt勝率,11,pt勝率,12,1,") +
                "\r\n");
}

TEST(StartupTest, AnExistingUserSettingsFileIsNeverTouched) {
  TempDir dir;
  writeFile(dir / "UserSet.usd", "mine\r\n");
  Home home(dir.path());
  EXPECT_FALSE(ensureDefaultUserSettings(home));
  EXPECT_EQ(readFile(dir / "UserSet.usd"), "mine\r\n");

  // An empty file is the user's too, and so is one in another letter case.
  writeFile(dir / "UserSet.usd", "");
  EXPECT_FALSE(ensureDefaultUserSettings(home));
  EXPECT_EQ(readFile(dir / "UserSet.usd"), "");
  fs::remove(dir / "UserSet.usd");
  writeFile(dir / "userset.USD", "windows\r\n");
  (void)startUp(dir.path().string(), noEnvironment());
  EXPECT_FALSE(fs::exists(dir / "UserSet.usd"));
  EXPECT_EQ(readFile(dir / "userset.USD"), "windows\r\n");
}

TEST(StartupTest, AFailedWriteOfTheDefaultFileEndsTheStart) {
  TempDir dir;
  store::injectAtomicWriteFaultForTesting(store::AtomicWriteFault::kWrite);
  EXPECT_THROW((void)startUp(dir.path().string(), noEnvironment()), Error);
  EXPECT_FALSE(fs::exists(dir / "UserSet.usd"));
}

}  // namespace
}  // namespace orvalle::app
