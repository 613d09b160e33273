#include "output/predicted_odds_import.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "store/atomic_file.h"
#include "store/error.h"
#include "store/fixed_width.h"
#include "store/pair_numbers.h"
#include "store/predicted_odds_file.h"
#include "store/text_file.h"
#include "support/lha_builder.h"
#include "support/replay_source.h"
#include "support/temp_dir.h"

namespace orvalle::output {
namespace {

namespace fs = std::filesystem;
using store::format;
using store::codes::bracketPairNumber;
using store::codes::pairNumber;
using test::readFile;
using test::writeFile;

void put(std::string& line, int position, std::string_view text) {
  line.replace(static_cast<size_t>(position - 1), text.size(), text);
}

// A KOL source line. Every field holds a value that tells where it came
// from: win odds of horse h are 20 + 10h tenths, bracket pair b holds
// 2000 + b tenths and horse pair k 30000 + k tenths.
struct KolRace {
  std::string date = "20040105";
  std::string racecourse = "05";
  std::string meetingDayRace = "010311";
  int runners = 7;
  std::map<int, std::string> bracketOverride;

  std::string line() const {
    std::string line(1502, ' ');
    put(line, 1, racecourse);
    put(line, 7, meetingDayRace);
    put(line, 13, date);
    put(line, 110, format("%02d", runners));
    for (int h = 1; h <= 18; ++h) put(line, 162 + 5 * (h - 1), format("%5d", 20 + 10 * h));
    for (int b = 1; b <= 36; ++b) {
      auto special = bracketOverride.find(b);
      put(line, 252 + 5 * (b - 1),
          special != bracketOverride.end() ? special->second : format("%5d", 2000 + b));
    }
    for (int k = 1; k <= 153; ++k) put(line, 432 + 7 * (k - 1), format("%7d", 30000 + k));
    return line;
  }
};

std::string bracketValue(int horseA, int horseB) {
  return format("%8.1f", (2000 + bracketPairNumber(horseA, horseB)) / 10.0);
}
std::string pairValue(int horseA, int horseB) {
  return format("%8.1f", (30000 + pairNumber(horseA, horseB)) / 10.0);
}
std::string quinellaField(const std::string& line, int horseA, int horseB) {
  return std::string(store::predicted_odds::quinellaOdds(pairNumber(horseA, horseB)).in(line));
}

TEST(KolOddsTest, FieldConversions) {
  struct Case {
    std::string (*convert)(std::string_view);
    const char* field;
    const char* expected;
  };
  const Case cases[] = {
      {kolWinOdds, "  123", "  12.3"},
      {kolWinOdds, "123", "  12.3"},
      {kolWinOdds, "    *", "  50.0"},
      {kolWinOdds, "    -", "      "},
      {kolWinOdds, "     ", "      "},
      {kolWinOdds, "   05", "   0.5"},
      {kolWinOdds, "99999", "9999.9"},
      {kolQuinellaOdds, "      *", "  1000.0"},
      {kolQuinellaOdds, "  -    ", "        "},
      {kolQuinellaOdds, "     15", "     1.5"},
      {kolQuinellaOdds, "9999999", "999999.9"},
      {kolBracketQuinellaOdds, "    *", "   100.0"},
      {kolBracketQuinellaOdds, "    -", "        "},
      {kolBracketQuinellaOdds, "  345", "    34.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    EXPECT_EQ(c.convert(c.field), c.expected);
  }
}

TEST(KolOddsTest, SevenRunnersBefore2005TakeTheBracketOdds) {
  KolRace race;
  race.bracketOverride[bracketPairNumber(1, 3)] = "    *";
  race.bracketOverride[bracketPairNumber(1, 4)] = "    -";
  std::string line = kolOddsLine(race.line(), false);

  ASSERT_EQ(line.size(), store::kPredictedOddsLineLength);
  EXPECT_EQ(line.substr(0, 19), "2004010505010311K07");
  EXPECT_EQ(store::predicted_odds::winOdds(1).in(line), "   3.0");
  EXPECT_EQ(store::predicted_odds::winOdds(18).in(line), "  20.0");
  EXPECT_EQ(line.substr(127, 108), std::string(108, ' '));  // no place odds
  EXPECT_EQ(quinellaField(line, 2, 5), bracketValue(2, 5));
  EXPECT_EQ(quinellaField(line, 7, 8), bracketValue(7, 8));
  EXPECT_EQ(quinellaField(line, 1, 3), "   100.0");
  EXPECT_EQ(quinellaField(line, 1, 4), "        ");
  EXPECT_EQ(quinellaField(line, 3, 12), "        ");
  EXPECT_EQ(quinellaField(line, 9, 10), "        ");
}

TEST(KolOddsTest, FullLayoutForNewFormatDaysAndForMoreThanEightRunners) {
  KolRace seven;
  KolRace nine;
  nine.runners = 9;
  const std::vector<std::string> lines = {kolOddsLine(seven.line(), true),
                                          kolOddsLine(nine.line(), false)};
  for (const std::string& line : lines) {
    ASSERT_EQ(line.size(), store::kPredictedOddsLineLength);
    EXPECT_EQ(quinellaField(line, 1, 2), pairValue(1, 2));
    EXPECT_EQ(quinellaField(line, 2, 5), pairValue(2, 5));
    EXPECT_EQ(quinellaField(line, 3, 12), pairValue(3, 12));
    EXPECT_EQ(quinellaField(line, 17, 18), pairValue(17, 18));
  }
}

TEST(JrdbOddsTest, LineCarriesTheKeyAndTheFieldsAsTheyStand) {
  std::string source(955, ' ');
  put(source, 1, "06xx1a1116");
  for (int h = 1; h <= 18; ++h) {
    put(source, 11 + 5 * (h - 1), format("%5.1f", h + 0.5));
    put(source, 101 + 5 * (h - 1), format("%5.1f", h + 0.2));
  }
  for (int k = 1; k <= 153; ++k) put(source, 191 + 5 * (k - 1), format("%5d", k));

  std::string line = jrdbOddsLine(source, "20060105");
  ASSERT_EQ(line.size(), store::kPredictedOddsLineLength);
  EXPECT_EQ(line.substr(0, 19), "2006010506010a11J16");
  EXPECT_EQ(store::predicted_odds::winOdds(3).in(line), "   3.5");
  EXPECT_EQ(store::predicted_odds::placeOdds(18).in(line), "  18.2");
  EXPECT_EQ(store::predicted_odds::quinellaOdds(153).in(line), "     153");

  // A short line reads blanks for what it lacks.
  std::string shortLine = jrdbOddsLine("0600", "20060105");
  EXPECT_EQ(shortLine.size(), store::kPredictedOddsLineLength);
  EXPECT_EQ(shortLine.substr(0, 19), "20060105060 0   J  ");
}

TEST(OddsImportArchiveTest, ArchiveNamedLikeALeftoverIsKept) {
  test::TempDir dir;
  fs::create_directories(dir / "DATA");
  const fs::path archive = dir / "lzh" / "yosoodds.dat";
  writeFile(archive, test::storedLhaArchive({{"kol_ods.kd2", KolRace().line()}}));
  OddsImportResult result = importPredictedOdds({archive, dir / "DATA", std::nullopt});
  EXPECT_TRUE(result.saved()) << result.message;
  EXPECT_TRUE(fs::exists(archive));
}

// Imports of real archives, made with jlha in the folder "lzh".
class OddsImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveJlha()) GTEST_SKIP() << test::kNoJlhaMessage;
    fs::create_directories(m_dir / "DATA");
  }

