// The results and hit-report commands on the last day of a simulated replay
// source, whose results exist only as real-time data (SRC/0B12/yyyymmdd.txt).
// Expected figures are worked out here from the real-time HR records by
// their byte positions, independently of the program's payout parsing and
// scoring.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "analysis_report.h"
#include "app/day_session.h"
#include "cli_test_support.h"
#include "sim/simulator.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/fixed_width.h"
#include "store/record.h"
#include "store/text_file.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;

// The number of `length` digits at 1-based `position`; 0 unless all digits.
int digitsAt(const std::string& line, size_t position, size_t length) {
  if (line.size() < position - 1 + length) return 0;
  int value = 0;
  for (size_t i = 0; i < length; ++i) {
    const char c = line[position - 1 + i];
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

struct Paid {
  std::string text;
  int payout;
};

// The paid entries of one bet type of an HR line: `count` entries of
// `stride` bytes from `first`, each `numbers` two-digit horse numbers and a
// nine-digit payout. Entries with a number below 1 are unused.
std::vector<Paid> paidEntries(const std::string& hr, size_t first, int count, size_t stride,
                              int numbers) {
  std::vector<Paid> paid;
  for (int e = 0; e < count; ++e) {
    const size_t at = first + static_cast<size_t>(e) * stride;
    std::string text;
    bool used = true;
    for (int n = 0; n < numbers; ++n) {
      const int horse = digitsAt(hr, at + 2 * static_cast<size_t>(n), 2);
      if (horse < 1) used = false;
      char number[8];
      std::snprintf(number, sizeof number, "%2d", horse);
      text += (n > 0 ? "-" : "") + std::string(number);
    }
    if (used) paid.push_back({text, digitsAt(hr, at + 2 * static_cast<size_t>(numbers), 9)});
  }
  return paid;
}

struct RacePayouts {
  std::vector<Paid> quinella, quinellaPlace, exacta, trio;
};

RacePayouts payoutsOf(const std::string& hr) {
  return {paidEntries(hr, 246, 3, 16, 2), paidEntries(hr, 294, 7, 16, 2),
          paidEntries(hr, 454, 6, 16, 2), paidEntries(hr, 550, 3, 18, 3)};
}

// Stake, hits and return of a list of combinations against paid entries.
struct Figures {
  int stake = 0, hits = 0, payoutReturn = 0;
  void add(const std::vector<std::string>& bets, const std::vector<Paid>& paid) {
    for (const std::string& bet : bets) {
      stake += 100;
      for (const Paid& p : paid) {
        if (p.text == bet) {
          ++hits;
          payoutReturn += p.payout;
        }
      }
    }
  }
};

class ResultsCommandsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempDir>();
    sim::simulate({source(), 4, 11});
    (void)test::buildHomeFromReplaySource(source(), *s_dir / "home" / "DATA",
                                          *s_dir / "home" / "SEI");
    for (const auto& entry : fs::directory_iterator(source() / "0B12")) {
      s_date = entry.path().stem().string();
      for (const std::string& line : store::readLines(entry.path())) {
        const std::string key = line.substr(11, 16);
        // A race sent again replaces its earlier copy.
        if (line.compare(0, 2, "HR") == 0) s_payouts[key] = line;
        if (line.compare(0, 2, "SE") == 0) {
          s_finish[key + line.substr(28, 2)] = digitsAt(line, 335, 2);
        }
      }
    }
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  void SetUp() override {
    fs::remove_all(home());
    fs::create_directories(home());
    fs::copy(*s_dir / "home", home(), fs::copy_options::recursive);
  }

  static fs::path source() { return *s_dir / "source"; }
  static fs::path home() { return *s_dir / "work"; }
  static std::string day() { return *store::dayStemOfDate(s_date); }
  static CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", home().string()});
    return runCliForTest(args);
  }

  static std::unique_ptr<test::TempDir> s_dir;
  static std::string s_date;
  static std::map<std::string, std::string> s_payouts;  // HR line by race key
  static std::map<std::string, int> s_finish;           // by race key + horse number
};
std::unique_ptr<test::TempDir> ResultsCommandsTest::s_dir;
std::string ResultsCommandsTest::s_date;
std::map<std::string, std::string> ResultsCommandsTest::s_payouts;
std::map<std::string, int> ResultsCommandsTest::s_finish;

// The first combination of `numbers` horses of 1..runners, in ascending
// order, that `paid` does not hold.
std::string unpaid(const std::vector<Paid>& paid, int numbers, int runners) {
  std::vector<std::string> candidates;
  for (int a = 1; a <= runners; ++a) {
    for (int b = a + 1; b <= runners; ++b) {
      if (numbers == 2) candidates.push_back(store::format("%2d-%2d", a, b));
      for (int c = b + 1; numbers == 3 && c <= runners; ++c) {
        candidates.push_back(store::format("%2d-%2d-%2d", a, b, c));
      }
    }
  }
  for (const std::string& text : candidates) {
    bool isPaid = false;
    for (const Paid& p : paid) isPaid = isPaid || p.text == text;
    if (!isPaid) return text;
  }
  return {};
}

