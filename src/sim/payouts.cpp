#include "payouts.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace orvalle::sim {
namespace {

constexpr int kMaxHorses = 18;

// Win probabilities by horse number and the Harville probabilities built on them.
class Harville {
 public:
  explicit Harville(const SimRace& race) {
    for (const auto& runner : race.runners) {
      if (runner.starter()) {
        m_p[static_cast<size_t>(runner.horseNumber)] = runner.probability;
        m_horses.push_back(runner.horseNumber);
      }
    }
  }

  const std::vector<int>& horses() const { return m_horses; }
  double win(int a) const { return m_p[static_cast<size_t>(a)]; }
  double exacta(int a, int b) const { return win(a) * win(b) / std::max(1e-12, 1 - win(a)); }
  double trifecta(int a, int b, int c) const {
    return exacta(a, b) * win(c) / std::max(1e-12, 1 - win(a) - win(b));
  }
  double quinella(int a, int b) const { return exacta(a, b) + exacta(b, a); }
  double trio(int a, int b, int c) const {
    return trifecta(a, b, c) + trifecta(a, c, b) + trifecta(b, a, c) + trifecta(b, c, a) +
           trifecta(c, a, b) + trifecta(c, b, a);
  }
  double quinellaPlace(int a, int b) const {
    double sum = 0;
    for (int c : m_horses) {
      if (c != a && c != b) sum += trio(a, b, c);
    }
    return sum;
  }
  double place(int a, int places) const {
    double sum = win(a);
    for (int b : m_horses) {
      if (b == a) continue;
      sum += exacta(b, a);
      if (places < 3) continue;
      for (int c : m_horses) {
        if (c != a && c != b) sum += trifecta(b, c, a);
      }
    }
    return sum;
  }

