#pragma once

#include <cstdint>
#include <string>

#include "store/checked_array.h"

namespace orvalle::model {

// Figures of one race and bet type: stake (yen), number of combinations,
// hits and return (yen).
struct RaceTally {
  int32_t stake = 0;
  int32_t combinations = 0;
  int32_t hits = 0;
  int32_t payoutReturn = 0;

  bool operator==(const RaceTally&) const = default;
};

// Hit flags, payouts won and the race tally of one bet type with N
// combinations.
template <size_t N>
struct BetScores {
  CheckedArray<uint8_t, N> hit;
  CheckedArray<int32_t, N> payout;
  RaceTally tally;

  void clear() {
    hit.fill(0);
    payout.fill(0);
    tally = RaceTally{};
  }
  bool operator==(const BetScores&) const = default;
};

// The betting combinations formed for a race and how each scored. Texts are
// horse numbers "%2d" joined by "-" (trio " 1- 2- 3" in ascending order,
// quinella " 1- 2", exacta in finishing order); an empty text is no
// combination. The quinella texts are staked again as quinella place.
struct CombinationBlock {
  static constexpr int kTrioCount = 12;
  static constexpr int kPairCount = 11;

  CheckedArray<std::string, kTrioCount> trio;
  CheckedArray<std::string, kPairCount> quinella;
  CheckedArray<std::string, kPairCount> exacta;

  BetScores<kTrioCount> trioScores;
  BetScores<kPairCount> quinellaScores;
  BetScores<kPairCount> quinellaPlaceScores;
  BetScores<kPairCount> exactaScores;

  // Every hit flag and payout to 0, the four race tallies to 0.
  void clearScores() {
    trioScores.clear();
    quinellaScores.clear();
    quinellaPlaceScores.clear();
    exactaScores.clear();
  }
  // clearScores and every combination text emptied.
  void clearAll() {
    trio.fill(std::string());
    quinella.fill(std::string());
    exacta.fill(std::string());
    clearScores();
  }
  bool operator==(const CombinationBlock&) const = default;
};

}  // namespace orvalle::model