TEST_F(ResultsCommandsTest, TwoHandCheckedRacesScoreAsTheirRealTimePayouts) {
  app::DaySession session{app::Home(home())};
  ASSERT_TRUE(session.loadDay(day(), app::AfterLoading::kCompare));
  ASSERT_FALSE(fs::exists(home() / "DATA" / (day() + ".jvHR")));
  ASSERT_GE(session.raceList().size(), 2u);
  model::DayTables& tables = session.tables();
  // Only the combinations written here are staked.
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    tables.analysis(slot).combinations.clearAll();
  }

  Figures trio, quinella, quinellaPlace, exacta;
  for (int line = 0; line < 2; ++line) {
    const int slot = session.raceSlotOfLine(line);
    const std::string key(store::raceKey(tables.race(slot)));
    ASSERT_EQ(s_payouts.count(key), 1u) << key;
    const RacePayouts paid = payoutsOf(s_payouts[key]);
    ASSERT_FALSE(paid.trio.empty());
    ASSERT_FALSE(paid.exacta.empty());
    const int runners = store::ra::kRegisteredRunners.numberIn(tables.race(slot));

    std::vector<std::string> trioBets, pairBets, exactaBets;
    const std::string& winnerPair = paid.exacta[0].text;
    const std::string reversed = winnerPair.substr(3, 2) + "-" + winnerPair.substr(0, 2);
    if (line == 0) {
      // The first race: a paid trio and a miss; the paid quinella, the last
      // paid quinella place pair and a miss; the exacta both ways.
      trioBets = {paid.trio[0].text, unpaid(paid.trio, 3, runners)};
      pairBets = {paid.quinella[0].text, paid.quinellaPlace.back().text,
                  unpaid(paid.quinellaPlace, 2, runners)};
      exactaBets = {reversed, winnerPair};
    } else {
      // The second race: misses but for the exacta.
      trioBets = {unpaid(paid.trio, 3, runners)};
      pairBets = {unpaid(paid.quinellaPlace, 2, runners)};
      exactaBets = {winnerPair};
    }
    model::CombinationBlock& block = tables.analysis(slot).combinations;
    for (size_t k = 0; k < trioBets.size(); ++k) block.trio[static_cast<int>(k)] = trioBets[k];
    for (size_t k = 0; k < pairBets.size(); ++k) block.quinella[static_cast<int>(k)] = pairBets[k];
    for (size_t k = 0; k < exactaBets.size(); ++k) {
      block.exacta[static_cast<int>(k)] = exactaBets[k];
    }
    trio.add(trioBets, paid.trio);
    quinella.add(pairBets, paid.quinella);
    quinellaPlace.add(pairBets, paid.quinellaPlace);
    exacta.add(exactaBets, paid.exacta);
  }
  // The hand check has something to find in every bet type.
  ASSERT_GE(trio.hits, 1);
  ASSERT_GE(quinella.hits, 1);
  ASSERT_GE(quinellaPlace.hits, 2);
  ASSERT_GE(exacta.hits, 2);

  acquire::ResultsFetchObserver observer;
  app::ResultsOutcome outcome = session.fetchResults(source().string(), observer);
  EXPECT_EQ(outcome.fetch.openCode, 0);
  EXPECT_GT(outcome.fetch.storedRecords, 0);
  EXPECT_TRUE(fs::exists(home() / "DATA" / (day() + ".jvHR")));

  // What `results --json` prints for this session.
  nlohmann::json json = analysisJson(app::dayReport(session));
  const int races = static_cast<int>(session.raceList().size());
  auto expect = [&](const char* name, const Figures& figures) {
    const nlohmann::json& tally = json["tallies"][name];
    EXPECT_EQ(tally["races"], races) << name;
    EXPECT_EQ(tally["stake"], figures.stake) << name;
    EXPECT_EQ(tally["hits"], figures.hits) << name;
    EXPECT_EQ(tally["return"], figures.payoutReturn) << name;
  };
  expect("trio", trio);
  expect("quinella", quinella);
  expect("quinellaPlace", quinellaPlace);
  expect("exacta", exacta);
}

