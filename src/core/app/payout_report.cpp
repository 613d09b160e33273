#include "app/payout_report.h"

#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::app {

CombinationNumbers combinationNumbers(std::string_view text) {
  CombinationNumbers out;
  for (size_t start = 0; start <= text.size() && out.numbers.size() < 3;) {
    size_t dash = text.find('-', start);
    if (dash == std::string_view::npos) dash = text.size();
    const int number = store::toInt(text.substr(start, dash - start));
    out.numbers.push_back(number);
    if (!out.text.empty()) out.text += "-";
    out.text += std::to_string(number);
    start = dash + 1;
  }
  return out;
}

std::vector<PaidCombination> paidCombinations(std::string_view hrRecord) {
  const store::PayoutBlock block = store::parsePayoutBlock(hrRecord);
  std::vector<PaidCombination> paid;
  for (const PayoutBetType& bet : kPayoutBetTypes) {
    for (int k = 0; k < store::PayoutBlock::count(bet.type); ++k) {
      const store::PayoutEntry& entry = block.at(bet.type, k);
      PaidCombination combination{&bet, k + 1, {}, {}, entry.payout, entry.popularity};
      if (bet.type == store::BetType::kWin || bet.type == store::BetType::kPlace) {
        if (entry.horseNumber < 1) continue;
        combination.numbers.push_back(entry.horseNumber);
        combination.text = std::to_string(entry.horseNumber);
      } else {
        // A combination text is set only when every number is at least 1.
        if (entry.combination.empty()) continue;
        CombinationNumbers numbers = combinationNumbers(entry.combination);
        combination.numbers = std::move(numbers.numbers);
        combination.text = std::move(numbers.text);
      }
      paid.push_back(std::move(combination));
    }
  }
  return paid;
}

bool isPayoutRecord(std::string_view record) { return store::head::kRecordKind.in(record) == "HR"; }

}  // namespace orvalle::app
