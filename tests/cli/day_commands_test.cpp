// The commands that load and analyse a day (analyze, card, unprocessed) on a
// home built from a simulated source.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <memory>
#include <set>
#include <sstream>

#include "cli_test_support.h"
#include "output/processed_days.h"
#include "sim/simulator.h"
#include "store/day_file_names.h"
#include "support/replay_source.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

using Json = nlohmann::json;

class DayCommandsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempDir>();
    sim::simulate({*s_dir / "source", 10, 5});
    s_days = test::buildHomeFromReplaySource(*s_dir / "source", *s_dir / "home" / "DATA",
                                             *s_dir / "home" / "SEI");
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  void SetUp() override {
    // Every test starts from the built home without its written predictions.
    std::filesystem::remove_all(home());
    std::filesystem::create_directories(home());
    std::filesystem::copy(*s_dir / "home", home(), std::filesystem::copy_options::recursive);
  }

  static std::filesystem::path home() { return *s_dir / "work"; }
  static CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home().string()});
    return runCliForTest(args);
  }
  static nlohmann::json runJson(std::vector<std::string> args) {
    const CliRun result = run(std::move(args));
    EXPECT_EQ(result.status, kExitSuccess) << result.err;
    return nlohmann::json::parse(result.out);
  }
  // The newest day with final results.
  static const std::string& lastDay() { return s_days.back(); }

  static std::unique_ptr<test::TempDir> s_dir;
  static std::vector<std::string> s_days;
};
std::unique_ptr<test::TempDir> DayCommandsTest::s_dir;
std::vector<std::string> DayCommandsTest::s_days;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string cell; std::getline(in, cell, '\t');) out.push_back(cell);
  return out;
}

