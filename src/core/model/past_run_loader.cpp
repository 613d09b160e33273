#include "model/past_run_loader.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/fixed_record_file.h"
#include "store/horse_files.h"
#include "store/past_run_record.h"
#include "store/prediction_file.h"
#include "store/race_date.h"
#include "store/record.h"

namespace orvalle::model {
namespace {

namespace pr = store::past_run;

// Files of more than this many lines contribute their newest lines only.
constexpr size_t kMaxLinesRead = kPastRunSlots;

// The newest records of a file, at most kMaxLinesRead of them, read in one
// go: the block of records and their number.
std::pair<std::string, size_t> newestRecords(const store::FixedRecordFile& file) {
  const size_t count = std::min(file.count(), kMaxLinesRead);
  return {file.readRange(file.count() - count, count), count};
}

std::string_view recordOf(const std::string& block, size_t index, size_t recordSize) {
  return std::string_view(block).substr(index * recordSize, recordSize);
}

// The prediction lines of a horse that lie in the period, newest first: the
// date and racecourse (positions 1-10) and the point-win-rate rank.
struct PredictionLine {
  std::string dateAndRacecourse;
  int pointWinRateRank = 0;
};

std::vector<PredictionLine> readPredictions(const std::filesystem::path& seiFolder,
                                            std::string_view registrationNumber,
                                            const PastRunPeriod& period) {
  std::vector<PredictionLine> lines;
  auto path = store::predictionFilePath(seiFolder, registrationNumber);
  if (!path) return lines;
  auto file = store::FixedRecordFile::open(*path, store::kPredictionRecordLength);
  if (!file) return lines;
  const auto [block, count] = newestRecords(*file);
  lines.reserve(count);
  for (size_t i = count; i-- > 0;) {
    std::string_view record = recordOf(block, i, store::kPredictionRecordLength);
    if (!period.contains(store::prediction::kDate.numberIn(record))) continue;
    lines.push_back({std::string(store::prediction::kDateAndRacecourse.in(record)),
                     store::prediction::kPointWinRateRank.numberIn(record)});
  }
  return lines;
}

int32_t clampToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Adds a finishing position (1-4, 4 = 4th or worse) to the count quadruples
// that the run's track, going and distance select.
void countFinish(RaceAnalysis& analysis, int runnerSlot, std::string_view run) {
  int position = pr::kFinishingPosition.numberIn(run);
  if (position < 1) return;
  const int place = std::min(position, 4) - 1;
  const int track = pr::kTrackCode.numberIn(run);
  const int going = pr::kTurfGoingCode.numberIn(run) + pr::kDirtGoingCode.numberIn(run);
  const int distance = pr::kDistance.numberIn(run);
  const bool turf = track >= 10 && track <= 22;
  const bool dirt = track >= 23 && track <= 29;
  const bool heavy = going == 3 || going == 4;

  auto add = [&](RaceAnalysis::PerRunner<FinishCounts>& counts) {
    ++counts[runnerSlot].places[place];
  };
  add(analysis.overallCounts);
  if (turf && heavy) add(analysis.turfHeavyCounts);
  if (turf) add(analysis.turfCounts);
  if (dirt && heavy) add(analysis.dirtHeavyCounts);
  if (dirt) add(analysis.dirtCounts);
  if (distance >= 1 && distance <= 1600) add(analysis.shortDistanceCounts);
  if (distance >= 1601 && distance <= 2200) add(analysis.middleDistanceCounts);
  if (distance >= 2201) add(analysis.longDistanceCounts);
}

}  // namespace

PastRunPeriod PastRunPeriod::of(int raceDate, int periodDays, bool ignoreDates) {
  return {raceDate, store::codes::addDays(raceDate, -periodDays), ignoreDates};
}

int loadPastRuns(DayTables& tables, int raceSlot, int runnerSlot,
                 const std::filesystem::path& seiFolder, const PastRunPeriod& period) {
  RaceAnalysis& analysis = tables.analysis(raceSlot);
  analysis.resetRunnerStatistics(runnerSlot);
  const std::string registrationNumber(
      store::se::kRegistrationNumber.in(tables.runner(raceSlot, runnerSlot)));

  int taken = 0;
  int64_t earnings = 0;
  std::optional<store::FixedRecordFile> file;
  if (auto path = store::pastRunFilePath(seiFolder, registrationNumber)) {
    file = store::FixedRecordFile::open(*path, store::kPastRunRecordLength);
  }
  if (file) {
    // The prediction file is read once, when the first run is taken.
    std::optional<std::vector<PredictionLine>> predictions;
    const auto [block, count] = newestRecords(*file);
    for (size_t i = count; i-- > 0;) {
      std::string_view run = recordOf(block, i, store::kPastRunRecordLength);
      if (!period.contains(pr::kDate.numberIn(run))) continue;
      earnings += pr::kPrizeMoney.numberIn(run);
      earnings += pr::kAddedPrizeMoney.numberIn(run);
      countFinish(analysis, runnerSlot, run);
      tables.setPastRun(raceSlot, runnerSlot, taken, run);
      int32_t& mark = tables.pastRunMark(raceSlot, runnerSlot, taken);
      mark = 0;

      if (!predictions) predictions = readPredictions(seiFolder, registrationNumber, period);
      std::string_view key = pr::kDateAndRacecourse.in(run);
      auto found =
          std::find_if(predictions->begin(), predictions->end(),
                       [key](const PredictionLine& p) { return p.dateAndRacecourse == key; });
      if (found != predictions->end() &&
          (found->pointWinRateRank == 1 || found->pointWinRateRank == 2)) {
        const int position = pr::kFinishingPosition.numberIn(run);
        if (position >= 1 && position <= 3) {
          ++analysis.expectedWinCount[runnerSlot];
          mark = 1;
        } else {
          ++analysis.upsetCount[runnerSlot];
          mark = 2;
        }
      }
      ++taken;
    }
  }
  // Slots after the runs taken hold nothing of an earlier day or runner.
  for (int slot = taken; slot < kPastRunSlots; ++slot) {
    if (!store::isBlank(tables.pastRun(raceSlot, runnerSlot, slot))) {
      tables.setPastRun(raceSlot, runnerSlot, slot, {});
    }
    tables.pastRunMark(raceSlot, runnerSlot, slot) = 0;
  }

  // Prize fields are eight digits each, so a long record of junk could pass
  // the 32-bit range; the sum is held at its limit instead of wrapping.
  analysis.periodEarnings[runnerSlot] = clampToInt32(earnings);
  const int32_t expected = analysis.expectedWinCount[runnerSlot];
  const int32_t upsets = analysis.upsetCount[runnerSlot];
  if (expected + upsets >= 1) {
    analysis.upsetRate[runnerSlot] = static_cast<double>(upsets) / (expected + upsets);
  }
  return taken;
}

}  // namespace orvalle::model
