#include "betting/race_scoring.h"

#include "store/fixed_width.h"
#include "store/payout_block.h"

namespace orvalle::betting {
namespace {

// Scores one bet type: each non-blank combination against the paid entries
// of `type`, into `scores` and the day tally.
template <typename Texts, typename Scores>
void scoreBetType(const Texts& texts, Scores& scores, const store::PayoutBlock& payouts,
                  store::BetType type, model::DayTally& day) {
  for (int k = 0; k < Texts::size(); ++k) {
    if (store::trim(texts[k]).empty()) continue;
    scores.tally.stake += kStakePerCombination;
    for (int e = 0; e < store::PayoutBlock::count(type); ++e) {
      const store::PayoutEntry& paid = payouts.at(type, e);
      if (paid.combination.empty() || paid.combination != texts[k]) continue;
      scores.hit[k] = 1;
      scores.payout[k] = paid.payout;
      scores.tally.hits += 1;
      scores.tally.payoutReturn += paid.payout;
    }
  }
  day.races += 1;
  day.hits += scores.tally.hits;
  day.payoutReturn += scores.tally.payoutReturn;
  day.stake += scores.tally.stake;
}

}  // namespace

void clearScores(model::DayTables& tables, bool texts) {
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    model::CombinationBlock& block = tables.analysis(slot).combinations;
    if (texts) {
      block.clearAll();
    } else {
      block.clearScores();
    }
  }
}

void scoreRace(model::DayTables& tables, int raceSlot) {
  model::RaceAnalysis& analysis = tables.analysis(raceSlot);
  model::CombinationBlock& block = analysis.combinations;
  const store::PayoutBlock& payouts = analysis.result.payouts;
  using model::TallyBetType;
  using store::BetType;
  scoreBetType(block.trio, block.trioScores, payouts, BetType::kTrio,
               tables.tally(TallyBetType::kTrio));
  scoreBetType(block.quinella, block.quinellaScores, payouts, BetType::kQuinella,
               tables.tally(TallyBetType::kQuinella));
  scoreBetType(block.quinella, block.quinellaPlaceScores, payouts, BetType::kQuinellaPlace,
               tables.tally(TallyBetType::kQuinellaPlace));
  scoreBetType(block.exacta, block.exactaScores, payouts, BetType::kExacta,
               tables.tally(TallyBetType::kExacta));
}

}  // namespace orvalle::betting