  // Makes lzh/`name` of the files (name, content), written in a fresh source
  // folder.
  fs::path archive(const std::string& name,
                   const std::vector<std::pair<std::string, std::string>>& files) {
    fs::path source = m_dir / "src" / name;
    std::vector<std::string> names;
    for (const auto& [file, content] : files) {
      writeFile(source / file, content);
      names.push_back(file);
    }
    fs::path path = m_dir / "lzh" / name;
    EXPECT_TRUE(test::makeLhaArchive(path, source, names, 1));
    return path;
  }

  OddsImportResult import(const fs::path& archivePath, std::optional<bool> newFormat = {}) {
    return importPredictedOdds({archivePath, m_dir / "DATA", newFormat});
  }

  fs::path dayFile(std::string_view stem) { return m_dir / "DATA" / (std::string(stem) + ".yoz"); }

  test::TempDir m_dir;
};

std::string jrdbSource(int races) {
  std::string text;
  for (int r = 1; r <= races; ++r) {
    std::string line(955, ' ');
    put(line, 1, format("06  11%02d16", r));
    put(line, 11, "  3.4 12.1");
    text += line + "\r\n";
  }
  return text;
}

TEST_F(OddsImportTest, JrdbArchiveReplacesTheDayFileOfItsName) {
  writeFile(dayFile("2006年01月05日"), std::string(1459, 'x') + "\r\n" + std::string(1459, 'y'));
  fs::path path = archive("OZ060105.lzh", {{"Oz060105.txt", jrdbSource(3)}, {"yosoodds.dat", "?"}});

  OddsImportResult result = import(path);
  ASSERT_TRUE(result.saved()) << result.message;
  EXPECT_EQ(result.message,
            "JRDB基準オッズデータを解凍し、2006年01月05日のデータを保存しました。"
            "データを再読込すると反映されます。");
  EXPECT_EQ(result.dayFile, dayFile("2006年01月05日"));
  EXPECT_EQ(result.races, 3);

  std::string bytes = readFile(dayFile("2006年01月05日"));
  ASSERT_EQ(bytes.size(), 3 * (1459u + 2));
  std::vector<std::string> lines = store::splitLines(bytes);
  ASSERT_EQ(lines.size(), 3u);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.size(), 1459u);
    EXPECT_EQ(line.substr(0, 8), "20060105");
    EXPECT_EQ(line.substr(16, 1), "J");
  }
  EXPECT_EQ(bytes.substr(1459, 2), "\r\n");
  EXPECT_EQ(store::PredictedOddsLine(lines[1]).winOdds(2), 12.1);

  // The text file is gone; the other member and the archive stay.
  EXPECT_FALSE(fs::exists(m_dir / "lzh" / "Oz060105.txt"));
  EXPECT_TRUE(fs::exists(m_dir / "lzh" / "yosoodds.dat"));
  EXPECT_TRUE(fs::exists(path));
}

