#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace orvalle::store {

// Bet types of the payout block, in the block's order.
enum class BetType { kWin, kPlace, kBracketQuinella, kQuinella, kQuinellaPlace, kExacta, kTrio };

// One paid combination. Win and place entries name a horse number; the other
// bet types a combination text: two or three numbers "%2d" joined by "-"
// (" 1- 2", " 1- 2- 3"), empty unless every number is at least 1. Bets are
// matched against these texts as whole texts.
struct PayoutEntry {
  int horseNumber = 0;      // win and place
  std::string combination;  // the other bet types (CP932, ASCII only)
  int32_t popularity = 0;
  int32_t payout = 0;  // yen per 100 yen

  bool operator==(const PayoutEntry&) const = default;
};

// The paid combinations of one race: 30 entries, per bet type as many as
// JV-Data carries (dead heats): win 3, place 5, bracket quinella 3, quinella
// 3, quinella place 7, exacta 6, trio 3.
struct PayoutBlock {
  static constexpr int kEntryCount = 30;

  std::array<PayoutEntry, kEntryCount> entries{};

  // First entry and number of entries of a bet type.
  static constexpr int offset(BetType type) {
    constexpr int kOffsets[] = {0, 3, 8, 11, 14, 21, 27};
    return kOffsets[static_cast<int>(type)];
  }
  static constexpr int count(BetType type) {
    constexpr int kCounts[] = {3, 5, 3, 3, 7, 6, 3};
    return kCounts[static_cast<int>(type)];
  }

  PayoutEntry& at(BetType type, int index) {
    return entries.at(static_cast<size_t>(offset(type) + index));
  }
  const PayoutEntry& at(BetType type, int index) const {
    return entries.at(static_cast<size_t>(offset(type) + index));
  }

  bool operator==(const PayoutBlock&) const = default;
};

// The combination text of two or three numbers: "%2d-" for every number but
// the last, "%2d" for the last (" 1- 2", " 1- 2- 3"). Empty when any number
// is below 1, so an unused entry never matches a bet.
std::string combinationText(std::initializer_list<int> numbers);

// Parses the payout entries of an HR record (a stored line, with or without
// its CR LF). Every number is read from its field; blanks, junk and negative
// values read 0, and a combination text is set only when all its numbers are
// at least 1. A record of blanks, a short record or junk gives entries of 0
// and empty texts as far as its fields are missing or unreadable; never fails.
// The trifecta entries and the refund fields are not read.
PayoutBlock parsePayoutBlock(std::string_view hrRecord);

}  // namespace orvalle::store
