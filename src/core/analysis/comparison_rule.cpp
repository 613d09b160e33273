#include "analysis/comparison_rule.h"

#include "store/fixed_width.h"

namespace orvalle::analysis {

int raceTimeInTenths(std::string_view raceTime) {
  const int value = store::toInt(raceTime);
  if (value <= 0) return 0;
  return value / 1000 * 600 + value % 1000;
}

std::optional<int> shownWeightInTenths(std::string_view shownWeight) {
  std::string_view text = store::trim(shownWeight);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const size_t point = text.find('.');
  std::string_view whole = text.substr(0, point);
  std::string_view decimals = point == std::string_view::npos ? "" : text.substr(point + 1);
  if (whole.empty() && decimals.empty()) return std::nullopt;
  // Kilograms carried have two or three digits; more would not be a weight.
  if (whole.size() > 4) return std::nullopt;
  auto digits = [](std::string_view part) {
    for (char c : part) {
      if (c < '0' || c > '9') return false;
    }
    return true;
  };
  if (!digits(whole) || !digits(decimals)) return std::nullopt;
  int tenths = 0;
  for (char c : whole) tenths = tenths * 10 + (c - '0');
  tenths *= 10;
  if (!decimals.empty()) tenths += decimals[0] - '0';
  if (decimals.size() > 1 && decimals[1] >= '5') tenths += 1;
  return negative ? -tenths : tenths;
}

SideMargins sideMargins(int ownTime, int ownWeight, int opponentTime, int opponentWeight,
                        int ownWeightToday, int otherWeightToday) {
  SideMargins margins;
  if (ownTime != 0 && opponentTime != 0) margins.raw = opponentTime - ownTime;
  margins.corrected = correctedMargin(ownTime, ownWeight, opponentTime, opponentWeight);
  margins.adjusted = margins.corrected + todayWeightTerm(ownWeightToday, otherWeightToday);
  return margins;
}

RowDecision decideRow(int firstAdjusted, int secondAdjusted) {
  RowDecision decision;
  decision.firstBetter = firstAdjusted > secondAdjusted;
  decision.secondBetter = secondAdjusted > firstAdjusted;
  if (secondAdjusted < 0 && firstAdjusted >= 0) {
    decision.firstOwnMinus = true;
  } else if (firstAdjusted < 0 && secondAdjusted >= 0) {
    decision.secondOwnMinus = true;
  }
  return decision;
}

std::string marginText(int hundredths) { return store::format("%4.1f", hundredths / 100.0); }

std::string rawMarginText(int tenths) { return store::format("%4.1f", tenths / 10.0); }

bool isBlankName(std::string_view name) { return store::trim(name).empty(); }

}  // namespace orvalle::analysis
