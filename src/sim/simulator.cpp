#include "simulator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <system_error>
#include <vector>

#include "calendar_date.h"
#include "horse_population.h"
#include "name_pools.h"
#include "payouts.h"
#include "race.h"
#include "race_calendar.h"
#include "race_field.h"
#include "race_run.h"
#include "record_writer.h"
#include "rng.h"
#include "store/atomic_file.h"
#include "store/cp932.h"
#include "store/error.h"
#include "store/fixed_width.h"

namespace orvalle::sim {
namespace {

namespace fs = std::filesystem;

// Data kinds of the records of each delivery.
constexpr char kEntriesKind = '1';
constexpr char kRaceCardKind = '2';
constexpr char kFinalKind = '7';
constexpr char kFinalPayoutKind = '2';
constexpr char kRealTimeKind = '5';
constexpr char kRealTimePayoutKind = '1';

int courseRegion(int course) {
  if (course <= 2) return 0;  // the northern summer courses take both
  return course <= 6 ? 1 : 2;
}

// Weather and going of one racecourse on one day.
struct Going {
  int weather = 1;
  int turf = 1;
  int dirt = 1;
};

Going drawGoing(int month, Rng& rng) {
  const bool winter = month == 12 || month <= 2;
  const std::array<double, 6> weatherWeights{
      0.5, 0.3, 0.08, 0.08, winter ? 0.02 : 0.0, winter ? 0.02 : 0.0};
  Going going;
  going.weather = 1 + rng.weighted(weatherWeights);
  std::array<double, 4> turf{0.85, 0.12, 0.03, 0.0};
  std::array<double, 4> dirt{0.75, 0.18, 0.05, 0.02};
  if (going.weather == 3) {
    turf = {0.1, 0.35, 0.35, 0.2};
    dirt = {0.05, 0.3, 0.4, 0.25};
  } else if (going.weather == 4 || going.weather >= 5) {
    turf = {0.4, 0.4, 0.15, 0.05};
    dirt = {0.3, 0.45, 0.2, 0.05};
  }
  going.turf = 1 + rng.weighted(turf);
  going.dirt = 1 + rng.weighted(dirt);
  return going;
}

// Stamp "yyyymmddhhnnss" of a day number and a time of day in seconds.
std::string timestamp(int day, int seconds) {
  return store::format("%08d%02d%02d%02d", dateOfDayNumber(day), seconds / 3600, seconds / 60 % 60,
                       seconds % 60);
}

class Simulation {
 public:
  explicit Simulation(const SimulationOptions& options)
      : m_options(options),
        m_days(buildRaceDays(options.startDate, options.days)),
        m_rng(options.seed),
        m_population(m_days.front().day, m_rng) {}

  SimulationSummary run() {
    prepareFolders();
    m_summary.days = static_cast<int>(m_days.size());
    m_summary.firstDate = m_days.front().date;
    m_summary.lastDate = m_days.back().date;
    size_t begin = 0;
    while (begin < m_days.size()) {
      const int saturday = m_days[begin].day - m_days[begin].dayInWeekend;
      size_t end = begin;
      while (end < m_days.size() && m_days[end].day - m_days[end].dayInWeekend == saturday) ++end;
      runWeekend(begin, end);
      if (m_options.progress) {
        const int date = m_days[end - 1].date;
        m_options.progress(
            {static_cast<int>(end),
             static_cast<int>(m_days.size()),
             store::format("%04d年%02d月%02d日", date / 10000, date / 100 % 100, date % 100),
             {}});
      }
      begin = end;
    }
    m_summary.horses = static_cast<int>(std::count(m_seen.begin(), m_seen.end(), true));
    return m_summary;
  }

 private:
  void prepareFolders() {
    const fs::path& out = m_options.outputFolder;
    std::error_code error;
    for (const char* name : {"RACEDIFF", "0B12"}) {
      const fs::path folder = out / name;
      if (fs::exists(folder, error) && !fs::is_empty(folder, error)) {
        throw Error("出力先には既にデータがあります: " + folder.string());
      }
      fs::create_directories(folder, error);
      if (error)
        throw Error("フォルダを作成できません: " + folder.string() + " (" + error.message() + ")");
    }
  }

  void runWeekend(size_t begin, size_t end) {
    std::vector<std::vector<SimRace>> racesOfDay;
    for (size_t d = begin; d < end; ++d) racesOfDay.push_back(runDay(m_days[d]));
    writeWeekend(begin, end, racesOfDay);
  }