TEST_F(ResultsCommandsTest, ResultsJsonOfTheLastDayAgreesWithItsRealTimeResults) {
  CliRun result = run({"results", s_date, "--source", source().string(), "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::exists(home() / "DATA" / (day() + ".jvHR")));
  nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["day"], day());
  const int races = static_cast<int>(json["races"].size());
  ASSERT_GE(races, 2);

  Figures trio, quinella, quinellaPlace, exacta;
  int finishes = 0;
  for (const auto& race : json["races"]) {
    const std::string key = race["key"];
    ASSERT_EQ(s_payouts.count(key), 1u) << key;
    const RacePayouts paid = payoutsOf(s_payouts[key]);
    auto texts = [](const nlohmann::json& list) {
      std::vector<std::string> out;
      for (const auto& entry : list) out.push_back(entry["text"]);
      return out;
    };
    trio.add(texts(race["trio"]), paid.trio);
    quinella.add(texts(race["quinella"]), paid.quinella);
    quinellaPlace.add(texts(race["quinella"]), paid.quinellaPlace);
    exacta.add(texts(race["exacta"]), paid.exacta);
    // The runners' official results came in with the payouts.
    for (const auto& horse : race["horses"]) {
      const int number = horse["number"];
      EXPECT_EQ(horse["finish"], s_finish[key + store::format("%02d", number)]) << key;
      if (horse["finish"] == 1) ++finishes;
    }
  }
  EXPECT_GE(finishes, races);
  for (const auto& [name, figures] :
       std::vector<std::pair<const char*, Figures>>{{"trio", trio},
                                                    {"quinella", quinella},
                                                    {"quinellaPlace", quinellaPlace},
                                                    {"exacta", exacta}}) {
    const nlohmann::json& tally = json["tallies"][name];
    EXPECT_EQ(tally["races"], races) << name;
    EXPECT_EQ(tally["stake"], figures.stake) << name;
    EXPECT_EQ(tally["hits"], figures.hits) << name;
    EXPECT_EQ(tally["return"], figures.payoutReturn) << name;
  }
}

TEST_F(ResultsCommandsTest, ResultsTakesTheSourceOfTheSettings) {
  CliRun unset = run({"results", s_date});
  EXPECT_EQ(unset.status, 1);
  EXPECT_NE(unset.err.find("JvLink"), std::string::npos);

  ASSERT_EQ(run({"set", "JvLink", "source", source().string()}).status, 0);
  CliRun result = run({"results", s_date});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string races = std::to_string(store::splitLines(run({"races", s_date}).out).size());
  EXPECT_NE(result.out.find("三連複: レース数 " + races), std::string::npos) << result.out;
  EXPECT_TRUE(fs::exists(home() / "DATA" / (day() + ".jvHR")));
}

TEST_F(ResultsCommandsTest, ResultsOfADayWithoutRealTimeDataImportsItsStoredPayouts) {
  // An earlier day: JV-Link has nothing for it, which is no failure and
  // says nothing; the stored payouts are imported all the same.
  std::vector<std::string> days = store::splitLines(run({"days"}).out);
  ASSERT_GE(days.size(), 2u);
  CliRun result = run({"results", days[1], "--source", source().string(), "--json"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["tallies"]["trio"]["races"], json["races"].size());
}

TEST_F(ResultsCommandsTest, AFailedJvLinkCallFailsResultsAfterPrintingTheImportedDay) {
  test::writeFile(source() / "jvlink.ini", "[emulate]\nrtopen=-504\n");
  CliRun result = run({"results", s_date, "--source", source().string(), "--json"});
  fs::remove(source() / "jvlink.ini");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "JVRTOpenエラー:サーバーがメンテナンス中です。(-504)\n");
  nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["day"], day());
  EXPECT_FALSE(json.contains("notices"));
}

TEST_F(ResultsCommandsTest, HitReportPrintsThePathOfAWrittenFragmentOnly) {
  ASSERT_EQ(run({"results", s_date, "--source", source().string()}).status, 0);
  for (std::vector<std::string> args :
       {std::vector<std::string>{"hit-report", s_date},
        std::vector<std::string>{"hit-report", s_date, "--longshot"}}) {
    CliRun result = run(args);
    ASSERT_EQ(result.status, 0) << result.err;
    const fs::path fragment = home() / "HPupload" / ("TK" + s_date + ".txt");
    if (result.out.empty()) {
      // Fewer than two hits: nothing written.
      EXPECT_FALSE(fs::exists(fragment));
    } else {
      EXPECT_EQ(result.out, fragment.string() + "\n");
      std::vector<std::string> lines = store::readLines(fragment);
      ASSERT_GE(lines.size(), 3u);
      EXPECT_EQ(cp932::toUtf8(lines[0]).find("<br /><img src=\"./image/balist.gif\">"), 0u);
    }
  }
  EXPECT_EQ(run({"hit-report", "2024-01-06"}).status, 2);
}

}  // namespace
}  // namespace orvalle::cli
