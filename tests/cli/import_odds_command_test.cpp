// `import-odds` end to end: archives made with jlha are imported into a home
// built from a simulated source, and `analyze --json` of the day then shows
// the predicted odds and their ranks on the matching races.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "cli_test_support.h"
#include "model/day_tables.h"
#include "sim/simulator.h"
#include "store/code_tables.h"
#include "store/day_file_names.h"
#include "store/fixed_width.h"
#include "store/pair_numbers.h"
#include "store/predicted_odds_file.h"
#include "store/record.h"
#include "store/text_file.h"
#include "support/lha_builder.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;
using store::format;

void put(std::string& line, int position, std::string_view text) {
  line.replace(static_cast<size_t>(position - 1), text.size(), text);
}

// Win odds given to horse h of a race of n runners: horses 1 and 2 share
// 5.0, horse 3 has none, the others run from 40 - h down, so the last horse
// is third favourite. Ranks: 1, 2, none, then 3 + (n - h).
std::optional<double> winOdds(int horse) {
  if (horse == 3) return std::nullopt;
  if (horse <= 2) return 5.0;
  return 40.0 - horse;
}
int expectedRank(int horse, int runners) {
  if (horse == 3) return 0;
  if (horse <= 2) return horse;
  return 3 + (runners - horse);
}

// One race of the simulated day.
struct Race {
  std::string date;  // yyyymmdd
  std::string racecourse;
  int meeting = 0;
  int day = 0;
  int number = 0;
  int runners = 0;
};

std::string jrdbLine(const Race& race) {
  std::string line(955, ' ');
  put(line, 1, race.racecourse);
  put(line, 5, format("%d%d%02d%2d", race.meeting % 10, race.day % 10, race.number, race.runners));
  for (int h = 1; h <= race.runners; ++h) {
    auto odds = winOdds(h);
    put(line, 11 + 5 * (h - 1), odds ? format("%5.1f", *odds) : "     ");
  }
  return line;
}

// The KOL code of a JV-Data racecourse code.
std::string kolRacecourse(std::string_view code) {
  for (int index = 0; index <= 9; ++index) {
    if (store::codes::racecourseNameByIndex(index) == store::codes::racecourseName(code, 2)) {
      return format("%02d", index);
    }
  }
  ADD_FAILURE() << "no KOL code for " << code;
  return "  ";
}

std::string kolLine(const Race& race) {
  std::string line(1502, ' ');
  put(line, 1, kolRacecourse(race.racecourse));
  put(line, 7, format("%02d%02d%02d%s", race.meeting, race.day, race.number, race.date.c_str()));
  put(line, 110, format("%02d", race.runners));
  for (int h = 1; h <= 18; ++h) {
    auto odds = h <= race.runners ? winOdds(h) : std::nullopt;
    put(line, 162 + 5 * (h - 1), odds ? format("%5d", static_cast<int>(*odds * 10)) : "    -");
  }
  for (int b = 1; b <= 36; ++b) put(line, 252 + 5 * (b - 1), format("%5d", 2000 + b));
  for (int k = 1; k <= 153; ++k) put(line, 432 + 7 * (k - 1), format("%7d", 30000 + k));
  return line;
}

class ImportOddsCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempDir>();
    sim::simulate({*s_dir / "source", 3, 11});
    s_days = test::buildHomeFromReplaySource(*s_dir / "source", *s_dir / "home" / "DATA",
                                             *s_dir / "home" / "SEI");
    auto tables = std::make_unique<model::DayTables>();
    test::fillRaceAndRunnerTables(*tables, *s_dir / "home" / "DATA", s_days.back());
    for (int slot = 0; slot < 36; ++slot) {
      if (tables->isRaceEmpty(slot)) continue;
      std::string_view ra = tables->race(slot);
      s_races.push_back(
          Race{std::string(store::head::kRaceDate.in(ra)),
               std::string(store::head::kRacecourseCode.in(ra)), store::head::kMeeting.numberIn(ra),
               store::head::kDayOfMeeting.numberIn(ra), store::head::kRaceNumber.numberIn(ra),
               store::ra::kRegisteredRunners.numberIn(ra)});
    }
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  void SetUp() override {
    if (!test::haveJlha()) GTEST_SKIP() << test::kNoJlhaMessage;
    fs::remove_all(home());
    fs::create_directories(home());
    fs::copy(*s_dir / "home", home(), fs::copy_options::recursive);
    fs::remove_all(work());
  }

  static fs::path home() { return *s_dir / "work"; }
  static fs::path work() { return *s_dir / "archives"; }
  static CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home().string()});
    return runCliForTest(args);
  }
  static const std::string& day() { return s_days.back(); }
  static std::string date() { return s_races.front().date; }
  // The racecourses of the day, in race order.
  static std::vector<std::string> racecourses() {
    std::vector<std::string> codes;
    for (const Race& race : s_races) {
      if (std::find(codes.begin(), codes.end(), race.racecourse) == codes.end()) {
        codes.push_back(race.racecourse);
      }
    }
    return codes;
  }

  // Makes `folder`/`name` holding one file of the given lines.
  static fs::path archive(const fs::path& folder, const std::string& name,
                          const std::string& member, const std::vector<std::string>& lines) {
    fs::path source = work() / "src";
    fs::remove_all(source);
    test::writeFile(source / member, store::joinLines(lines));
    fs::path path = folder / name;
    EXPECT_TRUE(test::makeLhaArchive(path, source, {member}));
    return path;
  }

  // Checks the analysis of the day: runners of races at `racecourse` carry
  // the odds and ranks of winOdds, the others none.
  static void expectOddsOnlyAt(const std::string& racecourse) {
    CliRun analyzed = run({"analyze", day(), "--json"});
    ASSERT_EQ(analyzed.status, 0) << analyzed.err;
    nlohmann::json json = nlohmann::json::parse(analyzed.out);
    int withOdds = 0;
    for (const auto& race : json["races"]) {
      const std::string key = race["key"];
      const bool matching = key.substr(8, 2) == racecourse;
      const int runners = race["runners"];
      SCOPED_TRACE(key);
      for (const auto& horse : race["horses"]) {
        const int number = horse["number"];
        if (matching && winOdds(number)) {
          EXPECT_DOUBLE_EQ(horse["odds"].get<double>(), *winOdds(number));
          ++withOdds;
        } else {
          EXPECT_TRUE(horse["odds"].is_null());
        }
        EXPECT_EQ(horse["oddsRank"], matching ? expectedRank(number, runners) : 0);
      }
    }
    EXPECT_GT(withOdds, 0);
  }

  static std::unique_ptr<test::TempDir> s_dir;
  static std::vector<std::string> s_days;
  static std::vector<Race> s_races;
};
std::unique_ptr<test::TempDir> ImportOddsCommandTest::s_dir;
std::vector<std::string> ImportOddsCommandTest::s_days;
std::vector<Race> ImportOddsCommandTest::s_races;

TEST_F(ImportOddsCommandTest, JrdbOddsReachTheRacesOfTheirRacecourse) {
  const std::string racecourse = racecourses().front();
  std::vector<std::string> lines;
  for (const Race& race : s_races) {
    if (race.racecourse == racecourse) lines.push_back(jrdbLine(race));
  }
  const std::string yymmdd = date().substr(2);
  fs::path path = archive(work(), "OZ" + yymmdd + ".lzh", "Oz" + yymmdd + ".txt", lines);

  CliRun imported = run({"import-odds", path.string()});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "JRDB基準オッズデータを解凍し、" + day() +
                              "のデータを保存しました。データを再読込すると反映されます。\n");
  EXPECT_EQ(imported.err, "");
  EXPECT_TRUE(fs::exists(home() / "DATA" / (day() + ".yoz")));
  expectOddsOnlyAt(racecourse);
}