  std::vector<SimRace> runDay(const RaceDay& day) {
    const int year = yearOf(day.day);
    const int month = monthOf(day.day);
    m_population.enterYear(year, m_rng);
    m_population.seasonalRetirements(day.day, m_rng);
    auto& horses = m_population.horses();
    if (m_seen.size() < horses.size()) m_seen.resize(horses.size(), false);

    std::vector<int> pool;
    std::vector<int> everyone;
    for (int i = 0; i < static_cast<int>(horses.size()); ++i) {
      const Horse& horse = horses[static_cast<size_t>(i)];
      if (horse.retired || horse.debutDay > day.day) continue;
      everyone.push_back(i);
      if (horse.readyDay <= day.day + 7) pool.push_back(i);
    }

    // Jockeys go to one course of the day, of their region where they can.
    const size_t slots = day.meetings.size();
    std::vector<std::vector<int>> jockeysAt(slots);
    const auto& people = jockeys();
    for (int j = 0; j < static_cast<int>(people.size()); ++j) {
      const Person& person = people[static_cast<size_t>(j)];
      if (person.jumps) {
        for (auto& list : jockeysAt) list.push_back(j);
        continue;
      }
      std::vector<size_t> fitting;
      for (size_t s = 0; s < slots; ++s) {
        const int region = courseRegion(day.meetings[s].course);
        if (region == 0 || region == person.region) fitting.push_back(s);
      }
      if (fitting.empty()) {
        for (size_t s = 0; s < slots; ++s) fitting.push_back(s);
      }
      jockeysAt[fitting[static_cast<size_t>(m_rng.below(static_cast<int>(fitting.size())))]]
          .push_back(j);
    }
    std::vector<Going> goings;
    for (size_t s = 0; s < slots; ++s) goings.push_back(drawGoing(month, m_rng));

    std::vector<SimRace> races;
    for (int raceNumber = 1; raceNumber <= 12; ++raceNumber) {
      for (size_t s = 0; s < slots; ++s) {
        const int slot = static_cast<int>(s);
        RacePlan plan = planRace(day, slot, raceNumber, m_rng);
        std::vector<int> field = chooseField(plan, day.day, pool, horses, m_rng);
        for (int step = 0; step < 4 && field.size() < 5; ++step) {
          plan = fallbackPlan(plan, day, slot, raceNumber, m_rng);
          field = chooseField(plan, day.day, pool, horses, m_rng);
        }
        if (field.size() < 5) field = chooseField(plan, day.day, everyone, horses, m_rng, 3);
        if (field.size() < 5) {
          throw Error(store::format("%08d: 出走できる馬が足りません", day.date));
        }
        for (int index : field) horses[static_cast<size_t>(index)].busyDay = day.day;

        SimRace race;
        race.date = day.date;
        race.course = day.meetings[s].course;
        race.meeting = day.meetings[s].meeting;
        race.dayOfMeeting = day.meetings[s].dayOfMeeting;
        race.raceNumber = raceNumber;
        race.weekdayCode = day.weekdayCode;
        race.plan = std::move(plan);
        race.weather = goings[s].weather;
        const bool turf = race.plan.surface != kDirt;
        const bool dirt = race.plan.surface == kDirt || race.plan.track == 52;
        race.turfGoing = turf ? goings[s].turf : 0;
        race.dirtGoing = dirt ? goings[s].dirt : 0;
        enterRunners(race, field, horses, jockeysAt[s], day.day, m_rng);
        runRace(race, horses, day.day, m_rng);
        weighAndRecord(race, day.day);
        race.payouts = computePayouts(race, m_rng);
        races.push_back(std::move(race));
      }
    }
    // Files list the races by racecourse, then race number.
    std::stable_sort(races.begin(), races.end(),
                     [](const SimRace& a, const SimRace& b) { return a.key() < b.key(); });
    return races;
  }

  // Horse weights on the day, then each horse's record after the race.
  void weighAndRecord(SimRace& race, int day) {
    auto& horses = m_population.horses();
    for (auto& runner : race.runners) {
      Horse& horse = horses[static_cast<size_t>(runner.horse)];
      m_seen[static_cast<size_t>(runner.horse)] = true;
      if (!runner.starter()) {
        horse.readyDay = day + 7 + m_rng.below(14);
        continue;
      }
      if (m_rng.chance(0.0005)) {
        runner.horseWeight = 999;  // not weighed
      } else {
        runner.horseWeight = horse.bodyWeight + static_cast<int>(std::lround(3.5 * m_rng.normal()));
        runner.weightChangeKnown = horse.lastWeight > 0;
        runner.weightChange = runner.horseWeight - horse.lastWeight;
        horse.lastWeight = runner.horseWeight;
      }
      ++horse.starts;
      if (runner.position == 1) ++(horse.jumper ? horse.jumpWins : horse.wins);
      m_population.afterRun(runner.horse, day, runner.finisher(), m_rng);
    }
  }

