#include "model/day_tables.h"

#include <algorithm>

#include "store/error.h"
#include "store/fixed_width.h"
#include "store/record.h"

namespace orvalle::model {
namespace {

inline constexpr size_t kPastRunRecordLength = 826;
inline constexpr size_t kPastRunCount =
    static_cast<size_t>(kRaceSlots) * kRunnerSlots * kPastRunSlots;

[[noreturn]] void outOfRange(const char* what, int index, int last) {
  throw Error(std::string("範囲外の番号です: ") + what + " " + std::to_string(index) + " (0-" +
              std::to_string(last) + ")");
}

int checkIndex(const char* what, int index, int count) {
  if (index < 0 || index >= count) outOfRange(what, index, count - 1);
  return index;
}

}  // namespace

bool isNewFormatDay(std::string_view stem) {
  return store::toInt(stem.substr(0, 4)) >= kNewFormatYear;
}

DayTables::DayTables()
    : m_races(kRaceSlots, store::kRaRecordLength),
      m_runners(static_cast<size_t>(kRaceSlots) * kRunnerSlots, store::kSeRecordLength),
      m_payouts(kRaceSlots, store::kHrRecordLength),
      m_pastRuns(kPastRunCount, kPastRunRecordLength),
      m_pastRunMarks(new int32_t[kPastRunCount]()),
      m_analyses(std::make_unique<CheckedArray<RaceAnalysis, kRaceSlots>>()) {}

size_t DayTables::checkedRace(int raceSlot) {
  return static_cast<size_t>(checkIndex("race", raceSlot, kRaceSlots));
}

size_t DayTables::runnerIndex(int raceSlot, int runnerSlot) {
  return checkedRace(raceSlot) * kRunnerSlots +
         static_cast<size_t>(checkIndex("runner", runnerSlot, kRunnerSlots));
}

size_t DayTables::pastRunIndex(int raceSlot, int runnerSlot, int pastRunSlot) {
  return runnerIndex(raceSlot, runnerSlot) * kPastRunSlots +
         static_cast<size_t>(checkIndex("past run", pastRunSlot, kPastRunSlots));
}

std::string_view DayTables::runner(int raceSlot, int runnerSlot) const {
  return m_runners.at(runnerIndex(raceSlot, runnerSlot));
}

void DayTables::setRunner(int raceSlot, int runnerSlot, std::string_view image) {
  m_runners.assign(runnerIndex(raceSlot, runnerSlot), image);
}

std::string_view DayTables::pastRun(int raceSlot, int runnerSlot, int pastRunSlot) const {
  return m_pastRuns.at(pastRunIndex(raceSlot, runnerSlot, pastRunSlot));
}

void DayTables::setPastRun(int raceSlot, int runnerSlot, int pastRunSlot, std::string_view image) {
  m_pastRuns.assign(pastRunIndex(raceSlot, runnerSlot, pastRunSlot), image);
}

int32_t& DayTables::pastRunMark(int raceSlot, int runnerSlot, int pastRunSlot) {
  return m_pastRunMarks[pastRunIndex(raceSlot, runnerSlot, pastRunSlot)];
}

int32_t DayTables::pastRunMark(int raceSlot, int runnerSlot, int pastRunSlot) const {
  return m_pastRunMarks[pastRunIndex(raceSlot, runnerSlot, pastRunSlot)];
}

bool DayTables::isRaceEmpty(int raceSlot) const {
  std::string_view year = store::head::kYear.in(race(raceSlot));
  return store::isBlank(year) || year == "0000";
}

int DayTables::raceSlotOfKey(std::string_view raceKey) const {
  for (int slot = 0; slot < kRaceSlots; ++slot) {
    if (!isRaceEmpty(slot) && store::raceKey(race(slot)) == raceKey) return slot;
  }
  return -1;
}

void DayTables::blankFill() {
  m_races.blankFill();
  m_runners.blankFill();
  m_payouts.blankFill();
  m_pastRuns.blankFill();
  std::fill_n(m_pastRunMarks.get(), kPastRunCount, 0);
}

void DayTables::resetAnalysesForDayLoad() {
  for (auto& analysis : *m_analyses) analysis.resetForDayLoad();
  zeroTallies();
}

}  // namespace orvalle::model
