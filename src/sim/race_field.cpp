#include "race_field.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "calendar_date.h"
#include "horse_population.h"
#include "name_pools.h"

namespace orvalle::sim {
namespace {

bool classFits(const RacePlan& plan, const Horse& horse, int day, int strictness) {
  if (plan.isJump()) {
    if (plan.condition == kMaiden) return horse.jumpWins == 0;
    return strictness >= 1 || horse.jumpWins >= 1;
  }
  const bool young = plan.raceType == 11 || plan.raceType == 12;
  switch (plan.condition) {
    case kNewcomer:
      return horse.starts == 0;
    case kMaiden:
      // Unraced horses run maiden races only once the newcomer races are over.
      return horse.wins == 0 && (horse.starts > 0 || (plan.raceType == 12 && monthOf(day) >= 4));
    case kOneWin:
      return horse.wins == 1 || (strictness >= 1 && horse.wins == 0 && horse.starts > 0);
    case kTwoWins:
      return horse.wins == 2 || (strictness >= 1 && horse.wins == 1);
    case kThreeWins:
      return horse.wins == 3 || (strictness >= 1 && horse.wins == 2);
    default:
      if (young) return horse.wins >= 2 || (strictness >= 1 && horse.wins == 1);
      return horse.wins >= 4 || (strictness >= 1 && horse.wins == 3);
  }
}

// Standard weight by age and sex for races of fixed weights.
int standardWeight(const RacePlan& plan, const SimRunner& runner, int month) {
  int weight = 0;
  if (plan.isJump()) {
    weight = 600;
  } else if (plan.raceType == 11) {
    weight = 550;
  } else if (plan.raceType == 12) {
    weight = 570;
  } else if (runner.age == 3) {
    weight = month <= 8 ? 550 : 560;
  } else {
    weight = 580;
  }
  if (runner.sex == 2) weight -= plan.raceType == 11 ? 10 : 20;
  return weight;
}

}  // namespace

double suitability(const Horse& horse, const RacePlan& plan) {
  double fit = 0;
  if (plan.surface == kTurf && horse.surfaceBias > 0) fit -= horse.surfaceBias;
  if (plan.surface == kDirt && horse.surfaceBias < 0) fit += horse.surfaceBias;
  const double ratio = std::log(static_cast<double>(plan.distance) / horse.bestDistance) / 0.25;
  if (!plan.isJump()) fit -= std::min(1.2, 0.35 * ratio * ratio);
  return fit;
}

bool mayRun(const RacePlan& plan, const Horse& horse, int day, int strictness) {
  if (horse.retired || horse.busyDay == day || horse.debutDay > day) return false;
  if (strictness < 3 && horse.readyDay > day + (strictness >= 2 ? 7 : 0)) return false;
  if (plan.isJump() != horse.jumper) return false;
  const int age = horse.age(yearOf(day));
  if (age < plan.minAge() || age > plan.maxAge()) return false;
  if (plan.fillies && horse.sex != 2) return false;
  return strictness >= 3 || classFits(plan, horse, day, strictness);
}

std::vector<int> chooseField(const RacePlan& plan, int day, const std::vector<int>& pool,
                             const std::vector<Horse>& horses, Rng& rng, int maxStrictness) {
  std::vector<int> field;
  for (int strictness = 0;
       strictness <= maxStrictness && static_cast<int>(field.size()) < plan.fieldTarget;
       ++strictness) {
    std::vector<std::pair<double, int>> scored;
    for (int index : pool) {
      const Horse& horse = horses[static_cast<size_t>(index)];
      if (!mayRun(plan, horse, day, strictness)) continue;
      if (std::find(field.begin(), field.end(), index) != field.end()) continue;
      const double waited = std::min(60, day - horse.readyDay) * 0.03;
      const double score = waited + 1.5 * suitability(horse, plan) + rng.unit() * 1.5;
      scored.emplace_back(-score, index);
    }
    const size_t wanted = static_cast<size_t>(plan.fieldTarget) - field.size();
    const size_t take = std::min(wanted, scored.size());
    std::partial_sort(scored.begin(), scored.begin() + static_cast<std::ptrdiff_t>(take),
                      scored.end());
    for (size_t i = 0; i < take; ++i) field.push_back(scored[i].second);
    // A class race with too few horses of its class stays small rather than
    // mixing classes, as long as it has a field at all.
    if (field.size() >= 5 && strictness == 0 && rng.chance(0.5)) break;
    if (field.size() >= 5 && strictness >= 2) break;
  }
  return field;
}

int bracketOf(int horseNumber, int runners) {
  if (runners <= 8) return horseNumber;
  const int base = runners / 8;
  const int extra = runners % 8;
  // Brackets 1..(8 - extra) hold `base` horses, the outer ones base + 1.
  const int inner = (8 - extra) * base;
  if (horseNumber <= inner) return (horseNumber - 1) / base + 1;
  return 8 - extra + (horseNumber - inner - 1) / (base + 1) + 1;
}

void enterRunners(SimRace& race, const std::vector<int>& field, const std::vector<Horse>& horses,
                  const std::vector<int>& jockeysHere, int day, Rng& rng) {
  const RacePlan& plan = race.plan;
  const int n = static_cast<int>(field.size());
  const int year = yearOf(day);
  const int month = monthOf(day);

  // The draw: horse numbers in random order.
  std::vector<int> order(field.begin(), field.end());
  for (int i = n - 1; i > 0; --i)
    std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(rng.below(i + 1))]);

  race.runners.assign(static_cast<size_t>(n), SimRunner{});
  std::vector<double> estimate(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    SimRunner& runner = race.runners[static_cast<size_t>(i)];
    const Horse& horse = horses[static_cast<size_t>(order[static_cast<size_t>(i)])];
    runner.horse = order[static_cast<size_t>(i)];
    runner.horseNumber = i + 1;
    runner.bracket = bracketOf(i + 1, n);
    runner.age = horse.age(year);
    runner.sex = horse.sex;
    runner.blinkers = horse.blinkers;
    estimate[static_cast<size_t>(i)] =
        horse.ability + HorsePopulation::ageEffect(horse, day) + suitability(horse, plan);
  }

  // Jockeys: the better-rated horses choose first, each from three offers.
  std::vector<int> byEstimate(static_cast<size_t>(n));
  std::iota(byEstimate.begin(), byEstimate.end(), 0);
  std::stable_sort(byEstimate.begin(), byEstimate.end(), [&estimate](int a, int b) {
    return estimate[static_cast<size_t>(a)] > estimate[static_cast<size_t>(b)];
  });
  const auto& people = jockeys();
  std::vector<bool> riding(people.size(), false);
  std::vector<int> available;
  for (int j : jockeysHere) {
    if (people[static_cast<size_t>(j)].jumps == plan.isJump()) available.push_back(j);
  }
  for (int i : byEstimate) {
    if (available.empty()) {
      // More runners than jockeys at the course: any free jockey of the kind.
      for (size_t j = 0; j < people.size(); ++j) {
        if (!riding[j] && people[j].jumps == plan.isJump())
          available.push_back(static_cast<int>(j));
      }
    }
    size_t best = static_cast<size_t>(rng.below(static_cast<int>(available.size())));
    for (int offer = 1; offer < 3; ++offer) {
      const size_t other = static_cast<size_t>(rng.below(static_cast<int>(available.size())));
      if (people[static_cast<size_t>(available[other])].skill >
          people[static_cast<size_t>(available[best])].skill) {
        best = other;
      }
    }
    SimRunner& runner = race.runners[static_cast<size_t>(i)];
    runner.jockey = available[best];
    runner.apprenticeCode = people[static_cast<size_t>(runner.jockey)].apprenticeCode;
    riding[static_cast<size_t>(runner.jockey)] = true;
    available.erase(available.begin() + static_cast<std::ptrdiff_t>(best));
  }

  // Weights carried.
  const double mean = std::accumulate(estimate.begin(), estimate.end(), 0.0) / n;
  double spread = 0;
  for (double e : estimate) spread += (e - mean) * (e - mean);
  spread = std::sqrt(spread / n) + 0.2;
  for (int i = 0; i < n; ++i) {
    SimRunner& runner = race.runners[static_cast<size_t>(i)];
    const Horse& horse = horses[static_cast<size_t>(runner.horse)];
    int weight = standardWeight(plan, runner, month);
    switch (plan.weightType) {
      case '1': {
        const double z = (estimate[static_cast<size_t>(i)] - mean) / spread;
        weight = std::clamp(550 + 5 * static_cast<int>(std::lround(z * 4 + rng.normal())) +
                                (runner.sex == 2 ? -10 : 0),
                            480, 600);
        break;
      }
      case '2':
        weight += 10 * std::min(3, plan.isJump() ? horse.jumpWins
                                                 : std::max(0, horse.wins - 3) + rng.below(2));
        break;
      default:
        break;
    }
    if (plan.grade == ' ' && plan.condition != kNewcomer) weight -= 10 * runner.apprenticeCode;
    runner.weightCarried = weight;
  }
}

}  // namespace orvalle::sim
