#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <set>

#include "sim/simulator.h"
#include "sim_test_support.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/record.h"
#include "support/temp_dir.h"

namespace orvalle::sim {
namespace {

namespace fs = std::filesystem;
using orvalle::test::readFile;
using orvalle::test::TempDir;
using test::fileNames;
using test::splitRecords;

bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c));
  });
}

// Three race days (Saturday, Sunday and the Coming-of-Age Monday of 2021)
// written once for the whole suite.
class SimulatedSourceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_folder = std::make_unique<TempDir>();
    SimulationOptions options;
    options.outputFolder = s_folder->path() / "SRC";
    options.days = 3;
    options.seed = 7;
    s_summary = simulate(options);
  }
  static void TearDownTestSuite() { s_folder.reset(); }

  static fs::path source() { return s_folder->path() / "SRC"; }

  // Every data file of the source with its records, in delivery order:
  // RACEDIFF by name, then the 0B12 files.
  static std::vector<std::pair<std::string, std::vector<std::string>>> deliveries() {
    std::vector<std::pair<std::string, std::vector<std::string>>> files;
    for (const char* folder : {"RACEDIFF", "0B12"}) {
      for (const auto& name : fileNames(source() / folder)) {
        files.emplace_back(std::string(folder) + "/" + name,
                           splitRecords(readFile(source() / folder / name)));
      }
    }
    return files;
  }

  // The newest results of every race: its RA, SE records and HR.
  struct RaceResult {
    std::string ra;
    std::vector<std::string> se;
    std::string hr;
  };
  static std::map<std::string, RaceResult> finalResults() {
    std::map<std::string, RaceResult> races;
    for (const auto& [name, records] : deliveries()) {
      if (name.find("results") == std::string::npos &&
          name.find("correction") == std::string::npos && name.rfind("0B12", 0) != 0) {
        continue;
      }
      for (const auto& record : records) {
        const std::string key(store::raceKey(record));
        const std::string_view kind = store::recordKind(record);
        if (kind == "RA") races[key] = RaceResult{record, {}, {}};
        if (kind == "SE") races[key].se.push_back(record);
        if (kind == "HR") races[key].hr = record;
      }
    }
    return races;
  }

  static std::unique_ptr<TempDir> s_folder;
  static SimulationSummary s_summary;
};

std::unique_ptr<TempDir> SimulatedSourceTest::s_folder;
SimulationSummary SimulatedSourceTest::s_summary;

TEST_F(SimulatedSourceTest, SummaryCountsWhatWasWritten) {
  EXPECT_EQ(s_summary.days, 3);
  EXPECT_EQ(s_summary.firstDate, 20210109);
  EXPECT_EQ(s_summary.lastDate, 20210111);
  EXPECT_EQ(s_summary.races, 3 * 3 * 12);  // three racecourses in January
  const auto races = finalResults();
  EXPECT_EQ(static_cast<int>(races.size()), s_summary.races);
  int runners = 0;
  std::set<std::string> horses;
  for (const auto& [key, race] : races) {
    runners += static_cast<int>(race.se.size());
    for (const auto& se : race.se)
      horses.insert(std::string(store::se::kRegistrationNumber.in(se)));
  }
  EXPECT_EQ(runners, s_summary.runners);
  EXPECT_EQ(static_cast<int>(horses.size()), s_summary.horses);
  EXPECT_EQ(static_cast<int>(fileNames(source() / "RACEDIFF").size() +
                             fileNames(source() / "0B12").size()),
            s_summary.files);
}

