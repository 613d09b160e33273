// The seed corpora of the fuzz targets are valid files of their kind: a
// seed the readers reject would leave the fuzzer mutating junk. Each seed
// is read here the way its target reads it, on the in-memory home.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "acquire/past_run_construction.h"
#include "app/settings.h"
#include "betting/user_settings.h"
#include "betting/user_settings_file.h"
#include "fuzz_input.h"
#include "model/day_loader.h"
#include "model/past_run_loader.h"
#include "output/lha_archive.h"
#include "output/predicted_odds_import.h"
#include "store/cp932.h"
#include "store/day_file_names.h"
#include "store/day_file_store.h"
#include "store/predicted_odds_file.h"
#include "store/record.h"
#include "store/text_file.h"
#include "support/lha_builder.h"
#include "support/temp_dir.h"

namespace orvalle::fuzz {
namespace {

namespace fs = std::filesystem;

std::string seed(const std::string& target, const std::string& name) {
  return test::readFile(fs::path(ORVALLE_FUZZ_CORPUS_DIR) / target / name);
}

TEST(SplitFilesTest, PartsBetweenSeparators) {
  struct Case {
    std::string input;
    size_t minimum;
    size_t maximum;
    std::vector<std::string_view> expected;
  };
  const Case cases[] = {
      {"a\n%%\nb", 2, 2, {"a", "b"}},
      {"a", 3, 3, {"a", "", ""}},
      {"", 1, 1, {""}},
      {"\n%%\n", 2, 2, {"", ""}},
      // The last part keeps the rest, separators included.
      {"a\n%%\nb\n%%\nc", 1, 2, {"a", "b\n%%\nc"}},
      // A separator cut short is part of the text.
      {"a\n%%b", 2, 2, {"a\n%%b", ""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(splitFiles(c.input, c.minimum, c.maximum), c.expected) << c.input;
  }
}

TEST(SeedCorpusTest, JvRecordsStoreAndBuildPastRuns) {
  struct Case {
    const char* name;
    bool runnersStored;  // the entries have no horse numbers yet
    bool pastRuns;       // only final results give past runs
  };
  for (const Case& c : {Case{"race_entries", false, false}, Case{"race_card", true, false},
                        Case{"race_results", true, true}}) {
    MemoryHome home;
    store::DayFileStore store("/home/DATA", store::WriterRules::acquisition(19000101));
    std::set<std::string> resultDays;
    int races = 0;
    int runners = 0;
    int runnersStored = 0;
    for (const std::string& line : store::splitLines(seed("jv_records", c.name))) {
      const bool runner = line.starts_with("SE");
      runners += runner;
      auto record = store.store(line + "\r\n");
      if (!record) continue;
      runnersStored += runner;
      if (record->kind == store::RecordKind::kRa) ++races;
      if (record->kind == store::RecordKind::kRa && record->finalResultsRace) {
        resultDays.insert(record->fileName);
      }
    }
    EXPECT_EQ(races, 1) << c.name;
    ASSERT_GT(runners, 0) << c.name;
    EXPECT_EQ(runnersStored, c.runnersStored ? runners : 0) << c.name;

    acquire::AcquisitionObserver observer;
    std::atomic<bool> cancel{false};
    const std::vector<std::string> days(resultDays.begin(), resultDays.end());
    const auto built =
        acquire::constructPastRuns("/home/DATA", "/home/SEI", days, observer, cancel);
    EXPECT_EQ(built.lines, c.pastRuns ? runners : 0) << c.name;
  }
}

TEST(SeedCorpusTest, DayFilesLoadOneRaceWithItsRunners) {
  static const auto tables = std::make_unique<model::DayTables>();
  for (const char* name : {"race1_06", "race1_08"}) {
    MemoryHome home;
    const std::string input = seed("day_files", name);
    const auto parts = splitFiles(input, 4, 4);
    const std::string stem = *store::dayStemOfDate(store::head::kRaceDate.in(parts[0]));
    const fs::path data = "/home/DATA";
    home.files().putFile(store::dayFilePath(data, stem, "", store::kRaExtension),
                         std::string(parts[0]));
    home.files().putFile(
        *store::seDayFilePath(data, stem, store::head::kRacecourseCode.in(parts[0])),
        std::string(parts[1]));
    home.files().putFile(store::dayFilePath(data, stem, "", store::kHrExtension),
                         std::string(parts[2]));
    home.files().putFile(store::predictedOddsFilePath(data, stem), std::string(parts[3]));

    model::DayLoadRequest request;
    request.dataFolder = data;
    request.seiFolder = "/home/SEI";
    request.stem = stem;
    const model::DayLoadResult result = model::loadDay(*tables, request);
    ASSERT_TRUE(result.ok()) << name << ": " << result.message();
    ASSERT_EQ(result.raceList().size(), 1u) << name;
    EXPECT_EQ(store::head::kRaceNumber.numberIn(tables->race(0)), 1) << name;
    EXPECT_GT(store::ra::kRegisteredRunners.numberIn(tables->race(0)), 0) << name;
  }
}

TEST(SeedCorpusTest, PastRunsAreTakenWithTheirPredictions) {
  static const auto tables = oneRunnerDay();
  struct Case {
    const char* name;
    int runs;
  };
  for (const Case& c : {Case{"twelve_runs", 12}, Case{"one_run_no_predictions", 1},
                        Case{"newest_first_no_final_line_end", 4}}) {
    MemoryHome home;
    const std::string input = seed("past_runs", c.name);
    const auto parts = splitFiles(input, 2, 2);
    home.files().putFile("/home/SEI/2019/2019104321.kak", std::string(parts[0]));
    home.files().putFile("/home/SEI/2019/2019104321.yos", std::string(parts[1]));
    EXPECT_EQ(model::loadPastRuns(*tables, 0, 0, "/home/SEI",
                                  model::PastRunPeriod::of(kOneRunnerRaceDate, 1826, false)),
              c.runs)
        << c.name;
  }
}

TEST(SeedCorpusTest, PredictedOddsImportAndRead) {
  struct Case {
    const char* name;
    int races;
  };
  for (const Case& c : {Case{"jrdb", 3}, Case{"kol_seven_runners", 1}, Case{"kol_new_format", 2}}) {
    MemoryHome home;
    const std::string input = seed("predicted_odds", c.name);
    const bool jrdb = (input[0] & 3) == 1;
    const fs::path archive = jrdb ? "/home/yLZH/OZ060105.lzh" : "/home/yLZH/j0105.lzh";
    const std::string member = jrdb ? "Oz060105.txt" : std::string(output::kKolTextFileName);
    home.files().putFile(archive, test::storedLhaArchive({{member, input.substr(1)}}));
    const auto result = output::importPredictedOdds({archive, "/home/DATA", std::nullopt});
    ASSERT_TRUE(result.saved()) << c.name << ": " << result.message;
    EXPECT_EQ(result.races, c.races) << c.name;
  }

  MemoryHome home;
  const std::string dayFile = seed("predicted_odds", "day_file");
  ASSERT_EQ(dayFile[0], '\0');
  home.files().putFile("/home/DATA/x.yoz", dayFile.substr(1));
  const auto lines = store::readPredictedOddsFile("/home/DATA/x.yoz");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].winOdds(1), 2.0);
  EXPECT_EQ(lines[0].quinellaOdds(153), 162.0);
  // The second line is cut before its quinella odds.
  EXPECT_EQ(lines[1].winOdds(16), 17.0);
  EXPECT_EQ(lines[1].quinellaOdds(153), std::nullopt);
}

TEST(SeedCorpusTest, LhaArchivesUnpackWhole) {
  struct Case {
    const char* name;
    std::vector<std::string> extracted;
  };
  const Case cases[] = {
      {"level0_lh5.lzh", {"Oz060105.txt", "kol_ods.kd2"}},
      {"level1_dir.lzh", {"readme.txt", "yosoodds.dat"}},
      {"level2_lh5.lzh", {"kol_ods.kd2", "Oz060105.txt"}},
      {"level2_stored.lzh", {"Oz060105.txt", "yosoodds.dat"}},
  };
  for (const Case& c : cases) {
    MemoryHome home;
    home.files().putFile("/home/yLZH/x.lzh", seed("lha_archive", c.name));
    const output::LhaExtraction extraction =
        output::extractLhaArchive("/home/yLZH/x.lzh", "/home/yLZH");
    EXPECT_FALSE(extraction.damaged) << c.name;
    EXPECT_EQ(extraction.extracted, c.extracted) << c.name;
  }
}

TEST(SeedCorpusTest, SettingsFilesRead) {
  MemoryHome home;
  home.files().putFile("/home/a.ini", seed("settings", "every_section"));
  const app::Settings every("/home/a.ini");
  EXPECT_EQ(every.integer(app::settings::kPastRunPeriod), 1826);
  EXPECT_EQ(every.decimal(app::settings::kOddsCeiling), 12.5);
  EXPECT_EQ(every.integer(app::settings::kUserSettingId), 1);
  // One pair of enclosing marks is taken off, the quotes here.
  EXPECT_EQ(cp932::toUtf8(every.text(app::settings::kOddsFolder)), "｢C:\\予想\\odds｣");

  // Values that are not numbers read the defaults; sections are matched whole.
  home.files().putFile("/home/b.ini", seed("settings", "odd_values"));
  const app::Settings odd("/home/b.ini");
  EXPECT_EQ(odd.integer(app::settings::kPastRunPeriod), 1826);
  EXPECT_EQ(odd.decimal(app::settings::kOddsCeiling), 10.0);
  EXPECT_EQ(odd.integer(app::settings::kUserSettingId), -5);
  EXPECT_TRUE(odd.boolean(app::settings::kIgnorePastRunDates));
  EXPECT_EQ(odd.text(app::settings::kOddsFolder), "");
}

TEST(SeedCorpusTest, UserSettingFilesRead) {
  MemoryHome home;
  home.files().putFile("/home/UserSet.usd", seed("user_settings", "three_settings_and_blank"));
  const auto lines = betting::readUserSettingLines("/home/UserSet.usd");
  ASSERT_TRUE(lines.has_value());
  ASSERT_EQ(lines->size(), 4u);
  EXPECT_EQ(cp932::toUtf8(betting::parseUserSetting((*lines)[1]).name), "穴, \"狙い\"");
  EXPECT_TRUE(betting::parseUserSetting((*lines)[1]).popularityTrios);
  EXPECT_EQ((*lines)[2], "");
}

}  // namespace
}  // namespace orvalle::fuzz
