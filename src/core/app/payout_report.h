#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/payout_block.h"

// The payout block of a race (its HR record) decoded into the paid
// combinations, for reports and exports.
namespace orvalle::app {

// A bet type of the payout block: the key reports and exports name it by
// ("win", "quinellaPlace") and its Japanese name ("単勝", "ワイド").
struct PayoutBetType {
  store::BetType type;
  const char* key;
  const char* name;
};
inline constexpr PayoutBetType kPayoutBetTypes[] = {
    {store::BetType::kWin, "win", "単勝"},
    {store::BetType::kPlace, "place", "複勝"},
    {store::BetType::kBracketQuinella, "bracketQuinella", "枠連"},
    {store::BetType::kQuinella, "quinella", "馬連"},
    {store::BetType::kQuinellaPlace, "quinellaPlace", "ワイド"},
    {store::BetType::kExacta, "exacta", "馬単"},
    {store::BetType::kTrio, "trio", "三連複"},
};

// One paid combination.
struct PaidCombination {
  const PayoutBetType* betType = nullptr;
  int entry = 0;             // 1-based place among the bet type's entries
  std::vector<int> numbers;  // the horse (bracket) numbers, 1 to 3 of them
  std::string text;          // the numbers joined by "-": "3", "1-2", "1-2-3"
  int payout = 0;            // yen per 100 yen
  int popularity = 0;        // 0 when not given
};

// The numbers of a combination text (" 1- 2", " 1- 2- 3"; at most the
// first three) and their compact form "1-2-3". A number that does not read
// is 0.
struct CombinationNumbers {
  std::vector<int> numbers;
  std::string text;
};
CombinationNumbers combinationNumbers(std::string_view text);

// The paid combinations of an HR record in the block's order (bet type,
// then entry): win and place entries naming a horse, the others a
// combination. Unused entries are left out; never fails.
std::vector<PaidCombination> paidCombinations(std::string_view hrRecord);

// True when the record is a payout record (record kind "HR"), which a race
// has only once its payouts are announced.
bool isPayoutRecord(std::string_view record);

}  // namespace orvalle::app
