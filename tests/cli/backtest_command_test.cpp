// The backtest against the day tallies of `analyze`, on a home built from a
// simulated source.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

#include "cli_test_support.h"
#include "sim/simulator.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;

std::map<fs::path, std::string> snapshot(const fs::path& folder) {
  std::map<fs::path, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path()] = test::readFile(entry.path());
  }
  return files;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) {
    if (!part.empty() && part.back() == '\r') part.pop_back();
    out.push_back(part);
  }
  return out;
}

// Stake and return of one bet type.
struct Money {
  long long stake = 0;
  long long payoutReturn = 0;
  bool operator==(const Money&) const = default;
};

class BacktestCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempDir>();
    sim::simulate({*s_dir / "source", 10, 3});
    s_days = test::buildHomeFromReplaySource(*s_dir / "source", home() / "DATA", home() / "SEI");
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  static fs::path home() { return *s_dir / "home"; }
  static CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home().string()});
    return runCliForTest(args);
  }

  static std::unique_ptr<test::TempDir> s_dir;
  static std::vector<std::string> s_days;
};
std::unique_ptr<test::TempDir> BacktestCommandTest::s_dir;
std::vector<std::string> BacktestCommandTest::s_days;

TEST_F(BacktestCommandTest, StakeAndReturnAreTheSumsOfAnalyze) {
  const fs::path csv = *s_dir / "days.csv";
  const auto before = snapshot(home());
  CliRun backtest = run({"backtest", "--csv", csv.string()});
  ASSERT_EQ(backtest.status, 0) << backtest.err;
  EXPECT_EQ(snapshot(home()), before) << "the backtest wrote into the home";

  // The table: one line per bet type after the heading.
  const std::vector<std::string> lines = split(backtest.out, '\n');
  ASSERT_EQ(lines.size(), 7u) << backtest.out;
  EXPECT_EQ(lines[0].rfind("設定: 0 設定１", 0), 0u) << lines[0];
  EXPECT_NE(lines[1].find("日数: " + std::to_string(s_days.size())), std::string::npos);
  EXPECT_NE(lines[1].find("除外: 1"), std::string::npos)
      << lines[1];  // the last day has no results
  const char* const kKeys[] = {"quinella", "quinellaPlace", "exacta", "trio"};
  std::map<std::string, Money> table;
  for (int t = 0; t < 4; ++t) {
    std::istringstream row(lines[static_cast<size_t>(3 + t)]);
    std::string name, hitRate, returnRate;
    long long races = 0, combinations = 0, hits = 0;
    Money money;
    row >> name >> races >> combinations >> hits >> hitRate >> money.stake >> money.payoutReturn;
    table[kKeys[t]] = money;
    EXPECT_EQ(money.stake, combinations * 100) << lines[static_cast<size_t>(3 + t)];
  }

  // The CSV: per day and bet type.
  const std::vector<std::string> rows = split(test::readFile(csv), '\n');
  ASSERT_EQ(rows.size(), 1 + 4 * s_days.size());
  EXPECT_EQ(rows[0], "date,betType,races,combinations,hits,stake,return,returnRate");
  std::map<std::string, std::map<std::string, Money>> perDay;  // date -> bet type
  for (size_t r = 1; r < rows.size(); ++r) {
    const std::vector<std::string> cells = split(rows[r], ',');
    ASSERT_GE(cells.size(), 7u) << rows[r];
    perDay[cells[0]][cells[1]] = {std::stoll(cells[5]), std::stoll(cells[6])};
  }

  // analyze of each day gives the same day tallies; their sums are the
  // table's.
  std::map<std::string, Money> sums;
  for (const std::string& day : s_days) {
    CliRun analyze = run({"analyze", day, "--json"});
    ASSERT_EQ(analyze.status, 0) << analyze.err;
    const nlohmann::json tallies = nlohmann::json::parse(analyze.out)["tallies"];
    const std::string date = day.substr(0, 4) + "-" + day.substr(7, 2) + "-" + day.substr(12, 2);
    for (const char* key : kKeys) {
      const Money money{tallies[key]["stake"].get<long long>(),
                        tallies[key]["return"].get<long long>()};
      EXPECT_EQ(perDay[date][key], money) << date << " " << key;
      sums[key].stake += money.stake;
      sums[key].payoutReturn += money.payoutReturn;
    }
  }
  EXPECT_EQ(sums, table);
  EXPECT_GT(table["quinellaPlace"].stake, 0);
  EXPECT_GT(table["quinellaPlace"].payoutReturn, 0);
}

TEST_F(BacktestCommandTest, ArgumentsAreChecked) {
  EXPECT_EQ(run({"backtest", "--from", "2024-01-01"}).status, 2);
  CliRun missing = run({"backtest", "--setting", "3"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "設定がありません: 3 (0-0)\n");

  // A range without final days prints zero figures.
  CliRun empty = run({"backtest", "--from", "19990101", "--to", "19991231"});
  ASSERT_EQ(empty.status, 0) << empty.err;
  EXPECT_NE(empty.out.find("日数: 0"), std::string::npos);
}

TEST_F(BacktestCommandTest, JsonFiguresAreTheSumsOfItsDays) {
  const CliRun run0 = run({"backtest", "--json", "--setting", "0"});
  ASSERT_EQ(run0.status, kExitSuccess) << run0.err;
  const nlohmann::json backtest = nlohmann::json::parse(run0.out);
  EXPECT_EQ(backtest["setting"]["index"], 0);
  ASSERT_FALSE(backtest["days"].empty());
  for (const char* type : {"quinella", "quinellaPlace", "exacta", "trio"}) {
    int64_t stake = 0, paid = 0;
    for (const nlohmann::json& day : backtest["days"]) {
      stake += day["tallies"][type]["stake"].get<int64_t>();
      paid += day["tallies"][type]["return"].get<int64_t>();
    }
    EXPECT_EQ(backtest["figures"][type]["stake"].get<int64_t>(), stake) << type;
    EXPECT_EQ(backtest["figures"][type]["return"].get<int64_t>(), paid) << type;
  }
  EXPECT_GT(backtest["figures"]["trio"]["stake"].get<int64_t>(), 0);
  EXPECT_EQ(run({"backtest", "--json", "--csv"}).status, kExitUsage);
}

}  // namespace
}  // namespace orvalle::cli
