#include "horse_population.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "calendar_date.h"
#include "name_pools.h"
#include "store/fixed_width.h"

namespace orvalle::sim {
namespace {

// Share of a crop still in training at each age (index), as the population
// stands when the simulation starts.
constexpr std::array<double, 10> kSurvival{0, 0, 1.0, 0.85, 0.5, 0.36, 0.24, 0.14, 0.07, 0.03};

int clampInt(double value, int low, int high) {
  return std::clamp(static_cast<int>(std::lround(value)), low, high);
}

}  // namespace

HorsePopulation::HorsePopulation(int startDay, Rng& rng) {
  const int year = yearOf(startDay);
  for (int age = 9; age >= 2; --age) {
    const int birthYear = year - age;
    m_cropYears.push_back(birthYear);
    const int count = static_cast<int>(kCropSize * kSurvival[static_cast<size_t>(age)]);
    for (int i = 0; i < count; ++i) {
      Horse& horse = m_horses[static_cast<size_t>(addHorse(birthYear, rng))];
      const double careerYears = (startDay - dayNumber(birthYear + 2, 6, 1)) / 365.0;
      if (careerYears <= 0 || horse.debutDay > startDay) continue;
      // A horse that has raced before the start: wins by ability and time.
      const double wins = 1.1 * horse.ability + 0.9 * careerYears - 0.3 + 0.5 * rng.normal();
      horse.starts = std::max(1, clampInt(careerYears * 7 * (0.6 + 0.4 * rng.unit()), 1, 60));
      horse.wins = std::min(horse.starts, std::max(0, static_cast<int>(std::floor(wins))));
      horse.lastWeight = horse.bodyWeight;
      horse.readyDay = startDay + rng.below(42);
      if (horse.wins == 0 && careerYears > 1.3) horse.retired = true;
      if (age >= 4 && rng.chance(0.07)) {
        horse.jumper = true;
        horse.jumpWins = rng.chance(0.4) ? rng.between(1, 3) : 0;
      }
    }
  }
}

void HorsePopulation::enterYear(int year, Rng& rng) {
  const int birthYear = year - 2;
  if (std::find(m_cropYears.begin(), m_cropYears.end(), birthYear) != m_cropYears.end()) return;
  m_cropYears.push_back(birthYear);
  for (auto& horse : m_horses) {
    if (horse.age(year) >= 10) horse.retired = true;
  }
  for (int i = 0; i < kCropSize; ++i) addHorse(birthYear, rng);
}

void HorsePopulation::seasonalRetirements(int day, Rng& rng) {
  const int year = yearOf(day);
  if (monthOf(day) < 9 || (monthOf(day) == 9 && dayOfMonthOf(day) < 10)) return;
  if (m_maidenCutYear == year) return;
  m_maidenCutYear = year;
  for (auto& horse : m_horses) {
    if (!horse.retired && !horse.jumper && horse.wins == 0 && horse.age(year) == 3 &&
        rng.chance(0.8)) {
      horse.retired = true;
    }
  }
}

void HorsePopulation::afterRun(int index, int day, bool finished, Rng& rng) {
  Horse& horse = m_horses.at(static_cast<size_t>(index));
  const int age = horse.age(yearOf(day));
  horse.ability += 0.04 * rng.normal();
  if (age <= 3) horse.bodyWeight += rng.below(3);
  if (horse.sex == 1 && age >= 3 && rng.chance(0.006)) horse.sex = 3;
  if (!horse.jumper && age >= 4 && horse.wins <= 2 && rng.chance(0.02)) horse.jumper = true;
  double retire = 0.012;
  if (age >= 7) retire += 0.05;
  if (age >= 8) retire += 0.1;
  if (!finished) retire += 0.15;
  if (horse.starts >= 30 && horse.wins <= 1) retire += 0.1;
  if (age >= 10 || rng.chance(retire)) horse.retired = true;
  horse.readyDay = day + 21 + rng.below(36);
}

double HorsePopulation::ageEffect(const Horse& horse, int day) {
  struct Point {
    double age;
    double effect;
  };
  static constexpr std::array<Point, 10> kCurve{{{2.0, -0.8},
                                                 {2.5, -0.45},
                                                 {3.0, -0.15},
                                                 {3.5, 0.05},
                                                 {4.0, 0.15},
                                                 {5.0, 0.2},
                                                 {6.0, 0.05},
                                                 {7.0, -0.2},
                                                 {9.0, -0.6},
                                                 {11.0, -1.0}}};
  const double age = (day - dayNumber(horse.birthYear, 4, 1)) / 365.25;
  if (age <= kCurve.front().age) return kCurve.front().effect;
  for (size_t i = 1; i < kCurve.size(); ++i) {
    if (age <= kCurve[i].age) {
      const double t = (age - kCurve[i - 1].age) / (kCurve[i].age - kCurve[i - 1].age);
      return kCurve[i - 1].effect + t * (kCurve[i].effect - kCurve[i - 1].effect);
    }
  }
  return kCurve.back().effect;
}

int HorsePopulation::addHorse(int birthYear, Rng& rng) {
  Horse horse;
  const size_t yearSlot = static_cast<size_t>(std::max(0, birthYear - 1990));
  if (m_serialOfYear.size() <= yearSlot) m_serialOfYear.resize(yearSlot + 1, 0);
  const int serial = m_serialOfYear[yearSlot]++;
  horse.registration = store::format("%04d%06d", birthYear, 100000 + serial * 3 + rng.below(3));
  horse.name = newName(rng);
  horse.birthYear = birthYear;
  horse.sex = rng.chance(0.5) ? 1 : 2;
  static constexpr std::array<double, 7> kCoats{25, 3, 35, 18, 8, 3, 8};
  horse.coat = 1 + rng.weighted(kCoats);
  horse.ability = rng.normal();
  horse.surfaceBias = 0.45 * rng.normal();
  horse.bestDistance =
      std::clamp(clampInt((1650 + 450 * rng.normal()) / 100, 10, 32) * 100, 1000, 3200);
  static constexpr std::array<double, 4> kStyles{15, 35, 32, 18};
  horse.style = 1 + rng.weighted(kStyles);
  horse.bodyWeight = clampInt(470 + 24 * rng.normal() - (horse.sex == 2 ? 12 : 0), 400, 560);
  horse.blinkers = rng.chance(0.1);
  horse.trainer = rng.below(static_cast<int>(trainers().size()));
  horse.owner = rng.below(static_cast<int>(owners().size()));
  setDebutDay(horse, rng);
  horse.readyDay = horse.debutDay;
  m_horses.push_back(std::move(horse));
  return static_cast<int>(m_horses.size()) - 1;
}

void HorsePopulation::setDebutDay(Horse& horse, Rng& rng) {
  // First starts from June of the 2-year-old season to March of the next.
  static constexpr std::array<double, 10> kMonths{8, 11, 12, 12, 12, 12, 10, 9, 8, 6};
  const int k = rng.weighted(kMonths);
  const int month = k < 7 ? 6 + k : k - 6;
  const int year = horse.birthYear + (k < 7 ? 2 : 3);
  horse.debutDay = dayNumber(year, month, 1) + rng.below(28);
}

std::string HorsePopulation::newName(Rng& rng) {
  const auto& prefixes = horseNamePrefixes();
  const auto& words = horseNameWords();
  const auto& syllables = katakanaSyllables();
  auto pick = [&rng](const std::vector<std::string>& list) -> const std::string& {
    return list[static_cast<size_t>(rng.below(static_cast<int>(list.size())))];
  };
  for (int attempt = 0;; ++attempt) {
    std::string name;
    const double r = rng.unit();
    if (attempt < 40 && r < 0.45) {
      name = pick(prefixes) + pick(words);
    } else if (attempt < 40 && r < 0.8) {
      name = pick(words) + pick(words);
    } else if (attempt < 40 && r < 0.9) {
      name = pick(words);
    } else {
      const int length = rng.between(3, 9);
      for (int i = 0; i < length; ++i) name += pick(syllables);
    }
    const size_t chars = name.size() / 2;
    if (chars < 2 || chars > 9) continue;
    if (m_names.insert(name).second) return name;
  }
}

}  // namespace orvalle::sim
