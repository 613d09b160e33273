#include "store/predicted_odds_file.h"

#include <charconv>
#include <system_error>

#include "store/day_file_names.h"
#include "store/error.h"
#include "store/fixed_record_file.h"
#include "store/fixed_width.h"

namespace orvalle::store {

namespace predicted_odds {
namespace {

void checkRange(int value, int last, const char* what) {
  if (value < 1 || value > last) {
    throw Error(format("予想オッズの%s番号が範囲外です: %d", what, value));
  }
}

}  // namespace

Field winOdds(int horse) {
  checkRange(horse, kPredictedOddsHorses, "馬");
  return {kWinOddsPosition + kOddsWidth * (horse - 1), kOddsWidth};
}

Field placeOdds(int horse) {
  checkRange(horse, kPredictedOddsHorses, "馬");
  return {kPlaceOddsPosition + kOddsWidth * (horse - 1), kOddsWidth};
}

Field quinellaOdds(int pair) {
  checkRange(pair, kPredictedOddsPairs, "組");
  return {kQuinellaOddsPosition + kQuinellaOddsWidth * (pair - 1), kQuinellaOddsWidth};
}

}  // namespace predicted_odds

PredictedOddsLine::PredictedOddsLine(std::string_view line)
    : m_line(fitWidth(line, kPredictedOddsLineLength)) {}

std::optional<double> PredictedOddsLine::winOdds(int horse) const {
  return parseOdds(predicted_odds::winOdds(horse).in(m_line));
}

std::optional<double> PredictedOddsLine::placeOdds(int horse) const {
  return parseOdds(predicted_odds::placeOdds(horse).in(m_line));
}

std::optional<double> PredictedOddsLine::quinellaOdds(int pair) const {
  return parseOdds(predicted_odds::quinellaOdds(pair).in(m_line));
}

std::optional<double> parseOdds(std::string_view text) {
  text = trim(text);
  // Only digits with at most one decimal point; from_chars alone would also
  // take signs, exponents, "inf" and "nan".
  bool point = false;
  bool digits = false;
  for (char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      digits = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  double value = 0.0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::filesystem::path predictedOddsFilePath(const std::filesystem::path& dataFolder,
                                            std::string_view stem) {
  return dayFilePath(dataFolder, stem, "", kPredictedOddsExtension);
}

std::vector<PredictedOddsLine> readPredictedOddsFile(const std::filesystem::path& path) {
  std::vector<PredictedOddsLine> lines;
  auto file = FixedRecordFile::open(path, kPredictedOddsRecordLength);
  if (!file) return lines;
  lines.reserve(file->count());
  for (size_t i = 0; i < file->count(); ++i) lines.emplace_back(file->read(i));
  return lines;
}

}  // namespace orvalle::store
