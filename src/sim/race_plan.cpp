#include "race_plan.h"

#include <array>
#include <cmath>
#include <iterator>
#include <string_view>
#include <vector>

#include "name_pools.h"

namespace orvalle::sim {
namespace {

// Kinds of race on a card: newcomer, maiden, one-win and open races for
// 2-year-olds (…2) and 3-year-olds (…3), the classes of older horses and
// jump races.
enum Kind { kN2, kM2, kW2, kO2, kN3, kM3, kW3, kO3, kC1, kC2, kC3, kCO, kJ, kMain };

struct KindWeight {
  Kind kind;
  double weight;
};

// The card of a day by season: for races 1-12 the kinds of race with their
// weights. Seasons: January-February, March, April-May, June-August,
// September, October-December.
const std::vector<KindWeight>& cardChoices(int season, int raceNumber) {
  static const auto kCards = [] {
    struct Text {
      std::string_view code;
      Kind kind;
    };
    const std::array<Text, 14> codes{{{"N2", kN2},
                                      {"M2", kM2},
                                      {"W2", kW2},
                                      {"O2", kO2},
                                      {"N3", kN3},
                                      {"M3", kM3},
                                      {"W3", kW3},
                                      {"O3", kO3},
                                      {"C1", kC1},
                                      {"C2", kC2},
                                      {"C3", kC3},
                                      {"CO", kCO},
                                      {"J", kJ},
                                      {"O", kMain}}};
    const std::array<std::array<std::string_view, 12>, 6> kTexts{{
        {"M3", "M3", "M3", "J:4 M3:6", "N3:5 M3:5", "W3:6 C1:4", "C1", "C1:5 C2:5", "W3:4 C2:6",
         "C2:5 C3:5", "O", "C1:6 C2:4"},
        {"M3", "M3", "M3", "J:4 M3:6", "N3:3 M3:7", "W3", "C1", "C1:5 C2:5", "W3:4 C2:6",
         "C2:5 C3:5", "O", "C1:6 C2:4"},
        {"M3", "M3", "M3", "J:4 M3:6", "C1:5 W3:5", "W3", "C1", "C2:6 C1:4", "C2:6 W3:4",
         "C3:6 O3:4", "O", "C1:5 C2:5"},
        {"M3", "M2:5 M3:5", "M3", "J:4 M3:6", "N2", "N2:4 C1:6", "C1", "C1:5 C2:5", "C2:7 W2:3",
         "C2:4 C3:6", "O", "C1:6 C2:4"},
        {"M2", "M3:5 M2:5", "M2:5 M3:5", "J:4 M2:6", "N2", "N2:5 C1:5", "C1", "C1:5 C2:5",
         "W2:4 C2:6", "C3", "O", "C1:6 C2:4"},
        {"M2", "M2", "M2", "J:4 M2:6", "N2", "N2:5 C1:5", "C1", "C1:5 C2:5", "W2:4 C2:6",
         "C3:6 O2:4", "O", "C1:6 C2:4"},
    }};
    std::array<std::array<std::vector<KindWeight>, 12>, 6> cards;
    for (size_t s = 0; s < kTexts.size(); ++s) {
      for (size_t r = 0; r < 12; ++r) {
        std::string_view text = kTexts[s][r];
        while (!text.empty()) {
          const size_t end = std::min(text.find(' '), text.size());
          const std::string_view item = text.substr(0, end);
          text.remove_prefix(std::min(end + 1, text.size()));
          const size_t colon = item.find(':');
          const std::string_view code = item.substr(0, colon);
          const double weight = colon == std::string_view::npos
                                    ? 1.0
                                    : std::stod(std::string(item.substr(colon + 1)));
          for (const auto& c : codes) {
            if (c.code == code) cards[s][r].push_back({c.kind, weight});
          }
        }
      }
    }
    return cards;
  }();
  return kCards.at(static_cast<size_t>(season)).at(static_cast<size_t>(raceNumber - 1));
}

int seasonOf(int month) {
  if (month <= 2) return 0;
  if (month == 3) return 1;
  if (month <= 5) return 2;
  if (month <= 8) return 3;
  if (month == 9) return 4;
  return 5;
}

// Distances run at each racecourse (index = code) on turf, dirt and jumps.
const std::vector<int>& distances(int course, int surface) {
  static const std::array<std::array<std::vector<int>, 3>, 11> kDistances{{
      {{{}, {}, {}}},
      {{{1200, 1500, 1800, 2000, 2600}, {1000, 1700, 2400}, {}}},
      {{{1200, 1800, 2000, 2600}, {1000, 1700, 2400}, {}}},
      {{{1200, 1800, 2000, 2600}, {1150, 1700, 2400}, {2750, 3380}}},
      {{{1000, 1200, 1400, 1600, 1800, 2000, 2200, 2400}, {1200, 1800, 2500}, {2850, 3250}}},
      {{{1400, 1600, 1800, 2000, 2300, 2400, 2500, 3400}, {1300, 1400, 1600, 2100}, {3000, 3110}}},
      {{{1200, 1600, 1800, 2000, 2200, 2500, 3600}, {1200, 1800, 2400, 2500}, {2880, 3200, 3570}}},
      {{{1200, 1400, 1600, 2000, 2200}, {1200, 1400, 1800, 1900}, {3000, 3300}}},
      {{{1200, 1400, 1600, 1800, 2000, 2200, 2400, 3000, 3200},
        {1200, 1400, 1800, 1900},
        {2910, 3170}}},
      {{{1200, 1400, 1600, 1800, 2000, 2200, 2400, 3000, 3200},
        {1200, 1400, 1800, 2000},
        {2970, 3110, 3140}}},
      {{{1200, 1700, 1800, 2000, 2600}, {1000, 1700, 2400}, {2860, 3390}}},
  }};
  return kDistances.at(static_cast<size_t>(course)).at(static_cast<size_t>(surface));
}

bool hasJumps(int course) { return !distances(course, kJumps).empty(); }

// A distance of the racecourse, weighted around `centre` metres.
int chooseDistance(int course, int surface, int centre, Rng& rng) {
  const auto& list = distances(course, surface);
  std::vector<double> weights;
  for (int d : list) {
    const double z = (d - centre) / 650.0;
    weights.push_back(std::exp(-z * z) * (d >= 2900 && surface != kJumps ? 0.3 : 1.0) + 0.02);
  }
  return list[static_cast<size_t>(rng.weighted(weights))];
}

const char* pick(Rng& rng, std::initializer_list<std::pair<const char*, double>> choices) {
  std::vector<double> weights;
  for (const auto& c : choices) weights.push_back(c.second);
  return (choices.begin() + rng.weighted(weights))->first;
}

std::string raceSymbol(const RacePlan& plan, Rng& rng) {
  if (plan.isJump()) return pick(rng, {{"A00", 0.4}, {"001", 0.3}, {"A01", 0.3}});
  if (plan.fillies) {
    if (plan.grade >= 'A' && plan.grade <= 'C') {
      return pick(rng, {{"A24", 0.5}, {"N21", 0.25}, {"N20", 0.25}});
    }
    return pick(rng, {{"A23", 0.5}, {"023", 0.2}, {"A24", 0.2}, {"A20", 0.1}});
  }
  if (plan.grade >= 'A' && plan.grade <= 'C') {
    return pick(rng, {{"N04", 0.4}, {"N01", 0.2}, {"A04", 0.2}, {"N00", 0.2}});
  }
  if (plan.grade == 'E') return pick(rng, {{"A04", 0.4}, {"004", 0.2}, {"A03", 0.2}, {"N00", 0.2}});
  if (plan.raceType == 11 || plan.raceType == 12) {
    return pick(rng, {{"A03", 0.6}, {"A01", 0.2}, {"003", 0.2}});
  }
  return pick(rng, {{"A03", 0.3}, {"A00", 0.2}, {"A01", 0.2}, {"003", 0.15}, {"001", 0.15}});
}

int fieldTarget(const RacePlan& plan, Rng& rng) {
  if (plan.isJump()) return rng.between(7, 14);
  if (plan.grade >= 'A' && plan.grade <= 'C') return rng.between(12, 18);
  static const std::array<double, 14> kWeights{1, 1.5, 2, 3, 3, 4, 5, 6, 7, 9, 9, 12, 6, 10};
  return 5 + rng.weighted(kWeights);
}

int firstPrize(const RacePlan& plan) {
  const bool young = plan.raceType == 11 || plan.raceType == 12;
  const bool special = plan.grade == 'E';
  if (plan.isJump()) return plan.condition == kMaiden ? 75000 : special ? 180000 : 150000;
  switch (plan.grade) {
    case 'A':
      return plan.raceType == 11 ? 700000 : young ? 1500000 : 2000000;
    case 'B':
      return young ? 540000 : 620000;
    case 'C':
      return young ? 380000 : 410000;
    default:
      break;
  }
  switch (plan.condition) {
    case kNewcomer:
      return plan.raceType == 11 ? 72000 : 55000;
    case kMaiden:
      return 55000;
    case kOneWin:
      return (young ? 80000 : 78000) + (special ? 10000 : 0);
    case kTwoWins:
      return special ? 125000 : 112000;
    case kThreeWins:
      return special ? 182000 : 154000;
    default:
      return young ? 200000 : 240000;
  }
}

int startTime(int slot, int raceNumber) {
  static const std::array<int, 12> kBase{950,  1020, 1050, 1120, 1210, 1240,
                                         1310, 1340, 1415, 1450, 1530, 1610};
  static const std::array<int, 3> kEarly{5, 0, 10};
  static const std::array<int, 3> kLate{10, 0, -15};
  const int base = kBase.at(static_cast<size_t>(raceNumber - 1));
  const int offset = (raceNumber <= 8 ? kEarly : kLate).at(static_cast<size_t>(std::min(slot, 2)));
  const int minutes = base / 100 * 60 + base % 100 + offset;
  return minutes / 60 * 100 + minutes % 60;
}

// Fills the plan's fields that follow from its kind and surface.
void completePlan(RacePlan& plan, const RaceDay& day, int slot, int raceNumber, int centre,
                  Rng& rng) {
  const int course = day.meetings.at(static_cast<size_t>(slot)).course;
  if (plan.distance == 0) plan.distance = chooseDistance(course, plan.surface, centre, rng);
  plan.track = trackCode(course, plan.surface, plan.distance);
  plan.courseLane = plan.surface == kDirt ? ' '
                    : day.weekend < 2     ? 'A'
                    : day.weekend < 4     ? 'B'
                                          : 'C';
  plan.symbol = raceSymbol(plan, rng);
  plan.firstPrize = firstPrize(plan);
  plan.fieldTarget = fieldTarget(plan, rng);
  plan.startTime = startTime(slot, raceNumber);
  if (plan.isSpecial()) {
    plan.specialNumber =
        1 + static_cast<int>(
                mixHash(static_cast<uint64_t>(course), static_cast<uint64_t>(day.period),
                        static_cast<uint64_t>(day.weekend), static_cast<uint64_t>(raceNumber)) %
                9000);
  }
}

RacePlan planOfKind(Kind kind, bool special, const RaceDay& day, int slot, int raceNumber,
                    Rng& rng) {
  const int month = day.date / 100 % 100;
  const int course = day.meetings.at(static_cast<size_t>(slot)).course;
  RacePlan plan;
  plan.distance = 0;
  const int olderType = month <= 5 ? 14 : 13;
  // Race type (0: by season), condition and distance centre of each kind
  // but the jump and main races.
  struct KindShape {
    int raceType;
    int condition;
    int centre;
  };
  static constexpr KindShape kShapes[] = {
      {11, kNewcomer, 1500}, {11, kMaiden, 1500}, {11, kOneWin, 1600},   {11, kOpen, 1600},
      {12, kNewcomer, 1600}, {12, kMaiden, 1600}, {12, kOneWin, 1800},   {12, kOpen, 1900},
      {0, kOneWin, 1700},    {0, kTwoWins, 1700}, {0, kThreeWins, 1800}, {0, kOpen, 1800},
  };
  static_assert(std::size(kShapes) == kJ);
  int centre = 1700;
  if (kind == kJ) {
    plan.raceType = month <= 3 ? 19 : 18;
    plan.condition = rng.chance(0.6) ? kMaiden : kOpen;
    plan.surface = kJumps;
  } else if (kind != kMain) {
    const KindShape& shape = kShapes[kind];
    plan.raceType = shape.raceType != 0 ? shape.raceType : olderType;
    plan.condition = shape.condition;
    centre = shape.centre;
  }
  if (!plan.isJump()) {
    double dirt = plan.condition == kNewcomer || plan.condition == kMaiden ? 0.45
                  : plan.condition == kOneWin                              ? 0.5
                  : plan.condition == kTwoWins                             ? 0.45
                  : plan.condition == kThreeWins                           ? 0.35
                                                                           : 0.25;
    if (course <= 2) dirt *= 0.7;
    if (special && raceNumber == 11) dirt *= 0.6;
    plan.surface = rng.chance(dirt) ? kDirt : kTurf;
    plan.fillies = rng.chance(0.12);
  }
  if (special) plan.grade = 'E';
  const bool young = plan.raceType == 11 || plan.raceType == 12;
  if (plan.isJump()) {
    plan.weightType = plan.condition == kMaiden ? '4' : '2';
  } else if (plan.condition == kNewcomer || plan.condition == kMaiden || young) {
    plan.weightType = plan.condition == kOpen ? '2' : '3';
  } else if (plan.condition == kOpen) {
    plan.weightType = rng.chance(0.4) ? '1' : '2';
  } else {
    plan.weightType = special && rng.chance(plan.condition == kThreeWins ? 0.3 : 0.15) ? '1' : '4';
  }
  if (special) {
    plan.name = specialRaceName(course, day.period, day.weekend, day.dayInWeekend, raceNumber,
                                plan.condition == kOpen || plan.condition == kThreeWins);
  }
  completePlan(plan, day, slot, raceNumber, centre, rng);
  return plan;
}

// The kind actually run: kinds out of season become their nearest kind in
// season (no 3-year-old maidens after early September, no 2-year-old races
// before June ...).
Kind inSeason(Kind kind, int month, int dayOfMonth, int course) {
  const bool lateSeason = month > 9 || (month == 9 && dayOfMonth >= 10);
  switch (kind) {
    case kN3:
      return month <= 3 ? kN3 : lateSeason ? kM2 : kM3;
    case kM3:
      return lateSeason ? kM2 : kM3;
    case kM2:
      return month >= 7 ? kM2 : kM3;
    case kN2:
      return month >= 6 ? kN2 : kM3;
    case kW2:
      return month >= 8 ? kW2 : kC1;
    case kO2:
      return month >= 9 ? kO2 : kC2;
    case kW3:
      return month <= 5 ? kW3 : kC1;
    case kO3:
      return month <= 5 ? kO3 : kCO;
    case kJ:
      if (hasJumps(course)) return kJ;
      return lateSeason ? kM2 : month >= 7 ? kM3 : kM3;
    default:
      return kind;
  }
}

}  // namespace

int RacePlan::minAge() const {
  switch (raceType) {
    case 11:
      return 2;
    case 12:
    case 13:
    case 18:
      return 3;
    default:
      return 4;
  }
}

int RacePlan::maxAge() const {
  switch (raceType) {
    case 11:
      return 2;
    case 12:
      return 3;
    default:
      return 99;
  }
}

int trackCode(int course, int surface, int distance) {
  const bool left = course == 4 || course == 5 || course == 7;
  if (surface == kDirt) return left ? 23 : 24;
  if (surface == kJumps) {
    switch (course) {
      case 5:
        return 53;
      case 6:
        return 51;
      case 3:
      case 10:
        return 52;
      default:
        return 54;
    }
  }
  if (course == 4) {
    if (distance == 1000) return 10;
    return distance == 1600 || distance == 1800 || distance == 2400 ? 12 : 11;
  }
  if (left) return 11;
  switch (course) {
    case 6:
      return distance == 1200 || distance == 1600 || distance == 2200 ? 18 : 17;
    case 8:
      return distance >= 1600 && distance != 2000 ? 18 : 17;
    case 9:
      if (distance == 3200) return 20;
      return distance == 1600 || distance == 1800 || distance == 2400 ? 18 : 17;
    default:
      return 17;
  }
}

RacePlan planRace(const RaceDay& day, int courseSlot, int raceNumber, Rng& rng) {
  const int month = day.date / 100 % 100;
  const int dayOfMonth = day.date % 100;
  const int season = seasonOf(month);
  const int course = day.meetings.at(static_cast<size_t>(courseSlot)).course;
  const auto& choices = cardChoices(season, raceNumber);
  std::vector<double> weights;
  for (const auto& c : choices) weights.push_back(c.weight);
  Kind kind = choices[static_cast<size_t>(rng.weighted(weights))].kind;

  if (kind == kMain) {
    if (const GradedRace* graded =
            gradedRaceAt(day.period, day.weekend, day.dayInWeekend, course)) {
      RacePlan plan;
      plan.raceType = graded->raceType;
      plan.condition = kOpen;
      plan.fillies = graded->fillies;
      plan.surface = graded->surface;
      plan.distance = graded->distance;
      plan.weightType = graded->weightType;
      plan.grade = graded->grade;
      plan.name = gradedRaceName(*graded);
      plan.running = day.date / 10000 - graded->firstYear + 1;
      completePlan(plan, day, courseSlot, raceNumber, graded->distance, rng);
      return plan;
    }
    const double r = rng.unit();
    if (season <= 2) {
      kind = r < 0.25 ? kO3 : r < 0.45 ? kC3 : kCO;
    } else if (season == 5) {
      kind = r < 0.15 ? kO2 : r < 0.4 ? kC3 : kCO;
    } else {
      kind = r < 0.35 ? kC3 : kCO;
    }
  }
  kind = inSeason(kind, month, dayOfMonth, course);
  const bool special = kind != kJ && (raceNumber == 11 ||
                                      ((raceNumber == 9 || raceNumber == 10) && rng.chance(0.9)));
  return planOfKind(kind, special, day, courseSlot, raceNumber, rng);
}

RacePlan fallbackPlan(const RacePlan& plan, const RaceDay& day, int courseSlot, int raceNumber,
                      Rng& rng) {
  RacePlan relaxed = plan;
  if (plan.fillies) {
    relaxed.fillies = false;
    relaxed.symbol = raceSymbol(relaxed, rng);
    return relaxed;
  }
  const int month = day.date / 100 % 100;
  const int olderType = month <= 5 ? 14 : 13;
  const bool young = plan.raceType == 11 || plan.raceType == 12;
  if (plan.isJump()) return planOfKind(kC1, false, day, courseSlot, raceNumber, rng);
  switch (plan.condition) {
    case kNewcomer:
      relaxed.condition = kMaiden;
      break;
    case kMaiden:
      relaxed.raceType = olderType;
      relaxed.condition = kOneWin;
      break;
    case kOneWin:
      if (young) {
        relaxed.condition = plan.raceType == 12 && month <= 9 ? kMaiden : kOneWin;
        if (relaxed.condition == kOneWin) relaxed.raceType = olderType;
      } else {
        relaxed.condition = kTwoWins;  // the one-win class is the largest; try the next
      }
      break;
    case kTwoWins:
      relaxed.condition = kOneWin;
      break;
    case kThreeWins:
      relaxed.condition = kTwoWins;
      break;
    default:
      relaxed.condition = young ? kOneWin : kThreeWins;
      break;
  }
  relaxed.firstPrize = firstPrize(relaxed);
  relaxed.symbol = raceSymbol(relaxed, rng);
  if (relaxed.weightType == '3' && !(relaxed.raceType == 11 || relaxed.raceType == 12)) {
    relaxed.weightType = '4';
  }
  return relaxed;
}

}  // namespace orvalle::sim