TEST_F(SimulatedSourceTest, EveryRecordHasItsLengthEncodingAndNumericFields) {
  struct NumericField {
    std::string_view kind;
    store::Field field;
  };
  namespace ra = store::ra;
  namespace se = store::se;
  const NumericField numeric[] = {
      {"RA", store::head::kCreationDate},
      {"RA", store::head::kRaceKey},
      {"RA", ra::kWeekdayCode},
      {"RA", ra::kGradedRaceRunning},
      {"RA", ra::kRaceTypeCode},
      {"RA", ra::kConditionCodeYoungest},
      {"RA", ra::kDistance},
      {"RA", ra::kTrackCode},
      {"RA", ra::kFirstPrize},
      {"RA", ra::kStartTime},
      {"RA", ra::kRegisteredRunners},
      {"RA", ra::kStarters},
      {"RA", ra::kFinishers},
      {"RA", ra::kWeatherCode},
      {"SE", store::head::kRaceKey},
      {"SE", se::kBracket},
      {"SE", se::kHorseNumber},
      {"SE", se::kRegistrationNumber},
      {"SE", se::kSexCode},
      {"SE", se::kAge},
      {"SE", se::kWeightCarried},
      {"SE", se::kApprenticeCode},
      {"SE", se::kAbnormalityCode},
      {"SE", se::kFinishingPosition},
      {"SE", se::kRaceTime},
      {"SE", se::kWinOdds},
      {"SE", se::kPopularityRank},
      {"SE", se::kPrizeMoney},
      {"SE", se::kLast3Furlongs},
      {"SE", se::kLast4Furlongs},
      {"SE", se::kCorner4Position},
      {"HR", store::head::kRaceKey},
  };
  int records = 0;
  for (const auto& [name, list] : deliveries()) {
    for (const auto& record : list) {
      ++records;
      const std::string_view kind = store::recordKind(record);
      const size_t expected = kind == "RA"   ? store::kRaRecordLength
                              : kind == "SE" ? store::kSeRecordLength
                                             : store::kHrRecordLength;
      ASSERT_TRUE(kind == "RA" || kind == "SE" || kind == "HR") << name;
      ASSERT_EQ(record.size(), expected) << name << " " << kind;
      EXPECT_EQ(record.substr(record.size() - 2), "\r\n") << name;
      EXPECT_EQ(record.find_first_of("\r\n"), record.size() - 2) << name;
      EXPECT_TRUE(cp932::isValid(record)) << name;
      for (const auto& n : numeric) {
        if (n.kind == kind) {
          EXPECT_TRUE(allDigits(n.field.in(record)))
              << name << " " << kind << " at " << n.field.position << ": '" << n.field.in(record)
              << "'";
        }
      }
      const int date = store::raceDate(record);
      EXPECT_GE(date, 20210109);
      EXPECT_LE(date, 20210111);
    }
  }
  EXPECT_GT(records, 1000);
}

