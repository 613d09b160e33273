#include "store/predicted_odds_file.h"

#include <gtest/gtest.h>

#include "store/cp932.h"
#include "store/error.h"
#include "support/temp_dir.h"

namespace orvalle::store {
namespace {

// A line of blanks with the head of a race and the given odds fields.
std::string oddsLine(std::string_view head) {
  std::string line(kPredictedOddsLineLength, ' ');
  line.replace(0, head.size(), head);
  return line;
}

void put(std::string& line, Field field, std::string_view text) {
  ASSERT_EQ(text.size(), static_cast<size_t>(field.length));
  line.replace(static_cast<size_t>(field.position - 1), text.size(), text);
}

TEST(PredictedOddsFileTest, KolLineWithBlankPlaceOddsAndJunk) {
  std::string text = oddsLine("2024010605010111K16");
  put(text, predicted_odds::winOdds(1), "  12.3");
  put(text, predicted_odds::winOdds(2), "   5.0");
  // Horse 3 blank, horse 4 junk, horse 18 the last field of the block.
  put(text, predicted_odds::winOdds(4), "  ab.c");
  put(text, predicted_odds::winOdds(18), " 150.0");
  put(text, predicted_odds::quinellaOdds(1), "   123.4");
  put(text, predicted_odds::quinellaOdds(153), "  9999.9");
  PredictedOddsLine line(text);

  EXPECT_EQ(line.date(), "20240106");
  EXPECT_EQ(line.racecourseCode(), "05");
  EXPECT_EQ(line.meeting(), 1);
  EXPECT_EQ(line.dayOfMeeting(), 1);
  EXPECT_EQ(line.raceNumber(), 11);
  EXPECT_EQ(line.sourceMark(), 'K');
  EXPECT_EQ(line.runnerCount(), 16);
  EXPECT_EQ(line.winOdds(1), 12.3);
  EXPECT_EQ(line.winOdds(2), 5.0);
  EXPECT_EQ(line.winOdds(3), std::nullopt);
  EXPECT_EQ(line.winOdds(4), std::nullopt);
  EXPECT_EQ(line.winOdds(18), 150.0);
  for (int horse = 1; horse <= kPredictedOddsHorses; ++horse) {
    EXPECT_EQ(line.placeOdds(horse), std::nullopt) << horse;
  }
  EXPECT_EQ(line.quinellaOdds(1), 123.4);
  EXPECT_EQ(line.quinellaOdds(2), std::nullopt);
  EXPECT_EQ(line.quinellaOdds(153), 9999.9);
}

TEST(PredictedOddsFileTest, FieldPositions) {
  EXPECT_EQ(predicted_odds::winOdds(1).position, 20);
  EXPECT_EQ(predicted_odds::winOdds(18).position, 122);
  EXPECT_EQ(predicted_odds::placeOdds(1).position, 128);
  EXPECT_EQ(predicted_odds::placeOdds(18).position, 230);
  EXPECT_EQ(predicted_odds::quinellaOdds(1).position, 236);
  Field last = predicted_odds::quinellaOdds(153);
  EXPECT_EQ(last.position + last.length - 1, static_cast<int>(kPredictedOddsLineLength));
}

TEST(PredictedOddsFileTest, NumbersOutOfRangeAreErrors) {
  PredictedOddsLine line("");
  EXPECT_THROW((void)line.winOdds(0), Error);
  EXPECT_THROW((void)line.winOdds(19), Error);
  EXPECT_THROW((void)line.placeOdds(-1), Error);
  EXPECT_THROW((void)line.quinellaOdds(0), Error);
  EXPECT_THROW((void)line.quinellaOdds(154), Error);
}

TEST(PredictedOddsFileTest, OddsText) {
  struct Case {
    std::string text;
    std::optional<double> odds;
  };
  const Case cases[] = {
      {"  12.3", 12.3}, {"   5", 5.0},        {"  12.", 12.0},
      {"   0.0", 0.0},  {"      ", {}},       {"", {}},
      {"  -1.0", {}},   {"   1e3", {}},       {" 1.2.3", {}},
      {"     .", {}},   {"   inf", {}},       {"   nan", {}},
      {" 1 2.0", {}},   {sj("１２．３"), {}}, {"\x82\xa0\x82\xa0", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(parseOdds(c.text), c.odds) << c.text;
}

TEST(PredictedOddsFileTest, ShortAndDamagedLinesReadAsBlanks) {
  PredictedOddsLine empty("");
  EXPECT_EQ(empty.text().size(), kPredictedOddsLineLength);
  EXPECT_EQ(empty.raceNumber(), 0);
  EXPECT_EQ(empty.sourceMark(), ' ');
  EXPECT_EQ(empty.winOdds(1), std::nullopt);

  PredictedOddsLine junk("2024XXXX0A0X0Y1?J\x82");
  EXPECT_EQ(junk.date(), "2024XXXX");
  EXPECT_EQ(junk.meeting(), 0);
  EXPECT_EQ(junk.raceNumber(), 0);
  EXPECT_EQ(junk.sourceMark(), 'J');
  EXPECT_EQ(junk.runnerCount(), 0);

  // A record with its CR LF is cut to the line.
  PredictedOddsLine record(oddsLine("2024010606010101J12") + "\r\n");
  EXPECT_EQ(record.text(), oddsLine("2024010606010101J12"));
}

TEST(PredictedOddsFileTest, ReadsTheDayFileByRecord) {
  test::TempDir home;
  std::filesystem::path data = home / "DATA";
  EXPECT_TRUE(readPredictedOddsFile(predictedOddsFilePath(data, "2024年01月06日")).empty());

  std::string jrdb = oddsLine("2024010606010101J16");
  put(jrdb, predicted_odds::winOdds(1), "   3.4");
  put(jrdb, predicted_odds::placeOdds(1), "   1.2");
  std::string kol = oddsLine("2024010603010102K12");
  put(kol, predicted_odds::winOdds(2), "  45.6");
  // The last line without its CR LF and cut short: padded, still read.
  std::string bytes = jrdb + "\r\n" + kol.substr(0, 140);
  std::filesystem::path path = predictedOddsFilePath(data, "2024年01月06日");
  EXPECT_EQ(path, data / "2024年01月06日.yoz");
  test::writeFile(path, bytes);

  std::vector<PredictedOddsLine> lines = readPredictedOddsFile(path);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text(), jrdb);
  EXPECT_EQ(lines[0].placeOdds(1), 1.2);
  EXPECT_EQ(lines[1].sourceMark(), 'K');
  EXPECT_EQ(lines[1].racecourseCode(), "03");
  EXPECT_EQ(lines[1].winOdds(2), 45.6);
  EXPECT_EQ(lines[1].quinellaOdds(1), std::nullopt);
}

}  // namespace
}  // namespace orvalle::store
