#include "analysis/request_checks.h"

#include <system_error>

#include "analysis/compared_run.h"
#include "analysis/comparison_rule.h"
#include "store/cp932.h"
#include "store/file_system.h"
#include "store/horse_files.h"
#include "store/text_file.h"

namespace orvalle::analysis::checks {

Status namesGiven(const ComparisonRequest& request) {
  if (isBlankName(request.nameA) || isBlankName(request.nameB)) {
    return Status::failure("２頭の馬名の入力をしてください。");
  }
  return Status::success();
}

Status weightsGiven(const ComparisonRequest& request, TodayWeights& weights) {
  // A label that holds no number (a runner whose weight field is blank shows
  // "  . ") cannot be compared either.
  std::optional<int> a = shownWeightInTenths(request.weightA);
  std::optional<int> b = shownWeightInTenths(request.weightB);
  if (!a || !b) return Status::failure("斤量の情報が入力されていません。");
  weights = {*a, *b};
  return Status::success();
}

std::optional<std::filesystem::path> existingPastRunFile(const std::filesystem::path& seiFolder,
                                                         std::string_view registrationNumber) {
  std::optional<std::filesystem::path> path = store::pastRunFilePath(seiFolder, registrationNumber);
  if (!path) return std::nullopt;
  if (!store::pathExists(*path)) return std::nullopt;
  return path;
}

std::optional<std::string> countLabel(int rowCount) {
  if (rowCount == 0) return std::nullopt;
  return sj("該当数：") + std::to_string(rowCount);
}

std::string missingFileMessage(std::string_view name18) {
  return cp932::toUtf8(name18) + std::string(kMissingFileMessageEnd);
}

void readPastRunRecords(const std::filesystem::path& path, PastRunRecords& out) {
  std::optional<std::string> bytes = store::readFileBytes(path);
  out.bytes = bytes ? std::move(*bytes) : std::string();
  out.records = run::splitRecords(out.bytes);
}

}  // namespace orvalle::analysis::checks
