#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/two_horse_comparison.h"
#include "store/error.h"

// The checks the two-horse and the head-to-head comparison share.
namespace orvalle::analysis::checks {

// Today's weights of a request in tenths of a kilogram.
struct TodayWeights {
  int a = 0;
  int b = 0;
};

// Check 1, both names given: "２頭の馬名の入力をしてください。".
Status namesGiven(const ComparisonRequest& request);

// Check 2, both weights given: "斤量の情報が入力されていません。" when a weight
// label is blank or not a number; otherwise the weights are stored in
// `weights`.
Status weightsGiven(const ComparisonRequest& request, TodayWeights& weights);

// The past-run file of a registration number when it exists; nullopt when it
// is missing or the number cannot name a file.
std::optional<std::filesystem::path> existingPastRunFile(const std::filesystem::path& seiFolder,
                                                         std::string_view registrationNumber);

// CtLabel after a comparison listed `rowCount` rows: "該当数：" n (CP932);
// nullopt when no row was listed, the label then keeps its text.
std::optional<std::string> countLabel(int rowCount);

// The message for a missing past-run file: the horse's 18-byte name (CP932)
// followed by kMissingFileMessageEnd, in UTF-8. Unlike the checks of the
// input, it is shown without the warning beep.
inline constexpr std::string_view kMissingFileMessageEnd = "の馬過去走データが見つかりません。";
std::string missingFileMessage(std::string_view name18);

// The records of a past-run file read whole: `bytes` holds the file (padded
// to whole records), `records` the views into it. A file that vanished
// meanwhile gives no records. Throws orvalle::Error when it cannot be read.
struct PastRunRecords {
  std::string bytes;
  std::vector<std::string_view> records;
};
void readPastRunRecords(const std::filesystem::path& path, PastRunRecords& out);

}  // namespace orvalle::analysis::checks
