#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/horse_history.h"

namespace orvalle::analysis {

// What the comparison rows of a pair of runners add up to (pair tables 1
// and 4 to 7 of the race analysis record).
struct PairCounts {
  int32_t count = 0;           // comparison rows
  int32_t firstBetter = 0;     // rows with SA > SB
  int32_t secondBetter = 0;    // rows with SB > SA
  int32_t firstOwnMinus = 0;   // rows with SA >= 0 > SB
  int32_t secondOwnMinus = 0;  // rows with SB >= 0 > SA

  int32_t firstTotal() const { return firstBetter + firstOwnMinus; }
  int32_t secondTotal() const { return secondBetter + secondOwnMinus; }
  bool operator==(const PairCounts&) const = default;
};

// The past runs of one runner that the race comparison uses, indexed by
// opponent: every run of the horse's history dated before the race date in
// which it finished, with one occurrence per named opponent in the first n
// entries of the field (n = registered runners). Built for the runner's own
// name id (its 18-byte race-card name), which is not indexed but noted per
// run. The history must have its names interned and must outlive the index.
class OpponentIndex {
 public:
  struct Occurrence {
    int32_t opponent = 0;  // name id
    int32_t run = 0;       // index of the run in the history
    int32_t margin = 0;    // weight-corrected margin over the opponent, hundredths
  };

  OpponentIndex(const HorseHistory& history, int ownName, int raceDate);

  int ownName() const { return m_ownName; }
  // All occurrences, ordered by opponent id, then run, then entry.
  std::span<const Occurrence> occurrences() const { return m_occurrences; }
  // The occurrences of one opponent.
  std::span<const Occurrence> occurrencesOf(int opponent) const;
  // True when run `run` (an index of the history) names the runner itself.
  bool namesItself(int32_t run) const;

 private:
  int m_ownName;
  std::vector<Occurrence> m_occurrences;
  std::vector<char> m_namesItself;  // by run index
};

// The comparison rows of the pair first horse A, second horse B, counted
// without listing them: every opponent X (neither A nor B) of a run of A and
// a run of B gives one row per pairing of its occurrences, except in runs
// that name both horses. `weightA` and `weightB` are today's weights in 0.1
// kg. Gives exactly what the row-by-row comparison gives.
PairCounts comparePair(const OpponentIndex& a, const OpponentIndex& b, int weightA, int weightB);

// The direct meetings of the pair: occurrences of B (name id `nameB`) in the
// indexed runs of A.
int32_t countDirectMeetings(const OpponentIndex& a, int nameB);

}  // namespace orvalle::analysis
