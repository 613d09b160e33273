#include "race_run.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "horse_population.h"
#include "name_pools.h"
#include "race_field.h"

namespace orvalle::sim {
namespace {

struct ParPoint {
  int distance;
  double seconds;
};

double interpolate(const ParPoint* table, size_t size, int distance) {
  if (distance <= table[0].distance) return table[0].seconds * distance / table[0].distance;
  for (size_t i = 1; i < size; ++i) {
    if (distance <= table[i].distance) {
      const double t = static_cast<double>(distance - table[i - 1].distance) /
                       (table[i].distance - table[i - 1].distance);
      return table[i - 1].seconds + t * (table[i].seconds - table[i - 1].seconds);
    }
  }
  return table[size - 1].seconds * distance / table[size - 1].distance;
}

// Going factors: turf gets slower when wet, dirt faster.
double goingFactor(const SimRace& race) {
  static constexpr std::array<double, 5> kTurfFactors{1.0, 1.0, 1.008, 1.018, 1.03};
  static constexpr std::array<double, 5> kDirtFactors{1.0, 1.0, 0.995, 0.99, 0.988};
  if (race.plan.surface == kDirt) {
    return kDirtFactors[static_cast<size_t>(std::clamp(race.dirtGoing, 0, 4))];
  }
  return kTurfFactors[static_cast<size_t>(std::clamp(race.turfGoing, 0, 4))];
}

// Scale of the day's form around a horse's ability, in ability units.
constexpr double kFormScale = 0.75;
// Share of the par time one ability unit saves.
constexpr double kTimePerAbility = 0.008;

int roundTenths(double seconds) { return static_cast<int>(std::lround(seconds * 10)); }

// Ranks (1-based) of the values, smallest first; ties by index.
std::vector<int> ranksOf(const std::vector<double>& values) {
  std::vector<int> order(values.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&values](int a, int b) {
    return values[static_cast<size_t>(a)] < values[static_cast<size_t>(b)];
  });
  std::vector<int> ranks(values.size());
  for (size_t i = 0; i < order.size(); ++i)
    ranks[static_cast<size_t>(order[i])] = static_cast<int>(i) + 1;
  return ranks;
}

// The leader's furlong times: the first (possibly short) furlong, the middle
// ones and the last four, adding up to the winner's time.
std::vector<int> leaderLaps(int distance, int time, int last3, int last4, Rng& rng) {
  const int count = (distance + 199) / 200;
  const int first = distance - 200 * (count - 1);
  std::vector<int> laps(static_cast<size_t>(count), 0);
  const int l4 = last4 - last3;
  const int l3a = last3 / 3 - 1 + rng.between(-1, 1);
  const int l3b = last3 / 3 + rng.between(-1, 1);
  laps[static_cast<size_t>(count - 1)] = last3 - l3a - l3b;
  laps[static_cast<size_t>(count - 2)] = l3b;
  laps[static_cast<size_t>(count - 3)] = l3a;
  laps[static_cast<size_t>(count - 4)] = l4;
  int rest = time - last4;  // first furlong and the middle ones
  const int middle = count - 5;
  if (middle <= 0) {
    laps[0] = rest;
    return laps;
  }
  const double unit = rest / (middle + first / 200.0);
  laps[0] = static_cast<int>(std::lround(unit * first / 200.0)) + 5;
  rest -= laps[0];
  for (int i = 1; i <= middle; ++i) {
    const int share = i == middle ? rest : rest / (middle - i + 1) + rng.between(-2, 2);
    laps[static_cast<size_t>(i)] = share;
    rest -= share;
  }
  return laps;
}

}  // namespace

double parTime(int course, int surface, int distance) {
  static constexpr ParPoint kTurfPar[] = {
      {1000, 56.5},  {1200, 69.0},  {1400, 81.5},  {1500, 88.0},  {1600, 94.0},  {1700, 100.5},
      {1800, 107.5}, {2000, 120.0}, {2200, 133.5}, {2300, 139.5}, {2400, 145.5}, {2500, 152.0},
      {2600, 158.5}, {3000, 184.0}, {3200, 197.0}, {3400, 210.5}, {3600, 224.0}};
  static constexpr ParPoint kDirtPar[] = {
      {1000, 59.5},  {1150, 68.5},  {1200, 71.5},  {1300, 78.5},  {1400, 84.5},
      {1600, 97.0},  {1700, 104.5}, {1800, 112.5}, {1900, 119.0}, {2000, 125.5},
      {2100, 131.5}, {2400, 152.0}, {2500, 158.5}};
  // The tables hold an average runner; a race's winner is the best of its
  // field, so the par is set that much slower.
  constexpr double kField = 1.018;
  if (surface == kJumps) return kField * distance / 14.7;
  if (surface == kDirt) return kField * interpolate(kDirtPar, std::size(kDirtPar), distance);
  const double seconds = kField * interpolate(kTurfPar, std::size(kTurfPar), distance);
  // The northern courses' grass is slower.
  return course <= 2 ? seconds * 1.008 : seconds;
}

