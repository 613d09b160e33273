#include "store/payout_block.h"

#include <algorithm>

#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::store {
namespace {

// Payout fields are counts and yen: a negative value can only come from junk.
int32_t nonNegative(int value) { return std::max(value, 0); }

// Win and place: the entry names one horse number.
void parseHorseEntries(std::string_view record, const hr::PayoutBlockLayout& layout,
                       PayoutBlock& block, BetType type) {
  for (int i = 0; i < layout.entries; ++i) {
    PayoutEntry& entry = block.at(type, i);
    entry.horseNumber = nonNegative(layout.number(i, 0).numberIn(record));
    entry.payout = nonNegative(layout.payout(i).numberIn(record));
    entry.popularity = nonNegative(layout.popularity(i).numberIn(record));
  }
}

// The other bet types: a pair or triple of numbers becomes a combination text.
void parseCombinationEntries(std::string_view record, const hr::PayoutBlockLayout& layout,
                             int numbersPerEntry, PayoutBlock& block, BetType type) {
  for (int i = 0; i < layout.entries; ++i) {
    PayoutEntry& entry = block.at(type, i);
    int first = layout.number(i, 0).numberIn(record);
    int second = layout.number(i, 1).numberIn(record);
    entry.combination = numbersPerEntry == 3
                            ? combinationText({first, second, layout.number(i, 2).numberIn(record)})
                            : combinationText({first, second});
    entry.payout = nonNegative(layout.payout(i).numberIn(record));
    entry.popularity = nonNegative(layout.popularity(i).numberIn(record));
  }
}

}  // namespace

std::string combinationText(std::initializer_list<int> numbers) {
  std::string text;
  bool first = true;
  for (int number : numbers) {
    if (number < 1) return {};
    if (!first) text += '-';
    text += format("%2d", number);
    first = false;
  }
  return text;
}

PayoutBlock parsePayoutBlock(std::string_view hrRecord) {
  PayoutBlock block;
  // Each bet type has exactly the entries its layout carries.
  static_assert(PayoutBlock::count(BetType::kWin) == hr::kWin.entries);
  static_assert(PayoutBlock::count(BetType::kPlace) == hr::kPlace.entries);
  static_assert(PayoutBlock::count(BetType::kBracketQuinella) == hr::kBracketQuinella.entries);
  static_assert(PayoutBlock::count(BetType::kQuinella) == hr::kQuinella.entries);
  static_assert(PayoutBlock::count(BetType::kQuinellaPlace) == hr::kQuinellaPlace.entries);
  static_assert(PayoutBlock::count(BetType::kExacta) == hr::kExacta.entries);
  static_assert(PayoutBlock::count(BetType::kTrio) == hr::kTrio.entries);

  parseHorseEntries(hrRecord, hr::kWin, block, BetType::kWin);
  parseHorseEntries(hrRecord, hr::kPlace, block, BetType::kPlace);
  parseCombinationEntries(hrRecord, hr::kBracketQuinella, 2, block, BetType::kBracketQuinella);
  parseCombinationEntries(hrRecord, hr::kQuinella, 2, block, BetType::kQuinella);
  parseCombinationEntries(hrRecord, hr::kQuinellaPlace, 2, block, BetType::kQuinellaPlace);
  parseCombinationEntries(hrRecord, hr::kExacta, 2, block, BetType::kExacta);
  parseCombinationEntries(hrRecord, hr::kTrio, 3, block, BetType::kTrio);
  return block;
}

}  // namespace orvalle::store
