#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/record.h"

// The predicted-odds day file: predicted odds of JRDB ("J" lines) and KOL
// ("K" lines), one line of 1459 characters per race, in the data folder as
// day stem + ".yoz". This side reads it; the odds import writes it.
namespace orvalle::store {

inline constexpr size_t kPredictedOddsLineLength = 1459;
inline constexpr size_t kPredictedOddsRecordLength = kPredictedOddsLineLength + 2;
inline constexpr int kPredictedOddsHorses = 18;
inline constexpr int kPredictedOddsPairs = 153;

// Fields of a predicted-odds line. Positions 1-16 have the layout of a race
// key; the racecourse code is JV-Data's on "J" lines and KOL's on "K" lines.
namespace predicted_odds {
inline constexpr Field kDate{1, 8};
inline constexpr Field kRacecourseCode{9, 2};
inline constexpr Field kMeeting{11, 2};
inline constexpr Field kDayOfMeeting{13, 2};
inline constexpr Field kRaceNumber{15, 2};
inline constexpr Field kSourceMark{17, 1};
inline constexpr Field kRunnerCount{18, 2};
inline constexpr int kOddsWidth = 6;
inline constexpr int kWinOddsPosition = 20;     // 18 x 6, horses 1 to 18
inline constexpr int kPlaceOddsPosition = 128;  // 18 x 6, blank on "K" lines
inline constexpr int kQuinellaOddsWidth = 8;
inline constexpr int kQuinellaOddsPosition = 236;  // 153 x 8, pairs 1-2, 1-3, ..., 17-18

// The field of horse `horse` (1-18) and of pair `pair` (1-153). Throws
// orvalle::Error when the number is out of range.
Field winOdds(int horse);
Field placeOdds(int horse);
Field quinellaOdds(int pair);
}  // namespace predicted_odds

// One line of a predicted-odds day file. Owns its text, kept at exactly 1459
// bytes (a shorter line is padded with blanks, a longer one, such as a
// record with its CR LF, is cut).
class PredictedOddsLine {
 public:
  explicit PredictedOddsLine(std::string_view line);

  const std::string& text() const { return m_line; }

  // yyyymmdd as stored.
  std::string_view date() const { return predicted_odds::kDate.in(m_line); }
  std::string_view racecourseCode() const { return predicted_odds::kRacecourseCode.in(m_line); }
  // Numbers: blanks or junk read 0.
  int meeting() const { return predicted_odds::kMeeting.numberIn(m_line); }
  int dayOfMeeting() const { return predicted_odds::kDayOfMeeting.numberIn(m_line); }
  int raceNumber() const { return predicted_odds::kRaceNumber.numberIn(m_line); }
  int runnerCount() const { return predicted_odds::kRunnerCount.numberIn(m_line); }
  // 'J' (JRDB) or 'K' (KOL) as stored; another byte on a damaged line.
  char sourceMark() const { return m_line[predicted_odds::kSourceMark.position - 1]; }

  // The odds of horse `horse` (1-18) or of horse pair `pair` (1-153) as a
  // decimal number ("  12.3"). Blanks or junk give nullopt. Throws
  // orvalle::Error when the number is out of range.
  std::optional<double> winOdds(int horse) const;
  std::optional<double> placeOdds(int horse) const;
  std::optional<double> quinellaOdds(int pair) const;

 private:
  std::string m_line;
};

// The decimal value of an odds field: optional blanks around digits with an
// optional decimal point ("  12.3", "   5", "12."). Blanks, signs, a second
// point or any other byte give nullopt.
std::optional<double> parseOdds(std::string_view text);

// The predicted-odds day file of a day: dataFolder / stem + ".yoz" (or its
// CP932-named copy, see dayFilePath).
std::filesystem::path predictedOddsFilePath(const std::filesystem::path& dataFolder,
                                            std::string_view stem);

// The lines of a predicted-odds day file, read as fixed records of 1461
// bytes (record n is line n; a short last record is padded). A missing file
// gives no lines; a file that cannot be read throws orvalle::Error.
std::vector<PredictedOddsLine> readPredictedOddsFile(const std::filesystem::path& path);

}  // namespace orvalle::store