TEST_F(SimulatedSourceTest, RunnersOfEveryRaceAreConsistent) {
  int scratched = 0;
  int stopped = 0;
  for (const auto& [key, race] : finalResults()) {
    SCOPED_TRACE(key);
    const int registered = store::ra::kRegisteredRunners.numberIn(race.ra);
    ASSERT_EQ(static_cast<int>(race.se.size()), registered);
    ASSERT_GE(registered, 5);
    ASSERT_LE(registered, 18);

    std::vector<int> numbers;
    std::vector<int> bracketSizes(9, 0);
    int lastBracket = 0;
    int starters = 0;
    std::vector<std::pair<int, int>> finish;  // position, time in tenths
    std::set<int> popularities;
    for (const auto& se : race.se) {
      const int number = store::se::kHorseNumber.numberIn(se);
      const int bracket = store::se::kBracket.numberIn(se);
      numbers.push_back(number);
      EXPECT_GE(bracket, lastBracket);
      EXPECT_GE(bracket, 1);
      EXPECT_LE(bracket, 8);
      lastBracket = bracket;
      ++bracketSizes[static_cast<size_t>(bracket)];
      const int abnormality = store::se::kAbnormalityCode.numberIn(se);
      const int position = store::se::kFinishingPosition.numberIn(se);
      const std::string_view time = store::se::kRaceTime.in(se);
      if (abnormality == 1 || abnormality == 2) {
        ++scratched;
        EXPECT_EQ(store::se::kWinOdds.in(se), "0000");
        EXPECT_EQ(store::se::kHorseWeight.in(se), "000");
        EXPECT_EQ(time, "0000");
        EXPECT_EQ(position, 0);
        EXPECT_EQ(store::se::kLast3Furlongs.in(se), "999");
        continue;
      }
      ++starters;
      EXPECT_GT(store::se::kWinOdds.numberIn(se), 0);
      popularities.insert(store::se::kPopularityRank.numberIn(se));
      if (abnormality == 4) {
        ++stopped;
        EXPECT_EQ(position, 0);
        EXPECT_EQ(time, "0000");
        EXPECT_EQ(store::se::kLast3Furlongs.in(se), "999");
        EXPECT_EQ(store::se::kLast4Furlongs.in(se), "999");
        continue;
      }
      ASSERT_EQ(abnormality, 0);
      ASSERT_GE(position, 1);
      const int tenths = (time[0] - '0') * 600 + store::toInt(time.substr(1));
      finish.emplace_back(position, tenths);
      const int last3 = store::se::kLast3Furlongs.numberIn(se);
      const int last4 = store::se::kLast4Furlongs.numberIn(se);
      EXPECT_GT(last3, 300);
      EXPECT_LT(last3, last4);
      EXPECT_LT(last4, tenths);
      EXPECT_LE(store::se::kCorner4Position.numberIn(se), registered);
    }
    // Horse numbers 1..n; brackets filled from the outside.
    std::sort(numbers.begin(), numbers.end());
    for (int i = 0; i < registered; ++i) EXPECT_EQ(numbers[static_cast<size_t>(i)], i + 1);
    const int brackets = std::min(8, registered);
    EXPECT_EQ(lastBracket, brackets);
    for (int b = 2; b <= brackets; ++b) {
      EXPECT_GE(bracketSizes[static_cast<size_t>(b)], bracketSizes[static_cast<size_t>(b - 1)]);
      EXPECT_LE(bracketSizes[static_cast<size_t>(b)] - bracketSizes[1], 1);
    }
    // Counts, popularity ranks 1..starters.
    EXPECT_EQ(store::ra::kStarters.numberIn(race.ra), starters);
    EXPECT_EQ(store::ra::kFinishers.numberIn(race.ra), static_cast<int>(finish.size()));
    EXPECT_EQ(static_cast<int>(popularities.size()), starters);
    EXPECT_EQ(*popularities.begin(), 1);
    EXPECT_EQ(*popularities.rbegin(), starters);
    // Positions: a better position never has a longer time; a shared
    // position (dead heat) has the same time and skips the next.
    std::sort(finish.begin(), finish.end());
    for (size_t i = 0; i < finish.size(); ++i) {
      int ahead = 0;
      for (const auto& other : finish) ahead += other.first < finish[i].first ? 1 : 0;
      EXPECT_EQ(finish[i].first, ahead + 1);
      if (i > 0) {
        EXPECT_GE(finish[i].second, finish[i - 1].second);
        if (finish[i].first == finish[i - 1].first) {
          EXPECT_EQ(finish[i].second, finish[i - 1].second);
        }
      }
    }
  }
  // The sample holds both kinds of abnormal runs, so the checks above ran.
  EXPECT_GT(scratched, 0);
  EXPECT_GT(stopped, 0);
}