TEST_F(OddsImportTest, JrdbTextFileIsFoundWhateverItsLetterCase) {
  fs::path path = archive("OZ060105.lzh", {{"OZ060105.TXT", jrdbSource(1)}});
  OddsImportResult result = import(path);
  ASSERT_TRUE(result.saved()) << result.message;
  EXPECT_FALSE(fs::exists(m_dir / "lzh" / "OZ060105.TXT"));
}

TEST_F(OddsImportTest, KolQuinellaLayoutFollowsTheDayYear) {
  struct Case {
    std::string date;
    std::optional<bool> newFormat;
    bool full;
  };
  const Case cases[] = {
      {"20040105", std::nullopt, false},  // the data's own year decides
      {"20040105", true, true},           // a 2005 day is loaded
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date + (c.newFormat ? (*c.newFormat ? " new" : " old") : ""));
    KolRace race;
    race.date = c.date;
    KolRace second = race;
    second.meetingDayRace = "010312";
    fs::path path =
        archive("j0105.lzh", {{"kol_ods.kd2", race.line() + "\r\n" + second.line() + "\r\n"}});

    OddsImportResult result = import(path, c.newFormat);
    ASSERT_TRUE(result.saved()) << result.message;
    std::string stem = c.date.substr(0, 4) + "年01月05日";
    EXPECT_EQ(result.message, "KOL予想オッズデータを解凍し、" + stem +
                                  "のデータを保存しました。データを再読込すると反映されます。");
    std::vector<std::string> lines = store::readLines(dayFile(stem));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(0, 17), c.date + "05010312K");
    EXPECT_EQ(quinellaField(lines[0], 2, 5), c.full ? pairValue(2, 5) : bracketValue(2, 5));
    EXPECT_EQ(quinellaField(lines[0], 3, 12), c.full ? pairValue(3, 12) : std::string(8, ' '));
    EXPECT_FALSE(fs::exists(m_dir / "lzh" / "kol_ods.kd2"));
  }
}

