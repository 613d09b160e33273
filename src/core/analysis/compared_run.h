#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "store/past_run_record.h"

// What the comparisons read of a past-run record (an 826-byte record of a
// past-run file, or its 824-byte line): the race date, the registered
// runners, the file's horse's own result and the field of the race in
// finishing order. Short or damaged records read 0 and blanks; nothing here
// reads past the record.
namespace orvalle::analysis::run {

// The race date yyyymmdd (positions 1-8); 0 when not numeric.
inline int date(std::string_view record) { return store::past_run::kDate.numberIn(record); }

// The registered runners n: entries 1..n of the field of the race are used.
// A value outside 0..18 (only a damaged record holds one) is held to that
// range, so no entry beyond the 18 of the field is ever read.
int registeredRunners(std::string_view record);

// The file's horse's finishing position; 0 for none.
inline int ownPosition(std::string_view record) {
  return store::past_run::kFinishingPosition.numberIn(record);
}

// The file's horse's race time in tenths of a second (raceTimeInTenths).
int ownTime(std::string_view record);

// The file's horse's weight carried, 0.1 kg.
inline int ownWeight(std::string_view record) {
  return store::past_run::kWeightCarried.numberIn(record);
}

// Entry k (1-based, 1..18) of the field of the race: the 18-byte name, the
// race time in tenths and the weight carried in 0.1 kg. Throws orvalle::Error
// for k outside 1..18.
std::string_view entryName(std::string_view record, int k);
int entryTime(std::string_view record, int k);
int entryWeight(std::string_view record, int k);
// The race time and weight carried of entry k as stored (4 and 3 bytes).
std::string_view entryTimeField(std::string_view record, int k);
std::string_view entryWeightField(std::string_view record, int k);

// True when one of the entries 1..n holds the 18-byte name exactly.
bool fieldHolds(std::string_view record, int n, std::string_view name18);

}  // namespace orvalle::analysis::run

namespace orvalle::analysis::run {

// The records of a past-run file's bytes, read as a file of fixed 826-byte
// records: a short last record is padded with blanks, as
// store::FixedRecordFile reads it. Pads `fileBytes` in place; the views
// point into it.
std::vector<std::string_view> splitRecords(std::string& fileBytes);

}  // namespace orvalle::analysis::run
