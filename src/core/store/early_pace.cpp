#include "store/early_pace.h"

#include "store/fixed_width.h"

namespace orvalle::store::codes {
namespace {

constexpr std::string_view kBlank = "   ";

bool isDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

}  // namespace

std::string earlyPaceFigure(std::string_view raceTime, std::string_view last3Furlongs,
                            std::string_view distance) {
  raceTime = trim(raceTime);
  if (raceTime.size() != 4 || !isDigits(raceTime)) return std::string(kBlank);
  const int tenths = (raceTime[0] - '0') * 600 + toInt(raceTime.substr(1));
  const int last3 = toInt(last3Furlongs);
  const int metres = toInt(distance);
  if (tenths <= 0 || last3 <= 0 || metres <= 600) return std::string(kBlank);

  // A finishing time no longer than the last 600 m alone (the 999 of a
  // runner that did not finish, a corrupt field) has no early pace.
  const int early = tenths - last3;
  if (early <= 0) return std::string(kBlank);

  const double figure = early / (metres / 100.0 - 6.0) * 6.0;
  std::string text = format("%3.0f", figure);
  // Only a figure of three places or fewer is a pace; a longer one would be
  // cut to a wrong number.
  if (text.size() > 3) return std::string(kBlank);
  return text;
}

}  // namespace orvalle::store::codes
