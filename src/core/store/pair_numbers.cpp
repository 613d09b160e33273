#include "store/pair_numbers.h"

#include <array>
#include <cstddef>

#include "store/fixed_width.h"

namespace orvalle::store::codes {
namespace {

// The value of one "%2d" half of a pair text (" 7" or "12"), or 0 when the
// two characters are not that form.
int halfValue(char tens, char units) {
  if (units < '0' || units > '9') return 0;
  if (tens == ' ') return units - '0';
  if (tens < '1' || tens > '9') return 0;
  return (tens - '0') * 10 + (units - '0');
}

// The two numbers of a five-character pair text; {0, 0} when malformed.
HorsePair parsePair(std::string_view text) {
  if (text.size() != 5 || text[2] != '-') return {};
  return {halfValue(text[0], text[1]), halfValue(text[3], text[4])};
}

std::string textOf(int first, int second) { return format("%2d-%2d", first, second); }

const std::array<HorsePair, kHorsePairCount + 1>& horsePairs() {
  static constexpr auto kPairs = [] {
    std::array<HorsePair, kHorsePairCount + 1> out{};
    for (int i = 1; i <= kMaxHorseNumber; ++i) {
      for (int j = i + 1; j <= kMaxHorseNumber; ++j)
        out[static_cast<size_t>(pairNumber(i, j))] = {i, j};
    }
    return out;
  }();
  return kPairs;
}

const std::array<HorsePair, kBracketPairCount + 1>& bracketPairs() {
  static constexpr auto kPairs = [] {
    std::array<HorsePair, kBracketPairCount + 1> out{};
    for (int a = 1; a <= kMaxBracket; ++a) {
      for (int b = a; b <= kMaxBracket; ++b)
        out[static_cast<size_t>(bracketPairNumber(a, b))] = {a, b};
    }
    return out;
  }();
  return kPairs;
}

}  // namespace

int pairNumber(std::string_view pairText) {
  const HorsePair pair = parsePair(pairText);
  return pairNumber(pair.first, pair.second);
}

HorsePair pairHorses(int number) {
  if (number < 1 || number > kHorsePairCount) return {};
  return horsePairs()[static_cast<size_t>(number)];
}

std::string pairText(int number) {
  const HorsePair pair = pairHorses(number);
  if (pair.first == 0) return {};
  return textOf(pair.first, pair.second);
}

int bracketPairNumber(std::string_view pairText) {
  const HorsePair pair = parsePair(pairText);
  return bracketPairNumber(pair.first, pair.second);
}

std::string bracketPairText(int number) {
  if (number < 1 || number > kBracketPairCount) return {};
  const HorsePair pair = bracketPairs()[static_cast<size_t>(number)];
  return textOf(pair.first, pair.second);
}

}  // namespace orvalle::store::codes