TEST_F(OddsImportTest, ArchiveWithNeitherFileWritesNothingAndSaysNothing) {
  // Files of an earlier import are removed first, not taken for this one's.
  writeFile(m_dir / "lzh" / "kol_ods.kd2", KolRace().line());
  writeFile(m_dir / "lzh" / "Oz060105.txt", jrdbSource(1));
  fs::path path = archive("OZ060105.lzh", {{"yosoodds.dat", "?"}});

  OddsImportResult result = import(path);
  EXPECT_EQ(result.outcome, OddsImportOutcome::kNoOddsFile);
  EXPECT_EQ(result.message, "");
  EXPECT_TRUE(fs::is_empty(m_dir / "DATA"));
  EXPECT_FALSE(fs::exists(m_dir / "lzh" / "kol_ods.kd2"));
  EXPECT_FALSE(fs::exists(m_dir / "lzh" / "Oz060105.txt"));
}

TEST_F(OddsImportTest, EmptyProviderFileKeepsTheDayFile) {
  writeFile(dayFile("2004年01月05日"), "kept");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"kol_ods.kd2", "KOL予想オッズデータのファイルが空です。"},
      {"Oz040105.txt", "JRDB基準オッズデータのファイルが空です。"},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file);
    fs::path path = archive("OZ040105.lzh", {{file, "\r\n"}});
    OddsImportResult result = import(path);
    EXPECT_EQ(result.outcome, OddsImportOutcome::kEmptyFile);
    EXPECT_EQ(result.message, message);
    EXPECT_EQ(readFile(dayFile("2004年01月05日")), "kept");
    EXPECT_FALSE(fs::exists(m_dir / "lzh" / file));
  }
}

TEST_F(OddsImportTest, DateThatIsNotDigitsNamesNoFile) {
  fs::path path = archive("OZ06a105.lzh", {{"Oz06a105.txt", jrdbSource(1)}});
  OddsImportResult result = import(path);
  EXPECT_EQ(result.outcome, OddsImportOutcome::kInvalidDate);
  EXPECT_TRUE(fs::is_empty(m_dir / "DATA"));
}

TEST_F(OddsImportTest, TruncatedArchiveGivesTheUnpackMessage) {
  writeFile(dayFile("2006年01月05日"), "kept");
  fs::path path = archive("OZ060105.lzh", {{"Oz060105.txt", jrdbSource(3)}});
  std::string bytes = readFile(path);
  writeFile(path, bytes.substr(0, bytes.size() / 2));

  OddsImportResult result = import(path);
  EXPECT_EQ(result.outcome, OddsImportOutcome::kNotUnpacked);
  EXPECT_EQ(result.message, "データが解凍できませんでした。");
  EXPECT_TRUE(result.beep());
  EXPECT_EQ(readFile(dayFile("2006年01月05日")), "kept");
  EXPECT_FALSE(fs::exists(m_dir / "lzh" / "Oz060105.txt"));
}

TEST_F(OddsImportTest, FailedWriteThrowsAndKeepsTheOldDayFile) {
  writeFile(dayFile("2006年01月05日"), "kept");
  fs::path path = archive("OZ060105.lzh", {{"Oz060105.txt", jrdbSource(2)}});
  store::injectAtomicWriteFaultForTesting(store::AtomicWriteFault::kRename);
  EXPECT_THROW((void)import(path), Error);
  EXPECT_EQ(readFile(dayFile("2006年01月05日")), "kept");
  EXPECT_FALSE(fs::exists(m_dir / "lzh" / "Oz060105.txt"));
}

}  // namespace
}  // namespace orvalle::output