 private:
  std::array<double, kMaxHorses + 1> m_p{};
  std::vector<int> m_horses;
};

// 1 + the number of values above `value`.
int rankAmong(const std::vector<double>& values, double value) {
  int rank = 1;
  for (double v : values) {
    if (v > value * (1 + 1e-12)) ++rank;
  }
  return rank;
}

int payoutFor(double probability, double take, double share, Rng& rng) {
  const double yen =
      100.0 * take / std::max(probability, 1e-9) * share * std::exp(0.1 * rng.normal());
  const double rounded = std::floor(yen / 10) * 10;
  return static_cast<int>(std::clamp(rounded, 100.0, 999999990.0));
}

// The finishing position of every horse number, 0 for none.
std::array<int, kMaxHorses + 1> positionsOf(const SimRace& race) {
  std::array<int, kMaxHorses + 1> positions{};
  for (const auto& runner : race.runners) {
    if (runner.finisher() && runner.horseNumber >= 1 && runner.horseNumber <= kMaxHorses) {
      positions[static_cast<size_t>(runner.horseNumber)] = runner.position;
    }
  }
  return positions;
}

// The sets of `size` horses that can form the first `size` places: no horse
// outside the set finished ahead of a member. Ordered by positions, then numbers.
std::vector<std::vector<int>> topSets(const std::array<int, kMaxHorses + 1>& positions, int size) {
  std::vector<int> candidates;
  for (int h = 1; h <= kMaxHorses; ++h) {
    if (positions[static_cast<size_t>(h)] >= 1 && positions[static_cast<size_t>(h)] <= size) {
      candidates.push_back(h);
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(), [&positions](int a, int b) {
    return positions[static_cast<size_t>(a)] < positions[static_cast<size_t>(b)];
  });
  std::vector<std::vector<int>> sets;
  std::vector<int> chosen;
  std::function<void(size_t)> extend = [&](size_t from) {
    if (static_cast<int>(chosen.size()) == size) {
      for (int member : chosen) {
        for (int other : candidates) {
          if (std::find(chosen.begin(), chosen.end(), other) == chosen.end() &&
              positions[static_cast<size_t>(other)] < positions[static_cast<size_t>(member)]) {
            return;
          }
        }
      }
      sets.push_back(chosen);
      return;
    }
    for (size_t i = from; i < candidates.size(); ++i) {
      chosen.push_back(candidates[i]);
      extend(i + 1);
      chosen.pop_back();
    }
  };
  extend(0);
  return sets;
}

std::array<int, 3> ascending(std::vector<int> numbers) {
  std::sort(numbers.begin(), numbers.end());
  std::array<int, 3> result{};
  for (size_t i = 0; i < numbers.size() && i < 3; ++i) result[i] = numbers[i];
  return result;
}

void cap(std::vector<PayoutLine>& lines, size_t entries) {
  if (lines.size() > entries) lines.resize(entries);
}

}  // namespace

RacePayouts computePayouts(const SimRace& race, Rng& rng) {
  RacePayouts payouts;
  const Harville model(race);
  const auto& horses = model.horses();
  const auto positions = positionsOf(race);
  payouts.placesPaid = race.starters <= 7 ? 2 : 3;
  std::array<int, kMaxHorses + 1> bracket{};
  std::array<int, kMaxHorses + 1> popularity{};
  std::array<int, kMaxHorses + 1> odds{};
  for (const auto& runner : race.runners) {
    bracket[static_cast<size_t>(runner.horseNumber)] = runner.bracket;
    popularity[static_cast<size_t>(runner.horseNumber)] = runner.popularity;
    odds[static_cast<size_t>(runner.horseNumber)] = runner.odds;
  }

  // Win and place.
  const auto winners = topSets(positions, 1);
  for (const auto& set : winners) {
    const int h = set[0];
    const int payout = odds[static_cast<size_t>(h)] * 10 / static_cast<int>(winners.size());
    payouts.win.push_back(
        {{h, 0, 0}, std::max(100, payout / 10 * 10), popularity[static_cast<size_t>(h)]});
  }
  std::vector<double> placeProbabilities;
  for (int h : horses) placeProbabilities.push_back(model.place(h, payouts.placesPaid));
  std::vector<int> placed;
  for (int p = 1; p <= payouts.placesPaid; ++p) {
    for (int h = 1; h <= kMaxHorses; ++h) {
      if (positions[static_cast<size_t>(h)] == p) placed.push_back(h);
    }
  }
  for (int h : placed) {
    const double probability = model.place(h, payouts.placesPaid);
    payouts.place.push_back({{h, 0, 0},
                             payoutFor(probability, 0.8,
                                       static_cast<double>(payouts.placesPaid) /
                                           std::max<size_t>(placed.size(), payouts.placesPaid),
                                       rng),
                             rankAmong(placeProbabilities, probability)});
  }

  // Pairs.
  std::vector<double> quinellas;
  std::vector<double> exactas;
  std::vector<double> quinellaPlaces;
  for (int a : horses) {
    for (int b : horses) {
      if (a == b) continue;
      exactas.push_back(model.exacta(a, b));
      if (a < b) {
        quinellas.push_back(model.quinella(a, b));
        quinellaPlaces.push_back(model.quinellaPlace(a, b));
      }
    }
  }
  const auto pairs = topSets(positions, 2);
  for (const auto& set : pairs) {
    const double probability = model.quinella(set[0], set[1]);
    payouts.quinella.push_back(
        {ascending(set),
         payoutFor(probability, 0.775, 1.0 / static_cast<double>(pairs.size()), rng),
         rankAmong(quinellas, probability)});
    for (int order = 0; order < 2; ++order) {
      const int first = order == 0 ? set[0] : set[1];
      const int second = order == 0 ? set[1] : set[0];
      if (positions[static_cast<size_t>(first)] > positions[static_cast<size_t>(second)]) continue;
      const double p = model.exacta(first, second);
      payouts.exacta.push_back(
          {{first, second, 0}, payoutFor(p, 0.75, 1.0, rng), rankAmong(exactas, p)});
    }
  }
  for (auto& line : payouts.exacta) {
    line.payout = std::max(100, line.payout / static_cast<int>(payouts.exacta.size()) / 10 * 10);
  }

  // Bracket quinella: sold only with nine or more horses entered.
  if (race.runners.size() >= 9) {
    std::vector<std::pair<int, int>> bracketPairs;
    std::vector<double> bracketProbabilities;
    for (int x = 1; x <= 8; ++x) {
      for (int y = x; y <= 8; ++y) {
        double sum = 0;
        for (int a : horses) {
          for (int b : horses) {
            if (a < b &&
                ((bracket[static_cast<size_t>(a)] == x && bracket[static_cast<size_t>(b)] == y) ||
                 (bracket[static_cast<size_t>(a)] == y && bracket[static_cast<size_t>(b)] == x))) {
              sum += model.quinella(a, b);
            }
          }
        }
        if (sum > 0) {
          bracketPairs.emplace_back(x, y);
          bracketProbabilities.push_back(sum);
        }
      }
    }
    for (const auto& set : pairs) {
      const int x =
          std::min(bracket[static_cast<size_t>(set[0])], bracket[static_cast<size_t>(set[1])]);
      const int y =
          std::max(bracket[static_cast<size_t>(set[0])], bracket[static_cast<size_t>(set[1])]);
      const std::array<int, 3> numbers{x, y, 0};
      bool seen = false;
      for (const auto& line : payouts.bracketQuinella) seen = seen || line.numbers == numbers;
      if (seen) continue;
      const auto it = std::find(bracketPairs.begin(), bracketPairs.end(), std::make_pair(x, y));
      const double p = bracketProbabilities[static_cast<size_t>(it - bracketPairs.begin())];
      payouts.bracketQuinella.push_back(
          {numbers, payoutFor(p, 0.775, 1.0, rng), rankAmong(bracketProbabilities, p)});
    }
    for (auto& line : payouts.bracketQuinella) {
      line.payout =
          std::max(100, line.payout / static_cast<int>(payouts.bracketQuinella.size()) / 10 * 10);
    }
  }

  // Triples and the pairs within the first three.
  const auto triples = topSets(positions, 3);
  std::vector<double> trios;
  std::vector<double> trifectas;
  for (int a : horses) {
    for (int b : horses) {
      for (int c : horses) {
        if (a == b || a == c || b == c) continue;
        trifectas.push_back(model.trifecta(a, b, c));
        if (a < b && b < c) trios.push_back(model.trio(a, b, c));
      }
    }
  }
  for (const auto& set : triples) {
    const double p = model.trio(set[0], set[1], set[2]);
    payouts.trio.push_back({ascending(set),
                            payoutFor(p, 0.75, 1.0 / static_cast<double>(triples.size()), rng),
                            rankAmong(trios, p)});
    std::vector<int> order = set;
    std::sort(order.begin(), order.end());
    do {
      if (positions[static_cast<size_t>(order[0])] <= positions[static_cast<size_t>(order[1])] &&
          positions[static_cast<size_t>(order[1])] <= positions[static_cast<size_t>(order[2])]) {
        const double q = model.trifecta(order[0], order[1], order[2]);
        payouts.trifecta.push_back({{order[0], order[1], order[2]},
                                    payoutFor(q, 0.725, 1.0, rng),
                                    rankAmong(trifectas, q)});
      }
    } while (std::next_permutation(order.begin(), order.end()));
    for (size_t i = 0; i < 3; ++i) {
      for (size_t j = i + 1; j < 3; ++j) {
        const std::array<int, 3> numbers = ascending({set[i], set[j]});
        bool seen = false;
        for (const auto& line : payouts.quinellaPlace) seen = seen || line.numbers == numbers;
        if (seen) continue;
        const double q = model.quinellaPlace(numbers[0], numbers[1]);
        payouts.quinellaPlace.push_back(
            {numbers, payoutFor(q, 0.775, 1.0, rng), rankAmong(quinellaPlaces, q)});
      }
    }
  }
  for (auto& line : payouts.trifecta) {
    line.payout = std::max(100, line.payout / static_cast<int>(payouts.trifecta.size()) / 10 * 10);
  }
  if (payouts.quinellaPlace.size() > 3) {
    for (auto& line : payouts.quinellaPlace) {
      line.payout =
          std::max(100, static_cast<int>(line.payout * 3 / payouts.quinellaPlace.size()) / 10 * 10);
    }
  }

  cap(payouts.win, 3);
  cap(payouts.place, 5);
  cap(payouts.bracketQuinella, 3);
  cap(payouts.quinella, 3);
  cap(payouts.quinellaPlace, 7);
  cap(payouts.exacta, 6);
  cap(payouts.trio, 3);
  cap(payouts.trifecta, 6);
  return payouts;
}

}  // namespace orvalle::sim