void runRace(SimRace& race, const std::vector<Horse>& horses, int day, Rng& rng) {
  const RacePlan& plan = race.plan;
  auto& runners = race.runners;
  const int n = static_cast<int>(runners.size());
  const auto& people = jockeys();

  // Late scratches, never below five starters.
  int starters = n;
  for (auto& runner : runners) {
    if (starters > 5 && rng.chance(0.008)) {
      runner.abnormality = rng.chance(0.8) ? kScratched : kExcluded;
      --starters;
    }
  }

  // Ability on the day, the weight carried counted in: 0.2 s per kilogram is
  // 0.02 s per tenth, which is 0.02 / (kTimePerAbility x par) ability units. The
  // betting knows the horse and its weight but not its form on the day.
  const double par = parTime(race.course, plan.surface, plan.distance) * goingFactor(race);
  const double formScale = kFormScale * (plan.isJump() ? 1.5 : 1.0);
  std::vector<int> field;  // indices of starters
  std::vector<double> market;
  for (int i = 0; i < n; ++i) {
    SimRunner& runner = runners[static_cast<size_t>(i)];
    if (!runner.starter()) continue;
    const Horse& horse = horses[static_cast<size_t>(runner.horse)];
    const double weight = 0.02 * (runner.weightCarried - 550) / (kTimePerAbility * par);
    const double estimate = horse.ability + HorsePopulation::ageEffect(horse, day) +
                            suitability(horse, plan) +
                            people[static_cast<size_t>(runner.jockey)].skill - weight;
    // Gumbel noise: with it the chance to run best is the softmax of the
    // estimates over the form scale, which is how the betting prices the field.
    const double gumbel = -std::log(-std::log(std::max(1e-12, rng.unit())));
    runner.performance = estimate + gumbel * formScale;
    field.push_back(i);
    market.push_back(estimate + 0.1 * rng.normal());
  }
  double total = 0;
  std::vector<double> weights;
  const double top = *std::max_element(market.begin(), market.end());
  for (double m : market) {
    weights.push_back(std::exp((m - top) / formScale));
    total += weights.back();
  }
  std::vector<double> negativeP;
  for (size_t k = 0; k < field.size(); ++k) {
    SimRunner& runner = runners[static_cast<size_t>(field[k])];
    runner.probability = weights[k] / total;
    runner.odds = std::clamp(static_cast<int>(std::floor(8.0 / runner.probability)), 10, 9999);
    negativeP.push_back(-runner.probability);
  }
  const auto popularity = ranksOf(negativeP);
  for (size_t k = 0; k < field.size(); ++k) {
    runners[static_cast<size_t>(field[k])].popularity = popularity[k];
  }

  // Times.
  std::vector<std::pair<double, int>> finish;  // continuous time, runner index
  for (int i : field) {
    SimRunner& runner = runners[static_cast<size_t>(i)];
    if (rng.chance(plan.isJump() ? 0.04 : 0.004)) {
      runner.abnormality = kStopped;
      continue;
    }
    const double seconds = par * (1.0 - kTimePerAbility * runner.performance) + 0.05 * rng.normal();
    finish.emplace_back(seconds, i);
  }
  std::stable_sort(finish.begin(), finish.end());
  const int finishers = static_cast<int>(finish.size());
  race.starters = static_cast<int>(field.size());
  race.finishers = finishers;

  // Positions from the order; one dead heat now and then.
  int deadHeat = -1;  // index in `finish` that ties with the one before it
  if (finishers >= 3 && rng.chance(0.012)) deadHeat = 1 + rng.below(std::min(4, finishers - 1));
  int lastTime = 0;
  for (int k = 0; k < finishers; ++k) {
    SimRunner& runner = runners[static_cast<size_t>(finish[static_cast<size_t>(k)].second)];
    int time = std::max(lastTime, roundTenths(finish[static_cast<size_t>(k)].first));
    if (k == deadHeat) {
      time = lastTime;
      runner.position =
          runners[static_cast<size_t>(finish[static_cast<size_t>(k - 1)].second)].position;
    } else {
      runner.position = k + 1;
    }
    runner.time = time;
    lastTime = time;
  }
  if (finishers == 0) return;

  // Pace: early positions by running style, moving towards the finishing
  // order corner by corner.
  std::vector<double> early;
  for (const auto& [seconds, i] : finish) {
    early.push_back(horses[static_cast<size_t>(runners[static_cast<size_t>(i)].horse)].style +
                    0.7 * rng.normal());
  }
  const auto earlyRank = ranksOf(early);
  const bool fourCorners = plan.isJump() || plan.distance >= 1700;
  const std::array<double, 4> fractions = fourCorners ? std::array<double, 4>{0.1, 0.25, 0.5, 0.75}
                                                      : std::array<double, 4>{0, 0, 0.45, 0.7};
  for (int c = fourCorners ? 0 : 2; c < 4; ++c) {
    std::vector<double> score;
    for (int k = 0; k < finishers; ++k) {
      score.push_back((1 - fractions[static_cast<size_t>(c)]) * earlyRank[static_cast<size_t>(k)] +
                      fractions[static_cast<size_t>(c)] * (k + 1) + 0.6 * rng.normal());
    }
    const auto rank = ranksOf(score);
    for (int k = 0; k < finishers; ++k) {
      runners[static_cast<size_t>(finish[static_cast<size_t>(k)].second)]
          .corners[static_cast<size_t>(c)] = rank[static_cast<size_t>(k)];
    }
  }

  // Last furlongs: the winner's finish fits the distance; front-runners that
  // were caught lose most of their time late, closers run the fastest finish.
  const SimRunner& winner = runners[static_cast<size_t>(finish[0].second)];
  const double winnerTime = winner.time / 10.0;
  double delta = 0;
  if (plan.isJump()) {
    delta = -1.5;
  } else if (plan.surface == kDirt) {
    delta = plan.distance <= 1400 ? 1.0 : plan.distance <= 1800 ? 0.3 : 0.0;
  } else {
    delta = plan.distance <= 1200   ? 0.8
            : plan.distance <= 1400 ? 0.0
            : plan.distance <= 1600 ? -0.6
            : plan.distance <= 2000 ? -1.3
            : plan.distance < 3000  ? -1.8
                                    : -2.5;
  }
  const double winnerLast3 = winnerTime * 600 / plan.distance + delta + 0.3 * rng.normal();
  const double spread = std::max(1, finishers - 1);
  const double winnerEarly = (earlyRank[0] - 1) / spread;
  for (int k = 0; k < finishers; ++k) {
    SimRunner& runner = runners[static_cast<size_t>(finish[static_cast<size_t>(k)].second)];
    const double time = runner.time / 10.0;
    const double r = (earlyRank[static_cast<size_t>(k)] - 1) / spread;
    const double average = time * 600 / plan.distance;
    double last3 = winnerLast3 + (time - winnerTime) * (0.85 - 0.5 * r) - 0.8 * (r - winnerEarly) +
                   0.2 * rng.normal();
    last3 = std::clamp(last3, average - 4.0, average + 4.0);
    const double furlong = (time - last3) * 200 / (plan.distance - 600);
    const double last4 = last3 + std::clamp(furlong - 0.3 + 0.15 * rng.normal(), 10.0, 14.5);
    runner.last3 = roundTenths(last3);
    runner.last4 = std::max(runner.last3 + 100, roundTenths(last4));
    const int firstCorner = runner.corners[0] > 0 ? runner.corners[0] : runner.corners[2];
    runner.runningStyle = firstCorner == 1                   ? 1
                          : firstCorner <= finishers / 3 + 1 ? 2
                          : firstCorner <= 2 * finishers / 3 ? 3
                                                             : 4;
  }
  for (int k = 0; k < finishers; ++k) {
    SimRunner& runner = runners[static_cast<size_t>(finish[static_cast<size_t>(k)].second)];
    runner.timeDiff = k == 0 && finishers > 1
                          ? runners[static_cast<size_t>(finish[1].second)].time - runner.time
                          : runner.time - winner.time;
  }
  race.laps = leaderLaps(plan.distance, winner.time, winner.last3, winner.last4, rng);

  // Prize money of the first five, shared in a dead heat.
  static constexpr std::array<int, 5> kShares{100, 40, 25, 15, 10};
  for (size_t p = 0; p < 5; ++p) {
    race.prizes[p] = plan.firstPrize * kShares[p] / 1000 * 10;
  }
  if (plan.isSpecial()) {
    static constexpr std::array<int, 3> kAdded{70, 20, 10};
    const int pool = plan.firstPrize / 40 / 10 * 10;
    for (size_t p = 0; p < 3; ++p) race.addedPrizes[p] = pool * kAdded[p] / 100;
  }
  for (int position = 1; position <= 5; ++position) {
    std::vector<SimRunner*> tied;
    for (auto& runner : runners) {
      if (runner.position == position) tied.push_back(&runner);
    }
    if (tied.empty()) continue;
    int prize = 0;
    int added = 0;
    for (size_t t = 0; t < tied.size() && position - 1 + static_cast<int>(t) < 5; ++t) {
      prize += race.prizes[static_cast<size_t>(position - 1) + t];
      added += race.addedPrizes[static_cast<size_t>(position - 1) + t];
    }
    for (SimRunner* runner : tied) {
      runner->prize = prize / static_cast<int>(tied.size());
      runner->addedPrize = added / static_cast<int>(tied.size());
    }
  }
}

}  // namespace orvalle::sim
