#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "store/record.h"

// The prediction file of a horse (SEI / first four / number + ".yos", see
// horse_files.h): for every race of the horse that the program compared, one
// line of 50 characters with the horse's ratings in that race, sorted by race
// key, one line per race.
namespace orvalle::store {

inline constexpr size_t kPredictionLineLength = 50;
inline constexpr size_t kPredictionRecordLength = kPredictionLineLength + 2;

// Fields of a prediction line.
namespace prediction {
inline constexpr Field kRaceKey{1, 16};
inline constexpr Field kDate{1, 8};
inline constexpr Field kDateAndRacecourse{1, 10};
inline constexpr Field kWinCount{17, 3};
inline constexpr Field kLossCount{20, 3};
inline constexpr Field kWinRate{23, 6};
inline constexpr Field kWinRateRank{29, 2};
inline constexpr Field kWinPoints{31, 5};
inline constexpr Field kLossPoints{36, 5};
inline constexpr Field kPointWinRate{41, 6};
inline constexpr Field kPointWinRateRank{47, 2};
inline constexpr Field kTrailingBlanks{49, 2};
}  // namespace prediction

// The ratings of one runner in one race. Counts, points and ranks of 0 or
// less and rates below 0 (-1.0) mean "none".
struct PredictionFigures {
  int winCount = 0;
  int lossCount = 0;
  double winRate = -1.0;  // 0..1
  int winRateRank = 0;
  int winPoints = 0;
  int lossPoints = 0;
  double pointWinRate = -1.0;  // 0..1
  int pointWinRateRank = 0;

  bool operator==(const PredictionFigures&) const = default;
};

// The 50-character line of a runner: race key (16, fitted), win and loss
// counts "%3d", win rate x 100 "%6.2f", its rank "%2d", win and loss points
// "%5d", point win rate x 100 "%6.2f", its rank "%2d", two blanks. A count,
// point or rank of 0 or less is blanks of its width; a rate below 0 (or not a
// number) is blanks, a rate of 0 is "  0.00". A value too large for its width
// is written as the largest value that fits, so the columns never shift.
std::string predictionLine(std::string_view raceKey, const PredictionFigures& figures);

// Writes the line of one race into a prediction file (see mergeRaceLines):
// the line of the same race key is replaced, else the line is added; the
// file stays sorted with one line per race; atomic; the folder is created
// when missing. Throws orvalle::Error on failure, leaving the old file.
void writePredictionLine(const std::filesystem::path& file, std::string_view line);

// The same for the lines of several races of one horse, in one rewrite.
void writePredictionLines(const std::filesystem::path& file, std::span<const std::string> lines);

}  // namespace orvalle::store
