#pragma once

#include <string>
#include <string_view>

// Numbering of unordered pairs of horse numbers and of brackets. A pair text
// is the two numbers, each "%2d", joined by "-", the lower first (" 1- 2",
// "17-18"); it is the form in which combinations are stored and compared.
namespace orvalle::store::codes {

inline constexpr int kMaxHorseNumber = 18;
inline constexpr int kHorsePairCount = 153;  // pairs i < j of 1..18
inline constexpr int kMaxBracket = 8;
inline constexpr int kBracketPairCount = 36;  // pairs a <= b of 1..8

// The horse pair number of horse numbers i < j: 1 for 1-2, 2 for 1-3, ...,
// 17 for 1-18, 18 for 2-3, ..., 153 for 17-18. 0 when i >= j or either is
// outside 1..18.
constexpr int pairNumber(int i, int j) {
  if (i < 1 || j > kMaxHorseNumber || i >= j) return 0;
  return (i - 1) * kMaxHorseNumber - (i - 1) * i / 2 + (j - i);
}

// The horse pair number of a pair text (" 1- 2" -> 1, "17-18" -> 153). Any
// other text, a reversed pair ("18-17") included, gives 0.
int pairNumber(std::string_view pairText);

// The two horse numbers of a pair number; {0, 0} when the number is outside
// 1..153.
struct HorsePair {
  int first = 0;
  int second = 0;
};
HorsePair pairHorses(int number);

// The pair text of a pair number 1..153; the empty text for any other number.
std::string pairText(int number);

// The bracket pair number of brackets a <= b: 1 for 1-1, 2 for 1-2, ...,
// 8 for 1-8, 9 for 2-2, ..., 36 for 8-8. 0 when a > b or either is outside
// 1..8.
constexpr int bracketPairNumber(int a, int b) {
  if (a < 1 || b > kMaxBracket || a > b) return 0;
  return (a - 1) * (kMaxBracket + 1) - (a - 1) * a / 2 + (b - a + 1);
}

// The bracket pair number of a bracket pair text (" 1- 1" -> 1, " 8- 8" ->
// 36); any other text gives 0.
int bracketPairNumber(std::string_view pairText);

// The bracket pair text of a bracket pair number 1..36; the empty text for
// any other number.
std::string bracketPairText(int number);

}  // namespace orvalle::store::codes
