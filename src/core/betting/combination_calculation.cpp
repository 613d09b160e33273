#include "betting/combination_calculation.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "betting/race_scoring.h"
#include "store/fixed_width.h"
#include "store/payout_block.h"
#include "store/record.h"
#include "store/text_file.h"

namespace orvalle::betting {
namespace {

using PerRunnerRanks = model::RaceAnalysis::PerRunner<int32_t>;

const PerRunnerRanks& ranksOf(const model::RaceAnalysis& analysis, RankCriterion criterion) {
  switch (criterion) {
    case RankCriterion::kPointWinRate:
      return analysis.pointWinRateRank;
    case RankCriterion::kWinRate:
      return analysis.winRateRank;
    case RankCriterion::kPopularity:
      return analysis.predictedOddsRank;
    case RankCriterion::kWinCountReverse:
      return analysis.winCountReverseRank;
    case RankCriterion::kWinPointsReverse:
      return analysis.winPointsReverseRank;
    case RankCriterion::kWinCount:
      break;
  }
  return analysis.winCountRank;
}

int lookUp(const model::RaceAnalysis& analysis, RankCriterion criterion, int rank) {
  if (rank <= 0) return 0;
  const PerRunnerRanks& ranks = ranksOf(analysis, criterion);
  for (int slot = 0; slot < model::kRunnerSlots; ++slot) {
    if (ranks[slot] == rank) return slot + 1;
  }
  return 0;
}

int lookUp(const model::RaceAnalysis& analysis, const RankRule& rule) {
  return lookUpRank(analysis, rule.criterion, rule.rank);
}

// A sort key line and the runner slot it names.
using RankLine = std::pair<std::string, int>;

void sortLines(std::vector<RankLine>& lines) {
  std::sort(lines.begin(), lines.end(), [](const RankLine& a, const RankLine& b) {
    return store::compareCaseInsensitive(a.first, b.first) < 0;
  });
}

// Sorted, each text once.
void sortUnique(std::vector<std::string>& texts) {
  std::sort(texts.begin(), texts.end(), store::CaseInsensitiveLess());
  texts.erase(std::unique(texts.begin(), texts.end(),
                          [](const std::string& a, const std::string& b) {
                            return store::compareCaseInsensitive(a, b) == 0;
                          }),
              texts.end());
}

template <size_t N>
int32_t storeTexts(CheckedArray<std::string, N>& target, const std::vector<std::string>& texts) {
  target.fill(std::string());
  for (size_t i = 0; i < texts.size(); ++i) target[static_cast<int>(i)] = texts[i];
  return static_cast<int32_t>(texts.size());
}

bool validHorse(int number) { return number >= 1 && number <= 99; }

}  // namespace

std::optional<RankCriterion> rankCriterionOf(std::string_view cp932Text) {
  static constexpr std::array kCriteria{
      RankCriterion::kPointWinRate,    RankCriterion::kWinRate,          RankCriterion::kPopularity,
      RankCriterion::kWinCountReverse, RankCriterion::kWinPointsReverse, RankCriterion::kWinCount,
  };
  std::span<const std::string> texts = rankCriterionTexts();
  for (size_t i = 0; i < kCriteria.size(); ++i) {
    if (texts[i] == cp932Text) return kCriteria[i];
  }
  return std::nullopt;
}

void completeRanks(model::RaceAnalysis& analysis, int runners, double oddsCeiling) {
  if (runners > model::kRunnerSlots) {
    throw Error("出走頭数が多すぎます: " + std::to_string(runners));
  }
  std::vector<RankLine> fewestWins;
  std::vector<RankLine> fewestPoints;
  std::vector<RankLine> mostWins;
  for (int slot = 0; slot < runners; ++slot) {
    const double odds = analysis.predictedOdds[slot];
    const bool popular = odds > 0 && odds <= oddsCeiling;
    const int oddsRank = analysis.predictedOddsRank[slot];
    const int wins = analysis.winCount[slot];
    const int points = analysis.winPoints[slot];
    if (wins > 0 && popular) {
      fewestWins.emplace_back(store::format("%10d%10d%2d", wins, oddsRank, slot + 1), slot);
    }
    if (points > 0 && popular) {
      fewestPoints.emplace_back(store::format("%10d%10d%2d", points, oddsRank, slot + 1), slot);
    }
    if (wins > 0) {
      mostWins.emplace_back(
          store::format("%10d%10.5f%2d", wins, analysis.pointWinRate[slot], slot + 1), slot);
    }
  }
  analysis.winCountReverseRank.fill(0);
  analysis.winPointsReverseRank.fill(0);
  analysis.winCountRank.fill(0);
  sortLines(fewestWins);
  sortLines(fewestPoints);
  sortLines(mostWins);
  for (size_t p = 0; p < fewestWins.size(); ++p) {
    analysis.winCountReverseRank[fewestWins[p].second] = static_cast<int32_t>(p + 1);
  }
  for (size_t p = 0; p < fewestPoints.size(); ++p) {
    analysis.winPointsReverseRank[fewestPoints[p].second] = static_cast<int32_t>(p + 1);
  }
  for (size_t p = 0; p < mostWins.size(); ++p) {
    analysis.winCountRank[mostWins[p].second] = static_cast<int32_t>(mostWins.size() - p);
  }
}

int lookUpRank(const model::RaceAnalysis& analysis, std::string_view criterion,
               std::string_view rankText) {
  std::optional<RankCriterion> known = rankCriterionOf(criterion);
  if (!known) return 0;
  return lookUp(analysis, *known, store::toInt(rankText));
}

std::string trioText(int a, int b, int c) {
  if (!validHorse(a) || !validHorse(b) || !validHorse(c) || a == b || a == c || b == c) return {};
  std::array<int, 3> numbers{a, b, c};
  std::sort(numbers.begin(), numbers.end());
  return store::combinationText({numbers[0], numbers[1], numbers[2]});
}

std::string pairText(int a, int b) {
  if (!validHorse(a) || !validHorse(b) || a == b) return {};
  return store::combinationText({std::min(a, b), std::max(a, b)});
}

std::string orderedText(int first, int second) {
  if (!validHorse(first) || !validHorse(second) || first == second) return {};
  return store::combinationText({first, second});
}

void formCombinations(model::RaceAnalysis& analysis, const UserSetting& setting) {
  const int axis1 = lookUp(analysis, setting.axis1);
  const int axis2 = lookUp(analysis, setting.axis2);
  std::array<int, kPartnerRuleCount> partners{};
  for (int k = 0; k < kPartnerRuleCount; ++k) {
    partners[static_cast<size_t>(k)] = lookUp(analysis, setting.partners[k]);
  }

  std::vector<std::string> trios;
  if (axis1 > 0 && axis2 > 0 && axis1 != axis2) {
    for (int partner : partners) {
      if (partner > 0 && partner != axis1 && partner != axis2) {
        trios.push_back(trioText(axis1, axis2, partner));
      }
    }
  }
  if (setting.popularityTrios) {
    const int first = lookUp(analysis, RankCriterion::kPopularity, 1);
    const int second = lookUp(analysis, RankCriterion::kPopularity, 2);
    for (int rank = 1; rank <= 2; ++rank) {
      const int best = lookUp(analysis, RankCriterion::kPointWinRate, rank);
      if (first > 0 && second > 0 && best > 0 && best != first && best != second) {
        trios.push_back(trioText(first, second, best));
      }
    }
  }

  std::vector<std::string> pairs;
  std::vector<std::string> ordered;
  if (axis1 > 0) {
    for (int partner : partners) {
      if (partner > 0 && partner != axis1) {
        pairs.push_back(pairText(axis1, partner));
        ordered.push_back(orderedText(axis1, partner));
      }
    }
    if (axis2 > 0 && axis2 != axis1) {
      pairs.push_back(pairText(axis1, axis2));
      ordered.push_back(orderedText(axis1, axis2));
    }
  }
  // A popularity trio of two equal favourites would have an empty text.
  std::erase(trios, std::string());
  sortUnique(trios);
  sortUnique(pairs);
  sortUnique(ordered);

  model::CombinationBlock& block = analysis.combinations;
  block.trioScores.tally.combinations = storeTexts(block.trio, trios);
  block.quinellaScores.tally.combinations = storeTexts(block.quinella, pairs);
  block.exactaScores.tally.combinations = storeTexts(block.exacta, ordered);
}

bool isDebutRace(std::string_view raRecord) {
  const int condition = store::ra::kConditionCodeYoungest.numberIn(raRecord);
  return condition == 701 || condition == 702;
}

void calculateCombinations(model::DayTables& tables, double oddsCeiling,
                           const UserSetting& setting) {
  clearScores(tables, /*texts=*/true);
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    if (tables.isRaceEmpty(slot)) continue;
    const int runners = std::max(0, store::ra::kRegisteredRunners.numberIn(tables.race(slot)));
    completeRanks(tables.analysis(slot), runners, oddsCeiling);
  }
  tables.zeroTallies();
  for (int slot = 0; slot < model::kRaceSlots; ++slot) {
    if (tables.isRaceEmpty(slot) || isDebutRace(tables.race(slot))) continue;
    formCombinations(tables.analysis(slot), setting);
    scoreRace(tables, slot);
  }
}

}  // namespace orvalle::betting
