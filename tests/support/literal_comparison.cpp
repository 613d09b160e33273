#include "support/literal_comparison.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "store/fixed_record_file.h"
#include "store/fixed_width.h"
#include "store/horse_files.h"
#include "store/pair_numbers.h"
#include "store/past_run_record.h"
#include "store/record.h"
#include "store/text_file.h"

namespace orvalle::test {
namespace {

namespace past_run = store::past_run;
using model::PairTable;

int runnersOf(std::string_view record) {
  // The field has 18 entries; a damaged count beyond it reads as 18.
  return std::clamp(past_run::kRegisteredRunners.numberIn(record), 0, 18);
}

std::string_view entryName(std::string_view record, int k) {
  return past_run::entry::kHorseName.in(past_run::fieldEntry(k - 1).in(record));
}

int tenths(std::string_view time) {
  int value = store::toInt(time);
  if (value <= 0) return 0;
  return (value / 1000) * 600 + value % 1000;
}

int entryTime(std::string_view record, int k) {
  return tenths(past_run::entry::kRaceTime.in(past_run::fieldEntry(k - 1).in(record)));
}

int entryWeight(std::string_view record, int k) {
  return past_run::entry::kWeightCarried.numberIn(past_run::fieldEntry(k - 1).in(record));
}

bool holds(std::string_view record, int n, std::string_view name) {
  for (int k = 1; k <= n; ++k) {
    if (entryName(record, k) == name) return true;
  }
  return false;
}

bool blank(std::string_view name) { return store::trim(name).empty(); }

// 100 S of one side: 10 (t_opponent - t_own) - 2 (w_opponent - w_own), 0 when
// a time is missing, less 2 (other's weight today - own weight today).
int adjusted(int ownTime, int ownWeight, int opponentTime, int opponentWeight, int ownToday,
             int otherToday) {
  int corrected = 0;
  if (ownTime != 0 && opponentTime != 0) {
    corrected = 10 * (opponentTime - ownTime) - 2 * (opponentWeight - ownWeight);
  }
  return corrected - 2 * (otherToday - ownToday);
}

std::optional<std::filesystem::path> existingFile(const std::filesystem::path& sei,
                                                  std::string_view registration) {
  auto path = store::pastRunFilePath(sei, registration);
  if (!path || !std::filesystem::exists(*path)) return std::nullopt;
  return path;
}

void rank(std::vector<std::string> lines, model::RaceAnalysis::PerRunner<int32_t>& ranks) {
  std::set<std::string, store::CaseInsensitiveLess> sorted(lines.begin(), lines.end());
  const int c = static_cast<int>(sorted.size());
  int p = 0;
  for (const std::string& line : sorted) {
    ranks[std::stoi(line.substr(20, 2)) - 1] = c - p;
    ++p;
  }
}

}  // namespace

analysis::PairCounts literalPairComparison(std::string_view nameA18, std::string_view nameB18,
                                           int weightA, int weightB,
                                           const std::filesystem::path& fileA,
                                           const std::filesystem::path& fileB, int raceDate,
                                           int periodStart) {
  auto a = store::FixedRecordFile::open(fileA, store::kPastRunRecordLength);
  auto b = store::FixedRecordFile::open(fileB, store::kPastRunRecordLength);
  analysis::PairCounts counts;
  if (!a || !b) return counts;
  for (size_t ia = 0; ia < a->count(); ++ia) {
    const std::string ra = a->read(ia);
    const int dA = past_run::kDate.numberIn(ra);
    const int nA = runnersOf(ra);
    const int pA = past_run::kFinishingPosition.numberIn(ra);
    const bool both = holds(ra, nA, nameA18) && holds(ra, nA, nameB18);
    if (!(dA < raceDate && periodStart < dA && !both && pA >= 1 && nA >= 1)) continue;
    for (int k = 1; k <= nA; ++k) {
      const std::string x(entryName(ra, k));
      if (blank(x) || x == nameA18 || x == nameB18) continue;
      for (size_t ib = 0; ib < b->count(); ++ib) {
        const std::string rb = b->read(ib);
        const int dB = past_run::kDate.numberIn(rb);
        const int pB = past_run::kFinishingPosition.numberIn(rb);
        if (!(dB < raceDate && periodStart < dB && pB > 0)) continue;
        const int nB = runnersOf(rb);
        if (holds(rb, nB, nameA18) && holds(rb, nB, nameB18)) continue;
        for (int m = 1; m <= nB; ++m) {
          if (entryName(rb, m) != x) continue;
          const int sa =
              adjusted(tenths(past_run::kRaceTime.in(ra)), past_run::kWeightCarried.numberIn(ra),
                       entryTime(ra, k), entryWeight(ra, k), weightA, weightB);
          const int sb =
              adjusted(tenths(past_run::kRaceTime.in(rb)), past_run::kWeightCarried.numberIn(rb),
                       entryTime(rb, m), entryWeight(rb, m), weightB, weightA);
          ++counts.count;
          if (sa > sb) ++counts.firstBetter;
          if (sb > sa) ++counts.secondBetter;
          if (sb < 0 && sa >= 0) {
            ++counts.firstOwnMinus;
          } else if (sa < 0 && sb >= 0) {
            ++counts.secondOwnMinus;
          }
        }
      }
    }
  }
  return counts;
}

int literalDirectMeetings(std::string_view nameB18, const std::filesystem::path& fileA,
                          int raceDate) {
  auto a = store::FixedRecordFile::open(fileA, store::kPastRunRecordLength);
  if (!a) return 0;
  int meetings = 0;
  for (size_t i = 0; i < a->count(); ++i) {
    const std::string record = a->read(i);
    if (!(past_run::kDate.numberIn(record) < raceDate &&
          past_run::kFinishingPosition.numberIn(record) > 0)) {
      continue;
    }
    const int n = runnersOf(record);
    for (int k = 1; k <= n; ++k) {
      std::string_view name = entryName(record, k);
      if (!blank(name) && name == nameB18) ++meetings;
    }
  }
  return meetings;
}

void literalRaceComparison(model::DayTables& tables, int raceSlot,
                           const std::filesystem::path& seiFolder) {
  const std::string race(tables.race(raceSlot));
  const int n = store::ra::kRegisteredRunners.numberIn(race);
  if (n <= 0) return;
  const int raceDate = store::raceDate(race);
  model::RaceAnalysis& analysis = tables.analysis(raceSlot);
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      const std::string first(tables.runner(raceSlot, i));
      const std::string second(tables.runner(raceSlot, j));
      const std::string_view rawA = store::se::kHorseName.in(first);
      const std::string_view rawB = store::se::kHorseName.in(second);
      const std::string nameA = store::horseName18(rawA);
      const std::string nameB = store::horseName18(rawB);
      const int weightA = store::se::kWeightCarried.numberIn(first);
      const int weightB = store::se::kWeightCarried.numberIn(second);
      const auto fileA = existingFile(seiFolder, store::se::kRegistrationNumber.in(first));
      const auto fileB = existingFile(seiFolder, store::se::kRegistrationNumber.in(second));
      const int pair = store::codes::pairNumber(i + 1, j + 1);
      const bool named = !blank(rawA) && !blank(rawB) && nameA != nameB;

      if (named && weightA > 0 && weightB > 0 && fileA && fileB) {
        const analysis::PairCounts counts =
            literalPairComparison(nameA, nameB, weightA, weightB, *fileA, *fileB, raceDate);
        const int totalA = counts.firstBetter + counts.firstOwnMinus;
        const int totalB = counts.secondBetter + counts.secondOwnMinus;
        analysis.pair(PairTable::kComparisonCount, pair) = counts.count;
        analysis.pair(PairTable::kFirstBetter, pair) = counts.firstBetter;
        analysis.pair(PairTable::kSecondBetter, pair) = counts.secondBetter;
        analysis.pair(PairTable::kFirstOwnMinus, pair) = counts.firstOwnMinus;
        analysis.pair(PairTable::kSecondOwnMinus, pair) = counts.secondOwnMinus;
        analysis.pair(PairTable::kFirstTotal, pair) = totalA;
        analysis.pair(PairTable::kSecondTotal, pair) = totalB;
        if (totalB < totalA) {
          analysis.winCount[i] += 1;
          analysis.pair(PairTable::kFirstWon, pair) += 1;
          analysis.lossCount[j] += 1;
        }
        if (totalA < totalB) {
          analysis.winCount[j] += 1;
          analysis.pair(PairTable::kSecondWon, pair) += 1;
          analysis.lossCount[i] += 1;
        }
        analysis.winPoints[i] += totalA;
        analysis.lossPoints[i] += totalB;
        analysis.winPoints[j] += totalB;
        analysis.lossPoints[j] += totalA;
      }
      if (named && fileA) {
        analysis.pair(PairTable::kDirect, pair) = literalDirectMeetings(nameB, *fileA, raceDate);
      }
    }
  }

  std::vector<std::string> rates;
  std::vector<std::string> points;
  for (int h = 0; h < n; ++h) {
    const int w = analysis.winCount[h];
    const int l = analysis.lossCount[h];
    if (w + l > 0) {
      analysis.winRate[h] = static_cast<double>(w) / (w + l);
      rates.push_back(store::format("%10.3f%10d%2d", analysis.winRate[h], w, h + 1));
    }
    const int wp = analysis.winPoints[h];
    const int lp = analysis.lossPoints[h];
    if (wp + lp > 0) {
      analysis.pointWinRate[h] = static_cast<double>(wp) / (wp + lp);
      points.push_back(store::format("%10.3f%10d%2d", analysis.pointWinRate[h], wp, h + 1));
    }
  }
  rank(rates, analysis.winRateRank);
  rank(points, analysis.pointWinRateRank);
  analysis.compared = true;
}

void literalAllRaceComparison(model::DayTables& tables, const std::filesystem::path& seiFolder) {
  for (int slot = 0; slot < model::kRaceSlots; ++slot) tables.analysis(slot).resetComparison();
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    if (!tables.isRaceEmpty(slot)) literalRaceComparison(tables, slot, seiFolder);
  }
}

}  // namespace orvalle::test
