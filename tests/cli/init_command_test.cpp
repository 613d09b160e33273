#include <gtest/gtest.h>

#include <algorithm>

#include <sstream>

#include <regex>

#include "cli_test_support.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

const fs::path kData = ORVALLE_TEST_DATA_DIR "/cli";

TEST(InitCommandTest, CreatesTheFoldersAndTheDefaultUserSettings) {
  TempDir dir;
  fs::path home = dir / "home";
  CliRun run = runCliForTest({"--home", home.string(), "init"});
  ASSERT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_EQ(run.out, home.string() + "\n");
  EXPECT_EQ(run.err, "");
  for (const char* name : {"DATA", "SEI", "yLZH"}) EXPECT_TRUE(fs::is_directory(home / name));
  EXPECT_EQ(readFile(home / "UserSet.usd"), readFile(kData / "init_userset.usd"));
  ASSERT_FALSE(readFile(kData / "init_userset.usd").empty());
}

TEST(InitCommandTest, ASecondInitLeavesAChangedUserSettingsFile) {
  TempDir dir;
  ASSERT_EQ(runCliForTest({"--home", dir.path().string(), "init"}).status, kExitSuccess);
  writeFile(dir / "UserSet.usd", "changed\r\n");
  CliRun again = runCliForTest({"--home", dir.path().string(), "init"});
  EXPECT_EQ(again.status, kExitSuccess) << again.err;
  EXPECT_EQ(readFile(dir / "UserSet.usd"), "changed\r\n");
}

TEST(InitCommandTest, ReusesAFolderOfAnotherLetterCase) {
  TempDir dir;
  fs::create_directories(dir / "Data");
  writeFile(dir / "Data" / "keep.txt", "x");
  CliRun run = runCliForTest({"--home", dir.path().string(), "init"});
  ASSERT_EQ(run.status, kExitSuccess) << run.err;
  EXPECT_FALSE(fs::exists(dir / "DATA"));
  EXPECT_EQ(readFile(dir / "Data" / "keep.txt"), "x");
  EXPECT_TRUE(fs::is_directory(dir / "SEI"));
}

TEST(InitCommandTest, AHomeThatCannotBeCreatedFails) {
  TempDir dir;
  writeFile(dir / "file", "x");
  CliRun run = runCliForTest({"--home", (dir / "file" / "home").string(), "init"});
  EXPECT_EQ(run.status, kExitFailure);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("フォルダを作成できませんでした"), std::string::npos) << run.err;
}

TEST(CliUsageTest, WrongArgumentsAreUsageErrors) {
  TempDir dir;
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"nope"},
      {"--home"},
      {"--home", dir.path().string()},
      {"get", "DataSpan"},
      {"get", "DataSpan", "period", "extra"},
      {"get", "Foo", "bar"},
      {"get", "DataSpan", "days"},
      {"set", "DataSpan", "period"},
      {"set", "Nope", "period", "400"},
      {"days", "extra"},
      {"init", "--bogus"},
  };
  for (const auto& args : cases) {
    std::vector<std::string> withHome = args;
    if (args.empty() || args[0] != "--home") {
      withHome.insert(withHome.begin(), {"--home", dir.path().string()});
    }
    CliRun run = runCliForTest(withHome);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_EQ(run.status, kExitUsage) << joined;
    EXPECT_FALSE(run.err.empty()) << joined;
    EXPECT_EQ(run.out, "") << joined;
  }
  // A usage error writes nothing.
  EXPECT_FALSE(fs::exists(dir / "orvalle.ini"));
  CliRun unknown = runCliForTest({"--home", dir.path().string(), "get", "Foo", "bar"});
  EXPECT_NE(unknown.err.find("Foo bar"), std::string::npos) << unknown.err;
}

TEST(CliUsageTest, HelpListsTheCommandsAndTheSettings) {
  CliRun help = runCliForTest({"--help"});
  EXPECT_EQ(help.status, kExitSuccess);
  for (const char* command : {"init", "days", "get", "set", "--home"}) {
    EXPECT_NE(help.out.find(command), std::string::npos) << command;
  }
  CliRun setHelp = runCliForTest({"set", "--help"});
  EXPECT_EQ(setHelp.status, kExitSuccess);
  EXPECT_NE(setHelp.out.find(
                "DataSpan period: 過去走データ利用範囲（日数）。整数 365..7300、既定値 1826"),
            std::string::npos)
      << setHelp.out;
}

TEST(CliUsageTest, VersionNamesTheProgramAndNeedsNoCommand) {
  CliRun version = runCliForTest({"--version"});
  EXPECT_EQ(version.status, kExitSuccess) << version.err;
  EXPECT_EQ(version.out, "orvalle-cli " ORVALLE_VERSION "\n");
  EXPECT_EQ(version.err, "");
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

TEST(CliHelpTest, HelpAndUsageErrorsSpeakTheUsersLanguage) {
  // The program's internal names (grids, labels, settings ids) stay out of
  // every help text, and every command describes itself in Japanese.
  const std::regex internal("StringGrid|Label|Grid[0-9]|Subcommands|Options:|REQUIRED");
  const CliRun top = runCliForTest({"--help"});
  ASSERT_EQ(top.status, kExitSuccess);
  std::vector<std::vector<std::string>> commands;
  bool listing = false;
  for (const std::string& line : lines(top.out)) {
    if (line == "コマンド:") {
      listing = true;
    } else if (listing && line.starts_with("  ")) {
      commands.push_back({line.substr(2, line.find(' ', 2) - 2)});
    }
  }
  ASSERT_GT(commands.size(), 15u);
  for (const char* action : {"list", "add", "delete", "select"})
    commands.push_back({"kaime", action});
  for (std::vector<std::string> command : commands) {
    command.push_back("--help");
    const CliRun help = runCliForTest(command);
    EXPECT_EQ(help.status, kExitSuccess) << command[0];
    EXPECT_FALSE(std::regex_search(help.out, internal)) << help.out;
    // Japanese text in UTF-8: lead bytes of three-byte characters.
    const std::string first = lines(help.out).front();
    EXPECT_TRUE(std::any_of(first.begin(), first.end(), [](char c) {
      return static_cast<unsigned char>(c) >= 0xE3;
    })) << help.out;
  }

  const CliRun missing = runCliForTest({"card"});
  EXPECT_EQ(missing.status, kExitUsage);
  EXPECT_TRUE(missing.err.starts_with("必要な引数が指定されていません")) << missing.err;
  EXPECT_NE(missing.err.find("--help"), std::string::npos);
}

}  // namespace
}  // namespace orvalle::cli
