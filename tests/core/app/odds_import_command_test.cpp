#include "app/odds_import_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/day_session.h"
#include "store/fixed_width.h"
#include "store/pair_numbers.h"
#include "store/predicted_odds_file.h"
#include "support/lha_builder.h"
#include "support/race_day_builder.h"
#include "support/temp_dir.h"

namespace orvalle::app {
namespace {

namespace fs = std::filesystem;
using store::format;

TEST(OddsImportCommandTest, ArchiveFolderIsTheSettingElseYlzh) {
  test::TempDir dir;
  Home home(dir / "home");
  home.init();
  Settings settings(home.iniPath());
  EXPECT_EQ(predictedOddsFolder(home, settings), home.lzhFolder());
  EXPECT_EQ(predictedOddsArchive(home, settings, "j0105.lzh"), home.lzhFolder() / "j0105.lzh");

  setPredictedOddsFolder(settings, dir / "予想配当");
  EXPECT_EQ(predictedOddsFolder(home, settings), dir / "予想配当");
  EXPECT_EQ(predictedOddsArchive(home, settings, "j0105.lzh"), dir / "予想配当" / "j0105.lzh");
  EXPECT_EQ(predictedOddsArchive(home, settings, dir / "x.lzh"), dir / "x.lzh");

  setPredictedOddsFolder(settings, "odds");
  EXPECT_EQ(predictedOddsFolder(home, settings), home.root() / "odds");
}

// A KOL line of a 7-runner race: bracket pair b holds 2000 + b tenths, horse
// pair k 30000 + k tenths.
std::string kolLine(std::string_view date) {
  std::string line(1502, ' ');
  line.replace(0, 2, "05");
  line.replace(6, 14, "010101" + std::string(date));
  line.replace(109, 2, "07");
  for (int b = 1; b <= 36; ++b) line.replace(251 + 5 * (b - 1), 5, format("%5d", 2000 + b));
  for (int k = 1; k <= 153; ++k) line.replace(431 + 7 * (k - 1), 7, format("%7d", 30000 + k));
  return line;
}

std::string pair25Field(const fs::path& dayFile) {
  auto lines = store::readPredictedOddsFile(dayFile);
  if (lines.size() != 1) return "no line";
  return std::string(
      store::predicted_odds::quinellaOdds(store::codes::pairNumber(2, 5)).in(lines[0].text()));
}

TEST(OddsImportCommandTest, LoadedDayYearDecidesTheKolLayoutOfTheSession) {
  test::TempDir dir;
  Home home(dir / "home");
  home.init();
  test::RaceDayBuilder day("20040105");
  day.addRace("06", 1, 7);
  day.write(home.dataFolder());
  const fs::path archive = home.lzhFolder() / "j0105.lzh";
  const fs::path dayFile = home.dataFolder() / "2005年01月05日.yoz";
  const std::string bracket =
      format("%8.1f", (2000 + store::codes::bracketPairNumber(2, 5)) / 10.0);
  const std::string full = format("%8.1f", (30000 + store::codes::pairNumber(2, 5)) / 10.0);

  // No day loaded: the 2005 data takes the full layout.
  DaySession session(home);
  test::writeFile(archive, test::storedLhaArchive({{"kol_ods.kd2", kolLine("20050105")}}));
  CommandResult first = session.importPredictedOdds(archive);
  ASSERT_TRUE(first) << first.text();
  ASSERT_EQ(first.notices.size(), 1u);
  EXPECT_FALSE(first.notices[0].beep);
  EXPECT_EQ(pair25Field(dayFile), full);

  // A 2004 day is loaded: its year decides, whatever the data's date.
  ASSERT_TRUE(session.loadDay(day.stem(), AfterLoading::kNothing));
  test::writeFile(archive, test::storedLhaArchive({{"kol_ods.kd2", kolLine("20050105")}}));
  ASSERT_TRUE(session.importPredictedOdds(archive));
  EXPECT_EQ(pair25Field(dayFile), bracket);
}

}  // namespace
}  // namespace orvalle::app
