#include "app/home.h"

#include <gtest/gtest.h>

#include <map>

#include "store/error.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

Home::Environment environmentOf(std::map<std::string, std::string> variables) {
  return [variables](const char* name) -> std::optional<std::string> {
    auto it = variables.find(name);
    if (it == variables.end()) return std::nullopt;
    return it->second;
  };
}

TEST(HomeTest, ResolveTakesTheFirstGivenPlace) {
  struct Case {
    std::string option;
    std::map<std::string, std::string> environment;
    std::string expected;
  };
  const Case cases[] = {
      {"/opt/h", {{"ORVALLE_HOME", "/e"}, {"XDG_DATA_HOME", "/x"}, {"HOME", "/u"}}, "/opt/h"},
      {"/opt/h/", {}, "/opt/h"},
      {"", {{"ORVALLE_HOME", "/e"}, {"XDG_DATA_HOME", "/x"}, {"HOME", "/u"}}, "/e"},
      {"", {{"ORVALLE_HOME", ""}, {"XDG_DATA_HOME", "/x"}, {"HOME", "/u"}}, "/x/orvalle"},
      {"", {{"XDG_DATA_HOME", "/x/"}, {"HOME", "/u"}}, "/x/orvalle"},
      // A relative XDG_DATA_HOME does not count.
      {"", {{"XDG_DATA_HOME", "rel"}, {"HOME", "/u"}}, "/u/.local/share/orvalle"},
      {"", {{"XDG_DATA_HOME", ""}, {"HOME", "/u"}}, "/u/.local/share/orvalle"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Home::resolve(c.option, environmentOf(c.environment)), fs::path(c.expected))
        << "option '" << c.option << "'";
  }
}

TEST(HomeTest, ResolveMakesARelativeOptionAbsolute) {
  fs::path resolved = Home::resolve("some/home", environmentOf({}));
  EXPECT_TRUE(resolved.is_absolute());
  EXPECT_EQ(resolved, fs::current_path() / "some" / "home");
}

TEST(HomeTest, ResolveWithoutAnyPlaceFails) {
  EXPECT_THROW((void)Home::resolve("", environmentOf({{"HOME", ""}})), Error);
}

TEST(HomeTest, InitCreatesTheHomeAndItsFolders) {
  TempDir dir;
  Home home(dir / "a" / "b");
  home.init();
  for (const char* name : {"DATA", "SEI", "yLZH"}) {
    EXPECT_TRUE(fs::is_directory(dir / "a" / "b" / name)) << name;
  }
  EXPECT_EQ(home.dataFolder(), dir / "a" / "b" / "DATA");
  EXPECT_EQ(home.lzhFolder(), dir / "a" / "b" / "yLZH");
  // Nothing else: the settings file is written only when a setting changes.
  EXPECT_FALSE(fs::exists(home.iniPath()));
  home.init();  // a second start changes nothing
  EXPECT_EQ(std::distance(fs::directory_iterator(home.root()), fs::directory_iterator()), 3);
}

TEST(HomeTest, AFolderOfTheHomeThatIsALinkIsRefusedAndAHomeThatIsALinkIsUsed) {
  TempDir dir;
  fs::create_directories(dir / "elsewhere");
  fs::create_directories(dir / "home");
  fs::create_directory_symlink(dir / "elsewhere", dir / "home" / "DATA");
  try {
    Home(dir / "home").init();
    ADD_FAILURE() << "a linked DATA folder was accepted";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("DATA"), std::string::npos) << error.what();
  }
  fs::create_directory_symlink(dir / "elsewhere", dir / "linked-home");
  Home(dir / "linked-home").init();
  EXPECT_TRUE(fs::is_directory(dir / "elsewhere" / "SEI"));
}

TEST(HomeTest, FoldersOfAnotherLetterCaseAreReused) {
  TempDir dir;
  fs::create_directories(dir / "Data");
  fs::create_directories(dir / "sei");
  fs::create_directories(dir / "YLZH");
  fs::create_directories(dir / "hpupload");
  Home home(dir.path());
  home.init();
  EXPECT_FALSE(fs::exists(dir / "DATA"));
  EXPECT_FALSE(fs::exists(dir / "SEI"));
  EXPECT_FALSE(fs::exists(dir / "yLZH"));
  EXPECT_EQ(home.dataFolder(), dir / "Data");
  EXPECT_EQ(home.seiFolder(), dir / "sei");
  EXPECT_EQ(home.lzhFolder(), dir / "YLZH");
  EXPECT_EQ(home.hpUploadFolder(), dir / "hpupload");
  EXPECT_EQ(home.ensureFolder("HPupload"), dir / "hpupload");
  EXPECT_FALSE(fs::exists(dir / "HPupload"));
}

TEST(HomeTest, AFileDoesNotPassForAFolder) {
  TempDir dir;
  // A file "data" is not the data folder: DATA is created beside it.
  writeFile(dir / "data", "x");
  Home home(dir.path());
  home.init();
  EXPECT_TRUE(fs::is_directory(dir / "DATA"));
  EXPECT_EQ(home.dataFolder(), dir / "DATA");
}

TEST(HomeTest, AFolderThatCannotBeCreatedFailsWithItsName) {
  TempDir dir;
  writeFile(dir / "SEI", "a file in the way");
  try {
    Home(dir.path()).init();
    FAIL() << "init succeeded";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find((dir / "SEI").string()), std::string::npos)
        << error.what();
  }

  writeFile(dir / "plain", "x");
  EXPECT_THROW(Home(dir / "plain" / "home").init(), Error);
}

TEST(HomeTest, TheMarkerFileOfAnyContentTurnsOnTheHitReportMode) {
  TempDir dir;
  Home home(dir.path());
  EXPECT_FALSE(home.hitReportMode());
  writeFile(dir / "MasterControlBrenn.key", "");
  EXPECT_TRUE(home.hitReportMode());
  writeFile(dir / "MasterControlBrenn.key", "anything at all");
  EXPECT_TRUE(home.hitReportMode());
  fs::remove(dir / "MasterControlBrenn.key");
  EXPECT_FALSE(home.hitReportMode());
  // Copied from Windows in another letter case.
  writeFile(dir / "mastercontrolbrenn.KEY", "");
  EXPECT_TRUE(home.hitReportMode());
}

TEST(HomeTest, AFolderOfTheMarkerNameIsNoMarker) {
  TempDir dir;
  fs::create_directories(dir / "MasterControlBrenn.key");
  EXPECT_FALSE(Home(dir.path()).hitReportMode());
}

}  // namespace
}  // namespace orvalle::app
