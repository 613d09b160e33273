#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/race_analysis.h"
#include "model/record_table.h"
#include "store/checked_array.h"

namespace orvalle::model {

// Day tallies of one bet type: races scored, hits, return and stake, and two
// counters that are only zeroed.
struct DayTally {
  int32_t races = 0;
  int32_t hits = 0;
  int32_t payoutReturn = 0;
  int32_t stake = 0;
  int32_t spare1 = 0;
  int32_t spare2 = 0;

  bool operator==(const DayTally&) const = default;
};

// Days from this year on are of the new format (the new-format flag of the
// day tables): KOL predicted odds of races of at most 8 runners then take
// the full quinella layout.
inline constexpr int kNewFormatYear = 2005;

// Whether a day stem "yyyy年mm月dd日" (or any text starting with its year)
// is of the new format.
bool isNewFormatDay(std::string_view stem);

// The bet types of the day tallies, in their order.
enum class TallyBetType { kQuinella, kQuinellaPlace, kExacta, kTrio };
inline constexpr int kTallyBetTypeCount = 4;

// Everything known about the loaded race day: the race, runner and payout
// tables (record images as stored in the day files), one race analysis
// record per race slot, the past runs of every runner with their prediction
// marks, and the day state. One object per loaded day, owned by whoever runs
// the commands (the GUI's main window, a CLI command); there are no globals.
// Sized for the largest race day: 36 races of 18 runners with 100 past runs
// each. Every index is checked; an index out of range throws orvalle::Error.
class DayTables {
 public:
  DayTables();
  DayTables(const DayTables&) = delete;
  DayTables& operator=(const DayTables&) = delete;

  // Record images: RA 1272 bytes, SE 555, HR 719, past run 826 (CR LF
  // included, as in the files).
  std::string_view race(int raceSlot) const { return m_races.at(checkedRace(raceSlot)); }
  std::string_view runner(int raceSlot, int runnerSlot) const;
  std::string_view payout(int raceSlot) const { return m_payouts.at(checkedRace(raceSlot)); }
  std::string_view pastRun(int raceSlot, int runnerSlot, int pastRunSlot) const;

  void setRace(int raceSlot, std::string_view image) {
    m_races.assign(checkedRace(raceSlot), image);
  }
  void setRunner(int raceSlot, int runnerSlot, std::string_view image);
  void setPayout(int raceSlot, std::string_view image) {
    m_payouts.assign(checkedRace(raceSlot), image);
  }
  void setPastRun(int raceSlot, int runnerSlot, int pastRunSlot, std::string_view image);

  // Past-run prediction mark: 0 none, 1 expected win, 2 upset.
  int32_t& pastRunMark(int raceSlot, int runnerSlot, int pastRunSlot);
  int32_t pastRunMark(int raceSlot, int runnerSlot, int pastRunSlot) const;

  RaceAnalysis& analysis(int raceSlot) { return (*m_analyses)[raceSlot]; }
  const RaceAnalysis& analysis(int raceSlot) const { return (*m_analyses)[raceSlot]; }

  DayTally& tally(TallyBetType type) { return m_tallies[static_cast<int>(type)]; }
  const DayTally& tally(TallyBetType type) const { return m_tallies[static_cast<int>(type)]; }
  void zeroTallies() { m_tallies.fill(DayTally{}); }

  // A race slot is empty when the year of its RA image is blank or "0000".
  bool isRaceEmpty(int raceSlot) const;

  // The race slot whose RA image has the given 16-byte race key, or -1.
  int raceSlotOfKey(std::string_view raceKey) const;

  // Blank-fills the race, runner, payout and past-run tables and zeroes the
  // past-run prediction marks, for all slots.
  void blankFill();

  // Resets every race analysis record as choosing a date does
  // (RaceAnalysis::resetForDayLoad) and zeroes the day tallies.
  void resetAnalysesForDayLoad();

  // Day state.
  int currentRace = 0;
  bool newFormat = false;  // the loaded day is of the new format (isNewFormatDay)

 private:
  static size_t checkedRace(int raceSlot);
  static size_t runnerIndex(int raceSlot, int runnerSlot);
  static size_t pastRunIndex(int raceSlot, int runnerSlot, int pastRunSlot);

  RecordTable m_races;
  RecordTable m_runners;
  RecordTable m_payouts;
  RecordTable m_pastRuns;
  std::unique_ptr<int32_t[]> m_pastRunMarks;
  std::unique_ptr<CheckedArray<RaceAnalysis, kRaceSlots>> m_analyses;
  CheckedArray<DayTally, kTallyBetTypeCount> m_tallies;
};

}  // namespace orvalle::model