TEST_F(SimulatedSourceTest, PayoutsMatchTheFinish) {
  namespace hr = store::hr;
  for (const auto& [key, race] : finalResults()) {
    SCOPED_TRACE(key);
    ASSERT_EQ(race.hr.size(), store::kHrRecordLength);
    std::map<int, std::vector<int>> byPosition;
    std::map<int, int> odds;
    std::map<int, int> bracketOf;
    int starters = 0;
    for (const auto& se : race.se) {
      const int number = store::se::kHorseNumber.numberIn(se);
      const int position = store::se::kFinishingPosition.numberIn(se);
      if (position > 0) byPosition[position].push_back(number);
      odds[number] = store::se::kWinOdds.numberIn(se);
      bracketOf[number] = store::se::kBracket.numberIn(se);
      const int abnormality = store::se::kAbnormalityCode.numberIn(se);
      if (abnormality != 1 && abnormality != 2) ++starters;
    }
    EXPECT_EQ(store::fieldInt(race.hr, 30, 2), starters);
    auto entries = [&](const hr::PayoutBlockLayout& block, int numbers) {
      std::vector<std::vector<int>> used;
      for (int e = 0; e < block.entries; ++e) {
        const std::string_view whole{race.hr.data() + block.position - 1 + e * block.entrySize,
                                     static_cast<size_t>(block.entrySize)};
        if (store::isBlank(whole) || block.number(e, 0).numberIn(race.hr) == 0) {
          // Unused entries are blanks (the third place entry may read "00").
          EXPECT_TRUE(store::isBlank(whole.substr(2)));
          continue;
        }
        std::vector<int> combination;
        for (int k = 0; k < numbers; ++k)
          combination.push_back(block.number(e, k).numberIn(race.hr));
        EXPECT_GE(block.payout(e).numberIn(race.hr), 100);
        EXPECT_GE(block.popularity(e).numberIn(race.hr), 1);
        used.push_back(combination);
      }
      return used;
    };
    const auto win = entries(hr::kWin, 1);
    const auto place = entries(hr::kPlace, 1);
    const auto quinella = entries(hr::kQuinella, 2);
    const auto exacta = entries(hr::kExacta, 2);
    const auto trio = entries(hr::kTrio, 3);
    const auto wide = entries(hr::kQuinellaPlace, 2);
    const auto bracketQuinella = entries(hr::kBracketQuinella, 2);

    ASSERT_FALSE(byPosition[1].empty());
    std::vector<std::vector<int>> winners;
    for (int h : byPosition[1]) winners.push_back({h});
    EXPECT_EQ(win, winners);
    const int places = starters <= 7 ? 2 : 3;
    int placed = 0;
    for (const auto& [position, horses] : byPosition)
      placed += position <= places ? static_cast<int>(horses.size()) : 0;
    EXPECT_EQ(static_cast<int>(place.size()), placed);
    // Without a dead heat among the first three the combinations are single.
    if (byPosition[1].size() == 1 && byPosition[2].size() == 1 && byPosition[3].size() == 1) {
      const int first = byPosition[1][0];
      const int second = byPosition[2][0];
      const int third = byPosition[3][0];
      EXPECT_EQ(store::hr::kWin.payout(0).numberIn(race.hr), odds[first] * 10);
      EXPECT_EQ(
          quinella,
          (std::vector<std::vector<int>>{{std::min(first, second), std::max(first, second)}}));
      EXPECT_EQ(exacta, (std::vector<std::vector<int>>{{first, second}}));
      std::vector<int> top3{first, second, third};
      std::sort(top3.begin(), top3.end());
      EXPECT_EQ(trio, (std::vector<std::vector<int>>{top3}));
      EXPECT_EQ(wide.size(), 3u);
      if (race.se.size() >= 9) {
        const int x = std::min(bracketOf[first], bracketOf[second]);
        const int y = std::max(bracketOf[first], bracketOf[second]);
        EXPECT_EQ(bracketQuinella, (std::vector<std::vector<int>>{{x, y}}));
      } else {
        EXPECT_TRUE(bracketQuinella.empty());
      }
    }
  }
}

TEST_F(SimulatedSourceTest, DeliveriesComeInTimeOrder) {
  const auto names = fileNames(source() / "RACEDIFF");
  std::string lastStamp;
  std::map<std::string, std::vector<std::string>> stagesOfDay;  // race date -> texts in order
  for (const auto& name : names) {
    ASSERT_GT(name.size(), 15u);
    const std::string stamp = name.substr(0, 14);
    EXPECT_TRUE(allDigits(stamp)) << name;
    EXPECT_EQ(name[14], '_') << name;
    EXPECT_GT(stamp, lastStamp) << name;
    lastStamp = stamp;
    const std::string date = name.substr(name.size() - 12, 8);
    const std::string stage = name.substr(15, name.size() - 15 - 13);
    // A correction follows the results it corrects.
    if (stage == "correction") {
      ASSERT_FALSE(stagesOfDay[date].empty()) << name;
      EXPECT_EQ(stagesOfDay[date].back(), "results") << name;
      continue;
    }
    stagesOfDay[date].push_back(stage);
  }
  EXPECT_EQ(stagesOfDay["20210109"], (std::vector<std::string>{"entries", "card", "results"}));
  EXPECT_EQ(stagesOfDay["20210110"], (std::vector<std::string>{"entries", "card", "results"}));
  // The last day's results come through the real-time service only.
  EXPECT_EQ(stagesOfDay["20210111"], (std::vector<std::string>{"entries", "card"}));
  EXPECT_EQ(fileNames(source() / "0B12"), (std::vector<std::string>{"20210111.txt"}));
}

