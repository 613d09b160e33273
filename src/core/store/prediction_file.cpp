#include "store/prediction_file.h"

#include <algorithm>
#include <cmath>

#include "store/fixed_width.h"
#include "store/race_line_file.h"

namespace orvalle::store {
namespace {

// "%<width>d" of a positive value, blanks of the width otherwise.
std::string countText(int value, int width) {
  if (value <= 0) return std::string(static_cast<size_t>(width), ' ');
  int largest = 1;
  for (int i = 0; i < width; ++i) largest *= 10;
  return format("%*d", width, std::min(value, largest - 1));
}

// "%6.2f" of rate x 100; blanks when there is no rate.
std::string rateText(double rate) {
  if (!(rate >= 0.0)) return std::string(6, ' ');  // negative or NaN
  return format("%6.2f", std::min(rate * 100.0, 999.99));
}

}  // namespace

std::string predictionLine(std::string_view raceKey, const PredictionFigures& figures) {
  std::string line = fitWidth(raceKey, static_cast<size_t>(prediction::kRaceKey.length));
  line += countText(figures.winCount, prediction::kWinCount.length);
  line += countText(figures.lossCount, prediction::kLossCount.length);
  line += rateText(figures.winRate);
  line += countText(figures.winRateRank, prediction::kWinRateRank.length);
  line += countText(figures.winPoints, prediction::kWinPoints.length);
  line += countText(figures.lossPoints, prediction::kLossPoints.length);
  line += rateText(figures.pointWinRate);
  line += countText(figures.pointWinRateRank, prediction::kPointWinRateRank.length);
  // The two trailing blanks; fitting keeps the line at its length whatever
  // a field gave.
  return fitWidth(line, kPredictionLineLength);
}

void writePredictionLine(const std::filesystem::path& file, std::string_view line) {
  const std::string copy(line);
  writePredictionLines(file, std::span<const std::string>(&copy, 1));
}

void writePredictionLines(const std::filesystem::path& file, std::span<const std::string> lines) {
  mergeRaceLines(file, lines, kPredictionLineLength);
}

}  // namespace orvalle::store
