#include "analysis/opponent_index.h"

#include <algorithm>
#include <limits>

#include "analysis/comparison_rule.h"

namespace orvalle::analysis {
namespace {

using Occurrence = OpponentIndex::Occurrence;

bool byOpponent(const Occurrence& a, const Occurrence& b) { return a.opponent < b.opponent; }

// The runs of `index` that hold `other` and name the indexed horse itself:
// a row of the pair never comes from such a run. Few (the pair's meetings).
std::vector<int32_t> runsWithBoth(const OpponentIndex& index, int other) {
  std::vector<int32_t> runs;
  for (const Occurrence& occurrence : index.occurrencesOf(other)) {
    if (index.namesItself(occurrence.run)) runs.push_back(occurrence.run);
  }
  return runs;
}

bool contains(const std::vector<int32_t>& runs, int32_t run) {
  return std::find(runs.begin(), runs.end(), run) != runs.end();
}

int32_t saturated(int64_t value) {
  return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

// Wide counters of one pair; rows multiply, so they are summed in 64 bits.
struct Tally {
  int64_t count = 0;
  int64_t firstBetter = 0;
  int64_t secondBetter = 0;
  int64_t firstOwnMinus = 0;
  int64_t secondOwnMinus = 0;

  // Adds every pairing of the adjusted margins of A's and B's occurrences
  // of one opponent.
  void add(std::vector<int32_t>& sa, std::vector<int32_t>& sb) {
    const auto p = static_cast<int64_t>(sa.size());
    const auto q = static_cast<int64_t>(sb.size());
    if (p == 0 || q == 0) return;
    count += p * q;
    const int64_t aNotLosing =
        std::count_if(sa.begin(), sa.end(), [](int32_t s) { return s >= 0; });
    const int64_t bNotLosing =
        std::count_if(sb.begin(), sb.end(), [](int32_t s) { return s >= 0; });
    firstOwnMinus += aNotLosing * (q - bNotLosing);
    secondOwnMinus += (p - aNotLosing) * bNotLosing;
    if (p * q <= 64) {
      for (int32_t a : sa) {
        for (int32_t b : sb) {
          firstBetter += a > b;
          secondBetter += b > a;
        }
      }
      return;
    }
    std::sort(sb.begin(), sb.end());
    for (int32_t a : sa) {
      firstBetter += std::lower_bound(sb.begin(), sb.end(), a) - sb.begin();
      secondBetter += sb.end() - std::upper_bound(sb.begin(), sb.end(), a);
    }
  }
};

}  // namespace

OpponentIndex::OpponentIndex(const HorseHistory& history, int ownName, int raceDate)
    : m_ownName(ownName), m_namesItself(history.runs().size(), 0) {
  const auto& runs = history.runs();
  const auto& entries = history.entries();
  for (size_t r = 0; r < runs.size(); ++r) {
    const HorseHistory::Run& run = runs[r];
    if (run.date >= raceDate || run.position < 1 || run.runners < 1) continue;
    for (int k = 0; k < run.runners; ++k) {
      const HorseHistory::Entry& entry = entries[static_cast<size_t>(run.firstEntry + k)];
      if (entry.name == NameTable::kNone) continue;
      if (entry.name == ownName) {
        m_namesItself[r] = 1;
        continue;
      }
      m_occurrences.push_back({entry.name, static_cast<int32_t>(r),
                               correctedMargin(run.time, run.weight, entry.time, entry.weight)});
    }
  }
  std::stable_sort(m_occurrences.begin(), m_occurrences.end(), byOpponent);
}

std::span<const Occurrence> OpponentIndex::occurrencesOf(int opponent) const {
  auto range = std::equal_range(m_occurrences.begin(), m_occurrences.end(),
                                Occurrence{opponent, 0, 0}, byOpponent);
  return {range.first, range.second};
}

bool OpponentIndex::namesItself(int32_t run) const {
  return run >= 0 && static_cast<size_t>(run) < m_namesItself.size() &&
         m_namesItself[static_cast<size_t>(run)] != 0;
}

PairCounts comparePair(const OpponentIndex& a, const OpponentIndex& b, int weightA, int weightB) {
  const int idA = a.ownName();
  const int idB = b.ownName();
  const std::vector<int32_t> skippedA = runsWithBoth(a, idB);
  const std::vector<int32_t> skippedB = runsWithBoth(b, idA);
  const int termA = todayWeightTerm(weightA, weightB);
  const int termB = todayWeightTerm(weightB, weightA);

  Tally tally;
  std::vector<int32_t> sa;
  std::vector<int32_t> sb;
  std::span<const Occurrence> left = a.occurrences();
  std::span<const Occurrence> right = b.occurrences();
  size_t i = 0;
  size_t j = 0;
  while (i < left.size() && j < right.size()) {
    const int32_t opponent = left[i].opponent;
    if (opponent < right[j].opponent) {
      ++i;
      continue;
    }
    if (right[j].opponent < opponent) {
      ++j;
      continue;
    }
    sa.clear();
    sb.clear();
    for (; i < left.size() && left[i].opponent == opponent; ++i) {
      if (!contains(skippedA, left[i].run)) sa.push_back(left[i].margin + termA);
    }
    for (; j < right.size() && right[j].opponent == opponent; ++j) {
      if (!contains(skippedB, right[j].run)) sb.push_back(right[j].margin + termB);
    }
    if (opponent == idA || opponent == idB) continue;
    tally.add(sa, sb);
  }

  PairCounts counts;
  counts.count = saturated(tally.count);
  counts.firstBetter = saturated(tally.firstBetter);
  counts.secondBetter = saturated(tally.secondBetter);
  counts.firstOwnMinus = saturated(tally.firstOwnMinus);
  counts.secondOwnMinus = saturated(tally.secondOwnMinus);
  return counts;
}

int32_t countDirectMeetings(const OpponentIndex& a, int nameB) {
  if (nameB == NameTable::kNone || nameB == a.ownName()) return 0;
  return static_cast<int32_t>(a.occurrencesOf(nameB).size());
}

}  // namespace orvalle::analysis
