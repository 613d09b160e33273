#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "horse.h"
#include "rng.h"

namespace orvalle::sim {

// The horses in training: a population that starts with horses of every age
// and racing history, takes in a new crop of 2-year-olds each year and
// retires horses by age, by failure to win and by chance.
class HorsePopulation {
 public:
  // Horses per crop. Sized so that the racing calendar fills its fields.
  static constexpr int kCropSize = 2400;

  // A population as it stands on `startDay` (a day number): crops of
  // 2-year-olds to 9-year-olds with plausible classes and starts.
  HorsePopulation(int startDay, Rng& rng);

  std::vector<Horse>& horses() { return m_horses; }
  const std::vector<Horse>& horses() const { return m_horses; }

  // Makes sure the crop born in `year - 2` exists; the 2-year-olds of a year
  // arrive on its first race day and debut from June on.
  void enterYear(int year, Rng& rng);

  // The retirements of the season on a race day: 3-year-olds still without a
  // win leave in September (a few stay to run against winners).
  void seasonalRetirements(int day, Rng& rng);

  // After a run of horse `index`: drift of ability, growth, gelding, a turn to
  // jump racing, retirement, and the day of its next possible start.
  void afterRun(int index, int day, bool finished, Rng& rng);

  // The ability of a horse on `day` corrected by its age: young horses are
  // still growing, old ones decline.
  static double ageEffect(const Horse& horse, int day);

 private:
  int addHorse(int birthYear, Rng& rng);
  std::string newName(Rng& rng);
  void setDebutDay(Horse& horse, Rng& rng);

  std::vector<Horse> m_horses;
  std::unordered_set<std::string> m_names;  // only looked up, never iterated
  std::vector<int> m_cropYears;             // birth years already added
  std::vector<int> m_serialOfYear;          // per birth year since 1990: next serial
  int m_maidenCutYear = 0;
};

}  // namespace orvalle::sim