TEST_F(DayCommandsTest, AnalyzeJsonHoldsEveryRaceRunnerAndPairAndWritesPredictions) {
  CliRun result = run({"analyze", lastDay(), "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  nlohmann::json day = nlohmann::json::parse(result.out);
  EXPECT_EQ(day["day"], lastDay());
  ASSERT_GE(day["races"].size(), 24u);
  int ranked = 0;
  int scoredRaces = 0;
  int quinellas = 0;
  for (const auto& race : day["races"]) {
    const int condition = race["condition"];
    if (condition != 701 && condition != 702) ++scoredRaces;
    quinellas += static_cast<int>(race["quinella"].size());
    const int runners = race["runners"];
    EXPECT_TRUE(race["compared"]);
    EXPECT_EQ(race["horses"].size(), static_cast<size_t>(runners));
    EXPECT_EQ(race["pairs"].size(), static_cast<size_t>(runners * (runners - 1) / 2));
    for (const auto& horse : race["horses"]) {
      // A rate is null exactly when its rank is 0.
      EXPECT_EQ(horse["pointRate"].is_null(), horse["pointRateRank"] == 0);
      if (horse["pointRateRank"] == 1) ++ranked;
    }
    for (const auto& pair : race["pairs"]) {
      const int winner = pair["winner"];
      const int first = pair["firstTotal"], second = pair["secondTotal"];
      EXPECT_EQ(winner, first > second ? 1 : second > first ? 2 : 0);
    }
  }
  EXPECT_GT(ranked, 0);
  // The combination calculation followed the comparison and scored every
  // race but the debut races.
  EXPECT_GT(quinellas, 0);
  EXPECT_EQ(day["tallies"]["quinella"]["races"], scoredRaces);
  EXPECT_EQ(day["tallies"]["quinella"]["stake"], 100 * quinellas);
  EXPECT_EQ(day["tallies"]["quinellaPlace"]["stake"], 100 * quinellas);

  // The comparison wrote the prediction files and recorded the day.
  int year = std::stoi(lastDay().substr(0, 4));
  EXPECT_EQ(output::readProcessedDays(home(), year).back(), lastDay());
  std::string regno = day["races"][0]["horses"][0]["regno"];
  EXPECT_TRUE(std::filesystem::exists(home() / "SEI" / regno.substr(0, 4) / (regno + ".yos")));
}

TEST_F(DayCommandsTest, AnalyzeWithIgnoredDatesSaysSoAndWritesNothing) {
  ASSERT_EQ(run({"set", "ReadKako", "IgnoDate", "1"}).status, 0);
  // The message is the command's information: on standard output before the
  // summary, or in the JSON.
  const std::string message =
      "[データ読込時過去走の日付を無視する]が指定してあるのでこの比較結果は未処理扱いです。";
  CliRun result = run({"analyze", lastDay()});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out.find(message + "\n" + lastDay() + "\n"), 0u) << result.out;
  CliRun json = run({"analyze", lastDay(), "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(nlohmann::json::parse(json.out)["notices"], nlohmann::json::array({message}));
  int year = std::stoi(lastDay().substr(0, 4));
  EXPECT_FALSE(std::filesystem::exists(output::processedDaysFilePath(home(), year)));
}

TEST_F(DayCommandsTest, CardSortedByPointWinRateListsRanksInOrder) {
  CliRun result = run({"card", lastDay(), "1", "--sort", "Pt勝率"});
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> rows = lines(result.out);
  ASSERT_GE(rows.size(), 6u);
  EXPECT_EQ(cells(rows[0]).size(), 27u);
  EXPECT_EQ(cells(rows[0])[17], "pt勝率");
  int previous = 0;
  bool unranked = false;
  for (size_t r = 1; r < rows.size(); ++r) {
    std::string rank = cells(rows[r])[18];
    if (rank == "　") {
      unranked = true;  // unranked runners come last
      continue;
    }
    EXPECT_FALSE(unranked) << rows[r];
    EXPECT_EQ(std::stoi(rank), previous + 1);
    previous = std::stoi(rank);
  }
}

TEST_F(DayCommandsTest, CardRefusesAnUnknownSortAndAMissingRace) {
  EXPECT_EQ(run({"card", lastDay(), "1", "--sort", "bogus"}).status, 2);
  CliRun missing = run({"card", lastDay(), "99"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("レースがありません"), std::string::npos);
}

TEST_F(DayCommandsTest, DetailedCardNumbersThePastRuns) {
  CliRun result = run({"card", lastDay(), "1", "--detail"});
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> heading = cells(lines(result.out)[0]);
  ASSERT_GE(heading.size(), 6u);
  EXPECT_EQ(heading[3], "全・距離別成績");
  EXPECT_EQ(heading[5], "  1走前");
}

TEST_F(DayCommandsTest, UnprocessedDaysShrinkAsDaysAreProcessed) {
  const std::string year = lastDay().substr(0, 4);
  CliRun before = run({"unprocessed", year});
  ASSERT_EQ(before.status, 0) << before.err;
  std::vector<std::string> listed = lines(before.out);
  EXPECT_EQ(listed.front(), run({"days"}).out.substr(0, listed.front().size()));

  ASSERT_EQ(run({"analyze", lastDay()}).status, 0);
  std::vector<std::string> after = lines(run({"unprocessed", year}).out);
  EXPECT_EQ(std::count(after.begin(), after.end(), lastDay()), 0);
  EXPECT_EQ(after.size(), listed.size() - 1);

  CliRun all = run({"unprocessed", year, "--run"});
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_NE(all.out.find("処理が終了しました。"), std::string::npos);
  // The run processed every remaining day of the year.
  CliRun none = run({"unprocessed", year});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find(year + "年の未処理データはありません。"), std::string::npos);
}

// A command reads what it needs before its first write: settings files
// that exist but cannot be read fail `analyze` with nothing written.
TEST_F(DayCommandsTest, UnreadableSettingsFailAnalyzeBeforeItWrites) {
  for (const char* file : {"UserSet.usd", "orvalle.ini"}) {
    SCOPED_TRACE(file);
    SetUp();
    std::filesystem::remove(home() / file);
    std::filesystem::create_directories(home() / file);  // there, but no readable file
    const auto before = test::snapshotFiles(home());
    CliRun result = run({"analyze", lastDay()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find(file), std::string::npos) << result.err;
    auto after = test::snapshotFiles(home());
    after.erase("orvalle.lock");  // the command's own lock, left empty
    EXPECT_EQ(after, before);
  }
}

TEST_F(DayCommandsTest, UnprocessedNeedsTheComparisonAfterLoading) {
  ASSERT_EQ(run({"set", "AllRace", "ExecComp", "0"}).status, 0);
  CliRun result = run({"unprocessed", lastDay().substr(0, 4)});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("データ読込後直ちに全レース比較を行う"), std::string::npos);
}

TEST_F(DayCommandsTest, RacesCarryTheHeaderLinesOfTheCardAndThePayouts) {
  const Json races = runJson({"races", lastDay(), "--json"});
  const std::vector<std::string> listed = lines(run({"races", lastDay()}).out);
  ASSERT_EQ(races["races"].size(), listed.size());
  const Json analyzed = runJson({"analyze", lastDay(), "--json"});
  ASSERT_EQ(analyzed["races"].size(), listed.size());

  for (size_t r = 0; r < listed.size(); ++r) {
    const Json& race = races["races"][r];
    EXPECT_EQ(std::to_string(r + 1) + " " + race["line"].get<std::string>(), listed[r]);
    // analyze and results carry the same header and payouts.
    EXPECT_EQ(analyzed["races"][r]["header"], race["header"]);
    EXPECT_EQ(analyzed["races"][r]["payouts"], race["payouts"]);

    const Json& header = race["header"];
    const std::string number = std::to_string(r + 1);
    const std::vector<std::string> card = lines(run({"card", lastDay(), number, "--header"}).out);
    ASSERT_GT(card.size(), 5u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(card[i], header["lines"][i].get<std::string>());
    EXPECT_TRUE(card[4].starts_with("枠\t馬\t"));
    EXPECT_NE(card[2].find(std::to_string(header["distance"].get<int>())), std::string::npos);
    EXPECT_EQ(header["runners"], race["runners"]);

    // The winner by the runners' finishing positions is a paid win entry.
    ASSERT_TRUE(race["payouts"].is_object()) << race["line"];
    std::set<int> paid;
    for (const Json& win : race["payouts"]["win"]) paid.insert(win["numbers"][0].get<int>());
    for (const Json& horse : analyzed["races"][r]["horses"]) {
      if (horse["finish"] == 1) {
        EXPECT_TRUE(paid.contains(horse["number"].get<int>()));
      }
    }
    EXPECT_EQ(race["payouts"].size(), 7u);
  }
}

TEST_F(DayCommandsTest, CardRowsFollowTheSortAndCarryTheFigures) {
  const Json card = runJson({"card", lastDay(), "1", "--json", "--sort", "ptrate"});
  EXPECT_EQ(card["sort"], "ptrate");
  EXPECT_EQ(card["columns"].size(), 27u);
  EXPECT_EQ(card["columns"][2], "馬名");
  ASSERT_EQ(card["rows"].size(), card["horses"].size());
  ASSERT_EQ(card["rows"].size(), card["header"]["runners"].get<size_t>());
  int previousRank = 0;
  for (size_t i = 0; i < card["rows"].size(); ++i) {
    const Json& horse = card["horses"][i];
    EXPECT_EQ(card["rows"][i][1], std::to_string(horse["number"].get<int>()));
    EXPECT_EQ(card["rows"][i][2], horse["name"]);
    // Ranked runners first, in rank order.
    const int rank = horse["pointRateRank"].get<int>();
    if (rank > 0) {
      EXPECT_GE(rank, previousRank);
      previousRank = rank;
    }
  }
  EXPECT_EQ(run({"card", lastDay(), "1", "--json", "--detail"}).status, kExitUsage);
  EXPECT_EQ(run({"card", lastDay(), "1", "--json", "--csv"}).status, kExitUsage);
}

TEST_F(DayCommandsTest, CompareListsTheRowsOfTheGrid) {
  // The first pair of the day that met common opponents.
  const Json analyzed = runJson({"analyze", lastDay(), "--json"});
  const Json* pair = nullptr;
  std::string race;
  for (size_t r = 0; r < analyzed["races"].size() && pair == nullptr; ++r) {
    for (const Json& p : analyzed["races"][r]["pairs"]) {
      if (p["count"].get<int>() > 0) {
        pair = &p;
        race = std::to_string(r + 1);
        break;
      }
    }
  }
  ASSERT_NE(pair, nullptr);
  const std::string a = std::to_string((*pair)["first"].get<int>());
  const std::string b = std::to_string((*pair)["second"].get<int>());
  const Json compared = runJson({"compare", lastDay(), race, a, b, "--json"});
  const std::vector<std::string> tsv = lines(run({"compare", lastDay(), race, a, b}).out);
  // The TSV: five label lines, the heading row, the rows.
  ASSERT_EQ(tsv.size(), 6 + compared["count"].get<size_t>());
  EXPECT_GT(compared["count"].get<int>(), 0);
  EXPECT_EQ(compared["rows"].size(), compared["count"].get<size_t>());
  EXPECT_EQ(compared["horseA"]["number"].get<int>(), (*pair)["first"].get<int>());
  EXPECT_FALSE(compared["horseA"]["name"].get<std::string>().empty());
  EXPECT_TRUE(compared["points"].is_object());
  EXPECT_TRUE(
      runJson({"compare", lastDay(), race, a, b, "--json", "--direct"})["points"].is_null());
}

TEST_F(DayCommandsTest, KaimeListJsonReadsEverySetting) {
  ASSERT_EQ(run({"kaime", "add", "\"A, B\",勝率,1,勝率,2,勝率,3,,,,,,,,,,,,,,,,,,,0"}).status,
            kExitSuccess);
  const Json settings = runJson({"kaime", "list", "--json"});
  ASSERT_EQ(settings["settings"].size(), 2u);
  EXPECT_EQ(settings["active"], 1);
  const Json& added = settings["settings"][1];
  EXPECT_EQ(added["name"], "A, B");
  EXPECT_TRUE(added["active"].get<bool>());
  EXPECT_EQ(added["axes"][1], (Json{{"criterion", "勝率"}, {"rank", 2}}));
  EXPECT_EQ(added["partners"][0]["rank"], 3);
  EXPECT_TRUE(added["partners"][1].is_null());
  EXPECT_FALSE(added["popularityTrios"].get<bool>());
  EXPECT_EQ(lines(run({"kaime", "list"}).out)[1], "* 1 " + added["line"].get<std::string>());
}

}  // namespace
}  // namespace orvalle::cli