  void addRecords(std::string& content, const SimRace& race, RecordStage stage, char kind,
                  char payoutKind, int creationDate) {
    const auto& horses = m_population.horses();
    content += raRecord(race, stage, kind, creationDate);
    std::vector<size_t> order(race.runners.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    if (stage == RecordStage::kEntries) {
      // Entry lists come before the draw: by registration number.
      std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return horses[static_cast<size_t>(race.runners[a].horse)].registration <
               horses[static_cast<size_t>(race.runners[b].horse)].registration;
      });
    }
    for (size_t i : order) content += seRecord(race, i, horses, stage, kind, creationDate);
    if (stage == RecordStage::kResults) content += hrRecord(race, payoutKind, creationDate);
  }

  void writeWeekend(size_t begin, size_t end, const std::vector<std::vector<SimRace>>& racesOfDay) {
    const int saturday = m_days[begin].day - m_days[begin].dayInWeekend;
    const int lastDay = m_days[end - 1].day;
    const bool finalWeekend = end == m_days.size();
    const int resultsDay = lastDay + 1;

    // A race whose first results carry a wrong horse weight, corrected by a
    // later file.
    const SimRace* corrected = nullptr;
    size_t correctedRunner = 0;
    if (m_rng.chance(0.3)) {
      const size_t dayCount = racesOfDay.size() - (finalWeekend ? 1 : 0);
      if (dayCount > 0) {
        const auto& races =
            racesOfDay[static_cast<size_t>(m_rng.below(static_cast<int>(dayCount)))];
        corrected = &races[static_cast<size_t>(m_rng.below(static_cast<int>(races.size())))];
        correctedRunner =
            static_cast<size_t>(m_rng.below(static_cast<int>(corrected->runners.size())));
        if (!corrected->runners[correctedRunner].starter()) corrected = nullptr;
      }
    }

    for (size_t k = 0; k < racesOfDay.size(); ++k) {
      const int date = m_days[begin + k].date;
      const int seconds = static_cast<int>(k) * 10;
      std::string entries;
      std::string card;
      for (const auto& race : racesOfDay[k]) {
        addRecords(entries, race, RecordStage::kEntries, kEntriesKind, ' ',
                   dateOfDayNumber(saturday - 2));
        addRecords(card, race, RecordStage::kRaceCard, kRaceCardKind, ' ',
                   dateOfDayNumber(saturday - 1));
      }
      writeDelivery(timestamp(saturday - 2, 15 * 3600 + seconds), "entries", date, entries);
      writeDelivery(timestamp(saturday - 1, 15 * 3600 + seconds), "card", date, card);
    }
    for (size_t k = 0; k < racesOfDay.size(); ++k) {
      const int date = m_days[begin + k].date;
      const bool lastOfAll = finalWeekend && k + 1 == racesOfDay.size();
      std::string results;
      for (const auto& race : racesOfDay[k]) {
        ++m_summary.races;
        m_summary.runners += static_cast<int>(race.runners.size());
        if (lastOfAll) {
          addRecords(results, race, RecordStage::kResults, kRealTimeKind, kRealTimePayoutKind,
                     date);
        } else if (&race == corrected) {
          SimRace wrong = race;
          SimRunner& runner = wrong.runners[correctedRunner];
          runner.horseWeight += 10;
          runner.weightChange += 10;
          addRecords(results, wrong, RecordStage::kResults, kFinalKind, kFinalPayoutKind,
                     dateOfDayNumber(resultsDay));
        } else {
          addRecords(results, race, RecordStage::kResults, kFinalKind, kFinalPayoutKind,
                     dateOfDayNumber(resultsDay));
        }
      }
      if (lastOfAll) {
        write(m_options.outputFolder / "0B12" / store::format("%08d.txt", date), results);
      } else {
        writeDelivery(timestamp(resultsDay, 17 * 3600 + static_cast<int>(k) * 10), "results", date,
                      results);
      }
    }
    if (corrected != nullptr) {
      std::string content;
      addRecords(content, *corrected, RecordStage::kResults, kFinalKind, kFinalPayoutKind,
                 dateOfDayNumber(resultsDay + 1));
      writeDelivery(timestamp(resultsDay + 1, 12 * 3600), "correction", corrected->date, content);
    }
  }

  void writeDelivery(const std::string& stamp, const char* text, int date,
                     const std::string& content) {
    write(m_options.outputFolder / "RACEDIFF" /
              store::format("%s_%s_%08d.txt", stamp.c_str(), text, date),
          content);
  }

  void write(const fs::path& path, const std::string& content) {
    store::writeFileAtomicallyOrThrow(path, content);
    ++m_summary.files;
    m_summary.bytes += content.size();
  }

  SimulationOptions m_options;
  std::vector<RaceDay> m_days;
  Rng m_rng;
  HorsePopulation m_population;
  SimulationSummary m_summary;
  std::vector<bool> m_seen;
};

}  // namespace

SimulationSummary simulate(const SimulationOptions& options) {
  if (options.outputFolder.empty()) throw Error("出力先フォルダが指定されていません");
  Simulation simulation(options);
  return simulation.run();
}

}  // namespace orvalle::sim