TEST_F(ImportOddsCommandTest, KolOddsReachTheRacesOfTheirRacecourseThroughItsName) {
  ASSERT_GE(racecourses().size(), 2u);
  const std::string racecourse = racecourses()[1];
  std::vector<std::string> lines;
  for (const Race& race : s_races) {
    if (race.racecourse == racecourse) lines.push_back(kolLine(race));
  }
  // Named only: the archive is taken from the home's yLZH folder.
  archive(home() / "yLZH", "j" + date() + ".lzh", "kol_ods.kd2", lines);

  CliRun imported = run({"import-odds", "j" + date() + ".lzh"});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "KOL予想オッズデータを解凍し、" + day() +
                              "のデータを保存しました。データを再読込すると反映されます。\n");
  EXPECT_FALSE(fs::exists(home() / "yLZH" / "kol_ods.kd2"));
  expectOddsOnlyAt(racecourse);
}

TEST_F(ImportOddsCommandTest, DayOptionDecidesTheKolQuinellaLayout) {
  Race seven{date(), "06", 1, 1, 1, 7};
  const int pair25 = store::codes::pairNumber(2, 5);
  const std::string bracket =
      format("%8.1f", (2000 + store::codes::bracketPairNumber(2, 5)) / 10.0);
  const std::string full = format("%8.1f", (30000 + pair25) / 10.0);
  // The simulated day is after 2004, so without --day the full layout.
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, full},
      {{"--day", "20040105"}, bracket},
      {{"--day", "2005年01月05日"}, full},
  };
  for (const auto& [options, expected] : cases) {
    fs::path path = archive(work(), "j.lzh", "kol_ods.kd2", {kolLine(seven)});
    std::vector<std::string> args = {"import-odds", path.string()};
    args.insert(args.end(), options.begin(), options.end());
    CliRun imported = run(args);
    ASSERT_EQ(imported.status, 0) << imported.err;
    auto lines = store::readPredictedOddsFile(home() / "DATA" / (day() + ".yoz"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(store::predicted_odds::quinellaOdds(pair25).in(lines[0].text()), expected);
  }
  EXPECT_EQ(run({"import-odds", "j.lzh", "--day", "2005-01-05"}).status, 2);
}

TEST_F(ImportOddsCommandTest, ArchiveFolderSettingNamesWhereArchivesAreFound) {
  ASSERT_EQ(run({"set", "Dir", "yoso", work().string()}).status, 0);
  archive(work(), "j.lzh", "yosoodds.dat", {"unused"});
  // An archive with neither provider's file: nothing written, nothing said.
  CliRun imported = run({"import-odds", "j.lzh"});
  EXPECT_EQ(imported.status, 0);
  EXPECT_EQ(imported.out, "");
  EXPECT_EQ(imported.err, "");
  EXPECT_FALSE(fs::exists(home() / "DATA" / (day() + ".yoz")));
  EXPECT_TRUE(fs::exists(work() / "yosoodds.dat"));
}

TEST_F(ImportOddsCommandTest, DamagedOrMissingArchiveFailsWithTheUnpackMessage) {
  fs::path path = archive(work(), "OZ060105.lzh", "Oz060105.txt", {std::string(955, '1')});
  std::string bytes = test::readFile(path);
  test::writeFile(path, bytes.substr(0, bytes.size() - 10));
  for (const fs::path& archivePath : {path, work() / "none.lzh"}) {
    CliRun imported = run({"import-odds", archivePath.string()});
    EXPECT_EQ(imported.status, 1);
    EXPECT_EQ(imported.out, "");
    EXPECT_EQ(imported.err, "データが解凍できませんでした。\n");
  }
  EXPECT_FALSE(fs::exists(home() / "DATA" / "2006年01月05日.yoz"));
  EXPECT_FALSE(fs::exists(work() / "Oz060105.txt"));
}

}  // namespace
}  // namespace orvalle::cli
