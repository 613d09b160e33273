#include "analysis/compared_run.h"

#include <algorithm>

#include "analysis/comparison_rule.h"
#include "store/error.h"
#include "store/fixed_width.h"

namespace orvalle::analysis::run {
namespace {

namespace entry = store::past_run::entry;

std::string_view entryOf(std::string_view record, int k) {
  if (k < 1 || k > store::kRaceRunnerSlots) {
    throw Error(store::format("着順欄の番号が範囲外です: %d (1-18)", k));
  }
  return store::past_run::fieldEntry(k - 1).in(record);
}

}  // namespace

int registeredRunners(std::string_view record) {
  return std::clamp(store::past_run::kRegisteredRunners.numberIn(record), 0,
                    store::kRaceRunnerSlots);
}

int ownTime(std::string_view record) {
  return raceTimeInTenths(store::past_run::kRaceTime.in(record));
}

std::string_view entryName(std::string_view record, int k) {
  return entry::kHorseName.in(entryOf(record, k));
}

int entryTime(std::string_view record, int k) {
  return raceTimeInTenths(entry::kRaceTime.in(entryOf(record, k)));
}

int entryWeight(std::string_view record, int k) {
  return entry::kWeightCarried.numberIn(entryOf(record, k));
}

std::string_view entryTimeField(std::string_view record, int k) {
  return entry::kRaceTime.in(entryOf(record, k));
}

std::string_view entryWeightField(std::string_view record, int k) {
  return entry::kWeightCarried.in(entryOf(record, k));
}

bool fieldHolds(std::string_view record, int n, std::string_view name18) {
  for (int k = 1; k <= std::min(n, store::kRaceRunnerSlots); ++k) {
    if (entryName(record, k) == name18) return true;
  }
  return false;
}

}  // namespace orvalle::analysis::run

namespace orvalle::analysis::run {

std::vector<std::string_view> splitRecords(std::string& fileBytes) {
  const size_t size = store::kPastRunRecordLength;
  const size_t count = (fileBytes.size() + size - 1) / size;
  fileBytes.resize(count * size, ' ');
  std::vector<std::string_view> records;
  records.reserve(count);
  const std::string_view bytes(fileBytes);
  for (size_t i = 0; i < count; ++i) records.push_back(bytes.substr(i * size, size));
  return records;
}

}  // namespace orvalle::analysis::run
