#include "model/colours.h"

namespace orvalle::model {

Colour bracketColour(int bracket) {
  static constexpr Colour kBrackets[] = {colours::kWhite,  colours::kGrey,   colours::kRed,
                                         colours::kBlue,   colours::kYellow, colours::kGreen,
                                         colours::kOrange, colours::kMagenta};
  if (bracket < 1 || bracket > 8) return colours::kWhite;
  return kBrackets[bracket - 1];
}

Colour bracketDigitColour(int bracket) {
  return bracket == 1 || bracket == 5 ? colours::kBlack : colours::kWhite;
}

Colour placeColour(int value, Colour otherwise) {
  if (value == 1) return colours::kRed;
  if (value == 2 || value == 3) return colours::kBlue;
  return otherwise;
}

}  // namespace orvalle::model