TEST_F(SimulatedSourceTest, DataKindsFollowTheDelivery) {
  for (const auto& [name, records] : deliveries()) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(records.empty());
    for (const auto& record : records) {
      const std::string_view kind = store::recordKind(record);
      const std::string_view dataKind = store::dataKind(record);
      if (name.find("entries") != std::string::npos) {
        EXPECT_EQ(dataKind, "1");
        if (kind == "SE") {
          EXPECT_EQ(store::se::kHorseNumber.in(record), "00");
          EXPECT_EQ(store::se::kBracket.in(record), "0");
        }
        EXPECT_NE(kind, "HR");
      } else if (name.find("card") != std::string::npos) {
        EXPECT_EQ(dataKind, "2");
        if (kind == "SE") {
          EXPECT_GE(store::se::kHorseNumber.numberIn(record), 1);
          EXPECT_EQ(store::se::kFinishingPosition.in(record), "00");
          EXPECT_TRUE(store::isBlank(store::se::kHorseWeight.in(record)));
        }
        EXPECT_NE(kind, "HR");
      } else if (name.rfind("0B12", 0) == 0) {
        EXPECT_EQ(dataKind, kind == "HR" ? "1" : "5");
      } else {
        EXPECT_EQ(dataKind, kind == "HR" ? "2" : "7");
      }
    }
  }
}

TEST(SimulatorTest, TheSameSeedWritesTheSameBytes) {
  TempDir folder;
  auto run = [&folder](const char* name, uint64_t seed) {
    SimulationOptions options;
    options.outputFolder = folder / name;
    options.days = 2;
    options.seed = seed;
    options.startDate = 20230601;  // summer: 2-year-old newcomers, Hakodate
    (void)simulate(options);
    std::map<std::string, std::string> files;
    for (const char* sub : {"RACEDIFF", "0B12"}) {
      for (const auto& file : fileNames(folder / name / sub)) {
        files[std::string(sub) + "/" + file] = readFile(folder / name / sub / file);
      }
    }
    return files;
  };
  const auto first = run("a", 42);
  const auto again = run("b", 42);
  const auto other = run("c", 43);
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(first == again);
  ASSERT_EQ(first.size(), other.size());  // the calendar does not depend on the seed
  EXPECT_FALSE(first == other);
}

TEST(SimulatorTest, ACorrectionDeliversARaceAgainWithOneRunnerChanged) {
  TempDir folder;
  SimulationOptions options;
  options.outputFolder = folder.path();
  options.days = 5;
  options.seed = 5;  // a seed whose weekends have corrections
  (void)simulate(options);
  std::map<std::string, std::vector<std::string>> firstResults;  // race key -> records
  int corrections = 0;
  for (const auto& name : fileNames(folder / "RACEDIFF")) {
    const auto records = splitRecords(readFile(folder / "RACEDIFF" / name));
    if (name.find("_results_") != std::string::npos) {
      for (const auto& record : records)
        firstResults[std::string(store::raceKey(record))].push_back(record);
    }
    if (name.find("_correction_") == std::string::npos) continue;
    ++corrections;
    const std::string key(store::raceKey(records.at(0)));
    const auto& before = firstResults[key];
    ASSERT_EQ(before.size(), records.size()) << name;
    int changed = 0;
    for (size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(store::raceKey(records[i]), key);
      // The creation date is the day of the delivery.
      if (records[i].substr(11) == before[i].substr(11)) continue;
      ++changed;
      EXPECT_EQ(store::recordKind(records[i]), "SE");
      EXPECT_NE(store::se::kHorseWeight.in(records[i]), store::se::kHorseWeight.in(before[i]));
    }
    EXPECT_EQ(changed, 1) << name;
  }
  EXPECT_GE(corrections, 1);
}

TEST(SimulatorTest, RefusesAFolderThatAlreadyHoldsASource) {
  TempDir folder;
  orvalle::test::writeFile(folder / "RACEDIFF" / "20200101000000_x.txt", "RA");
  SimulationOptions options;
  options.outputFolder = folder.path();
  options.days = 1;
  EXPECT_THROW((void)simulate(options), Error);
  EXPECT_EQ(fileNames(folder / "RACEDIFF").size(), 1u);
}

TEST(SimulatorTest, RejectsOptionsOutOfRange) {
  TempDir folder;
  SimulationOptions options;
  options.outputFolder = folder.path();
  options.days = 0;
  EXPECT_THROW((void)simulate(options), Error);
  options.days = 1;
  options.startDate = 20210230;
  EXPECT_THROW((void)simulate(options), Error);
  options.outputFolder.clear();
  options.startDate = kDefaultStartDate;
  EXPECT_THROW((void)simulate(options), Error);
}

}  // namespace
}  // namespace orvalle::sim
